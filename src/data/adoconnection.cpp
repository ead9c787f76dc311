#include "data/adoconnection.h"

#include "data/bankprefetch.h"
#include "data/bankschema.h"
#include "data/jetfile.h"
#include "platform/exception.h"
#include "platform/folders.h"

#include <QStringList>

TADOConnection::TADOConnection(QObject* parent) : QObject(parent) {}

TADOConnection::~TADOConnection() = default;

void TADOConnection::setConnectionString(const QString& text) {
    close();
    m_connectionString = text;
}

QString TADOConnection::designedConnectionString() {
    static const char* const pairs[][2] = {
        {"Provider", "Microsoft.Jet.OLEDB.4.0"},
        {"Password", "\"\""},
        {"User ID", "Admin"},
        {"Data Source", "db.DLL"},
        {"Mode", "Share Deny None"},
        {"Extended Properties", "\"\""},
        {"Jet OLEDB:System database", "\"\""},
        {"Jet OLEDB:Registry Path", "\"\""},
        {"Jet OLEDB:Database Password", vq::bankschema::kPasswordLatin1},
        {"Jet OLEDB:Engine Type", "5"},
        {"Jet OLEDB:Database Locking Mode", "1"},
        {"Jet OLEDB:Global Partial Bulk Ops", "2"},
        {"Jet OLEDB:Global Bulk Transactions", "1"},
        {"Jet OLEDB:New Database Password", "\"\""},
        {"Jet OLEDB:Create System Database", "False"},
        {"Jet OLEDB:Encrypt Database", "False"},
        {"Jet OLEDB:Don't Copy Locale on Compact", "False"},
        {"Jet OLEDB:Compact Without Replica Repair", "False"},
        {"Jet OLEDB:SFP", "False"},
    };
    QStringList out;
    for (const auto& p : pairs)
        out << QString::fromUtf8(p[0]) + u'=' + QString::fromUtf8(p[1]);
    return out.join(u';');
}

QString TADOConnection::property(const QString& key) const {
    const QStringList pairs = m_connectionString.split(u';', Qt::SkipEmptyParts);
    for (const QString& pair : pairs) {
        const qsizetype eq = pair.indexOf(u'=');
        if (eq < 0)
            continue;
        if (pair.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        QString value = pair.mid(eq + 1).trimmed();
        if (value.size() >= 2 && ((value.front() == u'"' && value.back() == u'"') ||
                                  (value.front() == u'\'' && value.back() == u'\'')))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return {};
}

void TADOConnection::open() {
    if (m_db)
        return;
    if (property(QStringLiteral("Provider"))
            .compare(QLatin1String("Microsoft.Jet.OLEDB.4.0"), Qt::CaseInsensitive) != 0)
        throw vq::Exception(QStringLiteral("找不到数据库提供程序，它可能没有正确安装"));
    const QString path = vq::expandName(property(QStringLiteral("Data Source")));
    const QString password = property(QStringLiteral("Jet OLEDB:Database Password"));
    if (m_prefetch)
        m_db = m_prefetch->takeDatabase(path, password);
    if (!m_db)
        m_db = std::make_unique<vq::jet::Database>(path, password);
}

void TADOConnection::close() {
    m_db.reset();
}

vq::jet::Database& TADOConnection::database() {
    if (!m_db)
        throw vq::Exception(QStringLiteral("对象已关闭，不允许此操作"));
    return *m_db;
}
