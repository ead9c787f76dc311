#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace demoart {

// Turns the readable source of the demo's opt.ini (UTF-8, any line ends) into the file the
// presenter reads: GBK text, CR LF line ends. Throws vq::Exception when a key of the program is
// missing, doubled or unknown, when a value is not of its key's kind, or when a text does not
// fit GBK.
QByteArray installationIni(const QByteArray& utf8Source);

// Problems of an assembled installation folder that would spoil the show; empty when none.
// With a question CSV, every question and its answer are also laid out with the presenter's own
// labels and must stay clear of the next-step button and the bottom of a 1024 × 768 screen.
QStringList checkInstallation(const QString& folder, const QString& questionsCsv);

} // namespace demoart
