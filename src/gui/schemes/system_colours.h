#pragma once
// System colours: stored colour values that name a colour of the desktop's scheme rather
// than a colour of their own. Settings files hold them with the high byte 0x80 or 0xFF
// and the scheme's index in the low bytes (0xFF000008 is the window text colour).

#include <QColor>
#include <QPalette>
#include <cstdint>
#include <vector>

namespace tw {

struct SystemColour {
    int index;
    const char* name;
    QPalette::ColorRole role;  // what stands for it in the window's palette
};

// The system colours the colour boxes offer, by index.
const std::vector<SystemColour>& systemColours();

// The system colour a stored value names, or nullptr.
const SystemColour* findSystemColour(std::uint32_t value);

// The colour a stored value shows in the current palette: its own colour, the palette's
// colour for a system colour, or an invalid colour for none and default.
QColor resolveColour(std::uint32_t value);

} // namespace tw
