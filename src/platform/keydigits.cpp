#include "platform/keydigits.h"

#include <Qt>

namespace vq {

namespace {

int fromPlatform(quint32 scanCode, quint32 virtualKey) {
#ifdef Q_OS_WIN
    // Virtual keys: '0'..'9' for the row whatever the layout's shifted characters, VK_NUMPAD0..9
    // for the keypad with Num Lock on. The scan code is the hardware's and says nothing more.
    Q_UNUSED(scanCode);
    if (virtualKey >= 0x30 && virtualKey <= 0x39)
        return int(virtualKey - 0x30);
    if (virtualKey >= 0x60 && virtualKey <= 0x69)
        return int(virtualKey - 0x60);
#else
    // X key codes (the kernel's codes plus 8, on X and on Wayland alike): 10..19 for the row's
    // 1..9 and 0; the keypad's as the kernel lays it out. The virtual key is the symbol the
    // modifiers chose ("exclam" for Shift+1).
    Q_UNUSED(virtualKey);
    if (scanCode >= 10 && scanCode <= 18)
        return int(scanCode - 9);
    if (scanCode == 19)
        return 0;
    switch (scanCode) {
    case 90:
        return 0;
    case 87:
        return 1;
    case 88:
        return 2;
    case 89:
        return 3;
    case 83:
        return 4;
    case 84:
        return 5;
    case 85:
        return 6;
    case 79:
        return 7;
    case 80:
        return 8;
    case 81:
        return 9;
    default:
        break;
    }
#endif
    return -1;
}

} // namespace

int digitKey(int qtKey, quint32 nativeScanCode, quint32 nativeVirtualKey) {
    if (nativeScanCode != 0 || nativeVirtualKey != 0)
        return fromPlatform(nativeScanCode, nativeVirtualKey);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return qtKey - Qt::Key_0;
    constexpr int kShifted[] = {Qt::Key_ParenRight,  Qt::Key_Exclam,    Qt::Key_At,
                                Qt::Key_NumberSign,  Qt::Key_Dollar,    Qt::Key_Percent,
                                Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,
                                Qt::Key_ParenLeft};
    for (int d = 0; d < 10; ++d)
        if (kShifted[d] == qtKey)
            return d;
    return -1;
}

} // namespace vq
