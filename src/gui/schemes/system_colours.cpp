#include "schemes/system_colours.h"

#include <QApplication>

namespace tw {

const std::vector<SystemColour>& systemColours() {
    static const std::vector<SystemColour> colours = {
        {0, "Scroll Bar", QPalette::Button},
        {1, "Background", QPalette::Dark},
        {2, "Active Caption", QPalette::Highlight},
        {3, "Inactive Caption", QPalette::Mid},
        {4, "Menu", QPalette::Window},
        {5, "Window", QPalette::Base},
        {6, "Window Frame", QPalette::Shadow},
        {7, "Menu Text", QPalette::WindowText},
        {8, "Window Text", QPalette::Text},
        {9, "Caption Text", QPalette::HighlightedText},
        {10, "Active Border", QPalette::Button},
        {11, "Inactive Border", QPalette::Button},
        {12, "Application Workspace", QPalette::Mid},
        {13, "Highlight", QPalette::Highlight},
        {14, "Highlight Text", QPalette::HighlightedText},
        {15, "Button Face", QPalette::Button},
        {16, "Button Shadow", QPalette::Mid},
        {17, "Gray Text", QPalette::PlaceholderText},
        {18, "Button Text", QPalette::ButtonText},
        {19, "Inactive Caption Text", QPalette::Midlight},
        {20, "Button Highlight", QPalette::Light},
        {21, "3D Dark Shadow", QPalette::Shadow},
        {22, "3D Light", QPalette::Midlight},
        {23, "Info Text", QPalette::ToolTipText},
        {24, "Info Background", QPalette::ToolTipBase},
        {26, "Hot Light", QPalette::Link},
        {27, "Gradient Active Caption", QPalette::Highlight},
        {28, "Gradient Inactive Caption", QPalette::Midlight},
        {29, "Menu Highlight", QPalette::Highlight},
        {30, "Menu Bar", QPalette::Window},
    };
    return colours;
}

const SystemColour* findSystemColour(std::uint32_t value) {
    const std::uint32_t high = value & 0xFF000000u;
    if (high != 0x80000000u && high != 0xFF000000u) return nullptr;
    for (const SystemColour& s : systemColours())
        if (static_cast<std::uint32_t>(s.index) == (value & 0x00FFFFFFu)) return &s;
    return nullptr;
}

QColor resolveColour(std::uint32_t value) {
    if ((value & 0xFF000000u) == 0)
        return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                      static_cast<int>((value >> 16) & 0xFF));
    if (const SystemColour* s = findSystemColour(value)) return QApplication::palette().color(s->role);
    return {};
}

} // namespace tw
