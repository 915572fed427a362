#include "workspace/bookmark_commands.h"

#include "app/menu_text.h"
#include "editor/code_editor.h"
#include "tree/bookmarks.h"
#include "workspace/workspace.h"

#include <QAction>
#include <QTabBar>

namespace tw {

BookmarkCommands::BookmarkCommands(Workspace& workspace, QObject* parent) : QObject(parent), workspace_(workspace) {}

void BookmarkCommands::setMenuItems(std::vector<QAction*> assignItems, std::vector<QAction*> goToItems) {
    assignItems_ = std::move(assignItems);
    goToItems_ = std::move(goToItems);
}

void BookmarkCommands::assign(int number) {
    PageRecord* page = workspace_.boundPage();
    if (!page) return;
    CodeEditor& editor = *workspace_.editor();
    setBookmark(page->bookmarks, number, 0, editor.caretPos().line);
    workspace_.noteCollectionEdited();
    workspace_.showBookmarksOf(workspace_.boundIndex(workspace_.tabs()->currentIndex()));
}

void BookmarkCommands::goTo(int number) {
    const PageRecord* page = workspace_.boundPage();
    if (!page) return;
    const int p = bookmarkPosition(page->bookmarks, number);
    if (p < 0) return;
    CodeEditor& editor = *workspace_.editor();
    editor.setCaretLine(page->bookmarks[static_cast<size_t>(p)].line);
    editor.setCaretColumn(0);
}

void BookmarkCommands::clear() {
    if (PageRecord* page = workspace_.boundPage(); page && !page->bookmarks.empty()) {
        page->bookmarks.clear();
        workspace_.noteCollectionEdited();
    }
    workspace_.editor()->clearBookmarks();
}

void BookmarkCommands::enableAssignItems(int upTo) {
    for (int i = 0; i < static_cast<int>(assignItems_.size()); ++i) assignItems_[static_cast<size_t>(i)]->setEnabled(i <= upTo);
}

void BookmarkCommands::captionGoToItems() {
    const CodeEditor& editor = *workspace_.editor();
    for (int i = 0; i < static_cast<int>(goToItems_.size()); ++i)
        goToItems_[static_cast<size_t>(i)]->setText(QStringLiteral("Метка %1").arg(i + 1));
    for (int r = 0; r < editor.bookmarkCount(); ++r) {
        const Bookmark mark = editor.bookmark(r);
        if (mark.number < 0 || mark.number >= static_cast<int>(goToItems_.size())) continue;
        goToItems_[static_cast<size_t>(mark.number)]->setText(menuText(markCaption(editor.lineAt(mark.line - 1))));
    }
}

void BookmarkCommands::prepareMenu() {
    enableAssignItems(workspace_.editor()->bookmarkCount());
    captionGoToItems();
}

} // namespace tw
