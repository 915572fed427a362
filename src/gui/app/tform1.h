#pragma once
// The main window: the collection tree on the left, the editor tabs with the one
// editor on the right, the main menu, two toolbars and the two-panel status bar.
// It keeps the collection, the current file name and the tabs' bindings, and carries
// every command of the program.

#include "app/feedback.h"
#include "tree/collection_tree.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabBar;
class QToolBar;
class QTreeView;

namespace tw {

class Prompter;
class SynMemo;
class TreeModel;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(Prompter& prompter, QWidget* parent = nullptr);
    ~TForm1() override;

    CollectionTree& tree() { return tree_; }
    const QString& currentFileName() const { return currentFileName_; }
    void setCurrentFileName(const QString& name) { currentFileName_ = name; }
    int lastOpenedIndex() const { return lastOpenedIndex_; }
    QString statusText(int panel) const;
    QAction* command(const QString& objectName) const;

    // Resets to a collection of the root node only, with the None tab (and no file name).
    void NewTree();
    void ChangeCaption();
    void GetInfoTree();
    void CreateBar(int maximum);
    // Reads the collection file named by the current file name, when it exists (start-up).
    void openLastFile();

public slots:
    void N4Click();            // "Новый"
    void N7Click();            // "Открыть..."
    void N55Click();           // "Сохранить"
    void N6Click();            // "Сохранить как..."
    void N9Click();            // "Выход"
    void ToolButton8Click();   // "Очистить дерево"
    void ToolButton7Click();   // "Открыть..."
    void ToolButton5Click();   // "Сохранить"
    void ToolButton33Click();  // "Сохранить как..."

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();

    void buildWidgets();
    void buildCommands();
    QAction* addCommand(const QString& name, const QString& caption, const QString& hint = {},
                        void (TForm1::*slot)() = nullptr);
    QMenu* dropDownMenu(const QString& name);

    void askAndClear();
    void OpenFileT();
    void saveCommand();
    void SaveFileT();
    bool ConfirmReplace(const QString& fileName);
    // Writes the collection by the rules of the extension; false when nothing was written.
    bool writeCollection(const QString& fileName);
    bool writeXml(const QString& fileName);
    void removeModifiedMarkers();

    // Feedback for a read or write: messages are gathered and shown as one box.
    Feedback operationFeedback();
    void showGatheredMessages();
    void destroyBar();

    Prompter& prompter_;
    CollectionTree tree_;
    QString currentFileName_;
    int lastOpenedIndex_ = 0;
    bool shown_ = false;
    QStringList gathered_;

    TreeModel* model_ = nullptr;
    QTreeView* Tree = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabBar* Pages1 = nullptr;
    SynMemo* SynMemo1 = nullptr;
    QLabel* panel0_ = nullptr;
    QLabel* panel1_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QToolBar* mainBar_ = nullptr;
    QToolBar* editorBar_ = nullptr;
    QMenu* PopupMenu1 = nullptr;
};

} // namespace tw
