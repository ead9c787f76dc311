#include "data/adoquery.h"

#include "data/adoconnection.h"
#include "data/bankprefetch.h"
#include "data/jetsql.h"
#include "platform/exception.h"

#include <charconv>

TADOQuery::TADOQuery(QObject* parent) : QObject(parent) {}

void TADOQuery::setSql(const QString& text) {
    close();
    m_sql = text;
}

void TADOQuery::addSqlLine(const QString& line) {
    close();
    m_sql = m_sql.isEmpty() ? line : m_sql + QStringLiteral("\r\n") + line;
}

void TADOQuery::fail(const QString& message) const {
    throw vq::Exception(
        objectName().isEmpty() ? message : QStringLiteral("%1: %2").arg(objectName(), message));
}

void TADOQuery::open() {
    if (m_active)
        return;
    if (!m_connection)
        fail(QStringLiteral("没有连接，也没有连接字符串"));
    m_connection->open();
    const vq::jet::Select select = vq::jet::parseSelect(m_sql);
    vq::jet::Database& db = m_connection->database();
    vq::jet::RowSet rows;
    if (!select.hasCondition) {
        vq::BankPrefetch* prefetch = m_connection->prefetch();
        if (std::optional<vq::jet::RowSet> read =
                prefetch ? prefetch->takeRows(db, m_sql) : std::nullopt)
            rows = *std::move(read);
        else
            rows = db.readTable(select.table);
    } else {
        // The table first, then the column, then the types of the comparison.
        const QList<vq::jet::ColumnInfo> columns = db.columns(select.table);
        const int c = vq::jet::columnIndex(columns, select.column);
        if (c < 0)
            throw vq::Exception(QStringLiteral("一个或多个必需的参数没有值"));
        const bool literalText = select.literal.typeId() == QMetaType::QString;
        if (columns[c].numeric == literalText || (!columns[c].numeric && !columns[c].text))
            throw vq::Exception(QStringLiteral("条件表达式中的数据类型不匹配"));
        if (literalText) {
            rows = db.readTable(select.table);
            vq::jet::RowSet kept;
            kept.columns = rows.columns;
            const QString wanted = select.literal.toString();
            for (int r = 0; r < rows.rowCount(); ++r) {
                const QVariant v = rows.cell(r, c);
                if (!v.isValid() || v.toString().compare(wanted, Qt::CaseInsensitive) != 0)
                    continue;
                QList<QVariant> row;
                for (int k = 0; k < rows.columns.size(); ++k)
                    row << rows.cell(r, k);
                kept.appendRow(row);
            }
            rows = std::move(kept);
        } else {
            rows = db.readWhereEquals(select.table, select.column, select.literal.toDouble());
        }
    }
    m_rows = std::move(rows);
    m_current = 0;
    m_active = true;
}

void TADOQuery::close() {
    m_active = false;
    m_rows = {};
    m_current = 0;
}

void TADOQuery::requireActive() const {
    if (!m_active)
        fail(QStringLiteral("数据集已关闭，不能执行此操作"));
}

void TADOQuery::first() {
    requireActive();
    m_current = 0;
}

void TADOQuery::next() {
    requireActive();
    if (m_current < m_rows.rowCount())
        ++m_current;
}

bool TADOQuery::eof() const {
    requireActive();
    return m_current >= m_rows.rowCount();
}

int TADOQuery::recordCount() const {
    requireActive();
    return int(m_rows.rowCount());
}

QVariant TADOQuery::fieldByName(const QString& name) const {
    return field(fieldNumber(name));
}

int TADOQuery::fieldNumber(const QString& name) const {
    requireActive();
    const int c = m_rows.columnIndex(name);
    if (c < 0)
        fail(QStringLiteral("找不到字段“%1”").arg(name));
    return c;
}

bool TADOQuery::hasField(const QString& name) const {
    requireActive();
    return m_rows.columnIndex(name) >= 0;
}

QVariant TADOQuery::field(int number) const {
    requireActive();
    if (m_current >= m_rows.rowCount() || number < 0 || number >= m_rows.columns.size())
        return {};
    return m_rows.cell(m_current, number);
}

namespace vq {
void appendVariantText(QString& text, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        throw Exception(QStringLiteral("无法把空值（Null）转换为文本（String）"));
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int: {
        // Written in place: no string of its own for each of a bank's numbers.
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value.toLongLong()).ptr;
        text.append(QLatin1StringView(digits, end - digits));
        break;
    }
    case QMetaType::Double:
        text += QString::number(value.toDouble(), 'g', 15);
        break;
    default:
        text += value.toString();
        break;
    }
}

QString variantToText(const QVariant& value) {
    QString text;
    appendVariantText(text, value);
    return text;
}
} // namespace vq
