#include "data/questionpool.h"

#include "data/bankschema.h"
#include "data/questionpool_testing.h"

#include "data/adoquery.h"
#include "platform/counters.h"
#include "platform/exception.h"
#include "platform/messages.h"

namespace vq {

void fillPool(TADOQuery& query, LineStore& pool) {
    QString lines;
    // The lines are gathered and written in one edit; a failure still leaves the numbers
    // of the rows before it in the pool.
    try {
        query.first();
        int number = -1; // looked up at the first row, where a missing column fails
        while (!query.eof()) {
            if (number < 0)
                number = query.fieldNumber(bankschema::kNumber);
            appendVariantText(lines, query.field(number));
            lines += u'\n';
            query.next();
        }
    } catch (...) {
        pool.appendLines(lines);
        throw;
    }
    pool.appendLines(lines);
}

QString bankDamageMessage(const TADOQuery& query) {
    if (!query.active())
        return {};
    const vq::jet::Damage& d = query.damage();
    if (d.read < d.recorded)
        return QStringLiteral("题库文件已损坏：只能读出 %1 道题中的 %2 道。")
            .arg(d.recorded)
            .arg(d.read);
    if (d.read > d.recorded)
        return QStringLiteral("题库文件已损坏：读出 %1 道题，表中记录的却是 %2 道。")
            .arg(d.read)
            .arg(d.recorded);
    return {};
}

std::uint32_t detail::randomSeed = 0;

int drawIndex(int count, std::uint32_t seed) {
    if (count <= 0)
        return 0;
    return static_cast<int>((static_cast<std::uint64_t>(count) * seed) >> 32);
}

QString drawNumber(LineStore& pool, const SeedSource& seedSource) {
    const std::optional<std::uint64_t> counter = seedSource();
    std::uint32_t& seed = detail::randomSeed;
    seed = counter ? static_cast<std::uint32_t>(*counter) : tickCount();
    seed = seed * 134775813u + 1u;
    const int index = drawIndex(pool.count(), seed);
    const QString number = pool.at(index);
    pool.removeAt(index);
    return number;
}

void fetchQuestion(TADOQuery& query, const QString& number, const FetchTargets& targets) {
    const auto failed = [&](FetchStep step, const QString& why) {
        if (targets.failed)
            targets.failed(step, why);
    };
    try {
        query.close();
        query.clearSql();
        query.addSqlLine(QStringLiteral("SELECT * from 题 where 编号=") + number);
        query.open();
    } catch (const Exception& e) {
        showMessageBox(kEmptyBankMessage);
        failed(FetchStep::Requery, e.message());
    } catch (...) {
        showMessageBox(kEmptyBankMessage);
        failed(FetchStep::Requery, QString());
    }
    FetchStep step = FetchStep::Question;
    try {
        const QString question = variantToText(query.fieldByName(bankschema::kQuestion));
        if (targets.setQuestion)
            targets.setQuestion(question);
        if (targets.setExtras)
            targets.setExtras(readQuestionExtras(query));
        step = FetchStep::Answer;
        const QString answer = variantToText(query.fieldByName(bankschema::kAnswer));
        if (targets.setAnswer)
            targets.setAnswer(answer);
        if (targets.hideAnswer)
            targets.hideAnswer();
    } catch (const Exception& e) {
        // The read step's failures are not reported on the screen.
        failed(step, e.message());
    } catch (...) {
        failed(step, QString());
    }
}

} // namespace vq
