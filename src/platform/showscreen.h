#pragma once

class QScreen;

namespace vq {

// The screen the show runs on (the projector's, where the operator chose one). Every window of
// the program opens there: the main screen and the welcome screen fill it, the settings dialog
// and the message boxes are centred on it.
// The primary screen until a screen is chosen, and again once the chosen one is gone.
QScreen* showScreen();
void setShowScreen(QScreen* screen);

} // namespace vq
