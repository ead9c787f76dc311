#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace vq {

// One line of the record: a change of one team's score.
struct ScoreLine {
    QDateTime time;
    int question = 0; // the show's question count when it happened (0 before the first draw)
    QString team;
    int change = 0;
    int score = 0; // the team's score after it
    QString what;  // 加分, 扣分, 更正 or 撤销

    friend bool operator==(const ScoreLine&, const ScoreLine&) = default;
};

// The record of every change of score (比赛记录.csv beside opt.ini), for the organiser to open in
// a spreadsheet: UTF-8 with a byte-order mark (so that Excel reads the team names), a header
// row, then one line per change. Each line goes to the file's end in one write of its own, so a
// killed program leaves whole lines; a restart appends to the same file.
class ScoreRecord {
public:
    explicit ScoreRecord(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }
    // Appends the line (with the mark and the header first, to a file that is new or empty);
    // false when the file cannot be written.
    bool append(const ScoreLine& line) const;
    // The file's size now: where the next line will begin.
    qint64 size() const;
    // The whole lines from byte `offset` on (a header among them is skipped).
    QList<ScoreLine> linesFrom(qint64 offset) const;

    static QByteArray header();
    static QByteArray lineText(const ScoreLine& line);
    // A line's text back, for a line lineText wrote; nothing for any other.
    static std::optional<ScoreLine> parseLine(const QByteArray& text);

private:
    QString m_path;
};

} // namespace vq
