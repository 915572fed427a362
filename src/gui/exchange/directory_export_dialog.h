#pragma once
// The export dialog of "Сохранить ветвь в виде дерева каталогов": a target folder field
// (kept while the program runs) with a browse button, "Экспортировать пустые разделы",
// the caption of the node being written, a progress bar shown during an export, and
// "Сохранить". It stays open after an export; its close box closes it.

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tw {

class CollectionTree;
class Prompter;
struct Node;

class DirectoryExportDialog : public QDialog {
    Q_OBJECT
public:
    // tree gives the collection as it is when an export starts.
    DirectoryExportDialog(std::function<const CollectionTree&()> tree, Prompter& prompter, QWidget* parent = nullptr);

    // The branch the next export writes (the node selected when the dialog opened).
    void setBranch(const Node* node) { branch_ = node; }
    // What the last export wrote ("Экспортировано страниц: N"), empty before the first.
    const QString& summary() const { return summary_; }

    QLineEdit* targetEdit() const { return target_; }
    QCheckBox* emptySectionsBox() const { return emptySections_; }
    QLabel* elementLabel() const { return element_; }
    QProgressBar* progressBar() const { return bar_; }
    QPushButton* saveButton() const { return save_; }

public slots:
    void exportBranch();  // "Сохранить": one export of the branch
    void browse();  // "..." : the folder comes from the directory chooser

private:
    std::function<const CollectionTree&()> tree_;
    Prompter& prompter_;
    const Node* branch_ = nullptr;
    QString summary_;
    QLineEdit* target_;
    QCheckBox* emptySections_;
    QLabel* element_;
    QProgressBar* bar_;
    QPushButton* save_;
};

} // namespace tw
