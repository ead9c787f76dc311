#pragma once

#include <QString>

#include <optional>

class TADOQuery;

namespace vq {

// What a question brings beyond its text and answer, from the optional columns of 题 (any order,
// any of them absent): its pictures and clip as file names in the media folder beside the bank,
// its own countdown length and its points. A column that is absent, a cell without a value and a
// value that makes no sense (a time of "abc" or -5 seconds) all read as "not given", so that the
// show falls back to what it does without the column.
struct QuestionExtras {
    QString picture;
    QString answerPicture;
    QString sound;
    std::optional<int> seconds;
    std::optional<int> points;
    friend bool operator==(const QuestionExtras&, const QuestionExtras&) = default;
};

// The longest countdown and the largest points a question may ask for; beyond them the cell is a
// typing mistake rather than a rule of the round.
inline constexpr int kMaxQuestionSeconds = 3600;
inline constexpr int kMaxQuestionPoints = 100000;

// The extras of the query's current row; none where the query stands on no row. Throws only
// where the query is closed.
QuestionExtras readQuestionExtras(const TADOQuery& query);

} // namespace vq
