#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <array>
#include <cstring>
#include <utility>

#include <gtest/gtest.h>

#include <quazip.h>
#include <quazipfile.h>

namespace vq::banktest {

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// A zip file (a workbook's parts, say) holding the named entries in the order given.
inline void writeZip(const QString& path, const QList<std::pair<QString, QByteArray>>& entries) {
    QuaZip zip(path);
    ASSERT_TRUE(zip.open(QuaZip::mdCreate));
    for (const auto& [name, bytes] : entries) {
        QuaZipFile f(&zip);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly, QuaZipNewInfo(name)));
        f.write(bytes);
        f.close();
    }
    zip.close();
    ASSERT_EQ(zip.getZipError(), 0);
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray rawOut;
};

// The locales the tool is run under: a Chinese reader's, and an English one (the C locale).
inline constexpr char kChinese[] = "zh_CN.UTF-8";
inline constexpr char kEnglish[] = "C";

inline QString bankProgram() {
    return QStringLiteral(VELQUO_BANK_PROGRAM);
}

// Runs a program to its end (a minute at most). The bank tool runs under a locale given to it
// in LC_ALL (a Chinese reader's unless said), so that the tests' own environment does not
// choose its language; other programs (the reference readers) under the tests' own.
inline ToolRun runTool(const QString& program, const QStringList& args,
                       const char* locale = nullptr) {
    QProcess p;
    if (!locale && program == bankProgram())
        locale = kChinese;
    if (locale) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        p.setProcessEnvironment(env);
    }
    p.start(program, args);
    ToolRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(5000);
        r.err = QStringLiteral("<timed out>");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.rawOut = p.readAllStandardOutput();
    r.out = QString::fromUtf8(r.rawOut);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The 40 password bytes of a Jet 4 header page with both masks taken off: the RC4 mask
// (key C7 DA 39 6B over 0x18..0x97) and the creation date's whole part, repeated.
inline QByteArray decodedPasswordBytes(QByteArray h) {
    if (h.size() < 0x98)
        return {};
    std::array<unsigned char, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[size_t(i)] = static_cast<unsigned char>(i);
    const unsigned char key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[size_t(i)] + key[i % 4]) & 0xFF;
        std::swap(s[size_t(i)], s[size_t(j)]);
    }
    for (int n = 0x18, i = 0, j = 0; n < 0x98; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[size_t(i)]) & 0xFF;
        std::swap(s[size_t(i)], s[size_t(j)]);
        h[n] = char(h[n] ^ s[(s[size_t(i)] + s[size_t(j)]) & 0xFF]);
    }
    double created = 0;
    std::memcpy(&created, h.constData() + 0x72, sizeof created);
    const auto mask = static_cast<quint32>(static_cast<qint32>(created));
    QByteArray out = h.mid(0x42, 40);
    for (int i = 0; i < 40; ++i)
        out[i] = char(out[i] ^ char(mask >> (8 * (i % 4))));
    return out;
}

} // namespace vq::banktest
