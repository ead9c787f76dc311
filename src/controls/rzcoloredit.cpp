#include "controls/rzcoloredit.h"

TRzColorEdit::TRzColorEdit(QWidget* parent) : QWidget(parent) { resize(289, 21); }

void TRzColorEdit::setSelectedColor(TColor color) {
    if (color == m_selectedColor)
        return;
    m_selectedColor = color;
    update();
}
