#include "settings/inifile.h"

#include "platform/ansi.h"
#include "platform/exception.h"
#include "platform/folders.h"

#include <QFile>
#include <QList>
#include <QSaveFile>

#include <optional>

namespace vq {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView v) {
    while (!v.isEmpty() && (isBlank(v.front()) || v.front() == '\r'))
        v = v.sliced(1);
    while (!v.isEmpty() && (isBlank(v.back()) || v.back() == '\r'))
        v.chop(1);
    return v;
}

bool sameName(QByteArrayView a, const QString& b) {
    return fromAnsi(a.data(), a.size()).compare(b, Qt::CaseInsensitive) == 0;
}

// One line of the file, without its line break.
struct Line {
    qsizetype begin = 0; // offset of the first byte
    qsizetype end = 0;   // offset just past the last byte before the line break
    qsizetype next = 0;  // offset of the following line
};

QList<Line> splitLines(const QByteArray& data) {
    QList<Line> lines;
    qsizetype pos = 0;
    while (pos < data.size()) {
        const qsizetype nl = data.indexOf('\n', pos);
        Line line;
        line.begin = pos;
        line.next = nl < 0 ? data.size() : nl + 1;
        line.end = nl < 0 ? data.size() : nl;
        if (line.end > line.begin && data[line.end - 1] == '\r')
            --line.end;
        lines.append(line);
        pos = line.next;
    }
    return lines;
}

// The section name of a "[name]" line, or empty when the line opens no section.
std::optional<QByteArrayView> sectionName(QByteArrayView text) {
    text = trimmed(text);
    if (text.isEmpty() || text.front() != '[')
        return std::nullopt;
    const qsizetype close = text.lastIndexOf(']');
    if (close < 1)
        return std::nullopt;
    return trimmed(text.sliced(1, close - 1));
}

// Key part of a "key=value" line; empty for comments and lines without "=".
std::optional<QByteArrayView> keyOf(QByteArrayView text) {
    const QByteArrayView t = trimmed(text);
    if (t.isEmpty() || t.front() == ';')
        return std::nullopt;
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return trimmed(text.first(eq));
}

struct Found {
    bool sectionFound = false;
    qsizetype keyLine = -1;     // index of the key's line
    qsizetype insertAfter = -1; // last non-blank line of the section (the header at least)
};

Found locate(const QByteArray& data, const QList<Line>& lines, const QString& section,
             const QString& key) {
    Found f;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView text(data.constData() + lines[i].begin, lines[i].end - lines[i].begin);
        if (const auto name = sectionName(text)) {
            if (inSection)
                break; // the first matching section is the one in use
            inSection = sameName(*name, section);
            if (inSection) {
                f.sectionFound = true;
                f.insertAfter = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!trimmed(text).isEmpty())
            f.insertAfter = i;
        if (const auto k = keyOf(text); k && sameName(*k, key)) {
            f.keyLine = i;
            return f;
        }
    }
    return f;
}

} // namespace

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return def;
    const QByteArray data = file.readAll();
    const QList<Line> lines = splitLines(data);
    const Found f = locate(data, lines, section, key);
    if (f.keyLine < 0)
        return def;
    const Line& line = lines[f.keyLine];
    const QByteArrayView text(data.constData() + line.begin, line.end - line.begin);
    QByteArrayView value = trimmed(text.sliced(text.indexOf('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    if (value.size() > kMaxValueLength) {
        // Cut at a character boundary: never keep the lead byte of a split double-byte char.
        qsizetype keep = 0;
        while (keep < kMaxValueLength) {
            const bool lead = static_cast<unsigned char>(value[keep]) >= 0x81;
            if (lead && keep + 2 > kMaxValueLength)
                break;
            keep += lead ? 2 : 1;
        }
        value = value.first(keep);
    }
    return fromAnsi(value.data(), value.size());
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) const {
    const auto refuse = [this] {
        throw Exception(QStringLiteral("Unable to write to %1").arg(m_path));
    };
    if (writeRefused(m_path))
        refuse();

    QByteArray data;
    {
        QFile file(m_path);
        if (file.exists()) {
            if (!file.open(QIODevice::ReadOnly))
                refuse();
            data = file.readAll();
        }
    }

    const QByteArray entry = toAnsi(key) + '=' + toAnsi(value);
    const QList<Line> lines = splitLines(data);
    const Found f = locate(data, lines, section, key);
    QByteArray out;
    if (f.keyLine >= 0) {
        const Line& line = lines[f.keyLine];
        const QByteArrayView text(data.constData() + line.begin, line.end - line.begin);
        const QByteArray oldKey = trimmed(text.first(text.indexOf('='))).toByteArray();
        out = data.left(line.begin) + oldKey + '=' + toAnsi(value) + data.mid(line.end);
    } else if (f.sectionFound) {
        const Line& after = lines[f.insertAfter];
        out = data.left(after.next);
        if (after.next == after.end) // last line of the file without a line break
            out += "\r\n";
        out += entry + "\r\n" + data.mid(after.next);
    } else {
        out = data;
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += "\r\n";
        out += '[' + toAnsi(section) + "]\r\n" + entry + "\r\n";
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        refuse();
    if (file.write(out) != out.size())
        refuse();
    if (!file.commit())
        refuse();
}

} // namespace vq
