#pragma once

#include <QString>

// The question bank's one table and its columns: the names the presenter's queries ask for,
// the bank tools write and read, and the editor looks for.
namespace vq::bankschema {

inline const QString kTable = QStringLiteral("题");
inline const QString kNumber = QStringLiteral("编号");
inline const QString kQuestion = QStringLiteral("题目");
inline const QString kAnswer = QStringLiteral("答案");

// The database password every bank carries: the presenter's connection string opens with it and
// the bank tools write it.
inline constexpr char kPasswordLatin1[] = "fmrTK20914";
inline const QString kPassword = QString::fromLatin1(kPasswordLatin1);

} // namespace vq::bankschema
