#pragma once
// The applications-list dialog: a grid of the user's entries ("Описание", "Объект") with
// "Добавить", "Удалить" and "OK". Every entry also has an item in the drop-down menu of
// "Открыть файл" ("applicationsMenu"), in list order before the menu's separator and
// "Редактировать список"; choosing the item opens the entry's object. The list is read
// at start-up and written to Settings.ini whenever the dialog closes.

#include "app/program_paths.h"
#include "launcher/applications_list.h"

#include <QDialog>
#include <vector>

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;

#include "app/menu_text.h"

namespace tw {

class Prompter;


class ApplicationsDialog : public QDialog {
    Q_OBJECT
public:
    ApplicationsDialog(QMenu& popupMenu6, ProgramPaths paths, Prompter& prompter, QWidget* parent = nullptr);

    // Appends the entries of section [Files] of Settings.ini.
    void loadSettings();
    // Writes the list to Settings.ini; false (after telling the user) when it cannot be written.
    bool saveSettings();
    // "Добавить": asks for a description and an object, then appends the entry.
    void addEntry();
    // Appends a row and its menu item.
    void insertEntry(const QString& object, const QString& description);
    // "Удалить": deletes the selected entry and its menu item, without asking.
    void removeEntry();
    // An entry's menu item was chosen: its position in the menu is the entry's index.
    void openItem(QAction* item);

    std::vector<AppEntry> entries() const;
    QTreeWidget* list() const { return list_; }

    // Every way of closing ("OK", Escape, the close box) writes the list.
    void done(int result) override;

signals:
    // The object of a chosen entry, to be opened by the desktop.
    void openObject(const QString& object);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QMenu& menu_;
    ProgramPaths paths_;
    Prompter& prompter_;
    QTreeWidget* list_;
    bool placed_ = false;
};

} // namespace tw
