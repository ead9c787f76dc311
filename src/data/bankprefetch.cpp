#include "data/bankprefetch.h"

#include "data/adoconnection.h"
#include "data/jetsql.h"
#include "platform/folders.h"

namespace vq {

BankPrefetch::BankPrefetch(const QString& connectionString, const QString& sql) : m_sql(sql) {
    // The connection's own reading of its string, on this thread.
    TADOConnection connection;
    connection.setConnectionString(connectionString);
    const bool jet =
        connection.property(QStringLiteral("Provider"))
            .compare(QLatin1String("Microsoft.Jet.OLEDB.4.0"), Qt::CaseInsensitive) == 0;
    const QString path = expandName(connection.property(QStringLiteral("Data Source")));
    const QString password = connection.property(QStringLiteral("Jet OLEDB:Database Password"));
    if (jet)
        m_future = Task<Result>([path, password, sql] {
            Result r{path, password, nullptr, std::nullopt};
            try {
                r.db = std::make_unique<jet::Database>(path, password);
                const jet::Select select = jet::parseSelect(sql);
                if (!select.hasCondition)
                    r.rows = r.db->readTable(select.table);
            } catch (...) {
                // Whatever failed is done again, and reported, where it is written.
            }
            return r;
        });
}

BankPrefetch::~BankPrefetch() {
    wait();
}

void BankPrefetch::wait() const {
    m_future.wait();
}

BankPrefetch::Result& BankPrefetch::result() {
    if (!m_result)
        m_result = m_future.valid() ? m_future.get() : Result{};
    return *m_result;
}

std::unique_ptr<jet::Database> BankPrefetch::takeDatabase(const QString& path,
                                                          const QString& password) {
    if (m_databaseTaken)
        return nullptr;
    // The first opening decides; what it does not take is given back at once.
    m_databaseTaken = true;
    Result& r = result();
    if (!r.db || r.path != path || r.password != password || r.db->stale()) {
        r = Result{};
        return nullptr;
    }
    m_handedOut = r.db.get();
    return std::move(r.db);
}

std::optional<jet::RowSet> BankPrefetch::takeRows(const jet::Database& db, const QString& sql) {
    if (m_rowsTaken || m_handedOut != &db || !m_result || !m_result->rows)
        return std::nullopt;
    m_rowsTaken = true;
    std::optional<jet::RowSet> rows = std::exchange(m_result->rows, std::nullopt);
    if (sql != m_sql || db.stale())
        return std::nullopt;
    return rows;
}

} // namespace vq
