#pragma once

#include <QString>

// The question bank's one table and its columns: the names the presenter's queries ask for,
// the bank tools write and read, and the editor looks for.
namespace vq::bankschema {

inline const QString kTable = QStringLiteral("题");
inline const QString kNumber = QStringLiteral("编号");
inline const QString kQuestion = QStringLiteral("题目");
inline const QString kAnswer = QStringLiteral("答案");

// Optional columns, found by name; a bank without them shows text questions only. Pictures and
// clips are file names relative to the media folder beside the bank, so that a bank and its
// folder are copied together.
inline const QString kPicture = QStringLiteral("图片");
inline const QString kAnswerPicture = QStringLiteral("答案图片");
inline const QString kSound = QStringLiteral("声音");
// The countdown's length for this question in seconds (empty: the settings' own length).
inline const QString kTime = QStringLiteral("时间");
// The question's points: the score step where teams play.
inline const QString kPoints = QStringLiteral("分值");

// The media folder's name, in the bank's own folder.
inline const QString kMediaFolder = QStringLiteral("题库素材");

// The database password every bank carries: the presenter's connection string opens with it and
// the bank tools write it.
inline constexpr char kPasswordLatin1[] = "fmrTK20914";
inline const QString kPassword = QString::fromLatin1(kPasswordLatin1);

} // namespace vq::bankschema
