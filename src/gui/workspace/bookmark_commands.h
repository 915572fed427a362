#pragma once
// The bookmark menu: "Назначить" sets one of the five numbered bookmarks on the caret's
// line of the node on screen, "Перейти" moves the caret to one (its item captioned with
// the start of that line), "Очистить" removes the node's bookmarks.

#include <QObject>
#include <vector>

class QAction;

namespace tw {

class Workspace;

class BookmarkCommands : public QObject {
    Q_OBJECT
public:
    explicit BookmarkCommands(Workspace& workspace, QObject* parent = nullptr);

    // The five "Назначить" and the five "Перейти" items, in number order.
    void setMenuItems(std::vector<QAction*> assignItems, std::vector<QAction*> goToItems);

    void assign(int number);
    void goTo(int number);
    void clear();
    // Before the menu opens: the assign items up to the next free number are enabled and
    // every go-to item is captioned.
    void prepareMenu();

private:
    void enableAssignItems(int upTo);
    void captionGoToItems();

    Workspace& workspace_;
    std::vector<QAction*> assignItems_, goToItems_;
};

} // namespace tw
