#include "app/scorerecord.h"

#include <QFile>
#include <QFileInfo>

namespace vq {

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
constexpr char kTimeFormat[] = "yyyy-MM-dd HH:mm:ss";

// A field as a spreadsheet reads it back: quoted when it holds a comma, a quote or a line end.
QByteArray field(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') &&
        !bytes.contains('\r'))
        return bytes;
    bytes.replace('"', "\"\"");
    return '"' + bytes + '"';
}

QList<QByteArray> fields(const QByteArray& line) {
    QList<QByteArray> out;
    QByteArray current;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                current += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            out.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    out.append(current);
    return out;
}

} // namespace

QByteArray ScoreRecord::header() {
    return QStringLiteral("时间,题号,队伍,变化,新分数,操作\r\n").toUtf8();
}

QByteArray ScoreRecord::lineText(const ScoreLine& line) {
    QByteArray out = line.time.toString(QLatin1StringView(kTimeFormat)).toLatin1();
    out += ',' + QByteArray::number(line.question);
    out += ',' + field(line.team);
    out += ',' + (line.change > 0 ? "+" + QByteArray::number(line.change)
                                  : QByteArray::number(line.change));
    out += ',' + QByteArray::number(line.score);
    out += ',' + field(line.what);
    out += "\r\n";
    return out;
}

std::optional<ScoreLine> ScoreRecord::parseLine(const QByteArray& text) {
    const QList<QByteArray> f = fields(text);
    if (f.size() != 6)
        return std::nullopt;
    ScoreLine line;
    line.time = QDateTime::fromString(QString::fromLatin1(f[0]), QLatin1StringView(kTimeFormat));
    bool ok[3] = {};
    line.question = f[1].toInt(&ok[0]);
    line.team = QString::fromUtf8(f[2]);
    line.change = f[3].toInt(&ok[1]);
    line.score = f[4].toInt(&ok[2]);
    line.what = QString::fromUtf8(f[5]);
    if (!line.time.isValid() || !ok[0] || !ok[1] || !ok[2])
        return std::nullopt;
    return line;
}

bool ScoreRecord::append(const ScoreLine& line) const {
    QFile file(m_path);
    // Unbuffered: the line is handed to the system in the one write below, never in parts.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    QByteArray bytes = lineText(line);
    if (file.size() == 0)
        bytes = kBom + header() + bytes;
    return file.write(bytes) == bytes.size();
}

qint64 ScoreRecord::size() const {
    return QFileInfo(m_path).size();
}

QList<ScoreLine> ScoreRecord::linesFrom(qint64 offset) const {
    QFile file(m_path);
    QList<ScoreLine> out;
    if (!file.open(QIODevice::ReadOnly) || offset < 0 || !file.seek(offset))
        return out;
    const QByteArray rest = file.readAll();
    qsizetype start = 0;
    while (true) {
        const qsizetype end = rest.indexOf('\n', start);
        if (end < 0)
            break; // a line not ended is not whole
        QByteArray text = rest.mid(start, end - start);
        start = end + 1;
        if (text.endsWith('\r'))
            text.chop(1);
        if (text.startsWith(kBom))
            text.remove(0, kBom.size());
        if (const auto line = parseLine(text))
            out.append(*line);
    }
    return out;
}

} // namespace vq
