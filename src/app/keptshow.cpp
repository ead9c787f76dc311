#include "app/keptshow.h"

#include <QHash>
#include <QList>

namespace vq {

namespace {

constexpr int kVersion = 1;
const QByteArray kShowSection = "show";
const QByteArray kBankSection = "bank";
const QByteArray kScoresSection = "scores";

bool isOwn(const QByteArray& section) {
    return section == kShowSection || section == kBankSection;
}

bool isNumber(const QByteArray& text) {
    bool ok = false;
    text.toLongLong(&ok);
    return ok;
}

// The values of one of the file's own sections.
using Values = QHash<QByteArray, QByteArray>;

QByteArray scoresText(const KeptScores& k) {
    QByteArrayList names, scores, undo;
    for (const QString& n : k.names)
        names << n.toUtf8().toPercentEncoding();
    for (const int s : k.scores)
        scores << QByteArray::number(s);
    for (const ScoreStep& u : k.undo)
        undo << QByteArray::number(u.team) + ':' + QByteArray::number(u.delta);
    return "[scores]\r\nnames=" + names.join(',') + "\r\nscores=" + scores.join(',') +
           "\r\nundo=" + undo.join(',') + "\r\nrecord=" + QByteArray::number(k.recordSize) + "\r\n";
}

std::optional<int> toInt(const QByteArray& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

std::optional<KeptScores> parseScores(const Values& v) {
    for (const char* key : {"names", "scores", "undo", "record"})
        if (!v.contains(key))
            return std::nullopt;
    KeptScores k;
    for (const QByteArray& n : v.value("names").split(','))
        k.names << QString::fromUtf8(QByteArray::fromPercentEncoding(n));
    for (const QByteArray& s : v.value("scores").split(',')) {
        const auto score = toInt(s);
        if (!score)
            return std::nullopt;
        k.scores << *score;
    }
    if (k.scores.size() != k.names.size())
        return std::nullopt;
    const QByteArray undo = v.value("undo");
    if (!undo.isEmpty()) {
        for (const QByteArray& u : undo.split(',')) {
            const QByteArrayList parts = u.split(':');
            const auto team = parts.size() == 2 ? toInt(parts[0]) : std::nullopt;
            const auto delta = parts.size() == 2 ? toInt(parts[1]) : std::nullopt;
            if (!team || !delta || *team < 0 || *team >= k.scores.size())
                return std::nullopt;
            k.undo.append({*team, *delta});
        }
    }
    bool ok = false;
    k.recordSize = v.value("record").toLongLong(&ok);
    if (!ok || k.recordSize < 0)
        return std::nullopt;
    return k;
}

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
    if (show.scores)
        out += scoresText(*show.scores);
    out += show.otherSections;
    return out;
}

std::optional<KeptShow> parseKeptShow(const QByteArray& text) {
    QHash<QByteArray, Values> own;
    KeptShow show;
    QByteArray section;
    // The teams' [scores] is read for its values and kept as it stands, with where it stood
    // among the other sections: a section of that name that is not the teams' own goes back
    // there untouched.
    Values scores;
    QList<std::pair<qsizetype, QByteArray>> scoreSections;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            if (own.contains(section))
                return std::nullopt;
            if (isOwn(section))
                own[section];
            else if (section == kScoresSection)
                scoreSections.append({show.otherSections.size(), line + "\r\n"});
            else
                show.otherSections += line + "\r\n";
            continue;
        }
        if (section == kScoresSection) {
            if (!line.isEmpty())
                scoreSections.last().second += line + "\r\n";
            if (const qsizetype eq = line.indexOf('='); eq > 0)
                scores.insert(line.left(eq).trimmed().toLower(), line.mid(eq + 1).trimmed());
            continue;
        }
        if (!isOwn(section)) {
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
    if (!scoreSections.isEmpty()) {
        show.scores = parseScores(scores);
        if (!show.scores)
            for (auto it = scoreSections.crbegin(); it != scoreSections.crend(); ++it)
                show.otherSections.insert(it->first, it->second);
    }
    return show;
}

} // namespace vq
