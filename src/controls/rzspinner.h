#pragma once

#include "controls/rzcommon.h"

#include <QWidget>

// Numeric spinner: minus button, centred value, plus button. (Placeholder body: the API the
// settings dialog relies on; painting and input come with the control's own work.)
class TRzSpinner : public QWidget {
    Q_OBJECT
public:
    explicit TRzSpinner(QWidget* parent = nullptr);

    int value() const { return m_value; }
    void setValue(int value);
    int min() const { return m_min; }
    void setMin(int value);
    int max() const { return m_max; }
    void setMax(int value);
    int increment() const { return m_increment; }
    void setIncrement(int value) { m_increment = value; }

    QSize sizeHint() const override { return {85, 21}; }

private:
    int m_value = 0;
    int m_min = 0;
    int m_max = 100;
    int m_increment = 1;
};
