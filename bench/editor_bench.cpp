// Opens a large page in the main window's editor with its highlighter on, then types one
// character at its end, and prints the times.
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
    form.selectNode(page);

    QElapsedTimer t;
    t.start();
    form.workspace().openInActiveTab();
    QCoreApplication::processEvents();  // the first paint styles what is shown
    form.editor()->repaint();
    const double open = ms(t);

    tw::CodeEditor* editor = form.editor();
    editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    QCoreApplication::processEvents();
    t.restart();
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
    std::printf("page_mb: %.1f\nopen_ms: %.1f\nkeystroke_ms: %.1f\nrepaint_after_keys_ms: %.1f\ntext_copied: %s\n",
                page->page->text.size() / 1048576.0, open, typed, paint, copied ? "yes" : "no");
    return copied ? 0 : 1;
}
