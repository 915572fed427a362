#pragma once
// Marks every match of the active search in the editor's text with an indicator, and
// marks again after the text changes (an edit, another node in the tab) until cleared.

#include "search/search_pattern.h"

#include <QObject>
#include <QTimer>
#include <optional>

namespace tw {

class CodeEditor;

class MatchIndicators : public QObject {
    Q_OBJECT
public:
    // The indicator the matches are drawn with (the first of those left to applications).
    static constexpr int kIndicator = 8;

    explicit MatchIndicators(CodeEditor& editor, QObject* parent = nullptr);

    // Marks the matches of pattern now and after every later change of the text.
    void show(SearchPattern pattern);
    // Removes the marks; the text is no longer watched.
    void clear();
    bool active() const { return pattern_.has_value(); }
    // Marks the current text again (run after each change of the text, once it settles).
    void refresh();

private:
    CodeEditor& editor_;
    std::optional<SearchPattern> pattern_;
    QTimer refreshTimer_;
};

} // namespace tw
