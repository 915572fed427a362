#pragma once
// The editor's document in place, without a copy: UTF-8 with CR LF breaks, exactly the
// bytes CodeEditor::wholeText() returns. Valid until the text next changes.

#include "editor/code_editor.h"

#include <string_view>

namespace tw {

inline std::string_view editorBytes(const CodeEditor& editor) {
    const auto* bytes = reinterpret_cast<const char*>(editor.SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return bytes ? std::string_view(bytes, static_cast<size_t>(editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH)))
                 : std::string_view();
}

} // namespace tw
