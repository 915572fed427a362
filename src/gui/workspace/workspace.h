#pragma once
// The workspace: the editor tabs over the one code editor. Each tab is a caption and the
// absolute index of the node it shows (its bound index; 0 for none, the "None" tab). The
// workspace opens nodes in tabs, keeps the editor's text in the bound node's record,
// and carries the language of the editor with the radio items of the language menu.

#include "editor/catalogue.h"
#include "tree/collection_tree.h"

#include <QObject>
#include <vector>

class QAction;
class QActionGroup;
class QTabBar;

namespace tw {

class CodeEditor;
class Prompter;
class StatusPanels;
class TreeModel;
class TreeView;

class Workspace : public QObject {
    Q_OBJECT
public:
    Workspace(CollectionTree& tree, TreeModel& model, TreeView& view, StatusPanels& status, Prompter& prompter,
              QObject* parent = nullptr);

    QTabBar* tabs() const { return tabs_; }
    CodeEditor* editor() const { return editor_; }
    // The collection, with the record of the page in the editor brought up to date first:
    // every part reads the tree through here, so every reader sees the text as typed.
    CollectionTree& tree() const {
        syncEditedPage();
        return tree_;
    }
    // Copies the editor's text into the record of the page being edited, when edits have
    // not reached it yet. An edit only marks the record as behind: copying a large text on
    // every keystroke would make typing lag.
    void syncEditedPage() const;
    TreeModel& model() const { return model_; }
    TreeView& view() const { return view_; }
    HighlighterSet& highlighters() { return highlighters_; }

    // The node selected in the tree (nullptr when none), and selecting one.
    Node* selectedNode() const;
    void selectNode(const Node* node);

    // A tab's caption as the user gave it ("&" shown as written), with the whole caption as
    // its tooltip (the bar elides long ones).
    QString tabCaption(int tab) const;
    void setTabCaption(int tab, const QString& caption);

    int boundIndex(int tab) const;
    // The bound indexes of all tabs in order, and setting them back.
    std::vector<int> boundIndexes() const;
    void rebind(const std::vector<int>& indexes);
    // The node of every tab (nullptr for none); rebindToNodes re-derives the indexes after
    // the tree changed shape, so that each tab stays on its node.
    std::vector<const Node*> tabNodes() const;
    void rebindToNodes(const std::vector<const Node*>& nodes);
    // The record of the node the active tab shows, or nullptr.
    PageRecord* boundPage() const;
    // Makes tab the active one without treating it as the user's switch.
    void setActiveTab(int tab);

    // Shows node absIndex in the editor: its text, language and bookmarks.
    void loadNodeIntoTab(int tab, int absIndex);
    void openInActiveTab();
    void openInNewTab();
    // Activates the tab bound to absIndex; false when there is none.
    bool activateTabOf(int absIndex);
    // The first "None" tab bound to nothing, or -1.
    int noneTab() const;
    void addNoneTab();
    void closeTab(int tab);
    void closeActiveTab();
    // Drops the "*" of every tab caption (after a save).
    void clearModifiedMarks();
    // Removes tabs t (descending order is the caller's), each closing making the tab that
    // followed it active, or the first when it was the rightmost.
    void removeTabAndActivateNext(int tab);
    // Back to the one None tab with an empty editor.
    void resetTabs();
    // Shows the bookmarks of node absIndex in the editor.
    void showBookmarksOf(int absIndex);
    // Re-captions the tab of a renamed node.
    void nodeRenamed(Node* node);
    // A click on a tree node: its path in the status bar, and its tab when it has one.
    void treeClicked();
    // The node last opened in a tab (0: none yet).
    int lastOpenedIndex() const { return lastOpenedIndex_; }
    void setLastOpenedIndex(int index) { lastOpenedIndex_ = index; }

    // Languages: the editor's highlighter by catalogue position (any other value: the first).
    void setLanguage(int position);
    int currentLanguage() const { return currentLanguage_; }
    // Sets the language of node absIndex from a file's extension (Object Pascal when none fits).
    void setLanguageByFile(const QString& fileName, int absIndex);
    // The language menu: one radio item per catalogue position.
    void setLanguageActions(QActionGroup* group) { languageGroup_ = group; }
    int checkedLanguage() const;
    void checkLanguage(int position);
    // A language chosen in the menu: the editor and the bound node take it.
    void chooseLanguage(int position);
    // The face of the language button: Object Pascal for the editor and language 1 for the node.
    void resetLanguage();
    // The highlighter of the language of the node last opened in a tab (the exports use it).
    Highlighter& lastOpenedHighlighter() const;

    // The editor's own file commands.
    void clearEditor();
    void loadFileIntoEditor();
    void saveEditorText();
    // Copies the editor's text into the bound node's record (after a change the editor
    // makes without raising its change signal).
    void copyEditorIntoBoundNode();

    // Every part that changes the collection (a text, caption, icon, language, bookmark or
    // the tree's shape) says so here; the document then counts as changed.
    void noteCollectionEdited() { emit collectionEdited(); }

signals:
    void collectionEdited();

private:
    void activeTabChanged();
    void editorChanged();
    void setBoundLanguage(int language);

    CollectionTree& tree_;
    TreeModel& model_;
    TreeView& view_;
    StatusPanels& status_;
    Prompter& prompter_;
    QTabBar* tabs_;
    CodeEditor* editor_;
    HighlighterSet highlighters_;
    QActionGroup* languageGroup_ = nullptr;
    int lastOpenedIndex_ = 0;
    int currentLanguage_ = 0;
    // The node whose record is behind the editor's text, or nullptr.
    mutable Node* editedNode_ = nullptr;
};

} // namespace tw
