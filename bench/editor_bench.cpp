// Opens a large page in the main window's editor with its highlighter on, once with LF line
// ends alone and once with CR LF, jumps to its end, then types one character at the end of
// the CR LF page, and prints the times.
//   bench_editor [MEGABYTES=10]   (BENCH_KEYS=n types n characters and reports the mean)
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "app/main_window.h"
#include "../tests/gui/window_parts.h"
#include "editor/code_editor.h"
#include "platform/prompter.h"

#include "silent_prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>

namespace {

std::string cppText(size_t bytes) {
    const std::string block =
        "/* Разбор входного потока:\r\n   несколько строк комментария */\r\n"
        "static int parse(const char* s, size_t n) {\r\n"
        "    int total = 0x1F; // счётчик\r\n"
        "    for (size_t i = 0; i < n; ++i) total += s[i] == '\\n' ? 1 : 0;\r\n"
        "    return total * 3.5e2;\r\n}\r\n";
    std::string out;
    out.reserve(bytes + block.size());
    while (out.size() < bytes) out += block;
    return out;
}

double ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

std::string withoutCr(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

// Opens the page in the active tab until it is shown, then jumps to its end until that is
// shown; prints both times and how much of the text the editor has styled by then.
void openAndJump(tw::MainWindow& form, tw::Node* page, const char* name) {
    form.selectNode(page);
    QElapsedTimer t;
    t.start();
    form.workspace().openInActiveTab();
    QCoreApplication::processEvents();  // the first paint styles what is shown
    form.editor()->repaint();
    const double open = ms(t);

    tw::CodeEditor* editor = form.editor();
    t.restart();
    editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    QCoreApplication::processEvents();
    editor->repaint();
    const double jump = ms(t);
    const long styled = editor->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    const long length = editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    std::printf("open_%s_ms: %.1f\njump_to_end_%s_ms: %.1f\nstyled_after_jump_%s_percent: %.0f\n", name, open, name, jump,
                name, length ? 100.0 * styled / length : 100.0);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tw::HelpAndUpdates::setUpdateCheckEnabled(false);  // no network from here
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 10.0;
    QTemporaryDir dir;
    tw::bench::SilentPrompter prompter;
    tw::MainWindow form(prompter, tw::ProgramPaths::inFolder(dir.path()));
    form.resize(1000, 700);
    form.show();
    QCoreApplication::processEvents();

    tw::Node* page = form.treeEditor().addPage(form.tree().root(), QStringLiteral("big"));
    page->page->text = cppText(static_cast<size_t>(megabytes * 1024 * 1024));
    page->page->language = 2;  // C/C++
    tw::Node* lfPage = form.treeEditor().addPage(form.tree().root(), QStringLiteral("big, LF"));
    lfPage->page->text = withoutCr(page->page->text);
    lfPage->page->language = 2;
    std::printf("page_mb: %.1f\n", page->page->text.size() / 1048576.0);

    openAndJump(form, lfPage, "lf_only");
    openAndJump(form, page, "crlf");

    tw::CodeEditor* editor = form.editor();
    QElapsedTimer t;
    t.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    const int repeats = qEnvironmentVariableIntValue("BENCH_KEYS") > 0 ? qEnvironmentVariableIntValue("BENCH_KEYS") : 1;
    for (int k = 0; k < repeats; ++k) {
        QCoreApplication::sendEvent(editor, &press);
        QCoreApplication::sendEvent(editor, &release);
    }
    const double typed = ms(t) / repeats;
    QCoreApplication::processEvents();
    editor->repaint();
    const double paint = ms(t) - typed * repeats;

    const bool copied = page->page->text.size() == static_cast<size_t>(editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH)) &&
                        page->page->text.back() == 'x';
    std::printf("keystroke_ms: %.1f\nrepaint_after_keys_ms: %.1f\ntext_copied: %s\n", typed, paint, copied ? "yes" : "no");
    return copied ? 0 : 1;
}
