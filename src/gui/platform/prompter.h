#pragma once
// Every question, message box and file dialog of the program goes through a Prompter,
// so each command can be driven by a test with scripted answers.

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace tw {

struct FileFilter {
    QString description;  // "XML"
    QString pattern;      // "*.xml"
};

struct FileChoice {
    QString path;
    int filterIndex = 1;  // 1-based position of the filter the user chose
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Yes/No question with a caption; true for Yes.
    virtual bool askYesNo(const QString& caption, const QString& text, bool warning = false) = 0;
    // Yes/No/Cancel question with a caption.
    enum class Answer { Yes, No, Cancel };
    virtual Answer askYesNoCancel(const QString& caption, const QString& text) = 0;
    // Plain message box with an OK button.
    virtual void showMessage(const QString& text) = 0;
    // Information box captioned with the program's name.
    virtual void showInformation(const QString& text) = 0;
    virtual std::optional<FileChoice> chooseOpenFile(const std::vector<FileFilter>& filters) = 0;
    // The dialog itself never asks about overwriting: the commands do that.
    virtual std::optional<FileChoice> chooseSaveFile(const std::vector<FileFilter>& filters) = 0;
    // The colour dialog; nullopt when cancelled.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // A folder of the file system, starting at `start`; nullopt when cancelled.
    virtual std::optional<QString> chooseDirectory(const QString& start) = 0;
    // An input box with a caption, a prompt and an initial text; nullopt when cancelled.
    virtual std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) = 0;
};

// The real dialogs.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    bool askYesNo(const QString& caption, const QString& text, bool warning) override;
    Answer askYesNoCancel(const QString& caption, const QString& text) override;
    void showMessage(const QString& text) override;
    void showInformation(const QString& text) override;
    std::optional<FileChoice> chooseOpenFile(const std::vector<FileFilter>& filters) override;
    std::optional<FileChoice> chooseSaveFile(const std::vector<FileFilter>& filters) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<QString> chooseDirectory(const QString& start) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) override;

private:
    QWidget* parent_;
};

} // namespace tw
