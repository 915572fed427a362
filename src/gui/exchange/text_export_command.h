#pragma once
// The current-text export commands of the main window: the save dialog, then the
// editor's text as an HTML or RTF document coloured by the given highlighter.

#include "editor/text_export.h"

namespace tw {

class Prompter;
class CodeEditor;

// The exporters' settings for a document of this editor: its palette's text and base
// colours, the font "Arial" at 10 points and the title "Untitled".
ExportSettings exportSettingsFor(const CodeEditor& editor);

// Asks for a name, appends the format's extension and writes the document; a cancelled
// dialog writes nothing, an empty editor ends the command silently after the dialog, a
// failed write is reported. Returns the name written, or an empty one.
QString exportEditorText(Prompter& prompter, const CodeEditor& editor, const Highlighter& highlighter,
                         ExportFormat format);

} // namespace tw
