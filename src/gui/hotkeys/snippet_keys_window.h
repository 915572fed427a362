#pragma once
// The hotkey list window: the table of key combinations and their texts in the grid
// "Сочетание" / "Текст", with "Добавить" (the assignment dialog), "Удалить" and "OK".
// It holds the table for the whole run, also while hidden; row i is registered under
// the identifier 7 + i. Closing the window in any way writes keys.dat.

#include "hotkeys/hotkey_table.h"

#include <QWidget>
#include <vector>

class QPushButton;
class QTableWidget;

namespace tw {

class HotkeyRegistrar;
class Prompter;
class AssignKeyDialog;

// Identifier of row 0 of the table; identifiers 1 to 5 are the main window's own keys.
inline constexpr int kFirstTableHotKey = 7;

class SnippetKeysWindow : public QWidget {
    Q_OBJECT
public:
    SnippetKeysWindow(HotkeyRegistrar& registrar, Prompter& prompter, QString keysFile, QWidget* parent = nullptr);
    void setAssignDialog(AssignKeyDialog* dialog) { assignDialog_ = dialog; }

    // Replaces the table by the rows of the file and registers them. A missing file is an
    // empty table; a file that cannot be read or is damaged is reported, the rows before
    // the fault stay.
    void loadKeys(const QString& fileName);
    bool saveKeys(const QString& fileName);
    // Appends a row of the assignment dialog's combination unless its key code is taken.
    void addRow(int keyCode, const QString& text);
    // Appends a row from the four values and registers it (no duplicate test).
    void addRowFromFile(int keyCode, const QString& text, const QString& modifier, const QString& letter);
    // True when the assignment dialog's combination is in the table already.
    bool hasKeyCode() const;
    void unregisterAll();
    // Registers every row again; the failures are reported in one message.
    void registerAll();

    const std::vector<HotKeyRow>& rows() const { return rows_; }
    // The text of row i; empty for no such row.
    QString rowText(int i) const;
    QTableWidget* table() const { return table_; }

public slots:
    void addKey();  // "Добавить"
    void removeKey();  // "Удалить"
    void confirm();  // "OK"

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Copies a keys file that could not be read whole to "<name>.damaged" (or .damaged1, ...).
    static void keepDamagedCopy(const QString& fileName);
    bool registerRow(int i);
    void appendRow(HotKeyRow row);

    HotkeyRegistrar& registrar_;
    Prompter& prompter_;
    QString keysFile_;
    AssignKeyDialog* assignDialog_ = nullptr;
    std::vector<HotKeyRow> rows_;
    QTableWidget* table_;
    bool placed_ = false;
};

} // namespace tw
