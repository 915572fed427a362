// The search options in every scope, the list of every match, the marks in the editor
// and the options kept in Settings.ini, driven through the main window.
#include "main_window_fixture.h"
#include "app/ini_file.h"
#include "search/find_dialogs.h"
#include "search/match_indicators.h"
#include "search/search_results.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>

using namespace tw;

namespace {

class SearchOptionsTest : public MainWindowTest {
protected:
    // root 0; A 1 "Sorted SORT"; S 2 [B 3 "sortie sort(x)"; C 4 "нет"]; D 5 "Сортировка" with "a1 b2"
    void build() {
        Node* root = form->tree().root();
        page(root, "A", "Sorted SORT");
        Node* s = form->treeEditor().addSection(root, "S");
        page(s, "B", "sortie sort(x)");
        page(s, "C", "нет");
        page(root, "Сортировка", "a1 b2");
    }
    void page(Node* parent, const char* caption, const char* text) {
        form->treeEditor().addPage(parent, QString::fromUtf8(caption))->page->text = text;
    }
    void open(int i) {
        form->selectNode(form->tree().nodeAt(i));
        form->workspace().openInNewTab();
    }
    // Ticks the dialog's boxes as the user does.
    void tick(const SearchOptions& wanted) {
        const std::pair<const char*, bool> boxes[] = {
            {"MatchCase", wanted.matchCase}, {"WholeWord", wanted.wholeWord}, {"RegularExpression", wanted.regularExpression}};
        for (const auto& [name, on] : boxes) {
            auto* box = form->search().findDialog()->findChild<QCheckBox*>(name);
            ASSERT_NE(box, nullptr) << name;
            if (box->isChecked() != on) box->click();
        }
    }
    void find(const char* command, const char* text, const SearchOptions& options, bool down = true) {
        trigger(command);
        tick(options);
        form->search().findDialog()->setText(QString::fromUtf8(text));
        form->search().findDialog()->setDownward(down);
        form->search().findNext();
    }
    int indicatorAt(int position) {
        return static_cast<int>(form->editor()->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT,
                                                              MatchIndicators::kIndicator, position));
    }
};

constexpr SearchOptions kAnyCase{false, false, false};
constexpr SearchOptions kWord{true, true, false};
constexpr SearchOptions kAnyCaseWord{false, true, false};
constexpr SearchOptions kRegex{true, false, true};

} // namespace

TEST_F(SearchOptionsTest, EachOptionActsInEachScope) {
    struct Case {
        const char* command;
        const char* what;
        SearchOptions options;
        bool down;
        int node;       // the node selected afterwards
        int start, length;
    };
    for (const Case& c : {
             Case{"findInCurrentTab", "sort", kAnyCase, true, 1, 0, 4},
             Case{"findInCurrentTab", "sort", kAnyCaseWord, true, 1, 7, 4},
             Case{"findInCurrentTab", "sort", kAnyCaseWord, false, 1, 7, 4},
             Case{"findInCurrentTab", R"(S\w+)", kRegex, true, 1, 0, 6},
             Case{"findInTabs", "sort", kWord, true, 3, 7, 4},           // A has only "Sorted" and "SORT"; C nothing
             Case{"findInAllPages", R"(sort\(\w\))", kRegex, true, 3, 7, 7},
             Case{"findInAllPages", "B2", kAnyCase, true, 5, 3, 2},
             Case{"findInNodeNames", "сортировка", kAnyCase, true, 5, -1, 0},
             Case{"findInNodeNames", "^[A-R]$", kRegex, true, 3, -1, 0},  // after A: B, not S
         }) {
        SCOPED_TRACE(std::string(c.command) + " " + c.what);
        form.reset();  // one window at a time holds the program's keys
        form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
        build();
        open(1);
        open(4);
        open(3);
        form->tabs()->setCurrentIndex(0);
        form->selectNode(form->tree().nodeAt(1));
        form->editor()->setSelectionStart(c.down ? 0 : 11);
        find(c.command, c.what, c.options, c.down);
        ASSERT_EQ(form->search().options(), c.options);
        EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join(' ').toStdString();
        EXPECT_EQ(form->tree().indexOf(form->selectedNode()), c.node);
        if (c.start >= 0) {
            EXPECT_EQ(form->editor()->selectionStart(), c.start);
            EXPECT_EQ(form->editor()->selectionLength(), c.length);
        }
        prompter.messages.clear();
    }
}

TEST_F(SearchOptionsTest, ReplaceUsesGroupsAndABadPatternIsReported) {
    build();
    open(5);
    form->editor()->setWholeText("a1 b2");
    trigger("findInCurrentTab");
    tick(kRegex);
    form->search().showReplace();
    form->search().replaceDialog()->setText(R"((\w)(\d))");
    form->search().replaceDialog()->setReplacement(R"($2\1)");
    form->search().replace(true);
    EXPECT_EQ(form->editor()->wholeText(), "1a 2b");
    EXPECT_EQ(form->tree().nodeAt(5)->page->text, "1a 2b");

    prompter.messages.clear();
    form->editor()->setSelectionStart(1);
    form->search().findDialog()->setText("a(");
    form->search().findNext();
    EXPECT_EQ(prompter.messages, QStringList{"Ошибка в регулярном выражении в позиции 3: missing closing parenthesis"});
    EXPECT_EQ(form->editor()->selectionStart(), 1);
    form->search().replace(true);  // the same for the replace dialog, and the text stays
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(form->editor()->wholeText(), "1a 2b");
}

TEST_F(SearchOptionsTest, OptionsAreKeptInTheSettingsFile) {
    EXPECT_EQ(form->search().options(), SearchOptions{});  // match case only, without a settings file
    build();
    open(1);
    trigger("findInCurrentTab");
    tick(kAnyCaseWord);
    // Both dialogs show the same options.
    EXPECT_FALSE(form->search().replaceDialog()->findChild<QCheckBox*>("MatchCase")->isChecked());
    EXPECT_TRUE(form->search().replaceDialog()->findChild<QCheckBox*>("WholeWord")->isChecked());
    const IniFile ini(form->paths().settingsFile);
    EXPECT_FALSE(ini.readBool("Search", "MatchCase", true));
    EXPECT_TRUE(ini.readBool("Search", "WholeWord", false));
    EXPECT_FALSE(ini.readBool("Search", "RegularExpression", true));

    ASSERT_TRUE(form->saveSettings());  // the window's own settings leave the section as it is
    form.reset();
    form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));
    EXPECT_EQ(form->search().options(), kAnyCaseWord);
    EXPECT_FALSE(form->search().findDialog()->findChild<QCheckBox*>("MatchCase")->isChecked());
}

TEST_F(SearchOptionsTest, FindAllListsEveryMatchAndOpensTheChosenOne) {
    build();
    open(1);
    trigger("findInCurrentTab");
    EXPECT_TRUE(form->search().findDialog()->findChild<QPushButton*>("FindAll")->isHidden());
    trigger("findInAllPages");
    EXPECT_FALSE(form->search().findDialog()->findChild<QPushButton*>("FindAll")->isHidden());
    tick(kAnyCase);
    form->search().findDialog()->setText("SORT");
    form->search().findDialog()->findChild<QPushButton*>("FindAll")->click();

    SearchResultsPanel* panel = form->search().resultsPanel();
    EXPECT_FALSE(panel->isHidden());
    SearchResultsModel& model = panel->model();
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(form->statusText(1), "Найдено совпадений: 4, страниц: 2");
    EXPECT_EQ(model.data(model.index(2, SearchResultsModel::PathColumn), Qt::DisplayRole).toString(), "Root\\S\\B");
    EXPECT_EQ(model.data(model.index(2, SearchResultsModel::LineColumn), Qt::DisplayRole).toInt(), 1);
    EXPECT_EQ(model.data(model.index(3, SearchResultsModel::TextColumn), Qt::DisplayRole).toString(), "sortie sort(x)");
    EXPECT_EQ(model.data(model.index(3, SearchResultsModel::TextColumn), SearchResultsModel::MarkRole).toPoint(),
              QPoint(7, 4));

    // Enter on a row opens its node in the active tab and selects the match.
    form->show();
    panel->view()->setFocus();
    panel->view()->setCurrentIndex(model.index(3, 0));
    QTest::keyClick(panel->view(), Qt::Key_Return);
    EXPECT_EQ(form->selectedNode(), form->tree().nodeAt(3));
    EXPECT_EQ(form->tabs()->tabText(form->tabs()->currentIndex()), "B");
    EXPECT_EQ(form->editor()->selectionStart(), 7);
    EXPECT_EQ(form->editor()->selectionText(), "sort");

    // The node names: each caption that matches, and the message when none does.
    trigger("findInNodeNames");
    form->search().findDialog()->setText("СОРТ");
    form->search().findAll();
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, SearchResultsModel::TextColumn), Qt::DisplayRole).toString(), "Сортировка");
    EXPECT_FALSE(model.data(model.index(0, SearchResultsModel::LineColumn), Qt::DisplayRole).isValid());
    form->search().openResult(model.result(0));
    EXPECT_EQ(form->selectedNode(), form->tree().nodeAt(5));
    form->treeEditor().addPage(form->tree().root(), "E");  // the listed indexes no longer hold
    EXPECT_EQ(model.rowCount(), 0);
    form->search().findDialog()->setText("absent");
    form->search().findAll();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(prompter.messages, QStringList{"Текст \"absent\" не найден."});
}

TEST_F(SearchOptionsTest, MatchesAreMarkedWhileTheDialogIsOpen) {
    build();
    open(1);  // "Sorted SORT"
    trigger("findInCurrentTab");
    tick(kAnyCase);
    form->search().findDialog()->setText("sort");
    for (int p : {0, 3, 7, 10}) EXPECT_EQ(indicatorAt(p), 1) << p;
    for (int p : {4, 6}) EXPECT_EQ(indicatorAt(p), 0) << p;

    tick(kAnyCaseWord);  // an option changed: marked again
    EXPECT_EQ(indicatorAt(0), 0);
    EXPECT_EQ(indicatorAt(7), 1);

    form->selectNode(form->tree().nodeAt(3));  // another text in the tab, once it settles
    form->workspace().openInActiveTab();
    QCoreApplication::processEvents();
    EXPECT_EQ(indicatorAt(0), 0);
    EXPECT_EQ(indicatorAt(7), 1);

    form->search().findDialog()->hide();
    EXPECT_EQ(indicatorAt(7), 0);
    EXPECT_FALSE(form->search().indicators().active());
}
