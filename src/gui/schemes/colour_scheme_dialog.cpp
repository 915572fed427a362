#include "schemes/colour_scheme_dialog.h"

#include "app/ini_file.h"
#include "editor/highlighter_lexer.h"
#include "editor/code_editor.h"
#include "platform/prompter.h"
#include "schemes/color_box.h"
#include "schemes/scheme_settings.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <algorithm>
#include <functional>
#include <utility>

namespace tw {

namespace {

// The language list: grid lines between the rows; the owner hears of mouse clicks and
// of rows chosen with the keyboard.
class LanguageList : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void()> onClick;
    std::function<void()> onKeyboardChoice;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QListWidget::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && onClick) onClick();
    }
    void keyPressEvent(QKeyEvent* event) override {
        const int before = currentRow();
        QListWidget::keyPressEvent(event);
        if (currentRow() != before && onKeyboardChoice) onKeyboardChoice();
    }
    void paintEvent(QPaintEvent* event) override {
        QListWidget::paintEvent(event);
        QPainter p(viewport());
        p.setPen(palette().color(QPalette::Midlight));
        for (int r = 0; r < count(); ++r) {
            const QRect rect = visualItemRect(item(r));
            p.drawLine(rect.left(), rect.bottom(), viewport()->width(), rect.bottom());
        }
    }
};

} // namespace

ColourSchemeDialog::ColourSchemeDialog(HighlighterSet& set, ProgramPaths paths, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      set_(set), paths_(std::move(paths)), prompter_(prompter) {
    setObjectName(QStringLiteral("colourSchemes"));
    setWindowTitle(QStringLiteral("Настройка цветовых схем"));
    setFixedSize(441, 470);

    auto* list = new LanguageList(this);
    list->setObjectName(QStringLiteral("list"));
    list->setGeometry(8, 8, 145, 281);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->onClick = [this] { showSelectedLanguage(); };
    list->onKeyboardChoice = [this] { showSelectedLanguage(); };
    list_ = list;

    preview_ = new CodeEditor(this);
    preview_->setObjectName(QStringLiteral("editor"));
    preview_->setGeometry(8, 296, 417, 81);
    preview_->setWholeText("\r\n{Insert your code here}");

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setGeometry(175, 392, 81, 33);
    ok_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &ColourSchemeDialog::confirm);
}

void ColourSchemeDialog::loadSettings() {
    loadSchemeColours(IniFile(paths_.settingsFile), set_);
    for (const Highlighter* h : set_.list())
        HighlighterLexer::coloursChanged(*h);
    // The open panel shows the loaded colours too.
    if (panelHighlighter_)
        for (ColorBox* box : boxes_)
            box->setValue(panelHighlighter_->attribute(box->attributeIndex()).foreground);
}

bool ColourSchemeDialog::saveSettings() {
    IniFile ini(paths_.settingsFile);
    saveSchemeColours(ini, set_);
    if (ini.save()) return true;
    prompter_.showMessage(unableToWrite(paths_.settingsFile));
    return false;
}

void ColourSchemeDialog::startUp() {
    list_->clear();
    for (const Highlighter* h : set_.list())
        list_->addItem(h->languageName());
    if (list_->count() > 0) list_->setCurrentRow(0);
    buildPanel(0);
}

void ColourSchemeDialog::showSelectedLanguage() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    const int k = list_->row(selected.first());
    if (k < 0 || k >= static_cast<int>(set_.list().size())) return;
    preview_->setHighlighter(set_.list()[static_cast<size_t>(k)]);
    buildPanel(k);
}

void ColourSchemeDialog::buildPanel(int k) {
    delete panel_; // its labels and boxes go with it
    labels_.clear();
    boxes_.clear();
    panelHighlighter_ =
        k >= 0 && k < static_cast<int>(set_.list().size()) ? set_.list()[static_cast<size_t>(k)] : nullptr;

    panel_ = new QScrollArea(this);
    panel_->hide();
    panel_->setFrameShape(QFrame::NoFrame);
    panel_->setGeometry(157, 8, 272, 281);
    panelContent_ = new QWidget;

    int bottom = 0, right = 0;
    if (panelHighlighter_) {
        const int n = static_cast<int>(panelHighlighter_->attributes().size());
        const int h = (n - 1) / 2;
        // The left column gets attributes 0..h, the right one the rest.
        const struct { int x, first, last; } columns[] = {{4, 0, h}, {132, h + 1, n - 1}};
        for (const auto& c : columns) {
            int y = 2;
            for (int i = c.first; i <= c.last && i < n; ++i) {
                QLabel* label =
                    addLabel(c.x, y, panelHighlighter_->attributes()[static_cast<size_t>(i)].name + ':');
                ColorBox* box = addColorBox(c.x, label->y() + label->height() + 2, 120, i);
                y = box->y() + box->height() + 4;
                right = std::max(right, box->x() + box->width());
            }
            bottom = std::max(bottom, y);
        }
    }
    panelContent_->resize(right, bottom);
    panel_->setWidget(panelContent_);
    panel_->show();
}

QLabel* ColourSchemeDialog::addLabel(int left, int top, const QString& text) {
    auto* label = new QLabel(text, panelContent_);
    label->move(left, top);
    label->adjustSize();
    labels_.append(label);
    return label;
}

ColorBox* ColourSchemeDialog::addColorBox(int left, int top, int width, int attributeIndex) {
    auto* box = new ColorBox(prompter_, attributeIndex, panelContent_);
    box->setGeometry(left, top, width, box->sizeHint().height());
    if (panelHighlighter_ && attributeIndex >= 0 &&
        attributeIndex < static_cast<int>(panelHighlighter_->attributes().size()))
        box->setValue(panelHighlighter_->attribute(attributeIndex).foreground);
    connect(box, &ColorBox::valueChanged, this, [this, box] { colourChanged(box); });
    boxes_.append(box);
    return box;
}

void ColourSchemeDialog::colourChanged(ColorBox* box) {
    // The box acts on the language selected now.
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (!box || selected.isEmpty()) return;
    const int k = list_->row(selected.first());
    if (k < 0 || k >= static_cast<int>(set_.list().size())) return;
    Highlighter& h = *set_.list()[static_cast<size_t>(k)];
    const int i = box->attributeIndex();
    if (i < 0 || i >= static_cast<int>(h.attributes().size())) return;
    h.attribute(i).foreground = box->value();
    HighlighterLexer::coloursChanged(h);
}

void ColourSchemeDialog::confirm() {
    accept();
}

void ColourSchemeDialog::done(int result) {
    saveSettings();
    QDialog::done(result);
}

void ColourSchemeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) startUp(); // not when merely restored from the taskbar
}

} // namespace tw
