#pragma once
// Key combinations are matched on the physical key, as a virtual-key code means it: the
// key's Latin letter whatever keyboard layout is active, so Alt+S is the same key under a
// Russian layout (where it types "ы") as under an English one.

class QKeyEvent;

namespace tw {

// 'A'..'Z' for the key that carries that Latin letter on an English keyboard, 0 for any
// other key.
int latinLetterOf(const QKeyEvent& event);

// The same from what an event holds: its Qt key, the platform's scan code (the X and
// Wayland key code, 0 when unknown) and whether that scan code is an X/Wayland key code.
int latinLetterOf(int qtKey, unsigned scanCode, bool scanCodeIsXkb);

} // namespace tw
