#include "controls/rzcustomcolors.h"

namespace {

constexpr TColor kUnset = 0xFFFFFF;

QString hex6(TColor color) {
    return QStringLiteral("%1")
        .arg(static_cast<uint>(color) & 0xFFFFFFu, 6, 16, QLatin1Char('0'))
        .toUpper();
}

// Value text to colour; anything that is not hexadecimal gives the unset (white) slot.
TColor parseValue(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return kUnset;
    for (const QChar ch : t)
        if (!ch.isDigit() &&
            !(ch.toLower() >= QLatin1Char('a') && ch.toLower() <= QLatin1Char('f')))
            return kUnset;
    // Only the low 24 bits count, so the last six digits decide even for very long texts.
    bool ok = false;
    const uint v = t.right(6).toUInt(&ok, 16);
    return ok ? static_cast<TColor>(v & 0xFFFFFFu) : kUnset;
}

} // namespace

TRzCustomColors::TRzCustomColors(QObject* parent) : QObject(parent) {
    for (int i = 0; i < kCount; ++i)
        m_colors << slotName(i) + QLatin1Char('=') + hex6(kUnset);
}

QString TRzCustomColors::slotName(int slot) {
    return QStringLiteral("Color") + QChar(QLatin1Char('A').unicode() + slot);
}

void TRzCustomColors::setColors(const QStringList& colors) {
    QStringList result;
    for (int i = 0; i < kCount; ++i) {
        const QString name = slotName(i);
        TColor value = kUnset;
        for (const QString& entry : colors) {
            const qsizetype eq = entry.indexOf(QLatin1Char('='));
            if (eq >= 0 && entry.left(eq).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
                value = parseValue(entry.mid(eq + 1));
                break;
            }
        }
        result << name + QLatin1Char('=') + hex6(value);
    }
    m_colors = result;
}

TColor TRzCustomColors::color(int slot) const {
    if (slot < 0 || slot >= kCount)
        return kUnset;
    const QString& entry = m_colors.at(slot);
    return parseValue(entry.mid(entry.indexOf(QLatin1Char('=')) + 1));
}

void TRzCustomColors::setColor(int slot, TColor color) {
    if (slot < 0 || slot >= kCount)
        return;
    m_colors[slot] = slotName(slot) + QLatin1Char('=') + hex6(ColorToRGB(color));
}
