#pragma once
// The colour-scheme dialog: the languages on the left, a panel of colour boxes for the
// attributes of the chosen language on the right, a preview editor below. A colour
// takes effect in every editor at once; closing the dialog writes the colours to
// Settings.ini.

#include "app/program_paths.h"
#include "editor/catalogue.h"

#include <QDialog>
#include <QList>

class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QWidget;

namespace tw {

class ColorBox;
class Prompter;
class CodeEditor;

class ColourSchemeDialog : public QDialog {
    Q_OBJECT
public:
    ColourSchemeDialog(HighlighterSet& set, ProgramPaths paths, Prompter& prompter, QWidget* parent = nullptr);

    // Reads every attribute colour from Settings.ini and repaints all editors.
    void loadSettings();
    // Writes every attribute colour to Settings.ini; false (after telling the user) when
    // the file cannot be written.
    bool saveSettings();

    // Runs on every show: fills the language list, selects the first language, shows its panel.
    void startUp();
    // A click on the language list: the selected language goes to the preview and the panel.
    void showSelectedLanguage();
    // Rebuilds the attribute panel for position k of the highlighter list (an empty panel
    // for a k outside it).
    void buildPanel(int k);
    QLabel* addLabel(int left, int top, const QString& text);
    ColorBox* addColorBox(int left, int top, int width, int attributeIndex);
    // The box's value becomes the colour of its attribute in the selected language.
    void colourChanged(ColorBox* box);
    void confirm();

    QListWidget* list() const { return list_; }
    QScrollArea* panel() const { return panel_; }
    CodeEditor* editor_() const { return preview_; }
    QPushButton* okButton() const { return ok_; }
    // The current panel's labels and boxes, left column first.
    const QList<QLabel*>& labels() const { return labels_; }
    const QList<ColorBox*>& colorBoxes() const { return boxes_; }

    // Every way of closing (OK, Escape, the close button) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    HighlighterSet& set_;
    ProgramPaths paths_;
    Prompter& prompter_;
    QListWidget* list_;
    QScrollArea* panel_ = nullptr;
    QWidget* panelContent_ = nullptr;
    Highlighter* panelHighlighter_ = nullptr;
    QList<QLabel*> labels_;
    QList<ColorBox*> boxes_;
    CodeEditor* preview_;
    QPushButton* ok_;
};

} // namespace tw
