#include "editor/export_common.h"

#include "editor/catalogue.h"

namespace tw {

namespace {

// The highlighters' short class names by catalogue position.
constexpr const char* kShortNames[kLanguageCount] = {"Pas",   "Cpp",  "Fortran", "Java",     "VB",
                                                     "Cobol", "CS",   "Css",     "HTML",     "JScript",
                                                     "PHP",   "Perl", "Asm",     "VBScript", "SQL"};

constexpr std::uint8_t kExportedStyles = kBold | kItalic | kUnderline | kStrikeOut;

} // namespace

bool hasOwnColor(std::uint32_t color) {
    return (color & 0xFF000000u) == 0;
}

std::optional<std::uint32_t> exportColor(std::uint32_t value, const ExportSettings& settings) {
    if (hasOwnColor(value)) return value;
    if (settings.systemColor)
        if (const auto resolved = settings.systemColor(value)) return *resolved & 0xFFFFFFu;
    return std::nullopt;
}

TokenLook lookOf(const Attribute& attribute, const ExportSettings& settings) {
    return {exportColor(attribute.foreground, settings).value_or(settings.fontColor & 0xFFFFFFu),
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

char32_t detail::decodeUtf8At(std::string_view bytes, size_t at, size_t& length) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    length = 1;
    size_t extra = 0;
    char32_t c = 0, minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        extra = 1, c = lead & 0x1F, minimum = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        extra = 2, c = lead & 0x0F, minimum = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        extra = 3, c = lead & 0x07, minimum = 0x10000;
    else
        return 0xFFFD;
    if (at + extra >= bytes.size()) return 0xFFFD;
    for (size_t k = 1; k <= extra; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (byte(at + k) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not characters.
    if (c < minimum || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0xFFFD;
    length = extra + 1;
    return c;
}

} // namespace tw
