#pragma once

#include "controls/rzcommon.h"

#include <QObject>
#include <QStringList>

// The sixteen custom-colour slots of the standard colour dialog, kept as "ColorA=FFFFFF" ..
// "ColorP=FFFFFF" (each value a colour 0x00BBGGRR in six upper-case hexadecimal digits).
class TRzCustomColors : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 16;

    explicit TRzCustomColors(QObject* parent = nullptr);

    // Always sixteen entries in slot order.
    const QStringList& colors() const { return m_colors; }
    // Takes each slot's value from the entry of the same name; every value is read as
    // hexadecimal and cut to its low 24 bits. A slot that is missing or unreadable is white;
    // entries with other names are dropped.
    void setColors(const QStringList& colors);

    TColor color(int slot) const;
    void setColor(int slot, TColor color);

    // "ColorA" .. "ColorP".
    static QString slotName(int slot);

private:
    QStringList m_colors;
};
