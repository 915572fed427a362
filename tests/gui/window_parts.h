#pragma once
// Every part of the main window, for tests that drive them through the window.

#include "app/help_and_updates.h"
#include "app/main_window.h"
#include "app/status_panels.h"
#include "editor/code_editor.h"
#include "editor/editing_aids.h"
#include "exchange/branch_file_commands.h"
#include "exchange/export_commands.h"
#include "hotkeys/snippet_keys.h"
#include "launcher/applications_menu.h"
#include "search/search_commands.h"
#include "tree/tree_editor.h"
#include "workspace/bookmark_commands.h"
#include "workspace/collection_document.h"
#include "workspace/workspace.h"

namespace tw {
// The record of node as every reader sees it: read through the window, so that what was
// typed in the editor has reached it.
inline const std::string& recordText(MainWindow& form, const Node* node) {
    form.tree();
    return node->page->text;
}
} // namespace tw
