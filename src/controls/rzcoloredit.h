#pragma once

#include "controls/rzcommon.h"

#include <QWidget>

// Colour edit with a drop-down palette. (Placeholder body: the API the settings dialog relies
// on; painting, the drop-down and input come with the control's own work.)
class TRzColorEdit : public QWidget {
    Q_OBJECT
public:
    explicit TRzColorEdit(QWidget* parent = nullptr);

    TColor selectedColor() const { return m_selectedColor; }
    void setSelectedColor(TColor color);

    QSize sizeHint() const override { return {289, 21}; }

private:
    TColor m_selectedColor = clNone;
};
