#include "platform/exception.h"
#include "settings/settings.h"
#include "support/temp_install.h"

#include <gtest/gtest.h>

#include <set>

using vq::tryStrToInt;

TEST(StrictIntegerConversion, AcceptsDecimalHexSignsAndLeadingBlanks) {
    EXPECT_EQ(tryStrToInt("300"), 300);
    EXPECT_EQ(tryStrToInt("  300"), 300);
    EXPECT_EQ(tryStrToInt("0x12C"), 300);
    EXPECT_EQ(tryStrToInt("0X12c"), 300);
    EXPECT_EQ(tryStrToInt("$12C"), 300);
    EXPECT_EQ(tryStrToInt("x12C"), 300);
    EXPECT_EQ(tryStrToInt("X12C"), 300);
    EXPECT_EQ(tryStrToInt("-$10"), -16);
    EXPECT_EQ(tryStrToInt("+7"), 7);
    EXPECT_EQ(tryStrToInt("-16777214"), -16777214);
    EXPECT_EQ(tryStrToInt("05"), 5);
    EXPECT_EQ(tryStrToInt("2147483647"), 2147483647);
    EXPECT_EQ(tryStrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(tryStrToInt("0x7FFFFFFF"), 2147483647);
}

TEST(StrictIntegerConversion, RefusesEverythingElse) {
    for (const char* bad : {"", " ", "300px", "300 ", "abc", "-", "+", "0x", "$", "1.5", "1e3",
                            "2147483648", "-2147483649", "0xFFFFFFFF", "--1", "0x-1", "１２"})
        EXPECT_FALSE(tryStrToInt(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(Settings, ReadsThroughTheProgramFolderAndFailsWithTheTextRead) {
    vq::test::TempInstall install;
    install.writeSettings({"wenti_width= 300 ", "shijian_top=abc", "daan_width=", "huanying=01"});
    const vq::Settings s;
    EXPECT_EQ(s.path(), install.file("opt.ini"));
    EXPECT_EQ(s.integer(vq::Key::wenti_width), 300);
    const auto message = [&](vq::IntegerKey key) {
        try {
            s.integer(key);
        } catch (const vq::Exception& e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(message(vq::Key::shijian_top), "'abc' is not a valid integer value");
    EXPECT_EQ(message(vq::Key::daan_width), "'' is not a valid integer value");
    EXPECT_EQ(message(vq::Key::wenti_left), "'wenti_left' is not a valid integer value");
    EXPECT_FALSE(s.flagOn(vq::Key::huanying));
    EXPECT_FALSE(s.flagOff(vq::Key::huanying));
    EXPECT_EQ(s.text(vq::Key::biaoti), "biaoti");
}

TEST(Settings, NothingIsCachedBetweenReads) {
    vq::test::TempInstall install;
    install.writeSettings({"shijian_sound=0"});
    const vq::Settings s;
    EXPECT_TRUE(s.flagOff(vq::Key::shijian_sound));
    install.writeSettings({"shijian_sound=1"});
    EXPECT_TRUE(s.flagOn(vq::Key::shijian_sound));
}

TEST(Settings, KeyTableHoldsTheTwentyThreeDistinctKeys) {
    std::set<std::string> names;
    int integers = 0, flags = 0, texts = 0;
    for (const auto& key : vq::kSettingKeys) {
        names.insert(key.name);
        integers += key.kind == vq::SettingKind::Integer;
        flags += key.kind == vq::SettingKind::Flag;
        texts += key.kind == vq::SettingKind::Text;
    }
    EXPECT_EQ(names.size(), 23u);
    EXPECT_EQ(integers, 19);
    EXPECT_EQ(flags, 3);
    EXPECT_EQ(texts, 1);
}

// A title that arrives with a line break (pasted into the dialog, say) must not leave a line that
// the next start reads as a key: here it would come before the real wenti_width, the start's
// first read.
TEST(Settings, TitleWithALineBreakLeavesEveryOtherSettingAsItWas) {
    vq::test::TempInstall install;
    install.writeSettings(vq::test::TempInstall::defaultSettings());
    const vq::Settings s;
    s.write(vq::Key::biaoti, QStringLiteral("新年晚会\r\nwenti_width=abc"));
    EXPECT_EQ(s.text(vq::Key::biaoti), "新年晚会");
    for (const auto& key : vq::kSettingKeys) {
        if (key.kind != vq::SettingKind::Integer)
            continue;
        const QString value = s.text(key);
        EXPECT_TRUE(tryStrToInt(value).has_value()) << key.name << " reads " << value.toStdString();
    }
    EXPECT_EQ(s.integer(vq::Key::wenti_width), 600);
}
