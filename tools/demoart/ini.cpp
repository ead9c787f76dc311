#include "ini.h"

#include "art.h"
#include "bank.h"
#include "sound.h"

#include "app/tcustomlabel.h"
#include "app/timage.h"
#include "app/trzlabel.h"
#include "platform/ansi.h"
#include "platform/exception.h"
#include "settings/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRect>

#include <algorithm>
#include <tuple>

namespace demoart {

namespace {

const vq::SettingKey* findKey(const QString& name) {
    for (const vq::SettingKey& k : vq::kSettingKeys)
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0)
            return &k;
    return nullptr;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw vq::Exception(QStringLiteral("%1: %2").arg(path, f.errorString()));
    return f.readAll();
}

// The smallest screen the demo is laid out for, and the next-step button on it.
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 800;
const QRect kNextButton(kScreenWidth - 49 - 30, kScreenHeight - 49 - 60, 49, 49);

} // namespace

QByteArray installationIni(const QByteArray& utf8Source) {
    const QString source = QString::fromUtf8(utf8Source);
    if (source.toUtf8() != utf8Source)
        throw vq::Exception(QStringLiteral("the source is not UTF-8"));
    QString out;
    QHash<QString, int> seen;
    bool inSection = false;
    int lineNo = 0;
    for (QString line : source.split(QLatin1Char('\n'))) {
        ++lineNo;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
            continue; // comments explain the choices in the source and stay out of the file
        if (t.startsWith(QLatin1Char('['))) {
            if (t.compare(QStringLiteral("[canshu]"), Qt::CaseInsensitive) != 0)
                throw vq::Exception(
                    QStringLiteral("line %1: only the section [canshu] belongs in opt.ini")
                        .arg(lineNo));
            if (inSection)
                throw vq::Exception(QStringLiteral("line %1: [canshu] appears twice").arg(lineNo));
            inSection = true;
            out += QStringLiteral("[canshu]\r\n");
            continue;
        }
        if (!inSection)
            throw vq::Exception(QStringLiteral("line %1: a setting before [canshu]").arg(lineNo));
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw vq::Exception(QStringLiteral("line %1: not key=value").arg(lineNo));
        const QString name = t.left(eq).trimmed();
        const QString value = t.mid(eq + 1).trimmed();
        const vq::SettingKey* key = findKey(name);
        if (!key)
            throw vq::Exception(QStringLiteral("line %1: '%2' is not a setting of the program")
                                    .arg(lineNo)
                                    .arg(name));
        if (seen.contains(QLatin1String(key->name)))
            throw vq::Exception(
                QStringLiteral("line %1: '%2' appears twice").arg(lineNo).arg(name));
        seen.insert(QLatin1String(key->name), lineNo);
        switch (key->kind) {
        case vq::SettingKind::Integer: {
            const auto v = vq::tryStrToInt(value);
            if (!v || QString::number(*v) != value)
                throw vq::Exception(
                    QStringLiteral("line %1: %2 needs plain decimal digits, not '%3'")
                        .arg(lineNo)
                        .arg(name, value));
            break;
        }
        case vq::SettingKind::Flag:
            if (value != u"0" && value != u"1")
                throw vq::Exception(QStringLiteral("line %1: %2 is a flag, 0 or 1, not '%3'")
                                        .arg(lineNo)
                                        .arg(name, value));
            break;
        case vq::SettingKind::Text:
            if (vq::fromAnsi(vq::toAnsi(value)) != value)
                throw vq::Exception(QStringLiteral("line %1: %2 holds characters outside GBK")
                                        .arg(lineNo)
                                        .arg(name));
            break;
        }
        out += QLatin1String(key->name) + QLatin1Char('=') + value + QStringLiteral("\r\n");
    }
    for (const vq::SettingKey& k : vq::kSettingKeys)
        if (!seen.contains(QLatin1String(k.name)))
            throw vq::Exception(QStringLiteral("%1 is missing").arg(QLatin1String(k.name)));
    return vq::toAnsi(out);
}

QStringList checkInstallation(const QString& folder, const QString& questionsCsv) {
    QStringList problems;
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');

    // opt.ini: the program's own file format and every key readable as the presenter reads it.
    const QString iniPath = dir + QStringLiteral("opt.ini");
    QHash<QString, int> number;
    try {
        const QByteArray raw = readAll(iniPath);
        if (raw.count('\n') != raw.count("\r\n"))
            problems << QStringLiteral("opt.ini: a line does not end in CR LF");
        if (vq::toAnsi(vq::fromAnsi(raw)) != raw)
            problems << QStringLiteral("opt.ini: not GBK text");
        const vq::Settings s(iniPath);
        for (const vq::SettingKey& k : vq::kSettingKeys) {
            const QString name = QLatin1String(k.name);
            const QString value = s.text(k);
            if (value == name) {
                problems << QStringLiteral("opt.ini: %1 is missing").arg(name);
                continue;
            }
            if (k.kind == vq::SettingKind::Integer) {
                if (const auto v = vq::tryStrToInt(value))
                    number.insert(name, *v);
                else
                    problems
                        << QStringLiteral("opt.ini: %1 = '%2' is not an integer").arg(name, value);
            } else if (k.kind == vq::SettingKind::Flag && value != u"0" && value != u"1") {
                problems
                    << QStringLiteral("opt.ini: %1 = '%2' is neither 0 nor 1").arg(name, value);
            }
        }
    } catch (const vq::Exception& e) {
        problems << e.message();
    }

    // Pictures as the presenter loads them.
    for (const char* name : {"bg.jpg", "welcome.jpg", "next.png"}) {
        try {
            const QImage image = vq::loadPicture(dir + QLatin1String(name));
            if (QLatin1String(name) == QLatin1String("next.png")) {
                if (!image.hasAlphaChannel())
                    problems << QStringLiteral("next.png has no alpha channel");
                else if (qAlpha(image.pixel(0, 0)) != 0 ||
                         qAlpha(image.pixel(image.width() / 2, image.height() / 2)) != 255)
                    problems << QStringLiteral(
                        "next.png: corners must be transparent and the middle opaque");
            } else if (image.width() < kScreenWidth || image.height() < kScreenHeight) {
                problems << QStringLiteral("%1 is %2 × %3, smaller than the screen")
                                .arg(QLatin1String(name))
                                .arg(image.width())
                                .arg(image.height());
            }
        } catch (const vq::Exception& e) {
            problems << e.message();
        }
    }

    // Sounds: 16-bit PCM the sound service plays; a tick that ends well within its second.
    for (const auto& [name, shortest, longest] :
         {std::tuple{"di.wav", 0.02, 0.5}, std::tuple{"0.wav", 1.0, 6.0}}) {
        QFile f(dir + QLatin1String(name));
        if (!f.open(QIODevice::ReadOnly)) {
            problems << QStringLiteral("%1: %2").arg(QLatin1String(name), f.errorString());
            continue;
        }
        const WavInfo w = readWav(f.readAll());
        if (!w.ok)
            problems << QStringLiteral("%1: %2").arg(QLatin1String(name), w.problem);
        else if (w.seconds < shortest || w.seconds > longest)
            problems << QStringLiteral("%1 lasts %2 s").arg(QLatin1String(name)).arg(w.seconds);
        else if (w.peak < 8000 || w.peak > 32767)
            problems
                << QStringLiteral("%1: peak %2 is too quiet").arg(QLatin1String(name)).arg(w.peak);
    }
    if (!QFileInfo::exists(dir + QStringLiteral("db.DLL")))
        problems << QStringLiteral("db.DLL is missing");

    if (questionsCsv.isEmpty() || number.size() != 19)
        return problems;

    // The layout: the items laid out by the presenter's own labels on the smallest screen.
    auto rectOf = [&](TCustomLabel& label, const char* left, const char* top) {
        return QRect(QPoint(number.value(QLatin1String(left)), number.value(QLatin1String(top))),
                     label.size());
    };
    const QRect screen(0, 0, kScreenWidth, kScreenHeight);
    TLabel title;
    title.setFontPoints(number.value(QStringLiteral("biaoti_fontsize")));
    title.setText(vq::Settings(iniPath).text(vq::Key::biaoti));
    const QRect titleRect = rectOf(title, "biaoti_left", "biaoti_top");
    TLabel countdown;
    countdown.setFontPoints(number.value(QStringLiteral("shijian_fontsize")));
    countdown.setText(QString::number(std::max(10, number.value(QStringLiteral("shijian")))));
    const QRect countdownRect = rectOf(countdown, "shijian_left", "shijian_top");
    if (!screen.contains(titleRect))
        problems << QStringLiteral("the title does not fit a %1 × %2 screen")
                        .arg(kScreenWidth)
                        .arg(kScreenHeight);
    if (!screen.contains(countdownRect))
        problems << QStringLiteral("the countdown does not fit a %1 × %2 screen")
                        .arg(kScreenWidth)
                        .arg(kScreenHeight);
    if (titleRect.intersects(countdownRect))
        problems << QStringLiteral("the title and the countdown overlap");

    TRzLabel question;
    question.setFontPoints(number.value(QStringLiteral("wenti_fontsize")));
    TRzLabel answer;
    answer.setFontPoints(number.value(QStringLiteral("daan_fontsize")));
    // The position preview shows "答" where the set-up puts it; a step puts the answer 30 px
    // below the question. For a one-line question both places should agree.
    question.setWidth(number.value(QStringLiteral("wenti_width")));
    question.setText(QStringLiteral("问"));
    const int oneLineAnswerTop = number.value(QStringLiteral("wenti_top")) + question.height() + 30;
    if (number.value(QStringLiteral("daan_top")) != oneLineAnswerTop)
        problems << QStringLiteral(
                        "daan_top is %1; below a one-line question a step puts the answer at %2")
                        .arg(number.value(QStringLiteral("daan_top")))
                        .arg(oneLineAnswerTop);
    if (number.value(QStringLiteral("daan_left")) != number.value(QStringLiteral("wenti_left")))
        problems << QStringLiteral(
            "daan_left differs from wenti_left; dragging the question would move it back");
    try {
        const QList<vq::bank::CsvRecord> records = vq::bank::parseCsv(readAll(questionsCsv));
        for (qsizetype i = 1; i < records.size(); ++i) {
            const QStringList& f = records[i].fields;
            if (f.size() < 3)
                continue;
            question.setWidth(number.value(QStringLiteral("wenti_width")));
            question.setText(f[1]);
            answer.setWidth(number.value(QStringLiteral("daan_width")));
            answer.setText(f[2]);
            const QRect q = rectOf(question, "wenti_left", "wenti_top");
            const QRect a(QPoint(number.value(QStringLiteral("daan_left")), q.bottom() + 1 + 30),
                          answer.size());
            const QString where =
                QStringLiteral("question %1 (line %2)").arg(f[0]).arg(records[i].line);
            if (!screen.contains(q) || !screen.contains(a))
                problems << where + QStringLiteral(": runs off the screen");
            if (q.intersects(kNextButton) || a.intersects(kNextButton))
                problems << where + QStringLiteral(": covers the next-step button");
            if (q.intersects(titleRect) || q.intersects(countdownRect) ||
                a.intersects(countdownRect))
                problems << where + QStringLiteral(": overlaps the title or the countdown");
        }
    } catch (const vq::Exception& e) {
        problems << e.message();
    }
    return problems;
}

} // namespace demoart
