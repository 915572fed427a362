#pragma once
// The program's own help window: the HTML user guide in a text browser, with a contents
// list made from the page's headings, back and forward through followed links, and a
// search within the page.

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;

namespace tw {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows `page` (an HTML file); a missing page is said so in the window.
    void open(const QString& page);
    // Finds `text` in the page after the current selection, wrapping round at the end;
    // false when the page does not hold it.
    bool findInPage(const QString& text, bool backward = false);

    QTextBrowser* browser() const { return browser_; }
    QListWidget* contents() const { return contents_; }
    QLineEdit* searchField() const { return search_; }
    QToolButton* backButton() const { return back_; }
    QToolButton* forwardButton() const { return forward_; }

private:
    // The contents list: one entry per heading of the page, indented by its level.
    void buildContents();
    void goToHeading(int row);

    QTextBrowser* browser_;
    QListWidget* contents_;
    QLineEdit* search_;
    QLabel* searchState_;
    QToolButton* back_;
    QToolButton* forward_;
};

} // namespace tw
