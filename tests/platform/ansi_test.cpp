// The program's GBK conversion gives, for every byte, every two- and three-byte sequence and
// every character, exactly what Qt's own converter (through ICU) gives: the settings file's
// texts, damaged ones included, read and write as they always did.
#include "platform/ansi.h"

#include <QCryptographicHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

constexpr char kReadDigest[] = "32749dd4647429851a0580979bccb96d7a5e0c38aacd3ac80abcc71faf401a1b";
constexpr char kWrittenDigest[] =
    "9a745f08ac7a6c42313793f236a61e0fbe64ec03295df21ed683ec42f6d23c85";

QString qtDecoded(QByteArrayView bytes) {
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

QByteArray qtEncoded(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString hex(const QString& s) {
    QString out;
    for (const QChar c : s)
        out += QString::asprintf("%04X ", c.unicode());
    return out;
}

} // namespace

// Qt has a GBK converter of its own only where it was built with ICU (not the Windows build);
// there SameOnEverySystem holds the conversion to what these comparisons found elsewhere.
#define SKIP_WITHOUT_QTS_GBK()                                                                     \
    if (!QStringDecoder("GBK").isValid())                                                          \
    GTEST_SKIP() << "Qt here has no GBK converter to compare with"

TEST(AnsiCodePage, ReadsEveryByteSequenceAsQtsConverterDid) {
    SKIP_WITHOUT_QTS_GBK();
    int differing = 0;
    for (int a = 0; a < 256; ++a) {
        const char one[1] = {char(a)};
        EXPECT_EQ(vq::fromAnsi(one, 1), qtDecoded(QByteArrayView(one, 1))) << "byte " << a;
        for (int b = 0; b < 256 && differing < 10; ++b) {
            const char two[2] = {char(a), char(b)};
            const QString got = vq::fromAnsi(two, 2);
            const QString want = qtDecoded(QByteArrayView(two, 2));
            if (got != want) {
                ++differing;
                ADD_FAILURE() << QString::asprintf("%02X %02X: ", a, b).toStdString()
                              << hex(got).toStdString() << "instead of " << hex(want).toStdString();
            }
        }
    }
    // Three bytes from every non-ASCII first byte, each three followed by a line break (which
    // a lead byte left at the end takes as a bad trail byte), all in one text.
    QByteArray all;
    all.reserve(128 * 65536 * 4);
    for (int a = 0x80; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            for (int c = 0; c < 256; ++c) {
                all += char(a);
                all += char(b);
                all += char(c);
                all += '\n';
            }
    const QString got = vq::fromAnsi(all);
    const QString want = qtDecoded(all);
    ASSERT_EQ(got.size(), want.size());
    EXPECT_TRUE(got == want);
}

TEST(AnsiCodePage, EmptyTextsAreEmptyNotNull) {
    EXPECT_FALSE(vq::fromAnsi(QByteArray()).isNull());
    EXPECT_FALSE(vq::fromAnsi("x", 0).isNull());
    EXPECT_FALSE(vq::toAnsi(QString()).isNull());
    SKIP_WITHOUT_QTS_GBK();
    EXPECT_EQ(vq::fromAnsi(QByteArray()).isNull(), qtDecoded(QByteArrayView()).isNull());
    EXPECT_EQ(vq::toAnsi(QString()).isNull(), qtEncoded(QString()).isNull());
}

TEST(AnsiCodePage, WritesEveryCharacterAsQtsConverterDid) {
    SKIP_WITHOUT_QTS_GBK();
    int differing = 0;
    for (int u = 0; u < 0x10000 && differing < 10; ++u) {
        const QString one(QChar{char16_t(u)});
        const QByteArray got = vq::toAnsi(one);
        const QByteArray want = qtEncoded(one);
        if (got != want) {
            ++differing;
            ADD_FAILURE() << QString::asprintf("U+%04X: ", u).toStdString() << got.toHex().data()
                          << " instead of " << want.toHex().data();
        }
    }
    // Every character beyond the basic plane, each followed by "x".
    QString beyond;
    beyond.reserve(0x100000 * 3);
    for (char32_t c = 0x10000; c <= 0x10FFFF; ++c) {
        beyond += QChar(QChar::highSurrogate(c));
        beyond += QChar(QChar::lowSurrogate(c));
        beyond += u'x';
    }
    EXPECT_TRUE(vq::toAnsi(beyond) == qtEncoded(beyond));
    // Halves of characters: alone, doubled, before a character, at the end.
    const QChar high(char16_t(0xD83D)), low(char16_t(0xDE00));
    for (const QString& s : {QString(high), QString(low), QString(high) + high,
                             QString(high) + u'x', QString(low) + u'x', QString(low) + high + low,
                             QStringLiteral("题") + high, QString(high) + high + low + low})
        EXPECT_EQ(vq::toAnsi(s), qtEncoded(s)) << hex(s).toStdString();
}

// Every one- and two-byte sequence read, and every character written, give the same texts and
// bytes on every system the program is built for: a settings file or a question list written
// on one reads the same on the other. The digests are those of the Linux build, whose results
// the tests above hold to Qt's own converter.
TEST(AnsiCodePage, SameOnEverySystem) {
    QCryptographicHash read(QCryptographicHash::Sha256);
    for (int a = 0; a < 256; ++a) {
        for (int b = -1; b < 256; ++b) {
            const char bytes[2] = {char(a), char(b)};
            const QString text = vq::fromAnsi(bytes, b < 0 ? 1 : 2);
            read.addData(
                QByteArrayView(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
            read.addData("|");
        }
    }
    QCryptographicHash written(QCryptographicHash::Sha256);
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        written.addData(vq::toAnsi(QString::fromUcs4(&c, 1)));
        written.addData("|");
    }
    EXPECT_EQ(read.result().toHex().toStdString(), kReadDigest);
    EXPECT_EQ(written.result().toHex().toStdString(), kWrittenDigest);
}
