#include "platform/physical_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace tw {

namespace {

// X and Wayland key codes (the Linux input code + 8) of the letter keys of a US keyboard.
char letterOfKeyCode(unsigned code) {
    static constexpr char kTopRow[] = "QWERTYUIOP";  // 24..33
    static constexpr char kHomeRow[] = "ASDFGHJKL";  // 38..46
    static constexpr char kBottomRow[] = "ZXCVBNM";  // 52..58
    if (code >= 24 && code <= 33) return kTopRow[code - 24];
    if (code >= 38 && code <= 46) return kHomeRow[code - 38];
    if (code >= 52 && code <= 58) return kBottomRow[code - 52];
    return 0;
}

// The Russian standard layout: the Cyrillic letter on each Latin letter key.
char letterOfCyrillic(char16_t c) {
    static constexpr char16_t kCyrillic[] = u"ЙЦУКЕНГШЩЗФЫВАПРОЛДЯЧСМИТЬ";
    static constexpr char kLatin[] = "QWERTYUIOPASDFGHJKLZXCVBNM";
    for (int i = 0; kCyrillic[i]; ++i)
        if (kCyrillic[i] == c) return kLatin[i];
    return 0;
}

} // namespace

int latinLetterOf(int qtKey, unsigned scanCode, bool scanCodeIsXkb) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
    if (scanCodeIsXkb)
        if (const char letter = letterOfKeyCode(scanCode)) return letter;
    if (qtKey > 0 && qtKey <= 0xFFFF) {
        const char16_t upper = QChar(static_cast<char16_t>(qtKey)).toUpper().unicode();
        if (const char letter = letterOfCyrillic(upper)) return letter;
    }
    return 0;
}

int latinLetterOf(const QKeyEvent& event) {
    const QString platform = QGuiApplication::platformName();
    const bool xkb = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
    return latinLetterOf(event.key(), event.nativeScanCode(), xkb);
}

} // namespace tw
