#include "schemes/scheme_settings.h"

namespace tw {

void loadSchemeColours(const IniFile& ini, const HighlighterSet& set) {
    for (Highlighter* h : set.list()) {
        for (int i = 0; i < static_cast<int>(h->attributes().size()); ++i) {
            Attribute& a = h->attribute(i);
            a.foreground = static_cast<std::uint32_t>(
                ini.readInt(h->languageName(), a.name, static_cast<std::int32_t>(kNoColor)));
        }
    }
}

void saveSchemeColours(IniFile& ini, const HighlighterSet& set) {
    for (const Highlighter* h : set.list())
        for (const Attribute& a : h->attributes())
            ini.writeInt(h->languageName(), a.name, static_cast<std::int32_t>(a.foreground));
}

} // namespace tw
