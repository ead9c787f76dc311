#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace vq {
class BankPrefetch;
namespace jet {
class Database;
}
} // namespace vq

// The question bank's connection: a connection string of key=value pairs naming the provider,
// the file (resolved against the current folder) and the database password. The file is
// opened for reading only and shared with any other program (share-deny-none).
class TADOConnection : public QObject {
    Q_OBJECT
public:
    explicit TADOConnection(QObject* parent = nullptr);
    ~TADOConnection() override;

    QString connectionString() const { return m_connectionString; }
    // Changing the string closes the connection.
    void setConnectionString(const QString& text);

    // Throws vq::Exception with the engine's message; does nothing when already open.
    void open();
    void close();

    // The value of a key of the connection string (keys any case; "" values are empty).
    QString property(const QString& key) const;

    // The open database; throws when closed.
    vq::jet::Database& database();

    // Where the bank and its rows may have been read ahead; null: nowhere. The opening and
    // the query on this connection ask it first.
    void setPrefetch(vq::BankPrefetch* prefetch) { m_prefetch = prefetch; }
    vq::BankPrefetch* prefetch() const { return m_prefetch; }

    // The string of the bank's connection, pair by pair.
    static QString designedConnectionString();

private:
    QString m_connectionString;
    std::unique_ptr<vq::jet::Database> m_db;
    vq::BankPrefetch* m_prefetch = nullptr;
};
