#pragma once

#include "controls/rzcommon.h"

#include <QList>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QPainter;
class QTimer;

// Numeric spinner: a minus button on the left edge, the value centred between, a plus button on
// the right edge. No text entry; the value is stepped by the buttons, the arrow and page keys
// and the mouse wheel, and always stays within the range rule of CheckValue.
//
// Events are signals; connect them directly (the default for same-thread objects): OnChanging
// hands out a pointer to the veto flag that is only valid during the emission.
class TRzSpinner : public QWidget {
    Q_OBJECT
public:
    enum class Zone { None, Minus, Plus };
    enum class Button { Minus, Plus };

    explicit TRzSpinner(QWidget* parent = nullptr);
    ~TRzSpinner() override;

    // Whether the platform's visual-style engine counts as active for the whole application:
    // the application-wide control look (vq::defaultLook) being Themed.
    static bool visualStylesActive();
    static void setVisualStylesActive(bool active);
    // The look in use now: themed when ThemeAware and visual styles are active.
    bool usesThemedLook() const;

    int value() const { return m_value; }
    void setValue(int value);
    int min() const { return m_min; }
    void setMin(int value);
    int max() const { return m_max; }
    void setMax(int value);
    bool checkRange() const { return m_checkRange; }
    void setCheckRange(bool on);
    int increment() const { return m_increment; }
    void setIncrement(int value) { m_increment = value; }
    int pageSize() const { return m_pageSize; }
    void setPageSize(int value) { m_pageSize = value; }

    int buttonWidth() const { return m_buttonWidth; }
    void setButtonWidth(int width);
    TColor buttonColor() const { return m_buttonColor; }
    void setButtonColor(TColor color);
    TColor frameColor() const { return m_frameColor; }
    void setFrameColor(TColor color);
    TColor color() const { return m_color; }
    void setColor(TColor color);

    bool showFocusRect() const { return m_showFocusRect; }
    void setShowFocusRect(bool on) { m_showFocusRect = on; }
    bool tabOnEnter() const { return m_tabOnEnter; }
    void setTabOnEnter(bool on) { m_tabOnEnter = on; }
    bool showHexValue() const { return m_showHexValue; }
    void setShowHexValue(bool on);
    QString hexValuePrefix() const { return m_hexValuePrefix; }
    void setHexValuePrefix(const QString& prefix);
    bool themeAware() const { return m_themeAware; }
    void setThemeAware(bool on);

    // Button pictures, one list for both buttons; an empty list means none.
    const QList<QPixmap>& images() const { return m_images; }
    void setImages(const QList<QPixmap>& images);
    int imageIndexMinus() const { return m_imageIndex[0]; }
    void setImageIndexMinus(int index) { setImageIndex(1, index); }
    int imageIndexPlus() const { return m_imageIndex[1]; }
    void setImageIndexPlus(int index) { setImageIndex(2, index); }
    // Indexed 1 = minus, 2 = plus.
    int imageIndex(int which) const;
    void setImageIndex(int which, int index);

    // The value the range rule allows for newValue.
    int CheckValue(int newValue) const;
    // Step up or down by amount; the step events report the requested amount.
    virtual void IncValue(int amount);
    virtual void DecValue(int amount);

    // The text the value cell shows.
    QString displayText() const;

    // Geometry from the current size and button width.
    Zone zoneAt(const QPoint& pos) const;
    QRect buttonFace(Button button) const;
    QRect valueCell() const;
    QRect focusRectangle() const;

    bool isButtonDown(Button button) const { return m_down[index(button)]; }
    bool isButtonHot(Button button) const { return m_hot[index(button)]; }
    Zone lastHotZone() const { return m_lastHotZone; }

    // The repeat timer; absent until the first left press on a button.
    QTimer* repeatTimer() const { return m_timer; }
    // One tick of the repeat timer (what the timer calls; public so the repeat can be driven).
    void repeatTick();

    static constexpr int kInitialDelay = 400;
    static constexpr int kRepeatInterval = 100;

    QSize sizeHint() const override { return {85, 21}; }

signals:
    void OnChanging(int newValue, bool* allowChange);
    void OnChange();
    void OnIncrement(int amount);
    void OnDecrement(int amount);

protected:
    virtual void DrawSpinnerFrame(QPainter& p);
    virtual void DrawSpinnerValue(QPainter& p);
    virtual void DrawSpinnerButton(QPainter& p, Button button, bool down, const QRect& face);
    // Where the pointer is now, in control coordinates.
    virtual QPoint pointerPosition() const;

    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    static int index(Button b) { return b == Button::Minus ? 0 : 1; }
    void stepAt(const QPoint& pos);
    void trackHot(const QPoint& pos);
    void applyImageSize();
    void drawClassicButton(QPainter& p, Button button, bool down, const QRect& face);
    void drawThemedButton(QPainter& p, Button button, bool down, const QRect& face);
    void drawArrow(QPainter& p, Button button, const QRect& face, TColor fill);
    void drawFocusRectangle(QPainter& p);
    QColor themedBorderColor() const;

    int m_value = 0;
    int m_min = 0;
    int m_max = 100;
    bool m_checkRange = false;
    int m_increment = 1;
    int m_pageSize = 10;
    int m_buttonWidth = 18;
    TColor m_buttonColor = clBtnFace;
    TColor m_frameColor = clBtnShadow;
    TColor m_color = clWindow;
    bool m_showFocusRect = true;
    bool m_tabOnEnter = false;
    bool m_showHexValue = false;
    QString m_hexValuePrefix = QStringLiteral("$");
    bool m_themeAware = true;
    QList<QPixmap> m_images;
    int m_imageIndex[2] = {-1, -1};

    bool m_down[2] = {false, false};
    bool m_hot[2] = {false, false};
    Zone m_lastHotZone = Zone::None;
    QTimer* m_timer = nullptr;
    int m_wheelDelta = 0;
};
