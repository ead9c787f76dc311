#pragma once

#include "controls/rzcommon.h"
#include "controls/rzcustomcolors.h"

#include <QColorDialog>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

class TRzPopupPanel;
class TRzColorPicker;

enum class TRzFrameStyle {
    None,
    Flat,
    FlatBold,
    Groove,
    Bump,
    Lowered,
    ButtonLowered,
    Raised,
    ButtonRaised,
    Popup
};
enum class TRzFramingPreference { FrameStyle, XPThemes };

// Colour edit: a one-line box that shows a colour swatch (a hatched box for no colour) and
// drops a palette of colours below itself on a left press, Alt+Down or F4. Typing does
// nothing. Painted entirely by the control, in the classic or the themed look.
class TRzColorEdit : public QWidget {
    Q_OBJECT
public:
    explicit TRzColorEdit(QWidget* parent = nullptr);
    ~TRzColorEdit() override;

    TColor selectedColor() const { return m_selectedColor; }
    // Stores the colour and repaints when it differs; fires no event.
    void setSelectedColor(TColor color);

    bool showNoColor() const { return m_showNoColor; }
    void setShowNoColor(bool on) { m_showNoColor = on; }
    bool showDefaultColor() const { return m_showDefaultColor; }
    void setShowDefaultColor(bool on) { m_showDefaultColor = on; }
    bool showCustomColor() const { return m_showCustomColor; }
    void setShowCustomColor(bool on) { m_showCustomColor = on; }
    bool showSystemColors() const { return m_showSystemColors; }
    void setShowSystemColors(bool on) { m_showSystemColors = on; }
    bool showColorHints() const { return m_showColorHints; }
    void setShowColorHints(bool on) { m_showColorHints = on; }
    QString noColorCaption() const { return m_noColorCaption; }
    void setNoColorCaption(const QString& text) { m_noColorCaption = text; }
    QString defaultColorCaption() const { return m_defaultColorCaption; }
    void setDefaultColorCaption(const QString& text) { m_defaultColorCaption = text; }
    QString customColorCaption() const { return m_customColorCaption; }
    void setCustomColorCaption(const QString& text) { m_customColorCaption = text; }
    TColor defaultColor() const { return m_defaultColor; }
    void setDefaultColor(TColor color) { m_defaultColor = color; }
    TColor customColor() const { return m_customColor; }
    void setCustomColor(TColor color) { m_customColor = color; }

    // Custom-colour slots shared with the colour dialog (not owned; may be null).
    TRzCustomColors* customColors() const { return m_customColors; }
    void setCustomColors(TRzCustomColors* colors) { m_customColors = colors; }

    // Options of the standard colour dialog the palette's more-colours row opens. The dialog
    // always shows its full custom-colour part, so the default is no option.
    QColorDialog::ColorDialogOptions colorDlgOptions() const { return m_colorDlgOptions; }
    void setColorDlgOptions(QColorDialog::ColorDialogOptions options) {
        m_colorDlgOptions = options;
    }

    bool dropButtonVisible() const { return m_dropButtonVisible; }
    void setDropButtonVisible(bool on);
    bool flatButtons() const { return m_flatButtons; }
    void setFlatButtons(bool on);
    TColor flatButtonColor() const { return m_flatButtonColor; }
    void setFlatButtonColor(TColor color);

    // Body colours: Color is the normal one; the others apply while focused, disabled or
    // read-only.
    TColor color() const { return m_normalColor; }
    void setColor(TColor color);
    TColor focusColor() const { return m_focusColor; }
    void setFocusColor(TColor color);
    TColor disabledColor() const { return m_disabledColor; }
    void setDisabledColor(TColor color);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    TColor readOnlyColor() const { return m_readOnlyColor; }
    void setReadOnlyColor(TColor color);
    bool readOnlyColorOnFocus() const { return m_readOnlyColorOnFocus; }
    void setReadOnlyColorOnFocus(bool on);
    // The colour the body is painted in now.
    TColor bodyColor() const { return m_bodyColor; }

    bool frameVisible() const { return m_frameVisible; }
    void setFrameVisible(bool on);
    TRzFrameStyle frameStyle() const { return m_frameStyle; }
    void setFrameStyle(TRzFrameStyle style);
    TColor frameColor() const { return m_frameColor; }
    void setFrameColor(TColor color);
    TColor frameHotColor() const { return m_frameHotColor; }
    void setFrameHotColor(TColor color) { m_frameHotColor = color; }
    TRzFrameStyle frameHotStyle() const { return m_frameHotStyle; }
    void setFrameHotStyle(TRzFrameStyle style) { m_frameHotStyle = style; }
    bool frameHotTrack() const { return m_frameHotTrack; }
    void setFrameHotTrack(bool on) { m_frameHotTrack = on; }
    TRzFramingPreference framingPreference() const { return m_framingPreference; }
    void setFramingPreference(TRzFramingPreference p) { m_framingPreference = p; }

    TRzLook look() const { return m_look; }
    void setLook(TRzLook look);

    bool isDroppedDown() const { return m_droppedDown; }
    bool isButtonDown() const { return m_buttonDown; }
    // Width of the drop button (the platform's vertical scroll bar width).
    static constexpr int kButtonWidth = 17;
    // The drop button and the swatch area, in widget coordinates, for the current look.
    QRect buttonRect() const;
    QRect clientRect() const;

    // Opens the palette and runs it until it closes (what a left press, Alt+Down or F4 do).
    void dropDown();

    QSize sizeHint() const override { return {289, 21}; }

signals:
    void OnChange();
    void OnDropDown();
    void OnCloseUp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void pressed(QMouseEvent* event);
    void configurePicker(TRzColorPicker& picker) const;
    void updateBodyColor();
    void paintBorder(QPainter& p) const;
    void paintClient(QPainter& p) const;
    void paintClassicButton(QPainter& p, const QRect& r) const;
    void paintFlatButton(QPainter& p, const QRect& r) const;
    void paintThemedButton(QPainter& p, const QRect& r) const;
    bool themed() const;
    bool marked() const { return m_inControl || m_droppedDown; }

    TColor m_selectedColor = clNone;
    bool m_showNoColor = false;
    bool m_showDefaultColor = false;
    bool m_showCustomColor = false;
    bool m_showSystemColors = false;
    bool m_showColorHints = true;
    QString m_noColorCaption;
    QString m_defaultColorCaption;
    QString m_customColorCaption;
    TColor m_defaultColor = clHighlight;
    TColor m_customColor = clWhite;
    QPointer<TRzCustomColors> m_customColors;
    QColorDialog::ColorDialogOptions m_colorDlgOptions;
    bool m_dropButtonVisible = true;
    bool m_flatButtons = false;
    TColor m_flatButtonColor = clBtnFace;
    TColor m_normalColor = clWindow;
    TColor m_focusColor = clWindow;
    TColor m_disabledColor = clBtnFace;
    bool m_readOnly = false;
    TColor m_readOnlyColor = clInfoBk;
    bool m_readOnlyColorOnFocus = false;
    TColor m_bodyColor = clWindow;
    bool m_frameVisible = false;
    TRzFrameStyle m_frameStyle = TRzFrameStyle::Flat;
    TColor m_frameColor = clBtnShadow;
    TColor m_frameHotColor = clBtnShadow;
    TRzFrameStyle m_frameHotStyle = TRzFrameStyle::FlatBold;
    bool m_frameHotTrack = false;
    TRzFramingPreference m_framingPreference = TRzFramingPreference::XPThemes;
    TRzLook m_look = TRzLook::Default;

    bool m_inControl = false;   // focused
    bool m_overControl = false; // pointer inside
    bool m_buttonDown = false;
    bool m_droppedDown = false;
    bool m_openingPress = false; // the drop-down comes from a left press still held
};
