#pragma once

#include "app/teams.h"
#include "data/bankstamp.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace vq {

// A show as the state file beside opt.ini keeps it, so that a restart can take it up again.
// The file is ASCII in INI form:
//   [show]  version, count and drawn (the bank numbers in the order drawn), number (the
//           question up) and counter (the step counter, which gives the phase);
//   [bank]  the stamp of the bank the numbers came from.
//   [scores] where teams are set up: the teams' names (UTF-8, percent-encoded, so that the file
//           stays ASCII), their scores, the changes an undo takes back (team:change, oldest
//           first) and how long the record file (比赛记录.csv) was when they were written.
// Any other section belongs to the same show and is carried over unchanged as the show goes on;
// a new show starts without them.
struct KeptScores {
    QStringList names;
    QList<int> scores;
    QList<ScoreStep> undo;
    qint64 recordSize = 0;

    friend bool operator==(const KeptScores&, const KeptScores&) = default;
};

struct KeptShow {
    QStringList drawn;
    QString number;
    int counter = 0;
    BankStamp bank;
    // A [scores] section that does not read whole is no scores: the show is still taken up.
    std::optional<KeptScores> scores;
    QByteArray otherSections; // as they stand in the file, each line ending in CR LF

    friend bool operator==(const KeptShow&, const KeptShow&) = default;
};

// The file's text.
QByteArray keptShowText(const KeptShow& show);
// The show a file's text holds; nothing when it is not one this program wrote (a missing key,
// a count that does not match the numbers, a current number that was never drawn).
std::optional<KeptShow> parseKeptShow(const QByteArray& text);

} // namespace vq
