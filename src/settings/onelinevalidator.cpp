#include "settings/onelinevalidator.h"

#include <algorithm>

namespace vq {
namespace {

// The characters a line edit draws as a blank: the control characters but the tab, and the
// line, paragraph and object separators.
bool shownAsBlank(QChar c) {
    return (c.unicode() < 0x20 && c != u'\t') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter;
}

} // namespace

QValidator::State OneLineValidator::validate(QString& input, int& pos) const {
    if (std::none_of(input.cbegin(), input.cend(), shownAsBlank))
        return Acceptable;
    QString out;
    out.reserve(input.size());
    int caret = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        if (c == u'\r' && i + 1 < input.size() && input[i + 1] == u'\n') {
            // The CR of a CR LF goes; the LF becomes the break's one blank.
            if (i < pos)
                --caret;
            continue;
        }
        out += shownAsBlank(c) ? QChar(u' ') : c;
    }
    input = out;
    pos = caret;
    return Acceptable;
}

} // namespace vq
