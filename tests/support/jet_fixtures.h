#pragma once

#include "data/jetwriter.h"

#include <QStringList>

// Ready-made question banks for tests, benchmarks and fuzz seeds, built with the Jet writer.
namespace vq::jet {

// Variants of the bank that exercise the presenter's failure paths:
//   bank            five ordinary questions, numbers 1..5 (Chinese texts)
//   text-number     编号 is a text column
//   null-number     the third of five rows has no 编号
//   duplicate       numbers 1, 2, 2, -3, 4 (a duplicate and a negative number)
//   short-text      题目 and 答案 are text(255) instead of memo
//   extra-columns   further columns before and after the three
//   other-table     the questions in a table named `questions` (no table 题)
//   no-rows         table 题 without rows
//   no-number       table 题 without a 编号 column
//   large           100,000 rows, texts 20..200 characters
//   long-memo       memo values of 3,000 and 20,000 characters (stored on LVAL pages)
//   media-photo     every optional column, one question: picture 照片.jpg, answer picture
//                   答案.png, 时间 7, 分值 20
//   media-strip     the same columns, one question with the picture strip.png and nothing else
//   media-sound     the same columns, one question with the clip 曲.wav and nothing else
//   media-bench-jpeg  500 questions, each with the picture bench.jpg and the answer picture
//   media-bench-png   answer.png (bench.png for the PNG one)
//   media-bench-wav   500 questions, each with the clip bench.wav (bench.mp3 for the MP3 one)
//   media-bench-mp3
QStringList fixtureKinds();
// The tables of the fixture; throws vq::Exception for an unknown kind.
QList<Table> fixtureTables(const QString& kind);
// Writes the fixture with the bank password (or options given).
void writeFixture(const QString& kind, const QString& path,
                  const WriteOptions& options = {kBankPassword});

} // namespace vq::jet
