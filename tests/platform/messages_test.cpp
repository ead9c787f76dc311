#include "platform/messages.h"

#include <gtest/gtest.h>

using vq::errorBoxText;

TEST(ErrorBoxText, AddsFullStopOnlyAfterCharactersSortingAfterDot) {
    EXPECT_EQ(errorBoxText(QStringLiteral("'wenti_width' is not a valid integer value")),
              QStringLiteral("'wenti_width' is not a valid integer value."));
    EXPECT_EQ(errorBoxText(QStringLiteral("Could not find file 'x'.")),
              QStringLiteral("Could not find file 'x'."));
    // "!" (0x21) and "-" (0x2D) sort before "."; "/" and letters after it.
    EXPECT_EQ(errorBoxText(QStringLiteral("done!")), QStringLiteral("done!"));
    EXPECT_EQ(errorBoxText(QStringLiteral("a-")), QStringLiteral("a-"));
    EXPECT_EQ(errorBoxText(QStringLiteral("a/")), QStringLiteral("a/."));
    EXPECT_EQ(errorBoxText(QStringLiteral("题库")), QStringLiteral("题库."));
    EXPECT_EQ(errorBoxText(QString()), QString());
}
