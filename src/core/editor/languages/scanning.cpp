#include "editor/languages/scanning.h"

#include "editor/rule_highlighter.h"

#include <algorithm>

namespace tw::languages::scan {

bool startsWithNoCase(std::string_view line, size_t pos, std::string_view what) {
    if (pos > line.size() || line.size() - pos < what.size()) return false;
    for (size_t i = 0; i < what.size(); ++i)
        if (asciiLowerByte(line[pos + i]) != what[i]) return false;
    return true;
}
bool onlyBlanksBefore(std::string_view line, size_t pos) {
    // Backwards: the blanks just before pos are read once for the token at pos, whereas a
    // forward scan would read a long indent again for every token after it.
    pos = std::min(pos, line.size());
    while (pos > 0 && isBlank(line[pos - 1]))
        --pos;
    return pos == 0;
}

size_t blanksEnd(std::string_view line, size_t pos) {
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
    return pos;
}
size_t digitsEnd(std::string_view line, size_t pos) {
    while (pos < line.size() && isDigit(line[pos]))
        ++pos;
    return pos;
}
size_t underscoredDigitsEnd(std::string_view line, size_t pos, bool hex) {
    while (pos < line.size() && ((hex ? isHexDigit(line[pos]) : isDigit(line[pos])) || line[pos] == '_'))
        ++pos;
    return pos;
}
size_t exponentDigits(std::string_view line, size_t pos, std::string_view letters) {
    if (pos >= line.size() || letters.find(line[pos]) == std::string_view::npos) return pos;
    size_t j = pos + 1;
    if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
    return j < line.size() && isDigit(line[j]) ? j : pos;
}
size_t exponentEnd(std::string_view line, size_t pos, std::string_view letters) {
    const size_t digits = exponentDigits(line, pos, letters);
    return digits == pos ? pos : digitsEnd(line, digits);
}

Escaped escapedBody(std::string_view line, size_t pos, char quote) {
    Escaped e;
    size_t i = pos;
    while (i < line.size() && !e.closed) {
        if (line[i] == '\\') {
            if (i + 1 == line.size()) e.continued = true;
            i += 2;
            continue;
        }
        e.closed = line[i++] == quote;
    }
    e.end = std::min(i, line.size());
    return e;
}

std::uint32_t fnv1a(std::string_view s) {
    std::uint32_t h = 2166136261u;
    for (char c : s)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

} // namespace tw::languages::scan
