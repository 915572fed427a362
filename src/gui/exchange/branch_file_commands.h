#pragma once
// Branch files: "Сохранить ветвь в файл" writes the selected node's branch as XML or in
// the text format; "Добавить ветвь из файла" adds the nodes of a branch file below the
// selected section or the root.

#include <QObject>

namespace tw {

class CollectionDocument;
class Prompter;
class StatusPanels;
class Workspace;
struct Node;

class BranchFileCommands : public QObject {
    Q_OBJECT
public:
    BranchFileCommands(Workspace& workspace, CollectionDocument& document, StatusPanels& status, Prompter& prompter,
                       QObject* parent = nullptr);

    void saveBranchToFile();
    void addBranchFromFile();
    // Adds the nodes of a branch file below target, keeping every tab on its node.
    void addBranchFile(Node* target, const QString& fileName);

private:
    Workspace& workspace_;
    CollectionDocument& document_;
    StatusPanels& status_;
    Prompter& prompter_;
};

} // namespace tw
