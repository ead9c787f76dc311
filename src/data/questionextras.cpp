#include "data/questionextras.h"

#include "data/adoquery.h"
#include "data/bankschema.h"

#include <QVariant>

#include <cmath>

namespace vq {

namespace {

// The cell of a column the table may not have; an invalid value where it has none.
QVariant cell(const TADOQuery& query, const QString& column) {
    if (!query.hasField(column))
        return {};
    return query.fieldByName(column);
}

// A file name typed into a text column: blanks around it are a typing habit, not part of it.
QString fileName(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    return value.toString().trimmed();
}

// A whole number from 1 to `max`: from a number column, or from a text column where an Access
// user typed the digits.
std::optional<int> positive(const QVariant& value, int max) {
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        number = value.toDouble();
        break;
    default: {
        bool ok = false;
        const qlonglong typed = value.toString().trimmed().toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        number = double(typed);
        break;
    }
    }
    if (!std::isfinite(number) || number != std::floor(number) || number < 1 || number > max)
        return std::nullopt;
    return int(number);
}

} // namespace

QuestionExtras readQuestionExtras(const TADOQuery& query) {
    QuestionExtras e;
    e.picture = fileName(cell(query, bankschema::kPicture));
    e.answerPicture = fileName(cell(query, bankschema::kAnswerPicture));
    e.sound = fileName(cell(query, bankschema::kSound));
    e.seconds = positive(cell(query, bankschema::kTime), kMaxQuestionSeconds);
    e.points = positive(cell(query, bankschema::kPoints), kMaxQuestionPoints);
    return e;
}

} // namespace vq
