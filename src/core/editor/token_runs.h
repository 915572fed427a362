#pragma once
// The token runs of a text as lines of "attribute name<TAB>text", the text with
// backslash, tab, CR and LF written as \\, \t, \r and \n. The runs cover every byte.

#include "editor/highlighter.h"

#include <string>
#include <string_view>

namespace tw {

std::string formatTokenRuns(const Highlighter& highlighter, std::string_view text);

} // namespace tw
