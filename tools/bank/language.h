#pragma once

#include <QString>

namespace vq::bank {

// Whether the user reads Chinese: the first of LC_ALL, LC_MESSAGES and LANG that is set begins
// with "zh", as the launcher decides; where none is set (Windows), the system's language.
bool userReadsChinese();

// Puts the tool's texts in the user's language: its own (written in Chinese) with Qt's Chinese
// reasons for a Chinese reader, the English translation built into the program with Qt's
// English reasons for anyone else.
void installToolLanguage();

} // namespace vq::bank
