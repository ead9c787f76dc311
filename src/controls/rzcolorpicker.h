#pragma once

#include "controls/rzcommon.h"

#include <QColorDialog>
#include <QPointer>
#include <QStyle>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPainter;
class TRzCustomColors;

// The palette grid: forty standard colours in five rows of eight, optionally thirty system
// colours and rows for no colour, a default colour and more colours. It takes mouse input
// only (never the focus), keeps a selected and a highlighted code and reports a choice by
// clicked().
class TRzColorPicker : public QWidget {
    Q_OBJECT
public:
    // Selection codes besides 0..39 (standard) and 40..69 (system).
    static constexpr int kNoColor = -1;      // no-colour row, or nothing
    static constexpr int kCustomSwatch = -2; // the custom-colour swatch
    static constexpr int kMoreColors = -3;   // the more-colours caption button
    static constexpr int kDefaultColor = -4; // the default-colour row
    static constexpr int kDeadZone = -5;     // separator band, empty system cells
    static constexpr int kNoHighlight = -6;  // highlight only: nothing highlighted
    static constexpr int kStandardCount = 40;
    static constexpr int kSystemCount = 30;

    // Runs the standard colour dialog: returns the chosen colour, or nothing when cancelled.
    // The custom slots travel through QColorDialog::customColor/setCustomColor. Tests replace
    // it (controls/rzcolorpicker_testing.h).
    using ColorDialogRunner = std::function<std::optional<QColor>(
        QWidget* parent, const QColor& initial, QColorDialog::ColorDialogOptions)>;

    explicit TRzColorPicker(QWidget* parent = nullptr);
    ~TRzColorPicker() override;

    // Table value and hint name of code 0..69 (clNone / empty otherwise).
    static TColor paletteColor(int code);
    static QString colorName(int code);

    // Read: the colour of the selected code. Write: marks the matching cell (see codeFor).
    TColor selectedColor() const;
    void setSelectedColor(TColor color);
    int selectedIndex() const { return m_selected; }
    int highlightedIndex() const { return m_highlighted; }

    bool showNoColor() const { return m_showNoColor; }
    void setShowNoColor(bool on);
    bool showDefaultColor() const { return m_showDefaultColor; }
    void setShowDefaultColor(bool on);
    bool showCustomColor() const { return m_showCustomColor; }
    void setShowCustomColor(bool on);
    bool showSystemColors() const { return m_showSystemColors; }
    void setShowSystemColors(bool on);
    bool showColorHints() const { return m_showColorHints; }
    void setShowColorHints(bool on) { m_showColorHints = on; }

    // Empty captions draw the built-in ones.
    QString noColorCaption() const { return m_noColorCaption; }
    void setNoColorCaption(const QString& text);
    QString defaultColorCaption() const { return m_defaultColorCaption; }
    void setDefaultColorCaption(const QString& text);
    QString customColorCaption() const { return m_customColorCaption; }
    void setCustomColorCaption(const QString& text);

    TColor defaultColor() const { return m_defaultColor; }
    void setDefaultColor(TColor color);
    TColor customColor() const { return m_customColor; }
    void setCustomColor(TColor color);
    TColor buttonColor() const { return m_buttonColor; }
    void setButtonColor(TColor color);
    // Not owned; may be null.
    TRzCustomColors* customColors() const { return m_customColors; }
    void setCustomColors(TRzCustomColors* colors) { m_customColors = colors; }
    QColorDialog::ColorDialogOptions colorDlgOptions() const { return m_colorDlgOptions; }
    void setColorDlgOptions(QColorDialog::ColorDialogOptions options) {
        m_colorDlgOptions = options;
    }

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    TRzLook look() const { return m_look; }
    void setLook(TRzLook look);

    // Geometry: the frame thickness, the inner area and the rectangle a code is painted in
    // (empty when that code is not shown). codeAt is the hit test.
    int inset() const;
    QRect innerRect() const;
    int rowHeight() const;
    QRect cellRect(int code) const;
    int codeAt(const QPoint& pos) const;

    // The colour-name hint: shown, its text and its top-left corner in screen coordinates.
    bool hintVisible() const;
    QString hintText() const;
    QPoint hintPosition() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The left press that opened the palette goes on as a press on it: while the button stays
    // down a drag onto a cell selects it, and the release inside the palette chooses.
    void continuePress() { m_leftPressed = true; }

signals:
    // The selected code changed.
    void changed();
    // A left press was released inside the inner area, or the custom swatch was chosen.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool themed() const;
    void drawToolPanel(QPainter& p, const QRect& r, QStyle::State state) const;
    int codeFor(TColor color);
    void select(int code);
    void setHighlight(int code);
    void updateHint(const QPoint& pos);
    void hideHint();
    void openColorDialog();
    void optionsChanged();
    int gridTop() const;
    int gridHeight() const;
    int cellWidth() const;
    int cellHeight() const;
    QRect noColorRow() const;
    QRect defaultRow() const;
    QRect customRow() const;
    QString caption(int code) const;

    int m_selected = kNoColor;
    int m_highlighted = kNoHighlight;
    bool m_showNoColor = false;
    bool m_showDefaultColor = false;
    bool m_showCustomColor = false;
    bool m_showSystemColors = false;
    bool m_showColorHints = true;
    QString m_noColorCaption;
    QString m_defaultColorCaption;
    QString m_customColorCaption;
    TColor m_defaultColor = clNone;
    TColor m_customColor = clNone;
    TColor m_buttonColor = clBtnFace;
    TRzCustomColors* m_customColors = nullptr;
    QColorDialog::ColorDialogOptions m_colorDlgOptions;
    bool m_autoSize = true;
    TRzLook m_look = TRzLook::Default;
    bool m_leftPressed = false;
    QPointer<QLabel> m_hint;
};
