#include "search/match_indicators.h"

#include "search/editor_bytes.h"

namespace tw {

MatchIndicators::MatchIndicators(CodeEditor& editor, QObject* parent) : QObject(parent), editor_(editor) {
    editor_.SendScintilla(QsciScintillaBase::SCI_INDICSETSTYLE, kIndicator, QsciScintillaBase::INDIC_ROUNDBOX);
    editor_.SendScintilla(QsciScintillaBase::SCI_INDICSETFORE, kIndicator, QColor(255, 170, 0));
    editor_.SendScintilla(QsciScintillaBase::SCI_INDICSETALPHA, kIndicator, 110);
    editor_.SendScintilla(QsciScintillaBase::SCI_INDICSETUNDER, kIndicator, 1);
    // Many edits in a row (a replace-all) are marked once, when they are done.
    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(0);
    connect(&refreshTimer_, &QTimer::timeout, this, &MatchIndicators::refresh);
    connect(&editor_, &CodeEditor::textEdited, this, [this] {
        if (active()) refreshTimer_.start();
    });
}

void MatchIndicators::show(SearchPattern pattern) {
    pattern_.emplace(std::move(pattern));
    refresh();
}

void MatchIndicators::clear() {
    pattern_.reset();
    refreshTimer_.stop();
    refresh();
}

void MatchIndicators::refresh() {
    editor_.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, kIndicator);
    editor_.SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0,
                          editor_.SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    if (!pattern_ || !pattern_->valid() || pattern_->empty()) return;
    for (const TextMatch& m : pattern_->findAll(editorBytes(editor_)))
        editor_.SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE, m.start, m.length);
}

} // namespace tw
