#include "editor/token_runs.h"

namespace tw {

std::string formatTokenRuns(const Highlighter& highlighter, std::string_view text) {
    std::string out;
    for (const Token& t : highlighter.tokenize(text)) {
        out += highlighter.attributes()[static_cast<size_t>(t.attribute)].name.toStdString();
        out += '\t';
        for (char c : text.substr(static_cast<size_t>(t.start), static_cast<size_t>(t.length))) {
            switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
            }
        }
        out += '\n';
    }
    return out;
}

} // namespace tw
