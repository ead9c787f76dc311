#include "app/trzlabel.h"

#include <QFontMetrics>

#include <climits>

QSize TRzLabel::measure() const {
    const QFontMetrics fm(font());
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(width(), 1), INT_MAX / 2), textFlags(),
                                    measuredText());
    return r.size();
}

int TRzLabel::textFlags() const {
    return Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
}

int TRzLabel::oneLineHeight() const {
    const QFontMetrics fm(font());
    return fm.boundingRect(QRect(0, 0, INT_MAX / 2, INT_MAX / 2), textFlags(), QStringLiteral("问"))
        .height();
}

QFont questionLabelFont() {
    return designedLabelFont(19, true);
}

QFont answerLabelFont() {
    return designedLabelFont(19, false);
}

int answerTopBelow(const TRzLabel& question) {
    return question.y() + question.height() + 30;
}
