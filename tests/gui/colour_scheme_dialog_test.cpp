// The colour-scheme dialog: the attribute panel per language, colour choices reaching
// the highlighters and editors, and the colours written to Settings.ini on closing.
#include "schemes/colour_scheme_dialog.h"

#include "app/ini_file.h"
#include "editor/code_editor.h"
#include "schemes/color_box.h"
#include "scripted_prompter.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <Qsci/qscilexer.h>
#include <functional>
#include <gtest/gtest.h>

using namespace tw;

namespace {

class ColourScheme : public testing::Test {
protected:
    void SetUp() override { open(ProgramPaths::inFolder(dir.path())); }

    void open(ProgramPaths paths) {
        form = std::make_unique<ColourSchemeDialog>(set, std::move(paths), prompter);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    Highlighter& language(const QString& name) {
        for (Highlighter* h : set.list())
            if (h->languageName() == name) return *h;
        ADD_FAILURE() << "no language " << name.toStdString();
        return *set.list().front();
    }
    void click(const QString& name) {
        QListWidget* list = form->list();
        const auto items = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
    }
    ColorBox* box(const QString& attribute) {
        for (QLabel* label : form->labels())
            if (label->text() == attribute + ':') {
                for (ColorBox* b : form->colorBoxes())
                    if (b->x() == label->x() && b->y() == label->y() + label->height() + 2) return b;
            }
        ADD_FAILURE() << "no box for " << attribute.toStdString();
        return nullptr;
    }
    static void pick(ColorBox* b, const QString& entry) {
        ASSERT_NE(b, nullptr);
        const int i = b->findText(entry);
        ASSERT_GE(i, 0) << entry.toStdString();
        b->setCurrentIndex(i); // what a choice from the drop-down does
    }
    QString selectedLanguage() const {
        const auto selected = form->list()->selectedItems();
        return selected.isEmpty() ? QString() : selected.first()->text();
    }
    std::int32_t saved(const QString& section, const QString& key) const {
        return IniFile(dir.filePath("Settings.ini")).readInt(section, key, -1);
    }

    ScriptedPrompter prompter;
    QTemporaryDir dir;
    HighlighterSet set;
    std::unique_ptr<ColourSchemeDialog> form;
};

TEST_F(ColourScheme, ShowSelectsTheFirstLanguageAndEachLanguageGetsTwoColumns) {
    EXPECT_EQ(form->objectName(), "colourSchemes");
    EXPECT_EQ(form->windowTitle(), "Настройка цветовых схем");
    EXPECT_EQ(form->size(), QSize(441, 470));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->editor_()->lineAt(1), "{Insert your code here}");
    EXPECT_EQ(form->editor_()->highlighter(), nullptr);
    ASSERT_EQ(form->list()->count(), 15);
    EXPECT_EQ(form->list()->item(14)->text(), "x86 Assembly");
    EXPECT_EQ(selectedLanguage(), "C#");

    const QStringList cSharpLeft{"Assembler:", "Comment:", "Identifier:", "Illegal Char:", "Number:"};
    const QStringList cSharpRight{"Preprocessor:", "Reserved Word:", "Space:", "String:", "Symbol:"};
    struct Case {
        QString language;
        int left, right;
    };
    for (const Case& c : {Case{"C#", 5, 5}, Case{"SQL", 9, 8}, Case{"Object Pascal", 6, 6}}) {
        SCOPED_TRACE(c.language.toStdString());
        if (c.language != "C#") {
            QPointer<QLabel> old = form->labels().first();
            click(c.language);
            EXPECT_TRUE(old.isNull()) << "the previous panel stays";
            EXPECT_EQ(form->editor_()->highlighter(), &language(c.language));
        }
        EXPECT_EQ(form->panel()->geometry(), QRect(157, 8, 272, 281));
        EXPECT_TRUE(form->panel()->isVisible());
        const Highlighter& h = language(c.language);
        ASSERT_EQ(form->labels().size(), c.left + c.right);
        ASSERT_EQ(form->colorBoxes().size(), c.left + c.right);
        QStringList left, right;
        for (int i = 0; i < form->labels().size(); ++i) {
            const QLabel* label = form->labels()[i];
            const ColorBox* b = form->colorBoxes()[i];
            const bool inLeft = i < c.left;
            EXPECT_EQ(label->x(), inLeft ? 4 : 132);
            EXPECT_EQ(label->text(), h.attributes()[static_cast<size_t>(i)].name + ':');
            // Each label stands 2 below the box above it (or at 2), its box 2 below it.
            const bool first = i == 0 || i == c.left;
            EXPECT_EQ(label->y(), first ? 2 : form->colorBoxes()[i - 1]->geometry().bottom() + 1 + 4);
            EXPECT_EQ(b->geometry(), QRect(label->x(), label->geometry().bottom() + 1 + 2, 120, b->height()));
            EXPECT_EQ(b->attributeIndex(), i);
            (inLeft ? left : right) << label->text();
        }
        // Columns higher than the panel scroll.
        if (c.language == "SQL") {
            EXPECT_GT(form->panel()->verticalScrollBar()->maximum(), 0);
        }
        if (c.language == "C#") {
            EXPECT_EQ(left, cSharpLeft);
            EXPECT_EQ(right, cSharpRight);
        }
    }

    // The keyboard moves to the next language; a later show starts again at "C#" and
    // leaves the preview's highlighter alone.
    form->list()->setFocus();
    QTest::keyClick(form->list(), Qt::Key_Down);
    EXPECT_EQ(form->labels().first()->text(), language(selectedLanguage()).attributes()[0].name + ':');
    EXPECT_EQ(form->editor_()->highlighter(), &language(selectedLanguage()));
    Highlighter* previewed = form->editor_()->highlighter();
    form->hide();
    form->show();
    EXPECT_EQ(selectedLanguage(), "C#");
    EXPECT_EQ(form->labels().size(), 10);
    EXPECT_EQ(form->editor_()->highlighter(), previewed);

    // Positions outside the list give an empty panel; a click that selects nothing changes nothing.
    for (int k : {-1, 15}) {
        form->buildPanel(k);
        EXPECT_TRUE(form->labels().isEmpty());
        EXPECT_TRUE(form->panel()->isVisible());
    }
    form->list()->clearSelection();
    form->showSelectedLanguage();
    EXPECT_TRUE(form->labels().isEmpty());
}

TEST_F(ColourScheme, EntriesStoreTheirValuesForTheSelectedLanguage) {
    // No click yet: the first panel acts on "C#".
    Highlighter& cs = language("C#");
    const int comment = cs.attributeIndex(u"Comment");
    struct Case {
        QString entry;
        std::uint32_t value;
    };
    for (const Case& c : {Case{"Green", 0x008000}, Case{"Red", 0x0000FF}, Case{"Cream", 0xF0FBFF},
                          Case{"Window Text", 0x80000008}, Case{"Highlight", 0x8000000D},
                          Case{"Default", 0x20000000}, Case{"None", kNoColor}}) {
        pick(box("Comment"), c.entry);
        EXPECT_EQ(cs.attribute(comment).foreground, c.value) << c.entry.toStdString();
    }

    // Without a selected row the boxes change nothing.
    form->list()->clearSelection();
    pick(box("Comment"), "Navy");
    EXPECT_EQ(cs.attribute(comment).foreground, kNoColor);
}

TEST_F(ColourScheme, GreenForPascalCommentsRepaintsAndIsWrittenOnEveryWayOfClosing) {
    const std::pair<const char*, std::function<void(ColourSchemeDialog&)>> closings[] = {
        {"OK", [](ColourSchemeDialog& f) { QTest::mouseClick(f.okButton(), Qt::LeftButton); }},
        {"close button", [](ColourSchemeDialog& f) { f.close(); }},
        {"Escape", [](ColourSchemeDialog& f) { QTest::keyClick(&f, Qt::Key_Escape); }},
    };
    Highlighter& pascal = language("Object Pascal");
    const int comment = pascal.attributeIndex(u"Comment");
    for (const auto& [how, close] : closings) {
        SCOPED_TRACE(how);
        QFile::remove(dir.filePath("Settings.ini"));
        pascal.attribute(comment).foreground = kNoColor;
        form->show();
        click("Object Pascal");
        pick(box("Comment"), "Green");
        EXPECT_EQ(pascal.attribute(comment).foreground, 0x008000u);
        // The preview editor shows the new colour at once.
        ASSERT_NE(form->editor_()->lexer(), nullptr);
        EXPECT_EQ(form->editor_()->lexer()->color(comment), QColor(0, 128, 0));
        EXPECT_EQ(saved("Object Pascal", "Comment"), -1);

        close(*form);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(saved("Object Pascal", "Comment"), 32768);
        EXPECT_EQ(saved("C#", "Comment"), static_cast<std::int32_t>(kNoColor));
    }
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ColourScheme, CustomColoursAndLoadedValuesOutsideTheListGetAnEntryOfTheirOwn) {
    Highlighter& cs = language("C#");
    const int number = cs.attributeIndex(u"Number");
    prompter.colorChoices = {QColor(0x12, 0x34, 0x56), std::nullopt};
    pick(box("Number"), "Custom...");
    EXPECT_EQ(cs.attribute(number).foreground, 0x563412u);
    EXPECT_EQ(box("Number")->currentText(), "#123456");
    pick(box("Number"), "Custom..."); // cancelled: nothing changes
    EXPECT_EQ(cs.attribute(number).foreground, 0x563412u);
    EXPECT_EQ(box("Number")->currentText(), "#123456");
    EXPECT_TRUE(prompter.colorChoices.empty());

    // A custom colour that has a name selects the named entry.
    prompter.colorChoices = {QColor(0, 128, 0)};
    pick(box("Number"), "Custom...");
    EXPECT_EQ(box("Number")->currentText(), "Green");

    {
        IniFile ini(dir.filePath("Settings.ini"));
        ini.writeInt("C#", "Comment", 32768);
        ini.writeInt("C#", "String", static_cast<std::int32_t>(0x80000008));
        ini.writeInt("C#", "Symbol", 0x30000000);
        ASSERT_TRUE(ini.save());
    }
    form->loadSettings();
    EXPECT_EQ(cs.attribute(number).foreground, kNoColor);
    EXPECT_EQ(cs.attribute(cs.attributeIndex(u"Symbol")).foreground, 0x30000000u);
    const std::pair<const char*, const char*> shown[] = {
        {"Comment", "Green"}, {"String", "Window Text"}, {"Symbol", "0x30000000"}, {"Number", "None"}};
    for (const auto& [attribute, text] : shown)
        EXPECT_EQ(box(attribute)->currentText(), text) << attribute;
    EXPECT_EQ(box("Symbol")->value(), 0x30000000u);
}

TEST_F(ColourScheme, AnUnwritableSettingsFileIsReported) {
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ProgramPaths paths = ProgramPaths::inFolder(dir.path());
    paths.settingsFile = dir.filePath("file/Settings.ini");
    open(paths);
    form->confirm();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(prompter.messages, QStringList{unableToWrite(paths.settingsFile)});
}

} // namespace
