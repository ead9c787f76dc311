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
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
const QRect kNextButton(kScreenWidth - 49 - 30, kScreenHeight - 49 - 60, 49, 49);

// A value as the presenter reads its kind: an integer in plain decimal digits (so the file says
// what the program sees), a flag 0 or 1, a text the GBK file can hold.
void checkValue(const vq::SettingKey& key, const QString& name, const QString& value, int lineNo) {
    switch (key.kind) {
    case vq::SettingKind::Integer: {
        const auto v = vq::tryStrToInt(value);
        if (!v || QString::number(*v) != value)
            throw vq::Exception(QStringLiteral("line %1: %2 needs plain decimal digits, not '%3'")
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
            throw vq::Exception(
                QStringLiteral("line %1: %2 holds characters outside GBK").arg(lineNo).arg(name));
        break;
    }
}

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
        checkValue(*key, name, value, lineNo);
        out += QLatin1String(key->name) + QLatin1Char('=') + value + QStringLiteral("\r\n");
    }
    for (const vq::SettingKey& k : vq::kSettingKeys)
        if (!seen.contains(QLatin1String(k.name)))
            throw vq::Exception(QStringLiteral("%1 is missing").arg(QLatin1String(k.name)));
    return vq::toAnsi(out);
}

namespace {

// opt.ini: the program's own file format and every key readable as the presenter reads it.
// Returns the integer settings by name.
QHash<QString, int> checkSettingsFile(const QString& iniPath, QStringList& problems) {
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
    return number;
}

// Pictures as the presenter loads them.
void checkPictures(const QString& dir, QStringList& problems) {
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
}

// Sounds: 16-bit PCM the sound service plays; a tick that ends well within its second.
void checkSounds(const QString& dir, QStringList& problems) {
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
}

// Where the presenter's labels stand on the smallest screen, from the integer settings.
class ScreenLayout {
public:
    ScreenLayout(const QString& iniPath, const QHash<QString, int>& number) : m_number(number) {
        title.setFontPoints(value("biaoti_fontsize"));
        title.setText(vq::Settings(iniPath).text(vq::Key::biaoti));
        countdown.setFontPoints(value("shijian_fontsize"));
        countdown.setText(QString::number(std::max(10, value("shijian"))));
        question.setFontPoints(value("wenti_fontsize"));
        answer.setFontPoints(value("daan_fontsize"));
    }
    int value(const char* name) const { return m_number.value(QLatin1String(name)); }
    QRect rectOf(const TCustomLabel& label, const char* left, const char* top) const {
        return QRect(QPoint(value(left), value(top)), label.size());
    }
    QRect titleRect() const { return rectOf(title, "biaoti_left", "biaoti_top"); }
    QRect countdownRect() const { return rectOf(countdown, "shijian_left", "shijian_top"); }

    const QRect screen{0, 0, kScreenWidth, kScreenHeight};
    TLabel title;
    TLabel countdown;
    TRzLabel question;
    TRzLabel answer;

private:
    const QHash<QString, int>& m_number;
};

// The title and the countdown on the screen and apart; the preview's answer where a step puts
// it below a one-line question.
void checkFixedItems(ScreenLayout& layout, QStringList& problems) {
    const QString screenSize = QStringLiteral("%1 × %2").arg(kScreenWidth).arg(kScreenHeight);
    if (!layout.screen.contains(layout.titleRect()))
        problems << QStringLiteral("the title does not fit a %1 screen").arg(screenSize);
    if (!layout.screen.contains(layout.countdownRect()))
        problems << QStringLiteral("the countdown does not fit a %1 screen").arg(screenSize);
    if (layout.titleRect().intersects(layout.countdownRect()))
        problems << QStringLiteral("the title and the countdown overlap");
    // The position preview shows "答" where the set-up puts it; a step puts the answer 30 px
    // below the question. For a one-line question both places should agree.
    layout.question.setWidth(layout.value("wenti_width"));
    layout.question.setText(QStringLiteral("问"));
    const int oneLineAnswerTop = layout.value("wenti_top") + layout.question.height() + 30;
    if (layout.value("daan_top") != oneLineAnswerTop)
        problems << QStringLiteral(
                        "daan_top is %1; below a one-line question a step puts the answer at %2")
                        .arg(layout.value("daan_top"))
                        .arg(oneLineAnswerTop);
    if (layout.value("daan_left") != layout.value("wenti_left"))
        problems << QStringLiteral(
            "daan_left differs from wenti_left; dragging the question would move it back");
}

// Every question of the list and its answer as a step lays them out.
void checkQuestions(ScreenLayout& layout, const QString& questionsCsv, QStringList& problems) {
    const QRect titleRect = layout.titleRect();
    const QRect countdownRect = layout.countdownRect();
    const QList<vq::bank::CsvRecord> records = vq::bank::parseCsv(readAll(questionsCsv));
    for (qsizetype i = 1; i < records.size(); ++i) {
        const QStringList& f = records[i].fields;
        if (f.size() < 3)
            continue;
        layout.question.setWidth(layout.value("wenti_width"));
        layout.question.setText(f[1]);
        layout.answer.setWidth(layout.value("daan_width"));
        layout.answer.setText(f[2]);
        const QRect q = layout.rectOf(layout.question, "wenti_left", "wenti_top");
        const QRect a(QPoint(layout.value("daan_left"), q.bottom() + 1 + 30), layout.answer.size());
        const QString where =
            QStringLiteral("question %1 (line %2)").arg(f[0]).arg(records[i].line);
        if (!layout.screen.contains(q) || !layout.screen.contains(a))
            problems << where + QStringLiteral(": runs off the screen");
        if (q.intersects(kNextButton) || a.intersects(kNextButton))
            problems << where + QStringLiteral(": covers the next-step button");
        if (q.intersects(titleRect) || q.intersects(countdownRect) || a.intersects(countdownRect))
            problems << where + QStringLiteral(": overlaps the title or the countdown");
    }
}

} // namespace

QStringList checkInstallation(const QString& folder, const QString& questionsCsv) {
    QStringList problems;
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QString iniPath = dir + QStringLiteral("opt.ini");
    const QHash<QString, int> number = checkSettingsFile(iniPath, problems);
    checkPictures(dir, problems);
    checkSounds(dir, problems);
    if (!QFileInfo::exists(dir + QStringLiteral("db.DLL")))
        problems << QStringLiteral("db.DLL is missing");
    if (questionsCsv.isEmpty() || number.size() != 19)
        return problems;

    // The layout: the items laid out by the presenter's own labels on the smallest screen.
    ScreenLayout layout(iniPath, number);
    checkFixedItems(layout, problems);
    try {
        checkQuestions(layout, questionsCsv, problems);
    } catch (const vq::Exception& e) {
        problems << e.message();
    }
    return problems;
}

} // namespace demoart
