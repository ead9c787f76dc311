#include "app/keptshow.h"

#include <QHash>
#include <QList>

namespace vq {

namespace {

constexpr int kVersion = 1;
const QByteArray kShowSection = "show";
const QByteArray kBankSection = "bank";

bool isNumber(const QByteArray& text) {
    bool ok = false;
    text.toLongLong(&ok);
    return ok;
}

// The values of one of the file's own sections.
using Values = QHash<QByteArray, QByteArray>;

} // namespace

QByteArray keptShowText(const KeptShow& show) {
    QByteArray out;
    const auto line = [&](const char* key, const QByteArray& value) {
        out += key;
        out += '=';
        out += value;
        out += "\r\n";
    };
    out += "[show]\r\n";
    line("version", QByteArray::number(kVersion));
    line("count", QByteArray::number(show.drawn.size()));
    line("drawn", show.drawn.join(u',').toLatin1());
    line("number", show.number.toLatin1());
    line("counter", QByteArray::number(show.counter));
    out += "[bank]\r\n";
    line("size", QByteArray::number(show.bank.size));
    line("modified", QByteArray::number(show.bank.modified));
    line("sha1", show.bank.sha1);
    out += show.otherSections;
    return out;
}

std::optional<KeptShow> parseKeptShow(const QByteArray& text) {
    QHash<QByteArray, Values> own;
    KeptShow show;
    QByteArray section;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            if (own.contains(section))
                return std::nullopt;
            if (section == kShowSection || section == kBankSection)
                own[section];
            else
                show.otherSections += line + "\r\n";
            continue;
        }
        if (section != kShowSection && section != kBankSection) {
            if (!section.isEmpty() && !line.isEmpty())
                show.otherSections += line + "\r\n";
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            return std::nullopt;
        own[section].insert(line.left(eq).trimmed().toLower(), line.mid(eq + 1).trimmed());
    }
    const Values s = own.value(kShowSection);
    const Values b = own.value(kBankSection);
    for (const char* key : {"version", "count", "drawn", "number", "counter"})
        if (!s.contains(key))
            return std::nullopt;
    for (const char* key : {"size", "modified", "sha1"})
        if (!b.contains(key))
            return std::nullopt;
    if (s.value("version") != QByteArray::number(kVersion))
        return std::nullopt;

    const QByteArray drawn = s.value("drawn");
    for (const QByteArray& n : drawn.split(',')) {
        if (drawn.isEmpty())
            break;
        if (!isNumber(n))
            return std::nullopt;
        show.drawn << QString::fromLatin1(n);
    }
    bool ok = false;
    const int count = s.value("count").toInt(&ok);
    if (!ok || count != show.drawn.size())
        return std::nullopt;
    show.number = QString::fromLatin1(s.value("number"));
    if (!show.number.isEmpty() && !show.drawn.contains(show.number))
        return std::nullopt;
    show.counter = s.value("counter").toInt(&ok);
    // Steps on an empty pool count without drawing, and 换一题 draws without counting: the
    // counter says nothing more about the count.
    if (!ok || show.counter < 0)
        return std::nullopt;
    show.bank.size = b.value("size").toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    show.bank.modified = b.value("modified").toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    show.bank.sha1 = b.value("sha1");
    return show;
}

} // namespace vq
