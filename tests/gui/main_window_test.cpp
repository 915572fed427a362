#include "app/main_window.h"
#include "app/status_panels.h"
#include "window_parts.h"
#include "main_window_fixture.h"
#include "scripted_prompter.h"
#include "../test_files.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace tw;

namespace {

QString fixture(const char* name) { return QStringLiteral(TARNWICK_FIXTURES "/") + QString::fromUtf8(name); }

class MainWindowBasics : public MainWindowTest {
protected:
    QTabBar* tabs() { return form->findChild<QTabBar*>("tabs"); }
};

} // namespace

TEST_F(MainWindowBasics, FirstStartShowsTheEmptyCollection) {
    form->show();
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6");
    EXPECT_EQ(form->tree().count(), 1);
    EXPECT_EQ(form->statusText(0), "");
    ASSERT_EQ(tabs()->count(), 1);
    EXPECT_EQ(tabs()->tabText(0), "None");
    EXPECT_EQ(tabs()->tabData(0).toInt(), 0);
    EXPECT_NE(form->findChild<QTreeView*>("treeView"), nullptr);
    EXPECT_NE(form->findChild<QWidget*>("editor"), nullptr);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(MainWindowBasics, CommandMapCarriesTheCaptionsAndHints) {
    struct Entry {
        const char* name;
        const char* text;
        bool hint;
        bool enabled;
    };
    for (const Entry& e : {Entry{"newCollection", "Новый", false, true}, Entry{"openCollection", "Открыть...", false, true},
                           Entry{"saveCollection", "Сохранить", false, true}, Entry{"saveCollectionAs", "Сохранить как...", false, true},
                           Entry{"quit", "Выход", false, true}, Entry{"clearTree", "Очистить дерево", true, true},
                           Entry{"saveAsButton", "Сохранить как...", true, true},
                           Entry{"addBranchFile", "Добавить ветвь из файла", false, true},
                           Entry{"importButton", "Воссоздание структуры каталогов", true, true},
                           Entry{"deleteNode", "Удалить", false, true}, Entry{"findInNodeNames", "в названиях элементов", false, true},
                           Entry{"closeTabButton", "Закрыть закладку", true, true},
                           Entry{"snippetKeysButton", "Назначение горячих клавиш для вставки текста", true, true},
                           Entry{"exportButton", "Экспорт кода", true, true}, Entry{"bookmarksButton", "", false, true},
                           Entry{"exportTextHtml", "Текущий текст", false, true}, Entry{"exportTextRtf", "RTF", false, true},
                           Entry{"exportStructure", "Всю структуру", false, true}, Entry{"indent", "Увеличить отступ", false, true},
                           Entry{"exportBranchDirectories", "Сохранить ветвь в виде дерева каталогов", false, true},
                           Entry{"applicationsButton", "Открыть файл", true, true}, Entry{"editApplications", "Редактировать список", false, true}}) {
        QAction* a = form->command(QString::fromLatin1(e.name));
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(e.hint ? a->toolTip() : a->text(), QString::fromUtf8(e.text)) << e.name;
        EXPECT_EQ(a->isEnabled(), e.enabled) << e.name;
    }
    EXPECT_FALSE(form->command("downloadUpdate")->isVisible());
}

TEST_F(MainWindowBasics, OpenReadsTheCollectionAndShowsNameAndCounts) {
    openExample();
    ASSERT_EQ(prompter.filtersOffered.size(), 1u);
    ASSERT_EQ(prompter.filtersOffered[0].size(), 2u);
    EXPECT_EQ(prompter.filtersOffered[0][0].pattern, "*.xml");
    EXPECT_EQ(prompter.filtersOffered[0][1].pattern, "*.txt");
    EXPECT_EQ(form->tree().count(), 4);
    EXPECT_EQ(form->currentFileName(), dir.filePath("example.xml"));
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [example.xml]");
    EXPECT_EQ(form->statusText(0), "Разделов: 1   Страниц: 2");
    EXPECT_EQ(form->statusText(1), "");
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(form->findChild<QWidget*>("ProgressBar"), nullptr);
}

TEST_F(MainWindowBasics, FailedOpenShowsTheMessageAndForgetsTheFileName) {
    const QString bad = dir.filePath("bad.xml");
    ASSERT_TRUE(writeFileBytes(bad, "<TREE count=\"1\"></TREE>"));
    prompter.fileChoices.push_back(FileChoice{bad, 1});
    trigger("openCollectionButton");
    EXPECT_EQ(prompter.messages, QStringList{"Ошибка при открытии файла"});
    EXPECT_EQ(form->currentFileName(), "");
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6");
    // A save afterwards has no file to write to: it asks for one (cancelled here).
    prompter.fileChoices.push_back(std::nullopt);
    trigger("saveCollection");
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(form->findChild<QWidget*>("ProgressBar"), nullptr);
}

TEST_F(MainWindowBasics, CancelledOpenKeepsTheCollection) {
    openExample();
    prompter.fileChoices.push_back(std::nullopt);
    trigger("openCollection");
    EXPECT_EQ(form->tree().count(), 4);
    EXPECT_EQ(form->currentFileName(), dir.filePath("example.xml"));
}

TEST_F(MainWindowBasics, NewAndClearAskFirst) {
    for (const char* command : {"newCollection", "clearTree"}) {
        openExample();
        prompter.answers = {false};
        trigger(command);
        EXPECT_EQ(form->tree().count(), 4) << command;
        EXPECT_EQ(form->currentFileName(), dir.filePath("example.xml"));
        ASSERT_FALSE(prompter.questions.empty());
        EXPECT_EQ(prompter.questions.back().caption, "Tarnwick");
        EXPECT_EQ(prompter.questions.back().text, "Вы действительно хотите очистить дерево?");

        prompter.answers = {true};
        trigger(command);
        EXPECT_EQ(form->tree().count(), 1) << command;
        EXPECT_EQ(form->currentFileName(), "");
        EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6");
        EXPECT_EQ(form->statusText(0), "Разделов: 0   Страниц: 0");
        EXPECT_EQ(tabs()->count(), 1);
        EXPECT_EQ(tabs()->tabText(0), "None");
    }
}

TEST_F(MainWindowBasics, SaveWritesTheCurrentFileAndDoesNothingWithoutOne) {
    prompter.fileChoices.push_back(std::nullopt);
    trigger("saveCollection");  // no current file name: the file dialog of "Сохранить как..." (cancelled)
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(prompter.filtersOffered.size(), 1u);
    prompter.filtersOffered.clear();

    openExample();
    const QString path = form->currentFileName();
    ASSERT_TRUE(writeFileBytes(path, "stale"));
    trigger("saveButton");
    EXPECT_EQ(readFileBytes(path), readFileBytes(fixture("example.xml")));
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [example.xml]");
    EXPECT_EQ(form->statusText(1), "");
}

TEST_F(MainWindowBasics, SaveAsAppendsXmlAndAsksBeforeReplacingThatFile) {
    openExample();
    const QString target = dir.filePath("copy");
    prompter.fileChoices.push_back(FileChoice{target, 1});
    trigger("saveCollectionAs");
    EXPECT_TRUE(prompter.questions.empty());  // no such file yet
    EXPECT_EQ(readFileBytes(target + ".xml"), readFileBytes(fixture("example.xml")));
    EXPECT_EQ(form->currentFileName(), target + ".xml");
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [copy.xml]");

    // Answering No leaves the existing file alone.
    ASSERT_TRUE(writeFileBytes(target + ".xml", "older"));
    prompter.fileChoices.push_back(FileChoice{target, 1});
    prompter.answers = {false};
    trigger("saveAsButton");
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].caption, "Сохранение");
    EXPECT_EQ(prompter.questions[0].text, target + ".xml\n уже существует. Заменить?");
    EXPECT_EQ(readFileBytes(target + ".xml"), QByteArray("older"));

    prompter.fileChoices.push_back(FileChoice{target + ".xml", 1});
    prompter.answers = {true};
    trigger("saveCollectionAs");
    EXPECT_EQ(readFileBytes(target + ".xml"), readFileBytes(fixture("example.xml")));
}

TEST_F(MainWindowBasics, SaveAsAsksAboutTheFileItWritesNotASiblingName) {
    openExample();
    // "notes.dat" is written as it is named; an unrelated "notes.xml" must not be asked about,
    // and an existing "notes.dat" must be.
    ASSERT_TRUE(writeFileBytes(dir.filePath("notes.xml"), "unrelated"));
    prompter.fileChoices.push_back(FileChoice{dir.filePath("notes.dat"), 1});
    trigger("saveCollectionAs");
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(readFileBytes(dir.filePath("notes.dat")), readFileBytes(fixture("example.xml")));
    EXPECT_EQ(readFileBytes(dir.filePath("notes.xml")), QByteArray("unrelated"));

    prompter.fileChoices.push_back(FileChoice{dir.filePath("notes.dat"), 1});
    prompter.answers = {false};
    trigger("saveCollectionAs");
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_TRUE(prompter.questions[0].text.startsWith(dir.filePath("notes.dat")));
}

TEST_F(MainWindowBasics, CancelledSaveAsWritesNothingAndKeepsMarkers) {
    openExample();
    tabs()->setTabText(0, "Hello*");
    prompter.fileChoices.push_back(std::nullopt);
    trigger("saveCollectionAs");
    EXPECT_EQ(tabs()->tabText(0), "Hello*");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    trigger("saveCollection");  // a successful save removes the marker
    EXPECT_EQ(tabs()->tabText(0), "Hello");
}

TEST_F(MainWindowBasics, FailedSaveKeepsMarkersAndShowsTheMessage) {
    openExample();
    tabs()->setTabText(0, "Hello*");
    prompter.fileChoices.push_back(FileChoice{dir.filePath("missing/folder/x.xml"), 1});
    trigger("saveCollectionAs");
    EXPECT_EQ(prompter.messages, QStringList{"Ошибка при сохранении файла"});
    EXPECT_EQ(tabs()->tabText(0), "Hello*");
    EXPECT_EQ(form->currentFileName(), dir.filePath("missing/folder/x.xml"));
}

TEST_F(MainWindowBasics, StartUpReadsTheLastFileWhateverTheCaseOfItsExtension) {
    const QString path = dir.filePath("Last.XML");
    QFile::copy(fixture("example.xml"), path);
    ASSERT_TRUE(writeFileBytes(dir.filePath("Settings.ini"), "[Files]\nLastFile=" + path.toUtf8() + "\n"));
    form->show();
    ASSERT_TRUE(readEnds());
    EXPECT_EQ(form->tree().count(), 4);
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [Last.XML]");
    EXPECT_EQ(form->statusText(0), "Разделов: 1   Страниц: 2");
}

TEST_F(MainWindowBasics, StartUpIgnoresAMissingLastFile) {
    ASSERT_TRUE(writeFileBytes(dir.filePath("Settings.ini"), "[files]\nlastfile=" + dir.filePath("gone.xml").toUtf8() + "\n"));
    form->show();
    EXPECT_EQ(form->tree().count(), 1);
    EXPECT_EQ(form->currentFileName(), dir.filePath("gone.xml"));
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6");
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(MainWindowBasics, TextCollectionsThroughOpenSaveAsSaveAndStartUp) {
    openExample();
    const QString txt = dir.filePath("coll.txt");
    prompter.fileChoices.push_back(FileChoice{dir.filePath("coll.dat"), 2});  // TXT filter: written as .txt
    trigger("saveCollectionAs");
    EXPECT_EQ(form->currentFileName(), txt);
    EXPECT_TRUE(readFileBytes(txt).startsWith("3\r\n0\r\n"));

    form->tree().pageAt(3).text = "changed";
    trigger("saveCollection");  // the current file is not .xml: written as text again
    EXPECT_TRUE(readFileBytes(txt).contains("changed\r\n###"));

    prompter.fileChoices.push_back(FileChoice{txt, 2});
    trigger("openCollection");
    EXPECT_EQ(form->tree().count(), 4);
    EXPECT_EQ(form->tree().pageAt(3).text, "changed");
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [coll.txt]");

    // The TXT filter on an XML file: the text reader fails and leaves a new collection.
    prompter.fileChoices.push_back(FileChoice{fixture("example.xml"), 2});
    trigger("openCollection");
    EXPECT_EQ(prompter.messages, QStringList{"Ошибка при загрузке файла"});
    EXPECT_EQ(form->tree().count(), 1);
    EXPECT_EQ(form->currentFileName(), "");
}

TEST_F(MainWindowBasics, StartUpReadsALastFileThatIsNotXmlAsText) {
    const QString txt = dir.filePath("last.txt");
    ASSERT_TRUE(writeFileBytes(txt, "1\r\n0\r\n-1\r\n3\r\n3\r\n0\r\nRoot\r\n\r\n###\r\n1\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nx\r\n###\r\n"));
    ASSERT_TRUE(writeFileBytes(dir.filePath("Settings.ini"), "[Files]\nLastFile=" + txt.toUtf8() + "\n"));
    form->show();
    ASSERT_TRUE(readEnds());
    EXPECT_EQ(form->tree().count(), 2);
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [last.txt]");
}

TEST(StatusPanelsTest, CountsPanelKeepsItsWidthButNeverCutsLargeCounts) {
    QStatusBar bar;
    ScriptedPrompter prompter;
    StatusPanels panels(bar, prompter);
    const auto* counts = bar.findChild<QLabel*>("countsPanel");
    ASSERT_NE(counts, nullptr);
    CollectionTree small;
    panels.showCounts(small);
    EXPECT_EQ(panels.leftPanelWidth(), 175);

    CollectionTree large;
    Node* section = large.appendChild(large.root(), "s", kSectionCollapsed, kSectionCollapsed, -1,
                                      makePageRecord({}, "s", 0, 0, 0, -1));
    for (int i = 0; i < 123456; ++i)
        large.appendChild(section, "p", kPageKind, kPageKind, -1, makePageRecord({}, "p", 1, 2, 2, -1));
    panels.showCounts(large);
    EXPECT_EQ(panels.text(0), "Разделов: 1   Страниц: 123456");
    EXPECT_GE(panels.leftPanelWidth(), counts->fontMetrics().horizontalAdvance(panels.text(0)));

    panels.showCounts(small);
    EXPECT_EQ(panels.leftPanelWidth(), 175);
}
