// The main screen's labels and pictures: sizing, wrapping, ampersands, fonts, colours and
// transparency over the background, checked on rendered pixels.
#include "presenter_fixture.h"

#include "app/tcustomlabel.h"
#include "app/timage.h"
#include "app/trzlabel.h"
#include "support/input.h"
#include "support/skips.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QtEndian>

namespace vq::test {
namespace {

QFont testFont(int px, bool bold = false) {
    QFont f(QStringLiteral("黑体"));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

// Bounding box of the pixels that differ from the backdrop.
QRect ink(const QImage& img, QColor backdrop) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != backdrop.rgba())
                box |= QRect(x, y, 1, 1);
    return box;
}

int countColour(const QImage& img, const QRect& area, auto pred) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (pred(img.pixelColor(x, y)))
                ++n;
    return n;
}

class Label : public ::testing::Test {
protected:
    QWidget parent;
    void SetUp() override { parent.resize(800, 600); }
};

TEST_F(Label, SingleLineTakesItsTextsSizeAndShowsAllOfIt) {
    TLabel label(&parent);
    label.setFont(testFont(33, true));
    label.setFontColor(clWhite);
    label.setText(QStringLiteral("答题活动 Title"));
    const QFontMetrics fm(label.font());
    // Within the rounding of fractional advances.
    EXPECT_NEAR(label.height(), fm.height(), 1);
    EXPECT_NEAR(label.width(), fm.horizontalAdvance(QStringLiteral("答题活动 Title")), 1);
    // Nothing is cut: the ink of the whole text lies inside and reaches both ends.
    const QRect box = ink(renderOver(label, Qt::black), Qt::black);
    ASSERT_TRUE(box.isValid());
    EXPECT_LE(box.left(), 4);
    EXPECT_GE(box.right(), label.width() - 6);

    // A shorter text shrinks it; a font change measures again.
    label.setText(QStringLiteral("10"));
    EXPECT_NEAR(label.width(), fm.horizontalAdvance(QStringLiteral("10")), 1);
    label.setFont(testFont(53));
    EXPECT_NEAR(label.height(), QFontMetrics(testFont(53)).height(), 1);
    EXPECT_NEAR(label.width(), QFontMetrics(testFont(53)).horizontalAdvance(QStringLiteral("10")),
                1);
}

TEST_F(Label, EmptyTextMeasuresAsOneSpace) {
    TLabel single(&parent);
    TRzLabel wrapping(&parent);
    for (TCustomLabel* l :
         {static_cast<TCustomLabel*>(&single), static_cast<TCustomLabel*>(&wrapping)}) {
        l->setFont(testFont(19));
        l->resize(300, 100);
        l->setText(QString());
        const QFontMetrics fm(l->font());
        EXPECT_EQ(l->height(), fm.height());
        EXPECT_EQ(l->width(), fm.horizontalAdvance(u' '));
        EXPECT_GT(l->width(), 0) << "an empty label can still be grabbed";
        // A larger font measures the blank again, in that font, however narrow the label was.
        l->setFont(testFont(40));
        const QFontMetrics big(l->font());
        EXPECT_EQ(l->height(), big.height());
        EXPECT_EQ(l->width(), big.horizontalAdvance(u' '));
    }
}

TEST_F(Label, WrappingLabelWrapsAtItsWidthAndTakesTheMeasuredSize) {
    SKIP_WITHOUT_FONTS();
    TRzLabel label(&parent);
    label.setFont(testFont(19));
    const QFontMetrics fm(label.font());
    const QString text = QStringLiteral("one two three four five six seven eight nine ten eleven");
    label.setWidth(200);
    label.setText(text);
    const int lines = (label.height() + fm.lineSpacing() / 2) / fm.lineSpacing();
    EXPECT_GE(lines, 3);
    EXPECT_EQ(label.height(),
              fm.boundingRect(QRect(0, 0, 200, 10000), Qt::TextWordWrap, text).height());
    EXPECT_LE(label.width(), 200) << "the widest wrapped line, not more";
    EXPECT_GT(label.width(), 150);
    // Drawn in its measured rectangle, the text breaks into the same lines as at 200 pixels:
    // the same pixels as the text laid out at that width, nothing clipped or wrapped further.
    label.setFontColor(clWhite);
    QImage expected(label.size(), QImage::Format_ARGB32);
    expected.fill(Qt::black);
    {
        QPainter painter(&expected);
        painter.setFont(label.font());
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, 200, label.height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    }
    EXPECT_EQ(renderOver(label, Qt::black), expected);
    EXPECT_GT(ink(expected, Qt::black).bottom(), label.height() - fm.lineSpacing());

    // Setting the width alone does not measure again.
    const int height = label.height();
    label.setWidth(1000);
    EXPECT_EQ(label.width(), 1000);
    EXPECT_EQ(label.height(), height);
    // The next text change wraps at that width: one line now.
    label.setText(text + QStringLiteral(" "));
    EXPECT_EQ(label.height(), fm.height());
    EXPECT_LE(label.width(), 1000);
    EXPECT_GE(label.width(), fm.horizontalAdvance(text));
}

TEST_F(Label, WrappedLinesPaintAsMeasuredAtAnyWidth) {
    SKIP_WITHOUT_FONTS();
    // Chinese breaks between characters, Latin at spaces; the measured width is the widest
    // line, and painting in that narrower rectangle must not move a word to another line.
    const QString text =
        QStringLiteral("下面哪一种动物是哺乳动物？ Which animal is a mammal, a whale or a shark?");
    TRzLabel label(&parent);
    label.setFont(testFont(19, true));
    label.setFontColor(clWhite);
    for (int width = 90; width <= 400; width += 13) {
        SCOPED_TRACE(width);
        label.setWidth(width);
        label.setText(text);
        ASSERT_LE(label.width(), width);
        QImage expected(label.size(), QImage::Format_ARGB32);
        expected.fill(Qt::black);
        {
            QPainter painter(&expected);
            painter.setFont(label.font());
            painter.setPen(Qt::white);
            painter.drawText(QRect(0, 0, width, label.height()),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        }
        EXPECT_EQ(renderOver(label, Qt::black), expected);
    }
}

TEST_F(Label, ShortTextNarrowsTheWrappingWidthForTheNextText) {
    TRzLabel label(&parent);
    label.setFont(testFont(19));
    const QFontMetrics fm(label.font());
    label.setWidth(600);
    label.setText(QStringLiteral("问"));
    EXPECT_EQ(label.width(), fm.horizontalAdvance(QStringLiteral("问")));
    // Without a new width, the next text wraps at the narrow measured width.
    label.setText(QStringLiteral("ab cd"));
    EXPECT_GT(label.height(), fm.height());
}

TEST_F(Label, AmpersandUnderlinesTheNextCharacterAndADoubleOneShowsOne) {
    SKIP_WITHOUT_FONTS();
    TLabel plain(&parent), marked(&parent), doubled(&parent), literal(&parent);
    for (TLabel* l : {&plain, &marked, &doubled, &literal}) {
        l->setFont(testFont(40));
        l->setFontColor(clWhite);
    }
    plain.setText(QStringLiteral("AW"));
    marked.setText(QStringLiteral("A&W"));
    doubled.setText(QStringLiteral("A&&W"));
    const QFontMetrics fm(plain.font());
    EXPECT_EQ(marked.size(), plain.size()) << "the ampersand takes no room";
    EXPECT_NEAR(doubled.width(), fm.horizontalAdvance(QStringLiteral("A&W")), 1);

    const QImage p = renderOver(plain, Qt::black), m = renderOver(marked, Qt::black);
    ASSERT_EQ(p.size(), m.size());
    // The only difference is an underline, below the baseline and under the W only.
    QRect diff;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (p.pixel(x, y) != m.pixel(x, y))
                diff |= QRect(x, y, 1, 1);
    ASSERT_TRUE(diff.isValid()) << "no underline drawn";
    EXPECT_GE(diff.top(), fm.ascent() - 1);
    EXPECT_GE(diff.left(), fm.horizontalAdvance(u'A') - 2);
    EXPECT_LE(diff.height(), 6);

    // "&&" draws one ampersand, nothing underlined: the same pixels as the text drawn plainly.
    QImage expected(doubled.size(), QImage::Format_ARGB32);
    expected.fill(Qt::black);
    {
        QPainter painter(&expected);
        painter.setFont(doubled.font());
        painter.setPen(Qt::white);
        painter.drawText(expected.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QStringLiteral("A&W"));
    }
    EXPECT_EQ(renderOver(doubled, Qt::black), expected);

    TRzLabel wrapping(&parent);
    wrapping.setFont(testFont(40));
    wrapping.setWidth(500);
    wrapping.setText(QStringLiteral("A&&W"));
    EXPECT_EQ(wrapping.width(), doubled.width());
}

TEST_F(Label, FontSizeInPointsBecomesACharacterHeightForTheScreen) {
    TLabel label(&parent);
    const int dpi = label.logicalDpiY();
    label.setFontPoints(14);
    EXPECT_EQ(label.font().pixelSize(), qRound(14.0 * dpi / 72));
    if (dpi == 96) {
        // The designed sizes: 25 points are the title's 33 pixels, 40 the countdown's 53.
        label.setFontPoints(25);
        EXPECT_EQ(label.font().pixelSize(), 33);
        label.setFontPoints(40);
        EXPECT_EQ(label.font().pixelSize(), 53);
        label.setFontPoints(14);
        EXPECT_EQ(label.font().pixelSize(), 19);
    }
    // The size applies at once: the label is measured again.
    label.setText(QStringLiteral("10"));
    const int small = label.height();
    label.setFontPoints(60);
    EXPECT_GT(label.height(), small * 3);
    EXPECT_NEAR(label.height(), QFontMetrics(label.font()).height(), 1);
}

TEST_F(Label, ColoursAreBlueGreenRedAndSystemColoursResolve) {
    TLabel label(&parent);
    label.setFont(testFont(60, true));
    label.setText(QStringLiteral("■■"));
    const QRect all(QPoint(0, 0), label.size());
    const auto mostlyIs = [&](QColor want) {
        const QImage img = renderOver(label, Qt::black);
        const int n =
            countColour(img, all.adjusted(0, 0, -1, -1), [&](QColor c) { return c == want; });
        return n > 200;
    };
    label.setFontColor(0x0000FF); // red in the lowest byte
    EXPECT_TRUE(mostlyIs(QColor(255, 0, 0)));
    label.setFontColor(0xFF0000);
    EXPECT_TRUE(mostlyIs(QColor(0, 0, 255)));
    label.setFontColor(0x00FFFF);
    EXPECT_TRUE(mostlyIs(QColor(255, 255, 0)));
    // A system colour is a negative value and paints in the desktop's colour for it.
    label.setFontColor(clActiveCaption);
    ASSERT_LT(label.fontColor(), 0);
    ASSERT_EQ(clActiveCaption, -16777214);
    EXPECT_TRUE(mostlyIs(ColorToQColor(clActiveCaption)));
    EXPECT_NE(ColorToQColor(clActiveCaption), QColor(Qt::black));
    label.setFontColor(clBtnFace);
    EXPECT_TRUE(mostlyIs(ColorToQColor(clBtnFace)));
}

TEST_F(Label, NoColourDrawsNothingButKeepsTheSize) {
    TLabel label(&parent);
    label.setFont(testFont(40));
    label.setText(QStringLiteral("看不见"));
    const QSize size = label.size();
    label.setFontColor(clNone);
    EXPECT_EQ(label.size(), size);
    EXPECT_FALSE(ink(renderOver(label, Qt::darkGreen), Qt::darkGreen).isValid());
}

// ---- on the main screen, over the background ----

// A PNG file from chunks, for the transparency kinds the image writer does not produce.
QByteArray pngChunk(const char* type, const QByteArray& data) {
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    QByteArray body = QByteArray(type, 4) + data;
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : body)
        crc = table[(crc ^ static_cast<quint8>(ch)) & 0xFF] ^ (crc >> 8);
    crc ^= 0xFFFFFFFFu;
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), out.data());
    out += body;
    QByteArray c(4, '\0');
    qToBigEndian<quint32>(crc, c.data());
    return out + c;
}

// An 8-bit truecolour (colour type 2) or grey (type 0) PNG whose left half is the key colour,
// marked transparent by a tRNS chunk, and whose right half is opaque.
QByteArray keyedPng(bool grey, int w, int h, QColor key, QColor solid) {
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(w, ihdr.data());
    qToBigEndian<quint32>(h, ihdr.data() + 4);
    ihdr[8] = 8;
    ihdr[9] = grey ? 0 : 2;
    QByteArray raw;
    for (int y = 0; y < h; ++y) {
        raw += '\0';
        for (int x = 0; x < w; ++x) {
            const QColor c = x < w / 2 ? key : solid;
            if (grey)
                raw += char(c.red());
            else {
                raw += char(c.red());
                raw += char(c.green());
                raw += char(c.blue());
            }
        }
    }
    QByteArray trns;
    for (int v : grey ? QList<int>{key.red()} : QList<int>{key.red(), key.green(), key.blue()}) {
        trns += '\0';
        trns += char(v);
    }
    const QByteArray z = qCompress(raw).mid(4); // zlib stream without Qt's length prefix
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) + pngChunk("tRNS", trns) +
           pngChunk("IDAT", z) + pngChunk("IEND", {});
}

class LabelOnScreen : public Presenter {
protected:
    const QColor background{20, 40, 120};
    QImage shot() { return form->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    static bool near(QColor a, QColor b, int tol = 24) {
        return std::abs(a.red() - b.red()) <= tol && std::abs(a.green() - b.green()) <= tol &&
               std::abs(a.blue() - b.blue()) <= tol;
    }
    // Installs next.png, starts and returns the next-step picture's square from a screenshot.
    QImage nextStepPicture(const QByteArray& png) {
        installFiles();
        inst.writeFile("next.png", png);
        start();
        EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        return shot().copy(form->Image3->geometry());
    }
};

TEST_F(LabelOnScreen, TransparentLabelsShowTheBackgroundAroundTheGlyphs) {
    installFiles(
        settingsWith({"weizhishezhi=1", "biaoti=III", "biaoti_color=255", "wenti_color=65280"}));
    start();
    const QImage img = shot();
    for (TCustomLabel* label :
         {static_cast<TCustomLabel*>(form->Label2), static_cast<TCustomLabel*>(form->RzLabel1)}) {
        const QRect r = label->geometry();
        const QColor font = ColorToQColor(label->fontColor());
        const int glyph = countColour(img, r, [&](QColor c) { return near(c, font, 8); });
        const int bg = countColour(img, r, [&](QColor c) { return near(c, background); });
        EXPECT_GT(glyph, 10) << label->text().toStdString();
        EXPECT_GT(bg, r.width() * r.height() / 3) << "the background shows through";
        EXPECT_EQ(
            countColour(img, r, [&](QColor c) { return near(c, ColorToQColor(clBtnFace), 4); }), 0)
            << "no label fills its rectangle";
    }
}

TEST_F(LabelOnScreen, EmptyQuestionAndAnswerAreOneBlankInTheirFontsAfterSetUp) {
    // Set-up empties the question under the designed 19-pixel font, then enlarges the font.
    installFiles(settingsWith({"weizhishezhi=0", "wenti_fontsize=30", "daan_fontsize=26"}));
    start();
    ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
    ASSERT_TRUE(form->RzLabel1->text().isEmpty());
    const QFontMetrics question(form->RzLabel1->font());
    EXPECT_EQ(form->RzLabel1->size(), QSize(question.horizontalAdvance(u' '), question.height()));
    // The answer, emptied by hand the same way.
    form->RzLabel2->setText(QString());
    form->RzLabel2->setFontPoints(40);
    const QFontMetrics answer(form->RzLabel2->font());
    EXPECT_EQ(form->RzLabel2->size(), QSize(answer.horizontalAdvance(u' '), answer.height()));
}

TEST_F(LabelOnScreen, NextPictureFitsKeepingItsAspectOverTheBackground) {
    // 30 x 120 fits as 12 x 49 at the left; the rest of the square is background.
    QImage tall(30, 120, QImage::Format_RGB32);
    tall.fill(QColor(250, 0, 0));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    tall.save(&buf, "PNG");
    const QImage sq = nextStepPicture(bytes);
    ASSERT_EQ(sq.size(), QSize(49, 49));
    EXPECT_TRUE(near(sq.pixelColor(1, 1), QColor(250, 0, 0)));
    EXPECT_TRUE(near(sq.pixelColor(10, 47), QColor(250, 0, 0)));
    EXPECT_TRUE(near(sq.pixelColor(14, 24), background));
    EXPECT_TRUE(near(sq.pixelColor(47, 1), background));
}

TEST_F(LabelOnScreen, SmallNextPictureIsScaledUp) {
    QImage small(10, 5, QImage::Format_RGB32);
    small.fill(QColor(0, 250, 0));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    small.save(&buf, "PNG");
    const QImage sq = nextStepPicture(bytes);
    EXPECT_TRUE(near(sq.pixelColor(47, 1), QColor(0, 250, 0)));
    EXPECT_TRUE(near(sq.pixelColor(47, 22), QColor(0, 250, 0)));
    EXPECT_TRUE(near(sq.pixelColor(24, 27), background)) << "49 x 24, the rest uncovered";
}

TEST_F(LabelOnScreen, NextPictureAlphaChannelOverTheBackground) {
    QImage alpha(49, 49, QImage::Format_ARGB32);
    alpha.fill(Qt::transparent);
    for (int y = 0; y < 49; ++y)
        for (int x = 25; x < 49; ++x)
            alpha.setPixelColor(x, y, QColor(255, 255, 255, 255));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    alpha.save(&buf, "PNG");
    const QImage sq = nextStepPicture(bytes);
    EXPECT_TRUE(near(sq.pixelColor(5, 20), background));
    EXPECT_TRUE(near(sq.pixelColor(40, 20), Qt::white));
}

TEST_F(LabelOnScreen, NextPicturePaletteWithOneTransparentEntry) {
    QImage indexed(49, 49, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(255, 0, 255, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < 49; ++y)
        for (int x = 0; x < 49; ++x)
            indexed.setPixel(x, y, x < 25 ? 0 : 1);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    indexed.save(&buf, "PNG");
    ASSERT_TRUE(bytes.contains("PLTE"));
    const QImage sq = nextStepPicture(bytes);
    EXPECT_TRUE(near(sq.pixelColor(5, 20), background));
    EXPECT_TRUE(near(sq.pixelColor(40, 20), Qt::white));
}

TEST_F(LabelOnScreen, NextPictureSingleTransparentColour) {
    for (bool grey : {false, true}) {
        SCOPED_TRACE(grey ? "grey" : "truecolour");
        const QColor key = grey ? QColor(90, 90, 90) : QColor(255, 0, 255);
        const QImage sq = nextStepPicture(keyedPng(grey, 49, 49, key, Qt::white));
        EXPECT_TRUE(near(sq.pixelColor(5, 20), background)) << "key colour shown as such";
        EXPECT_TRUE(near(sq.pixelColor(40, 20), Qt::white));
        form5.reset();
        form3.reset();
        module.reset();
        form.reset();
    }
}

} // namespace
} // namespace vq::test
