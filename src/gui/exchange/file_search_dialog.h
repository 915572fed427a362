#pragma once
// The file-search dialog "Поиск файлов": walks a directory and adds a section for every
// subdirectory and a page for every file that passes the masks below the root node.

#include "exchange/file_search.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tw {

class Prompter;
class HighlighterSet;
class StatusPanels;
class TreeEditor;
struct ProgramPaths;

class FileSearchDialog : public QDialog {
    Q_OBJECT
public:
    FileSearchDialog(TreeEditor& editor, StatusPanels& status, const ProgramPaths& paths, HighlighterSet& highlighters,
                     Prompter& prompter, QWidget* parent = nullptr);
    ~FileSearchDialog() override;

    QGroupBox* loadGroup() const { return group_; }
    QLineEdit* pathEdit() const { return path_; }
    QLineEdit* masksEdit() const { return masks_; }
    QCheckBox* languageBox() const { return language_; }
    QCheckBox* loadBox() const { return load_; }
    QLineEdit* fragmentEdit() const { return fragment_; }
    QLineEdit* sizeEdit() const { return size_; }
    QCheckBox* deleteBox() const { return deleteEmpty_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* stopButton() const { return stop_; }
    QPushButton* cancelButton() const { return cancel_; }
    QToolButton* browseButton() const { return browse_; }
    bool searching() const { return search_ != nullptr; }

    // Section "Search" of Settings.ini.
    void loadSettings();
    void saveSettings();
    // One import with the dialog's options.
    void startSearch();
    // Removes childless sections from the whole collection, keeping the tabs bound.
    void removeEmptySections();

public slots:
    void start();  // "Начать поиск"
    void cancel();  // "Отмена"
    void stop();  // "Стоп"
    void browseClick();        // the button beside the search path
    void loadToggled();     // "Загружать содержимое файлов": enables the load options
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setWalking(bool walking);

    TreeEditor& editor_;
    StatusPanels& status_;
    const ProgramPaths& paths_;
    HighlighterSet& highlighters_;
    Prompter& prompter_;
    QGroupBox* group_;
    QLineEdit *path_, *masks_, *fragment_, *size_;
    QCheckBox *language_, *load_, *deleteEmpty_;
    QLabel *fragmentLabel_, *sizeLabel_, *kbLabel_;
    QPushButton *start_, *stop_, *cancel_;
    QToolButton* browse_;
    FileSearch* search_ = nullptr;  // the walk under way
};

} // namespace tw
