#include "controls/rzspinner.h"

#include <algorithm>

TRzSpinner::TRzSpinner(QWidget* parent) : QWidget(parent) { resize(85, 21); }

void TRzSpinner::setValue(int value) {
    if (m_min != m_max)
        value = std::clamp(value, m_min, std::max(m_min, m_max));
    m_value = value;
    update();
}

void TRzSpinner::setMin(int value) {
    m_min = value;
    setValue(m_value);
}

void TRzSpinner::setMax(int value) {
    m_max = value;
    setValue(m_value);
}
