#pragma once

#include <QString>
#include <QVariant>

#include <array>
#include <optional>

// The question list's optional columns (a picture, the answer's picture, a clip, the question's
// own time and points): found by name, each becoming a column of the bank when the list has it.
namespace vq::bank {

enum class OptionalColumn { Picture, AnswerPicture, Sound, Time, Points };

inline constexpr int kOptionalColumnCount = 5;

// Every optional column, in the order the bank's table holds them after 编号, 题目 and 答案.
inline constexpr std::array<OptionalColumn, kOptionalColumnCount> kOptionalColumns = {
    OptionalColumn::Picture, OptionalColumn::AnswerPicture, OptionalColumn::Sound,
    OptionalColumn::Time, OptionalColumn::Points};

// The column's name in the list's header and in the bank.
QString optionalColumnName(OptionalColumn column);
// The column whose name this is; none for another name.
std::optional<OptionalColumn> optionalColumnNamed(const QString& name);
// Whether the column holds a whole number (a Long Integer column); else a media file's name (a
// text column).
bool isNumberColumn(OptionalColumn column);
// Whether the column names a picture (else a clip) when it names a file.
bool isPictureColumn(OptionalColumn column);

// The longest media file name a text column of the bank holds, in characters.
inline constexpr int kLongestMediaName = 255;

// A cell of the column as the bank stores it: an empty cell is no value (an invalid QVariant),
// a number column's cell a qint64, a media column's cell its trimmed name. Returns what is
// wrong with the cell instead (the text after "…列："), or nothing.
struct CheckedCell {
    QVariant value;
    QString problem; // empty when the value is good
};
CheckedCell checkCell(OptionalColumn column, const QString& cell);

} // namespace vq::bank
