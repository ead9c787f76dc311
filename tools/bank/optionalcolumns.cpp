#include "optionalcolumns.h"
#include "data/bankschema.h"
#include "data/questionextras.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace vq::bank {

QString optionalColumnName(OptionalColumn column) {
    switch (column) {
    case OptionalColumn::Picture:
        return bankschema::kPicture;
    case OptionalColumn::AnswerPicture:
        return bankschema::kAnswerPicture;
    case OptionalColumn::Sound:
        return bankschema::kSound;
    case OptionalColumn::Time:
        return bankschema::kTime;
    case OptionalColumn::Points:
        return bankschema::kPoints;
    }
    return {};
}

std::optional<OptionalColumn> optionalColumnNamed(const QString& name) {
    for (const OptionalColumn c : kOptionalColumns)
        if (optionalColumnName(c) == name)
            return c;
    return std::nullopt;
}

bool isNumberColumn(OptionalColumn column) {
    return column == OptionalColumn::Time || column == OptionalColumn::Points;
}

bool isPictureColumn(OptionalColumn column) {
    return column == OptionalColumn::Picture || column == OptionalColumn::AnswerPicture;
}

namespace {

// What keeps a text from being a file name on the show's Windows machine; empty when nothing.
QString notAFileName(const QString& name) {
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QCoreApplication::translate("velquo-bank", "文件名“%1”中有换行或控制字符")
                .arg(name);
        if (QStringView(u"<>:\"|?*").contains(c))
            return QCoreApplication::translate("velquo-bank",
                                               "“%1”不是%2文件夹中的文件名（文件名中不能有 < > : "
                                               "\" | ? *，也不能是完整路径）")
                .arg(name, bankschema::kMediaFolder);
    }
    if (name.startsWith(u'/') || name.startsWith(u'\\'))
        return QCoreApplication::translate("velquo-bank",
                                           "“%1”是完整路径：要写%2文件夹中的文件名（如 图1.jpg）")
            .arg(name, bankschema::kMediaFolder);
    for (const QString& part : name.split(QRegularExpression(QStringLiteral("[/\\\\]"))))
        if (part == QLatin1String(".."))
            return QCoreApplication::translate(
                       "velquo-bank",
                       "“%1”指向%2文件夹以外：题库和素材文件夹要能一起复制，文件要放在文件夹里面")
                .arg(name, bankschema::kMediaFolder);
    return {};
}

} // namespace

CheckedCell checkCell(OptionalColumn column, const QString& cell) {
    // Full-width digits and signs, as a Chinese input method types them, are the ASCII ones.
    const QString text = isNumberColumn(column)
                             ? cell.normalized(QString::NormalizationForm_KC).trimmed()
                             : cell.trimmed();
    if (text.isEmpty())
        return {};
    if (!isNumberColumn(column)) {
        if (text.size() > kLongestMediaName)
            return {{},
                    QCoreApplication::translate("velquo-bank",
                                                "文件名有 %1 个字符，题库的文本列最多存 %2 个")
                        .arg(text.size())
                        .arg(kLongestMediaName)};
        if (const QString why = notAFileName(text); !why.isEmpty())
            return {{}, why};
        return {text, {}};
    }
    // What the show takes: a value beyond it would be built, then passed over by the
    // presenter without a word.
    bool ok = false;
    const qint64 n = text.toLongLong(&ok, 10);
    if (column == OptionalColumn::Time) {
        if (!ok || n <= 0 || n > kMaxQuestionSeconds)
            return {{},
                    QCoreApplication::translate("velquo-bank",
                                                "“%1”不是秒数：要写 1 到 %2 之间的整数（如 30）")
                        .arg(cell.trimmed())
                        .arg(kMaxQuestionSeconds)};
        return {n, {}};
    }
    if (!ok || n <= 0 || n > kMaxQuestionPoints)
        return {{},
                QCoreApplication::translate("velquo-bank", "“%1”不是分值：要写 1 到 %2 之间的整数")
                    .arg(cell.trimmed())
                    .arg(kMaxQuestionPoints)};
    return {n, {}};
}

} // namespace vq::bank
