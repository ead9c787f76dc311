#pragma once

#include <QtGlobal>

namespace vq {

// The digit of the key a press came from, 0 to 9, whatever the held modifiers made of its
// character (Shift+1 arrives as "!" on most layouts, "1" on none of them): the key is known by
// the platform's own code for it, the main keyboard's row and the keypad alike. Without a
// platform code (an event made by the program) the Qt key decides, a shifted US-layout symbol
// read as its digit. -1 for any other key.
int digitKey(int qtKey, quint32 nativeScanCode, quint32 nativeVirtualKey);

} // namespace vq
