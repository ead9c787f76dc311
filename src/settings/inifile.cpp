#include "settings/inifile.h"

#include "platform/ansi.h"
#include "platform/exception.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/folderwritelock.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QThread>

#include <optional>

namespace vq {
namespace {

// How the file's text is stored. Without a byte-order mark it is in the ANSI code page; a UTF-8
// mark makes it UTF-8, a UTF-16 mark UTF-16 of that byte order. The mark stays on writing.
enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The file's text without its mark: ANSI bytes for an unmarked file, UTF-8 for all others, so
// that the line and key handling below works on bytes either way.
struct Text {
    Encoding encoding = Encoding::Ansi;
    QByteArray body;
};

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const QByteArray kUtf16LeBom("\xFF\xFE");
const QByteArray kUtf16BeBom("\xFE\xFF");

Text decodeFile(const QByteArray& raw) {
    Text t;
    if (raw.startsWith(kUtf8Bom)) {
        t.encoding = Encoding::Utf8;
        t.body = raw.mid(kUtf8Bom.size());
    } else if (raw.startsWith(kUtf16LeBom) || raw.startsWith(kUtf16BeBom)) {
        const bool le = raw.startsWith(kUtf16LeBom);
        t.encoding = le ? Encoding::Utf16Le : Encoding::Utf16Be;
        QStringDecoder decoder(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        // A last odd byte is no character.
        const QByteArrayView units =
            QByteArrayView(raw).sliced(2, (raw.size() - 2) & ~qsizetype(1));
        t.body = QString(decoder.decode(units)).toUtf8();
    } else {
        t.body = raw;
    }
    return t;
}

QByteArray encodeFile(const Text& t) {
    switch (t.encoding) {
    case Encoding::Ansi:
        return t.body;
    case Encoding::Utf8:
        return kUtf8Bom + t.body;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const bool le = t.encoding == Encoding::Utf16Le;
        QStringEncoder encoder(le ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
        return (le ? kUtf16LeBom : kUtf16BeBom) +
               QByteArray(encoder.encode(QString::fromUtf8(t.body)));
    }
    }
    return t.body;
}

QString toString(Encoding e, QByteArrayView bytes) {
    return e == Encoding::Ansi ? fromAnsi(bytes.data(), bytes.size()) : QString::fromUtf8(bytes);
}

QByteArray toBytes(Encoding e, const QString& text) {
    return e == Encoding::Ansi ? toAnsi(text) : text.toUtf8();
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView v) {
    while (!v.isEmpty() && isBlank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && isBlank(v.back()))
        v.chop(1);
    return v;
}

// One line of the file, without its line break. CR LF, LF and a lone CR all end a line.
struct Line {
    qsizetype begin = 0; // offset of the first byte
    qsizetype end = 0;   // offset just past the last byte before the line break
    qsizetype next = 0;  // offset of the following line
};

QList<Line> splitLines(const QByteArray& data) {
    QList<Line> lines;
    qsizetype pos = 0;
    const qsizetype n = data.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && data[end] != '\n' && data[end] != '\r')
            ++end;
        Line line;
        line.begin = pos;
        line.end = end;
        line.next = end;
        if (end < n)
            line.next =
                data[end] == '\r' && end + 1 < n && data[end + 1] == '\n' ? end + 2 : end + 1;
        lines.append(line);
        pos = line.next;
    }
    return lines;
}

// The line break the file already uses, so that added lines match it; CR LF for a new file.
QByteArray lineBreakOf(const QByteArray& data) {
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] == '\n')
            return "\n";
        if (data[i] == '\r')
            return i + 1 < data.size() && data[i + 1] == '\n' ? "\r\n" : "\r";
    }
    return "\r\n";
}

bool endsWithLineBreak(const QByteArray& data) {
    return data.endsWith('\n') || data.endsWith('\r');
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

// Key part of a "key=value" line. A line that begins with ";" is no comment to the platform:
// ";a=1" is the key ";a", and "=5" the key with the empty name, so a read finds them and a
// write replaces them in place, as the platform's own functions do. A line without "=" is a
// key without a value (the whole line): it hides a later line of the same key, a read of it
// gives the default, and a write gives it its value. A blank line is no key.
std::optional<QByteArrayView> keyOf(QByteArrayView text) {
    const qsizetype eq = text.indexOf('=');
    if (eq >= 0)
        return trimmed(text.first(eq));
    text = trimmed(text);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

struct Found {
    bool sectionFound = false;
    qsizetype keyLine = -1;     // index of the key's line
    qsizetype insertAfter = -1; // last non-blank line of the section (the header at least)
};

Found locate(const Text& t, const QList<Line>& lines, const QString& section, const QString& key) {
    const auto sameName = [&](QByteArrayView a, const QString& b) {
        return toString(t.encoding, a).compare(b, Qt::CaseInsensitive) == 0;
    };
    Found f;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView text(t.body.constData() + lines[i].begin,
                                  lines[i].end - lines[i].begin);
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

// Reads the file as it is now: by opening it, never by asking first whether it exists. A read
// that fails for another reason than a missing file is tried again for a moment, as another
// writer may be replacing the file just then.
ReadResult readCurrent(const QString& path, QByteArray* raw, bool* wholeFile) {
    ReadResult r = ReadResult::Failed;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0)
            QThread::msleep(2);
        r = readRegularFile(path, IniFile::kMaxFileSize, raw, wholeFile);
        if (r != ReadResult::Failed)
            break;
    }
    return r;
}

// The value's first kMaxValueLength characters.
QString cutValue(Encoding e, QByteArrayView value) {
    if (e != Encoding::Ansi) {
        QString s = QString::fromUtf8(value);
        if (s.size() > IniFile::kMaxValueLength) {
            qsizetype keep = IniFile::kMaxValueLength;
            if (s[keep - 1].isHighSurrogate())
                --keep;
            s.truncate(keep);
        }
        return s;
    }
    if (value.size() > IniFile::kMaxValueLength) {
        // Cut at a character boundary: never keep the lead byte of a split double-byte char.
        qsizetype keep = 0;
        while (keep < IniFile::kMaxValueLength) {
            const bool lead = static_cast<unsigned char>(value[keep]) >= 0x81;
            if (lead && keep + 2 > IniFile::kMaxValueLength)
                break;
            keep += lead ? 2 : 1;
        }
        value = value.first(keep);
    }
    return fromAnsi(value.data(), value.size());
}

// The value as far as its first line break. A break written into the file would end the key's
// line there, and what follows would be lines of their own, a key among them if it holds "=";
// a read of the key gives back only the part before the break, so that part is all that is
// written, and the file keeps one line per key.
QString oneLine(const QString& value) {
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\r' || value[i] == u'\n')
            return value.first(i);
    }
    return value;
}

// The file's bytes with the key set to the value: the key's line changed in place, or the key
// added at the end of its section, or the section added at the end of the file.
QByteArray withValue(const QByteArray& raw, const QString& section, const QString& key,
                     const QString& value) {
    Text t = decodeFile(raw);
    const QByteArray& data = t.body;
    const QByteArray eol = lineBreakOf(data);
    const QByteArray stored = toBytes(t.encoding, oneLine(value));
    const QByteArray entry = toBytes(t.encoding, key) + '=' + stored;
    const QList<Line> lines = splitLines(data);
    const Found f = locate(t, lines, section, key);
    QByteArray out;
    if (f.keyLine >= 0) {
        const Line& line = lines[f.keyLine];
        const QByteArrayView text(data.constData() + line.begin, line.end - line.begin);
        const QByteArray oldKey = keyOf(text)->toByteArray();
        out = data.left(line.begin) + oldKey + '=' + stored + data.mid(line.end);
    } else if (f.sectionFound) {
        const Line& after = lines[f.insertAfter];
        out = data.left(after.next);
        if (after.next == after.end) // last line of the file without a line break
            out += eol;
        out += entry + eol + data.mid(after.next);
    } else {
        out = data;
        if (!out.isEmpty() && !endsWithLineBreak(out))
            out += eol;
        out += '[' + toBytes(t.encoding, section) + ']' + eol + entry + eol;
    }
    t.body = out;
    return encodeFile(t);
}

} // namespace

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    QByteArray raw;
    if (readCurrent(m_path, &raw, nullptr) != ReadResult::Ok)
        return def;
    const Text t = decodeFile(raw);
    const QList<Line> lines = splitLines(t.body);
    const Found f = locate(t, lines, section, key);
    if (f.keyLine < 0)
        return def;
    const Line& line = lines[f.keyLine];
    const QByteArrayView text(t.body.constData() + line.begin, line.end - line.begin);
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return def;
    QByteArrayView value = trimmed(text.sliced(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return cutValue(t.encoding, value);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) const {
    const auto refuse = [this] {
        throw Exception(QStringLiteral("Unable to write to %1").arg(m_path));
    };
    // One writer at a time reads, changes and replaces the file, so that no writer starts from
    // a file another is about to replace.
    const FolderWriteLock lock(m_path);
    if (writeRefused(m_path))
        refuse();

    // A writer that went on without the lock (its holder was stuck), or the stuck holder come
    // back, may replace the file between this writer's read and its rename: the change is then
    // made again on the file as that writer left it, so that neither loses the other's keys.
    // The last attempt replaces whatever is there.
    constexpr int kAttempts = 5;
    for (int attempt = 1;; ++attempt) {
        QByteArray raw;
        bool wholeFile = true;
        const ReadResult read = readCurrent(m_path, &raw, &wholeFile);
        switch (read) {
        case ReadResult::Ok:
            // Writing back only the part that was read would cut the file short.
            if (!wholeFile)
                refuse();
            break;
        case ReadResult::Missing:
            break;
        case ReadResult::NotRegular:
        case ReadResult::Failed:
            // Never start from an empty file when the real one could not be read.
            refuse();
        }

        const QByteArray contents = withValue(raw, section, key, value);
        // The file already reads so (the start-up's own flag written back as it was):
        // replacing it would change nothing but its time, and costs a write to disk each start.
        // What killed writers left beside it still goes, as with any write.
        if (read == ReadResult::Ok && contents == raw) {
            removeLeftoverPartials(m_path);
            return;
        }
        const auto unchanged = [&] {
            QByteArray now;
            return readRegularFile(m_path, kMaxFileSize, &now) == read && now == raw;
        };
        const ReplaceResult result = replaceFileContentsIf(
            m_path, contents, attempt < kAttempts ? unchanged : std::function<bool()>());
        if (result == ReplaceResult::Replaced)
            return;
        if (result == ReplaceResult::Refused)
            refuse();
    }
}

} // namespace vq
