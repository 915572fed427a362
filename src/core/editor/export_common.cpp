#include "editor/export_common.h"

#include "editor/catalogue.h"

namespace tw {

namespace {

// The highlighters' short class names by catalogue position.
constexpr const char* kShortNames[kLanguageCount] = {"Pas",  "Cpp",     "Fortran", "Java", "VB",
                                                     "Cobol", "CS",     "Css",     "HTML", "JScript",
                                                     "PHP",  "Perl",    "Asm",     "VBScript", "SQL"};

constexpr std::uint8_t kExportedStyles = kBold | kItalic | kUnderline | kStrikeOut;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Moves a token boundary forward past the continuation bytes of a UTF-8 sequence.
size_t snapToCharacter(std::string_view line, size_t at) {
    while (at < line.size() && at > 0 && isContinuationByte(line[at])) ++at;
    return std::min(at, line.size());
}

} // namespace

bool hasOwnColor(std::uint32_t color) { return (color & 0xFF000000u) == 0; }

TokenLook lookOf(const Attribute& attribute, const ExportSettings& settings) {
    return {hasOwnColor(attribute.foreground) ? attribute.foreground : (settings.fontColor & 0xFFFFFFu),
            static_cast<std::uint8_t>(attribute.style & kExportedStyles)};
}

QString exportClassName(const Highlighter& highlighter, const QString& attributeName) {
    QString shortName = highlighter.languageName();
    const auto& catalogue = languageCatalogue();
    for (int p = 0; p < kLanguageCount; ++p)
        if (highlighter.languageName() == QLatin1String(catalogue[static_cast<size_t>(p)].name))
            shortName = QLatin1String(kShortNames[p]);
    const QString raw = (shortName + QStringLiteral("1.") + attributeName).toLower();
    QString out;
    out.reserve(raw.size());
    for (QChar c : raw) {
        if (c == u'.' || c == u'_') c = u'-';
        if (c == u'-' || (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z')) out += c;
    }
    return out;
}

std::vector<ExportPiece> exportPieces(std::string_view text, const Highlighter& highlighter) {
    std::vector<ExportPiece> pieces;
    if (text.empty()) return pieces;
    const int space = std::max(highlighter.spaceAttribute(), 0);
    const int attributeCount = static_cast<int>(highlighter.attributes().size());
    std::vector<Token> tokens;
    int state = 0;
    size_t pos = 0;
    for (;;) {
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        const std::string_view line = text.substr(pos, end - pos);
        tokens.clear();
        highlighter.tokenizeLine(line, state, tokens);
        if (tokens.empty() && !line.empty()) tokens.push_back({0, static_cast<int>(line.size()), space});
        // Each token runs to the start of the next, so every byte of the line is exported once.
        size_t from = 0;
        for (size_t k = 0; k < tokens.size(); ++k) {
            const size_t to = k + 1 < tokens.size()
                                  ? snapToCharacter(line, static_cast<size_t>(std::max(tokens[k + 1].start, 0)))
                                  : line.size();
            if (to > from) {
                const int attribute = tokens[k].attribute;
                const bool known = attribute >= 0 && attribute < attributeCount;
                pieces.push_back({line.substr(from, to - from), known ? attribute : space, false});
                from = to;
            }
        }
        pieces.push_back({{}, 0, true});
        if (end == text.size()) break;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    return pieces;
}

QString decodeUtf8(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace tw
