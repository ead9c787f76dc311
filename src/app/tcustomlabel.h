#pragma once

#include "app/tgraphiccontrol.h"
#include "controls/rzcommon.h"

#include <QFont>
#include <QString>

// A transparent text label that sizes itself to its text whenever the text or the font changes.
// An ampersand underlines the following character; a doubled one shows one ampersand.
class TCustomLabel : public TGraphicControl {
    Q_OBJECT
public:
    explicit TCustomLabel(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    TColor fontColor() const { return m_color; }
    void setFontColor(TColor color);

    // Font size in points, applied as a pixel height for the screen's resolution (times the
    // scale the user gave Qt, see screenpixels.h).
    void setFontPoints(int points);

    // Sets the width alone; the size is measured again only at the next text or font change.
    // A width from the settings file may be anywhere in the 32-bit range: it is held within
    // what a widget can be (0 to QWIDGETSIZE_MAX), as Qt's geometry does not hold it.
    void setWidth(int width);

    QSize sizeHint() const override { return size(); }

protected:
    // The size of a non-empty text as laid out by this label (an empty one is a blank's width
    // and one line's height in the current font).
    virtual QSize measure() const = 0;
    virtual int textFlags() const = 0;
    QString measuredText() const;
    void adjustToText();

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString m_text;
    TColor m_color = clWindowText;
};

// Font height in pixels for a size in points: size × pixels per inch ÷ 72, rounded.
int fontPixelHeight(int points, int dpi);

// The font a label takes for a size in points at a resolution: the same family and weight at
// that height in pixels (a size of 0 is the default 13 pixels; a negative one its magnitude).
QFont fontAtPoints(QFont font, int points, int dpi);

// A label's designed font: "黑体" (or the installed fonts standing for it) at a character height
// in pixels.
QFont designedLabelFont(int pixelHeight, bool bold);

// Single-line label: takes the size of its text on one line.
class TLabel : public TCustomLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr) : TCustomLabel(parent) {}

protected:
    QSize measure() const override;
    int textFlags() const override;
};
