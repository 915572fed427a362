#pragma once
// The directory chooser "Выбор директории": a tree of the file system's folders with a
// path field above it kept in step with it, "OK" and "Отмена". Every folder choice of the
// program is made here (the prompter shows it).

#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace tw {

class FolderChooser : public QDialog {
    Q_OBJECT
public:
    explicit FolderChooser(QWidget* parent = nullptr);

    // Puts path in the field and, when it is a folder, selects and shows it in the tree.
    void setPath(const QString& path);
    // The chosen folder: the text of the field (empty when nothing is chosen).
    QString path() const;

    QLineEdit* pathField() const { return pathField_; }
    QTreeView* folders() const { return folders_; }
    QFileSystemModel* folderModel() const { return model_; }

public slots:
    void confirm();  // "OK"
    void cancel();  // "Отмена"

private:
    void selectFolder(const QString& path);
    void folderChanged();

    QFileSystemModel* model_;
    QLineEdit* pathField_;
    QTreeView* folders_;
    int syncing_ = 0;  // > 0 while the field follows the tree
};

} // namespace tw
