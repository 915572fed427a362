#include "workspace/workspace.h"

#include "app/menu_text.h"
#include "app/status_panels.h"
#include "editor/code_editor.h"
#include "platform/prompter.h"
#include "storage/file_names.h"
#include "storage/text_encoding.h"
#include "tree/bookmarks.h"
#include "tree/tree_model.h"
#include "tree/tree_view.h"
#include "workspace/editor_tab_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTabBar>
#include <algorithm>

namespace tw {

Workspace::Workspace(CollectionTree& tree, TreeModel& model, TreeView& view, StatusPanels& status, Prompter& prompter,
                     QObject* parent)
    : QObject(parent), tree_(tree), model_(model), view_(view), status_(status), prompter_(prompter) {
    tabs_ = new EditorTabBar;
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->setExpanding(false);
    tabs_->setElideMode(Qt::ElideRight);
    tabs_->setUsesScrollButtons(true);
    tabs_->setDocumentMode(true);
    tabs_->addTab(QStringLiteral("None"));
    tabs_->setTabData(0, 0);
    editor_ = new CodeEditor;
    // Only the user's switches and edits reach these; the workspace's own tab changes
    // block the tab bar's signals, and its own loads raise no change.
    connect(tabs_, &QTabBar::currentChanged, this, &Workspace::activeTabChanged);
    connect(editor_, &CodeEditor::changed, this, &Workspace::editorChanged);
    // The editor's text is about to be replaced (another page, a file, a clear): what was
    // typed reaches its record first.
    connect(editor_, &CodeEditor::aboutToReplaceText, this, &Workspace::syncEditedPage);
    // Nodes leaving the tree take their records with them: the edited one is brought up to
    // date while it still exists, and nothing refers to it afterwards.
    connect(&model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, &Workspace::syncEditedPage);
    connect(&model_, &QAbstractItemModel::modelAboutToBeReset, this, &Workspace::syncEditedPage);
    setLanguage(0);
}

void Workspace::syncEditedPage() const {
    if (!editedNode_) return;
    editor_->copyWholeTextInto(editedNode_->page->text);
    editedNode_ = nullptr;
}


Node* Workspace::selectedNode() const {
    if (!view_.selectionModel()) return nullptr;
    return model_.nodeOf(view_.selectionModel()->currentIndex());
}

void Workspace::selectNode(const Node* node) { view_.setCurrentIndex(model_.indexOf(node)); }

QString Workspace::tabCaption(int tab) const { return captionOfMenuText(tabs_->tabText(tab)); }

void Workspace::setTabCaption(int tab, const QString& caption) {
    tabs_->setTabText(tab, menuText(caption));
    tabs_->setTabToolTip(tab, caption);
}

int Workspace::boundIndex(int tab) const { return tabs_->tabData(tab).toInt(); }

std::vector<int> Workspace::boundIndexes() const {
    std::vector<int> out;
    for (int t = 0; t < tabs_->count(); ++t) out.push_back(boundIndex(t));
    return out;
}

void Workspace::rebind(const std::vector<int>& indexes) {
    for (int t = 0; t < tabs_->count() && t < static_cast<int>(indexes.size()); ++t)
        tabs_->setTabData(t, indexes[static_cast<size_t>(t)]);
}

std::vector<const Node*> Workspace::tabNodes() const {
    std::vector<const Node*> nodes;
    for (int t = 0; t < tabs_->count(); ++t) nodes.push_back(tree_.nodeAt(boundIndex(t)));
    return nodes;
}

void Workspace::rebindToNodes(const std::vector<const Node*>& nodes) {
    for (int t = 0; t < tabs_->count() && t < static_cast<int>(nodes.size()); ++t) {
        const Node* n = nodes[static_cast<size_t>(t)];
        tabs_->setTabData(t, n ? tree_.indexOf(n) : 0);
    }
}

PageRecord* Workspace::boundPage() const {
    Node* node = tree_.nodeAt(boundIndex(tabs_->currentIndex()));
    return node ? node->page.get() : nullptr;
}

void Workspace::setActiveTab(int tab) {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(tab);
}

void Workspace::loadNodeIntoTab(int tab, int absIndex) {
    if (tab < 0 || tab >= tabs_->count()) return;
    const Node* node = tree_.nodeAt(absIndex);
    if (!node) return;
    editor_->setWholeText(node->page->text);
    setLanguage(node->page->language - 1);
    // The language menu shows the language of the page on screen (a section has none).
    if (node->page->language >= 1 && node->page->language <= kLanguageCount) checkLanguage(node->page->language - 1);
    showBookmarksOf(absIndex);
}

bool Workspace::activateTabOf(int absIndex) {
    for (int t = 0; t < tabs_->count(); ++t) {
        if (boundIndex(t) == absIndex) {
            setActiveTab(t);
            return true;
        }
    }
    return false;
}

int Workspace::noneTab() const {
    for (int t = 0; t < tabs_->count(); ++t)
        if (tabCaption(t) == QLatin1String("None") && boundIndex(t) == 0) return t;
    return -1;
}

void Workspace::addNoneTab() {
    {
        const QSignalBlocker quiet(tabs_);
        const int t = tabs_->addTab(QStringLiteral("None"));
        tabs_->setTabData(t, 0);
        tabs_->setCurrentIndex(t);
    }
    editor_->clearAll();
}

void Workspace::openInActiveTab() {
    Node* node = selectedNode();
    if (!node) return;
    const int i = tree_.indexOf(node);
    lastOpenedIndex_ = i;
    if (i == 0) return;
    if (activateTabOf(i)) {
        loadNodeIntoTab(tabs_->currentIndex(), i);
        return;
    }
    if (node->page->language >= 1 && node->page->language <= 15) {
        setLanguage(node->page->language - 1);
        checkLanguage(node->page->language - 1);
    }
    const int none = noneTab();
    const int t = none >= 0 ? none : tabs_->currentIndex();
    setTabCaption(t, node->caption);
    tabs_->setTabData(t, i);
    setActiveTab(t);
    loadNodeIntoTab(t, i);
}

void Workspace::openInNewTab() {
    Node* node = selectedNode();
    if (!node) return;
    const int i = tree_.indexOf(node);
    lastOpenedIndex_ = i;
    if (activateTabOf(i)) {
        loadNodeIntoTab(tabs_->currentIndex(), i);
        return;
    }
    if (i == 0) return;
    if (node->page->language >= 1 && node->page->language <= 15) {
        setLanguage(node->page->language - 1);
        checkLanguage(node->page->language - 1);
    }
    int t = noneTab();
    if (t < 0) {
        const QSignalBlocker quiet(tabs_);
        t = tabs_->addTab(QString());
    }
    setTabCaption(t, node->caption);
    tabs_->setTabData(t, i);
    setActiveTab(t);
    loadNodeIntoTab(t, i);
}

void Workspace::removeTabAndActivateNext(int tab) {
    const QSignalBlocker quiet(tabs_);
    tabs_->removeTab(tab);
    if (tabs_->count() > 0) tabs_->setCurrentIndex(tab < tabs_->count() ? tab : 0);
}

void Workspace::closeTab(int tab) {
    if (tabs_->count() <= 1 || tab < 0 || tab >= tabs_->count()) return;
    removeTabAndActivateNext(tab);
    loadNodeIntoTab(tabs_->currentIndex(), boundIndex(tabs_->currentIndex()));
}

void Workspace::closeActiveTab() { closeTab(tabs_->currentIndex()); }

void Workspace::clearModifiedMarks() {
    for (int t = 0; t < tabs_->count(); ++t) {
        const QString caption = tabCaption(t);
        if (caption.endsWith(u'*')) setTabCaption(t, caption.chopped(1));
    }
}

void Workspace::resetTabs() {
    lastOpenedIndex_ = 0;
    {
        // The first tab survives as the None tab; every other tab goes, from the last.
        const QSignalBlocker quiet(tabs_);
        for (int i = tabs_->count() - 1; i >= 1; --i) tabs_->removeTab(i);
        tabs_->setCurrentIndex(0);
    }
    setTabCaption(0, QStringLiteral("None"));
    tabs_->setTabData(0, 0);
    editor_->clearAll();
}

void Workspace::nodeRenamed(Node* node) {
    noteCollectionEdited();
    const int i = tree_.indexOf(node);
    for (int t = 0; t < tabs_->count(); ++t) {
        if (boundIndex(t) == i) {
            setTabCaption(t, node->caption);
            break;
        }
    }
}

void Workspace::activeTabChanged() {
    const int t = tabs_->currentIndex();
    const int b = boundIndex(t);
    if (b != 0) {
        selectNode(tree_.nodeAt(b));
        loadNodeIntoTab(t, b);
    }
}

void Workspace::editorChanged() {
    const int t = tabs_->currentIndex();
    const int b = boundIndex(t);
    if (b == 0) return;
    Node* node = tree_.nodeAt(b);
    if (!node) return;
    // The edit is being made now; the record catches up when it is next read.
    editedNode_ = node;
    noteCollectionEdited();
    const QString caption = tabCaption(t);
    if (!caption.endsWith(u'*')) setTabCaption(t, caption + u'*');
}

void Workspace::treeClicked() {
    Node* node = selectedNode();
    if (!node) return;
    status_.setText(1, nodePath(node));
    const int i = tree_.indexOf(node);
    if (i > 0) {
        const std::vector<int> bound = boundIndexes();
        if (std::find(bound.begin(), bound.end(), i) != bound.end()) openInActiveTab();
    }
}

void Workspace::showBookmarksOf(int absIndex) {
    const Node* node = tree_.nodeAt(absIndex);
    if (!node) return;
    std::vector<Bookmark> copies;
    for (const Bookmark& mark : node->page->bookmarks) copies.push_back(copyBookmark(mark));
    editor_->setBookmarks(copies);
}

// ---- Languages ----

void Workspace::setLanguage(int position) {
    currentLanguage_ = (position >= 0 && position < kLanguageCount) ? position : 0;
    editor_->setHighlighter(&highlighters_.byPosition(currentLanguage_));
}

void Workspace::setLanguageByFile(const QString& fileName, int absIndex) {
    if (Node* node = tree_.nodeAt(absIndex)) {
        node->page->language = static_cast<std::uint8_t>(highlighters_.languageNumberForFile(fileName));
        noteCollectionEdited();
    }
}

int Workspace::checkedLanguage() const {
    QAction* a = languageGroup_ ? languageGroup_->checkedAction() : nullptr;
    return a ? a->data().toInt() : -1;
}

void Workspace::checkLanguage(int position) {
    if (!languageGroup_) return;
    for (QAction* a : languageGroup_->actions())
        if (a->data().toInt() == position) a->setChecked(true);
}

void Workspace::setBoundLanguage(int language) {
    if (Node* node = tree_.nodeAt(boundIndex(tabs_->currentIndex()))) {
        node->page->language = static_cast<std::uint8_t>(language);
        noteCollectionEdited();
    }
}

void Workspace::chooseLanguage(int position) {
    setLanguage(position);
    setBoundLanguage(position + 1);
    checkLanguage(position);
}

void Workspace::resetLanguage() {
    setLanguage(0);
    setBoundLanguage(1);
}

Highlighter& Workspace::lastOpenedHighlighter() const {
    const Node* last = tree_.nodeAt(lastOpenedIndex_);
    return highlighters_.byPosition(last ? last->page->language - 1 : -1);
}

// ---- The editor's own file commands ----

void Workspace::clearEditor() {
    editor_->clearAll();
    const int b = boundIndex(tabs_->currentIndex());
    if (b > 0) {
        tree_.pageAt(b).text.clear();
        noteCollectionEdited();
    }
}

void Workspace::loadFileIntoEditor() {
    const auto choice = prompter_.chooseOpenFile({{QStringLiteral("ANY"), QStringLiteral("*.*")}});
    if (!choice) return;
    QString error;
    bool replaced = false;
    if (!editor_->loadLinesFromFile(choice->path, &error, &replaced)) {
        prompter_.showMessage(error);
        return;
    }
    if (replaced) prompter_.showMessage(invalidBytesReplacedMessage(choice->path));
    editor_->setHighlighter(highlighters_.forExtension(fileExtension(choice->path)));
    const int b = boundIndex(tabs_->currentIndex());
    if (b > 0) {
        editedNode_ = nullptr;
        tree_.pageAt(b).text = editor_->wholeText();
        noteCollectionEdited();
        // The node keeps its bookmarks, so the gutter and the menu keep showing them.
        showBookmarksOf(b);
    }
}

void Workspace::saveEditorText() {
    const auto choice = prompter_.chooseSaveFile({{QStringLiteral("TXT"), QStringLiteral("*.txt")}});
    if (!choice) return;
    QString error;
    // ".txt" is added only to a name without an extension.
    const QString name = QFileInfo(choice->path).suffix().isEmpty() ? choice->path + QStringLiteral(".txt") : choice->path;
    if (!editor_->writeLinesToFile(name, &error)) prompter_.showMessage(error);
}

void Workspace::copyEditorIntoBoundNode() {
    if (PageRecord* page = boundPage(); page && boundIndex(tabs_->currentIndex()) > 0) {
        editedNode_ = nullptr;
        editor_->copyWholeTextInto(page->text);
        noteCollectionEdited();
    }
}

} // namespace tw
