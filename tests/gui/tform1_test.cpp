#include "app/tform1.h"
#include "main_window_fixture.h"
#include "scripted_prompter.h"
#include "../test_files.h"

#include <QAction>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace tw;

namespace {

QString fixture(const char* name) { return QStringLiteral(TARNWICK_FIXTURES "/") + QString::fromUtf8(name); }

class MainWindow : public MainWindowTest {
protected:
    QTabBar* tabs() { return form->findChild<QTabBar*>("Pages1"); }
};

} // namespace

TEST_F(MainWindow, FirstStartShowsTheEmptyCollection) {
    form->show();
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6");
    EXPECT_EQ(form->tree().count(), 1);
    EXPECT_EQ(form->statusText(0), "");
    ASSERT_EQ(tabs()->count(), 1);
    EXPECT_EQ(tabs()->tabText(0), "None");
    EXPECT_EQ(tabs()->tabData(0).toInt(), 0);
    EXPECT_NE(form->findChild<QTreeView*>("Tree"), nullptr);
    EXPECT_NE(form->findChild<QWidget*>("SynMemo1"), nullptr);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(MainWindow, CommandMapCarriesTheCaptionsAndHints) {
    struct Entry {
        const char* name;
        const char* text;
        bool hint;
        bool enabled;
    };
    for (const Entry& e : {Entry{"N4", "Новый", false, true}, Entry{"N7", "Открыть...", false, true},
                           Entry{"N55", "Сохранить", false, true}, Entry{"N6", "Сохранить как...", false, true},
                           Entry{"N9", "Выход", false, true}, Entry{"ToolButton8", "Очистить дерево", true, true},
                           Entry{"ToolButton33", "Сохранить как...", true, true},
                           Entry{"N57", "Добавить ветвь из файла", false, true},
                           Entry{"ToolButton21", "Воссоздание структуры каталогов", true, true},
                           Entry{"N32", "Удалить", false, true}, Entry{"N66", "в названиях элементов", false, true},
                           Entry{"ToolButton24", "Закрыть закладку", true, true},
                           Entry{"ToolButton28", "Назначение горячих клавиш для вставки текста", true, true},
                           Entry{"ToolButton12", "Экспорт кода", true, true}, Entry{"ToolButton15", "", false, true},
                           Entry{"N34", "Текущий текст", false, true}, Entry{"RTF1", "RTF", false, true},
                           Entry{"N35", "Всю структуру", false, true}, Entry{"N74", "Увеличить отступ", false, true},
                           Entry{"N60", "Сохранить ветвь в виде дерева каталогов", false, true},
                           Entry{"ToolButton25", "Открыть файл", true, true}, Entry{"N40", "Редактировать список", false, true}}) {
        QAction* a = form->command(QString::fromLatin1(e.name));
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(e.hint ? a->toolTip() : a->text(), QString::fromUtf8(e.text)) << e.name;
        EXPECT_EQ(a->isEnabled(), e.enabled) << e.name;
    }
    EXPECT_FALSE(form->command("ToolButton30")->isVisible());
}

TEST_F(MainWindow, OpenReadsTheCollectionAndShowsNameAndCounts) {
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

TEST_F(MainWindow, FailedOpenShowsTheMessageAndForgetsTheFileName) {
    const QString bad = dir.filePath("bad.xml");
    ASSERT_TRUE(writeFileBytes(bad, "<TREE count=\"1\"></TREE>"));
    prompter.fileChoices.push_back(FileChoice{bad, 1});
    trigger("ToolButton7");
    EXPECT_EQ(prompter.messages, QStringList{"Ошибка при открытии файла"});
    EXPECT_EQ(form->currentFileName(), "");
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6");
    // A save afterwards has no file to write to and does nothing.
    trigger("N55");
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(form->findChild<QWidget*>("ProgressBar"), nullptr);
}

TEST_F(MainWindow, CancelledOpenKeepsTheCollection) {
    openExample();
    prompter.fileChoices.push_back(std::nullopt);
    trigger("N7");
    EXPECT_EQ(form->tree().count(), 4);
    EXPECT_EQ(form->currentFileName(), dir.filePath("example.xml"));
}

TEST_F(MainWindow, NewAndClearAskFirst) {
    for (const char* command : {"N4", "ToolButton8"}) {
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

TEST_F(MainWindow, SaveWritesTheCurrentFileAndDoesNothingWithoutOne) {
    trigger("N55");  // no current file name: no dialog, no message
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_TRUE(prompter.filtersOffered.empty());

    openExample();
    const QString path = form->currentFileName();
    ASSERT_TRUE(writeFileBytes(path, "stale"));
    trigger("ToolButton5");
    EXPECT_EQ(readFileBytes(path), readFileBytes(fixture("example.xml")));
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [example.xml]");
    EXPECT_EQ(form->statusText(1), "");
}

TEST_F(MainWindow, SaveAsAppendsXmlAndAsksBeforeReplacingThatFile) {
    openExample();
    const QString target = dir.filePath("copy");
    prompter.fileChoices.push_back(FileChoice{target, 1});
    trigger("N6");
    EXPECT_TRUE(prompter.questions.empty());  // no such file yet
    EXPECT_EQ(readFileBytes(target + ".xml"), readFileBytes(fixture("example.xml")));
    EXPECT_EQ(form->currentFileName(), target + ".xml");
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [copy.xml]");

    // Answering No leaves the existing file alone.
    ASSERT_TRUE(writeFileBytes(target + ".xml", "older"));
    prompter.fileChoices.push_back(FileChoice{target, 1});
    prompter.answers = {false};
    trigger("ToolButton33");
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].caption, "Сохранение");
    EXPECT_EQ(prompter.questions[0].text, target + ".xml\n уже существует. Заменить?");
    EXPECT_EQ(readFileBytes(target + ".xml"), QByteArray("older"));

    prompter.fileChoices.push_back(FileChoice{target + ".xml", 1});
    prompter.answers = {true};
    trigger("N6");
    EXPECT_EQ(readFileBytes(target + ".xml"), readFileBytes(fixture("example.xml")));
}

TEST_F(MainWindow, SaveAsAsksAboutTheFileItWritesNotASiblingName) {
    openExample();
    // "notes.dat" is written as it is named; an unrelated "notes.xml" must not be asked about,
    // and an existing "notes.dat" must be.
    ASSERT_TRUE(writeFileBytes(dir.filePath("notes.xml"), "unrelated"));
    prompter.fileChoices.push_back(FileChoice{dir.filePath("notes.dat"), 1});
    trigger("N6");
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(readFileBytes(dir.filePath("notes.dat")), readFileBytes(fixture("example.xml")));
    EXPECT_EQ(readFileBytes(dir.filePath("notes.xml")), QByteArray("unrelated"));

    prompter.fileChoices.push_back(FileChoice{dir.filePath("notes.dat"), 1});
    prompter.answers = {false};
    trigger("N6");
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_TRUE(prompter.questions[0].text.startsWith(dir.filePath("notes.dat")));
}

TEST_F(MainWindow, CancelledSaveAsWritesNothingAndKeepsMarkers) {
    openExample();
    tabs()->setTabText(0, "Hello*");
    prompter.fileChoices.push_back(std::nullopt);
    trigger("N6");
    EXPECT_EQ(tabs()->tabText(0), "Hello*");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    trigger("N55");  // a successful save removes the marker
    EXPECT_EQ(tabs()->tabText(0), "Hello");
}

TEST_F(MainWindow, FailedSaveKeepsMarkersAndShowsTheMessage) {
    openExample();
    tabs()->setTabText(0, "Hello*");
    prompter.fileChoices.push_back(FileChoice{dir.filePath("missing/folder/x.xml"), 1});
    trigger("N6");
    EXPECT_EQ(prompter.messages, QStringList{"Ошибка при сохранении файла"});
    EXPECT_EQ(tabs()->tabText(0), "Hello*");
    EXPECT_EQ(form->currentFileName(), dir.filePath("missing/folder/x.xml"));
}

TEST_F(MainWindow, StartUpReadsTheLastFileWhateverTheCaseOfItsExtension) {
    const QString path = dir.filePath("Last.XML");
    QFile::copy(fixture("example.xml"), path);
    ASSERT_TRUE(writeFileBytes(dir.filePath("Settings.ini"), "[Files]\nLastFile=" + path.toUtf8() + "\n"));
    form->show();
    EXPECT_EQ(form->tree().count(), 4);
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [Last.XML]");
    EXPECT_EQ(form->statusText(0), "Разделов: 1   Страниц: 2");
}

TEST_F(MainWindow, StartUpIgnoresAMissingLastFile) {
    ASSERT_TRUE(writeFileBytes(dir.filePath("Settings.ini"), "[files]\nlastfile=" + dir.filePath("gone.xml").toUtf8() + "\n"));
    form->show();
    EXPECT_EQ(form->tree().count(), 1);
    EXPECT_EQ(form->currentFileName(), dir.filePath("gone.xml"));
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6");
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(MainWindow, TextCollectionsThroughOpenSaveAsSaveAndStartUp) {
    openExample();
    const QString txt = dir.filePath("coll.txt");
    prompter.fileChoices.push_back(FileChoice{dir.filePath("coll.dat"), 2});  // TXT filter: written as .txt
    trigger("N6");
    EXPECT_EQ(form->currentFileName(), txt);
    EXPECT_TRUE(readFileBytes(txt).startsWith("3\r\n0\r\n"));

    form->tree().GetPage(3).Text = "changed";
    trigger("N55");  // the current file is not .xml: written as text again
    EXPECT_TRUE(readFileBytes(txt).contains("changed\r\n###"));

    prompter.fileChoices.push_back(FileChoice{txt, 2});
    trigger("N7");
    EXPECT_EQ(form->tree().count(), 4);
    EXPECT_EQ(form->tree().GetPage(3).Text, "changed");
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [coll.txt]");

    // The TXT filter on an XML file: the text reader fails and leaves a new collection.
    prompter.fileChoices.push_back(FileChoice{fixture("example.xml"), 2});
    trigger("N7");
    EXPECT_EQ(prompter.messages, QStringList{"Ошибка при загрузке файла"});
    EXPECT_EQ(form->tree().count(), 1);
    EXPECT_EQ(form->currentFileName(), "");
}

TEST_F(MainWindow, StartUpReadsALastFileThatIsNotXmlAsText) {
    const QString txt = dir.filePath("last.txt");
    ASSERT_TRUE(writeFileBytes(txt, "1\r\n0\r\n-1\r\n3\r\n3\r\n0\r\nRoot\r\n\r\n###\r\n1\r\n-1\r\n2\r\n2\r\n1\r\nP\r\nx\r\n###\r\n"));
    ASSERT_TRUE(writeFileBytes(dir.filePath("Settings.ini"), "[Files]\nLastFile=" + txt.toUtf8() + "\n"));
    form->show();
    EXPECT_EQ(form->tree().count(), 2);
    EXPECT_EQ(form->windowTitle(), "Tarnwick v1.6  [last.txt]");
}
