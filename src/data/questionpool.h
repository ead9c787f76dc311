#pragma once

#include "data/questionextras.h"
#include "platform/counters.h"
#include "platform/linestore.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class TADOQuery;

namespace vq {

// The question pool holds one question number a line; in the program it is the lines of the main
// screen's hidden store Memo1 (controls/memo.h).

// Appends the number of every row of the query (open on the whole table) to the pool.
// Nothing here catches a failure; the numbers before a failing row stay in the pool.
void fillPool(TADOQuery& query, LineStore& pool);

// The operator's message about a bank that could not be read whole, from the query's last
// full read (the pool fill's); empty when every row the table records was read.
QString bankDamageMessage(const TADOQuery& query);

// Where a draw re-seeds from: a counter, or nothing when it cannot be read (then the
// millisecond tick count). The program draws from the performance counter; tests give a fixed
// source.
using SeedSource = std::function<std::optional<std::uint64_t>()>;

// Draws one number at random and removes it; the empty text for an empty pool.
QString drawNumber(LineStore& pool, const SeedSource& seedSource = performanceCounter);
// The index the draw takes for a pool of count lines once the seed has advanced.
int drawIndex(int count, std::uint32_t seed);

enum class FetchStep { Requery, Question, Answer };

// Where a fetched question goes.
struct FetchTargets {
    std::function<void(const QString&)> setQuestion;
    std::function<void(const QString&)> setAnswer;
    std::function<void()> hideAnswer;
    // Told why a step failed, for the bank check; the screen never shows it.
    std::function<void(FetchStep, const QString&)> failed = {};
    // The row's optional columns, handed over as soon as its question text is up, so that
    // the pictures and the countdown's length go with the question they belong to.
    std::function<void(const QuestionExtras&)> setExtras = {};
};

// What a draw shows when its re-query fails (the pool is used up, the number is gone).
inline const QString kEmptyBankMessage = QStringLiteral("对不起，题库中是否没有题目了？");

// Re-queries the bank for the number and shows the row; never lets a failure out; a failed
// re-query shows kEmptyBankMessage.
void fetchQuestion(TADOQuery& query, const QString& number, const FetchTargets& targets);

} // namespace vq
