// The program's GBK conversion gives, for every byte, every two- and three-byte sequence and
// every character, exactly what Qt's own converter (through ICU) gives: the settings file's
// texts, damaged ones included, read and write as they always did.
#include "platform/ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

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

TEST(AnsiCodePage, ReadsEveryByteSequenceAsQtsConverterDid) {
    ASSERT_TRUE(QStringDecoder("GBK").isValid());
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
    EXPECT_EQ(vq::fromAnsi(QByteArray()).isNull(), qtDecoded(QByteArrayView()).isNull());
    EXPECT_EQ(vq::toAnsi(QString()).isNull(), qtEncoded(QString()).isNull());
}

TEST(AnsiCodePage, WritesEveryCharacterAsQtsConverterDid) {
    ASSERT_TRUE(QStringEncoder("GBK").isValid());
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
