#pragma once

#include "app/tcustomlabel.h"

// Word-wrapping label: wraps its text at its current width, then takes the measured width (the
// widest line, possibly narrower than before) and height.
class TRzLabel : public TCustomLabel {
    Q_OBJECT
public:
    explicit TRzLabel(QWidget* parent = nullptr) : TCustomLabel(parent) {}

    // The height the label takes for a text of one line in its present font.
    int oneLineHeight() const;

protected:
    QSize measure() const override;
    int textFlags() const override;
};

// The main screen's question and answer as designed: "黑体" at 19 pixels, the question bold.
// Set-up then gives each its size in points from the settings file.
QFont questionLabelFont();
QFont answerLabelFont();

// The top a step gives the answer: 30 pixels below the question's last line.
int answerTopBelow(const TRzLabel& question);
