#pragma once
// Keyboard layouts, for the automatic layout switching while typing. A layout is named
// by its language: 0x0419 Russian, 0x0409 English.

namespace tw {

inline constexpr int kRussianLayout = 0x0419;
inline constexpr int kEnglishLayout = 0x0409;

class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;
    // The language of the active layout; 0 when the platform does not say.
    virtual int currentLanguage() const = 0;
    // Activates the layout of a language; false when there is none (the active one stays).
    virtual bool activate(int language) = 0;
};

// For platforms without layout control: no layout is reported and none can be activated,
// so the detection has no effect.
class NoKeyboardLayouts : public KeyboardLayouts {
public:
    int currentLanguage() const override { return 0; }
    bool activate(int) override { return false; }
};

} // namespace tw
