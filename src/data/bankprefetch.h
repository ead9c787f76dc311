#pragma once

#include "data/jetfile.h"

#include "platform/task.h"

#include <QString>

#include <memory>
#include <optional>

namespace vq {

// Opens the question bank and reads the data module's query on a second thread while the
// start-up creates its windows, so that the data module finds both done when it opens them.
// The data module still owns the opening: its connection takes the opened bank only for the
// same file and password, and its query takes the rows only for the same text on that bank,
// each while the file is still what was read; anything else, a failure included, it opens
// (and reports) itself, in its place and order. The program hands it to its data module.
class BankPrefetch {
public:
    BankPrefetch(const QString& connectionString, const QString& sql);
    ~BankPrefetch();
    BankPrefetch(const BankPrefetch&) = delete;
    BankPrefetch& operator=(const BankPrefetch&) = delete;

    // The bank opened for `path` with `password`, once; null when there is none to take.
    std::unique_ptr<jet::Database> takeDatabase(const QString& path, const QString& password);
    // The rows `sql` read from `db`, once, when db is the bank handed out above and its file
    // has not changed since; empty otherwise.
    std::optional<jet::RowSet> takeRows(const jet::Database& db, const QString& sql);

    // Until the second thread is done (for tests, which change the bank afterwards).
    void wait() const;
    bool databaseTaken() const { return m_databaseTaken; }
    bool rowsTaken() const { return m_rowsTaken; }

private:
    struct Result {
        QString path;
        QString password;
        std::unique_ptr<jet::Database> db;
        std::optional<jet::RowSet> rows;
    };
    Result& result();

    QString m_sql;
    Task<Result> m_future;
    std::optional<Result> m_result;
    const jet::Database* m_handedOut = nullptr;
    bool m_databaseTaken = false;
    bool m_rowsTaken = false;
};

} // namespace vq
