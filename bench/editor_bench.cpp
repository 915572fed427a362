// Opens a large C page in the main window's editor with its highlighter on, with CR LF and
// with LF line ends alone, jumps to its end, and types at the end of it and of a small page.
// Beside them, the limit: the same text set into a bare QsciScintilla and shown.
//   bench_editor [MEGABYTES=10] [RUNS=5]
// Prints medians of RUNS runs, as "RESULT key value" lines (milliseconds) after the human
// lines. Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "app/main_window.h"
#include "../tests/gui/window_parts.h"
#include "editor/code_editor.h"
#include "platform/prompter.h"

#include "silent_prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

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

std::string withoutCr(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

double ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Everything queued is handled and the editor is painted: what the user would see.
void shown(QWidget* w) {
    QCoreApplication::processEvents();
    w->repaint();
}

// The limit: the text into a bare editor component, shown.
double bareOpen(const std::string& text) {
    QsciScintilla bare;
    bare.setUtf8(true);
    bare.resize(1000, 700);
    bare.show();
    shown(&bare);
    QElapsedTimer t;
    t.start();
    bare.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
    shown(&bare);
    return ms(t);
}

// One key typed at the end of the editor's text until it is on screen.
double keystroke(tw::CodeEditor* editor) {
    editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    shown(editor);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QElapsedTimer t;
    t.start();
    QCoreApplication::sendEvent(editor, &press);
    QCoreApplication::sendEvent(editor, &release);
    shown(editor);
    return ms(t);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tw::HelpAndUpdates::setUpdateCheckEnabled(false);  // no network from here
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 10.0;
    const int runs = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);
    QTemporaryDir dir;
    tw::bench::SilentPrompter prompter;
    tw::MainWindow form(prompter, tw::ProgramPaths::inFolder(dir.path()));
    form.resize(1000, 700);
    form.show();
    QCoreApplication::processEvents();

    tw::Node* root = form.tree().root();
    tw::Node* big = form.treeEditor().addPage(root, QStringLiteral("big"));
    big->page->text = cppText(static_cast<size_t>(megabytes * 1024 * 1024));
    big->page->language = 2;  // C/C++
    tw::Node* lf = form.treeEditor().addPage(root, QStringLiteral("big, LF"));
    lf->page->text = withoutCr(big->page->text);
    lf->page->language = 2;
    tw::Node* small = form.treeEditor().addPage(root, QStringLiteral("small"));
    small->page->text = cppText(1024);
    small->page->language = 2;
    std::printf("page_mb: %.1f, runs: %d\n", big->page->text.size() / 1048576.0, runs);

    tw::CodeEditor* editor = form.editor();
    auto open = [&](tw::Node* node) {
        form.selectNode(node);
        QElapsedTimer t;
        t.start();
        form.workspace().openInActiveTab();
        shown(editor);
        return ms(t);
    };
    auto jump = [&] {
        QElapsedTimer t;
        t.start();
        editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        shown(editor);
        return ms(t);
    };

    std::vector<double> bare, openCrLf, openLf, jumps, keys, smallKeys;
    const std::string& crlfText = big->page->text;
    for (int r = 0; r < runs; ++r) {
        bare.push_back(bareOpen(crlfText));
        openLf.push_back(open(lf));
        jumps.push_back(jump());
        open(small);
        openCrLf.push_back(open(big));
        jumps.push_back(jump());
        keys.push_back(keystroke(editor));
        open(small);
        smallKeys.push_back(keystroke(editor));
    }
    // What was typed reaches the record of its page when the collection is read.
    const std::string& record = form.tree().nodeAt(form.tree().indexOf(small))->page->text;
    const bool typed = record.size() >= static_cast<size_t>(runs) && record.substr(record.size() - runs) == std::string(runs, 'x');
    const long styled = editor->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    std::printf("typed text reached the page: %s, small page styled to %ld bytes\n", typed ? "yes" : "no", styled);

    std::printf("RESULT editor_open_bare_ms %.1f\n", median(bare));
    std::printf("RESULT editor_open_crlf_ms %.1f\n", median(openCrLf));
    std::printf("RESULT editor_open_lf_ms %.1f\n", median(openLf));
    std::printf("RESULT editor_jump_end_ms %.1f\n", median(jumps));
    std::printf("RESULT editor_keystroke_ms %.1f\n", median(keys));
    std::printf("RESULT editor_keystroke_small_ms %.1f\n", median(smallKeys));
    return typed ? 0 : 1;
}
