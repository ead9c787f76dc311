// Designed font names handed to widgets as the installed fonts they stand for: the same fonts
// and the same pixels as the designed names, which Qt would resolve itself, more slowly.
#include "controls/application.h"
#include "support/skips.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage rendered(const QFont& font, const QString& text) {
    QImage image(400, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
    return image;
}

QFont sized(QFont font, int pixels, bool bold) {
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

TEST(InstalledFonts, DesignedNamesDrawTheSamePixelsAsQtsOwnResolution) {
    // Chinese, Latin letters, digits and full-width punctuation: the Chinese in the dialog's
    // Latin font comes from the same fallback font as before.
    const QString text = QStringLiteral("答题活动 Title 10：第1题？（答案）");
    for (const char* designed : {"黑体", "MS Sans Serif"}) {
        const QString name = QString::fromUtf8(designed);
        for (const auto& [pixels, bold] : {std::pair{11, false}, {19, true}, {44, true}}) {
            SCOPED_TRACE(std::string(designed) + " " + std::to_string(pixels));
            const QFont byName = sized(QFont(name), pixels, bold);
            const QFont installed = sized(vq::installedFont(name), pixels, bold);
            EXPECT_EQ(QFontInfo(installed).family(), QFontInfo(byName).family());
            EXPECT_EQ(rendered(installed, text), rendered(byName, text));
        }
    }
}

TEST(InstalledFonts, TheDesignedNameComesFirstWhereItIsInstalledAndStandsAloneWhereNothingIs) {
    SKIP_WITHOUT_FONTS();
    const QString installed = QFontDatabase::families().value(0);
    ASSERT_FALSE(installed.isEmpty());
    const QString lone = QStringLiteral("Velquo Test Lone Name");
    const QString absent = QStringLiteral("Velquo Test Absent Name");
    const QString unknown = QStringLiteral("Velquo Test Unknown Name");
    // Substitutes: one not installed, then one installed.
    QFont::insertSubstitutions(absent, {unknown, installed});
    EXPECT_EQ(vq::installedFamilies(absent), QStringList{installed});
    EXPECT_EQ(vq::installedFamilies(installed).value(0), installed);
    EXPECT_EQ(vq::installedFamilies(lone), QStringList{lone});
    EXPECT_EQ(vq::installedFont(lone).family(), lone);
}

} // namespace
