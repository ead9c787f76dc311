// IniFile against the Windows functions it stands in for: the same starting file, the same read
// or write through IniFile and through GetPrivateProfileStringA / WritePrivateProfileStringA, and
// the same value read and the same bytes on disk afterwards. How either side gets there (our
// replace-by-rename and turn-taking) is not compared, only what it leaves.
//
// The A functions take their texts and read the files in the system's ANSI code page, and ours
// are GBK, so the comparison means something only on a system whose code page is 936 (under
// wine: a zh_CN locale, e.g. LANG=zh_CN.UTF-8).
#include "platform/ansi.h"
#include "platform/exception.h"
#include "settings/inifile.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using vq::IniFile;

namespace {

enum class Op { Read, Write };

struct Case {
    std::string name;
    std::optional<QByteArray> start; // the file before, none for no file at all
    Op op;
    QString section;
    QString key;
    QString value; // the value written, or the default of a read
    // Set where the file Wine writes differs from ours by Wine's way of writing, not by what it
    // holds: the two files are then compared as the functions read them (see kWineRewrites).
    bool wineRewrites = false;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// Wine writes the whole file anew from what it has parsed: blank lines go, so do the blanks
// around "=" of every key, and every line ends in CR LF. IniFile by design changes the key's own
// line only, keeps every other byte and ends the lines it adds as the file ends its lines.
constexpr bool kWineRewrites = true;

QByteArray gbk(const QString& text) {
    return vq::toAnsi(text);
}

QByteArray utf16(const QString& text, bool littleEndian) {
    QStringEncoder e(littleEndian ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
    return QByteArray(littleEndian ? "\xFF\xFE" : "\xFE\xFF") + QByteArray(e.encode(text));
}

// A file as a text editor saves it, in one of the encodings and line ends both sides read.
enum class Saved { Utf8Mark, Utf16Le, Utf16Be, LoneCr, Lf };

QByteArray savedAs(Saved how, QString text) {
    switch (how) {
    case Saved::Utf8Mark:
        return "\xEF\xBB\xBF" + text.toUtf8();
    case Saved::Utf16Le:
        return utf16(text, true);
    case Saved::Utf16Be:
        return utf16(text, false);
    case Saved::LoneCr:
        return gbk(text.replace("\r\n", "\r"));
    case Saved::Lf:
        return gbk(text.replace("\r\n", "\n"));
    }
    return {};
}

const QString kEditorText = QStringLiteral("[canshu]\r\nbiaoti=新年晚会\r\nwenti_width=300\r\n");

const QByteArray kMixedReads = "[other]\r\nwenti_width=1\r\n[CanShu]\r\n  WENTI_WIDTH  =  300  \r\n"
                               "biaoti='quoted'\r\ndaan_left=\"-5\"\r\nhalf=\"x\r\nempty=\r\n";

const QByteArray kHandEdited = "; comment line\r\n[before]\r\nx = 1 \r\n\r\n[canshu]\r\n"
                               "Biaoti_Left = 48\r\nunknown=keep me\r\n\r\n[after]\r\ny=2\r\n";

std::vector<Case> cases() {
    const QString s = QStringLiteral("canshu");
    const QString def = QStringLiteral("def");
    const QString title = QStringLiteral("新年晚会 知识竞答");
    std::vector<Case> all = {
        // ---- reading ----
        {"ReadTrimmedWithoutCase", kMixedReads, Op::Read, s, "wenti_width", def},
        {"ReadSingleQuoted", kMixedReads, Op::Read, s, "biaoti", def},
        {"ReadDoubleQuoted", kMixedReads, Op::Read, s, "daan_left", def},
        {"ReadUnpairedQuote", kMixedReads, Op::Read, s, "half", def},
        {"ReadEmptyValue", kMixedReads, Op::Read, s, "empty", def},
        {"ReadOtherSection", kMixedReads, Op::Read, "other", "wenti_width", def},
        {"ReadMissingFile", std::nullopt, Op::Read, s, "wenti_width", def},
        {"ReadEmptyFile", QByteArray(""), Op::Read, s, "wenti_width", def},
        {"ReadMissingSection", "[other]\r\nwenti_width=1\r\n", Op::Read, s, "wenti_width", def},
        {"ReadMissingKey", "[canshu]\r\ndaan_width=1\r\n", Op::Read, s, "wenti_width", def},
        {"ReadLongValue", "[canshu]\r\nbiaoti=" + QByteArray(3000, 'a') + "\r\n", Op::Read, s,
         "biaoti", def},
        {"ReadLongValueCutAtGbk",
         "[canshu]\r\nbiaoti=" + QByteArray(2046, 'a') + gbk(QStringLiteral("题")) + "\r\n",
         Op::Read, s, "biaoti", def},
        {"ReadGbkTitle", "[canshu]\r\nbiaoti=" + gbk(title) + "\r\n", Op::Read, s, "biaoti", def},
        {"ReadNegativeColour", "[canshu]\r\nshijian_color=-16777214\r\n", Op::Read, s,
         "shijian_color", def},
        {"ReadNoFinalLineBreak", "[canshu]\r\na=1", Op::Read, s, "a", def},
        {"ReadMarkOnlyFile", QByteArray("\xFF\xFE"), Op::Read, s, "a", def},
        {"ReadDuplicateKey", "[canshu]\r\na=1\r\na=2\r\n", Op::Read, s, "a", def},
        {"ReadDuplicateSectionFirst", "[canshu]\r\na=1\r\n[other]\r\n[canshu]\r\na=2\r\nb=2\r\n",
         Op::Read, s, "a", def},
        {"ReadDuplicateSectionSecond", "[canshu]\r\na=1\r\n[other]\r\n[canshu]\r\na=2\r\nb=2\r\n",
         Op::Read, s, "b", def},
        {"ReadAcrossBlankLines", "[canshu]\r\n\r\n\r\na=1\r\n\r\nb=2\r\n", Op::Read, s, "b", def},
        {"ReadCommentIsNoKey", "[canshu]\r\n;a=1\r\n", Op::Read, s, "a", def},
        // To the functions ";a=1" is no comment but the key ";a", and "=5" the empty key.
        {"ReadSemicolonKey", "[canshu]\r\n;a=1\r\n", Op::Read, s, ";a", def},
        {"ReadSemicolonKeyWithBlanks", "[canshu]\r\n ; a = 1 \r\n", Op::Read, s, "; a", def},
        {"ReadEmptyKey", "[canshu]\r\n=5\r\n", Op::Read, s, "", def},
        {"ReadEmptyKeyMissing", "[canshu]\r\nb=2\r\n", Op::Read, s, "", def},
        {"ReadSemicolonInValue", "[canshu]\r\na=1 ; note\r\n", Op::Read, s, "a", def},
        {"ReadKeyWithoutEquals", "[canshu]\r\nkeyonly\r\nb=2\r\n", Op::Read, s, "keyonly", def},
        {"ReadKeyAfterLineWithoutEquals", "[canshu]\r\nkeyonly\r\nb=2\r\n", Op::Read, s, "b", def},
        {"ReadKeyAfterItsLineWithoutEquals", "[canshu]\r\nkeyonly\r\nkeyonly=1\r\n", Op::Read, s,
         "keyonly", def},
        {"ReadSpacedSectionName", "[ canshu ]\r\na=1\r\n", Op::Read, s, "a", def},

        // ---- writing ----
        {"WriteCreatesFile", std::nullopt, Op::Write, s, "biaoti_left", "88"},
        {"WriteIntoEmptyFile", QByteArray(""), Op::Write, s, "biaoti_left", "88"},
        // Wine drops the blank lines and the blanks in "x = 1 " and "Biaoti_Left = 48".
        {"WriteReplacesInPlace", kHandEdited, Op::Write, s, "biaoti_left", "88", kWineRewrites},
        {"WriteAppendsKeyToSection", kHandEdited, Op::Write, s, "biaoti_top", "82", kWineRewrites},
        {"WriteReplacesKeepingTheKeysSpelling",
         "[canshu]\r\nBiaoti_Left = 48\r\nunknown=keep me\r\n", Op::Write, s, "biaoti_left", "88"},
        {"WriteAppendsSection", "[other]\r\na=1\r\n", Op::Write, s, "shijian", "10"},
        {"WriteAppendsSectionAfterNoFinalBreak", "[other]\r\na=1", Op::Write, s, "shijian", "10"},
        // Wine ends the lines in CR LF.
        {"WriteAppendsKeyAfterNoFinalBreak", "[canshu]\na=1", Op::Write, s, "b", "2",
         kWineRewrites},
        {"WriteNegativeColour", std::nullopt, Op::Write, s, "shijian_color", "-16777214"},
        {"WriteGbkTitle", "[canshu]\r\nbiaoti=old\r\n", Op::Write, s, "biaoti", title},
        {"WriteSameValue", "[canshu]\r\nWeiZhiSheZhi=0\r\nbiaoti_left=48\r\n", Op::Write, s,
         "weizhishezhi", "0"},
        {"WriteLongValue", "[canshu]\r\n", Op::Write, s, "biaoti", QString(3000, u'x')},
        {"WriteSectionWithoutCase", "[CanShu]\r\nA=1\r\n", Op::Write, s, "a", "2"},
        {"WriteDuplicateKey", "[canshu]\r\na=1\r\na=2\r\n", Op::Write, s, "a", "3"},
        {"WriteDuplicateSection", "[canshu]\r\na=1\r\n[other]\r\nx=1\r\n[canshu]\r\nb=2\r\n",
         Op::Write, s, "b", "3"},
        // Wine drops the blank lines.
        {"WriteBeforeBlankLines", "[canshu]\r\na=1\r\n\r\n\r\n[next]\r\nx=1\r\n", Op::Write, s, "b",
         "2", kWineRewrites},
        {"WriteKeepsComments", "; top\r\n[canshu]\r\n; note\r\na=1\r\n; last note\r\n[next]\r\n",
         Op::Write, s, "b", "2"},
        {"WriteKeyWithoutEquals", "[canshu]\r\nkeyonly\r\n", Op::Write, s, "keyonly", "1"},
        {"WriteSemicolonKeyInPlace", "[canshu]\r\n;a=1\r\nb=2\r\n", Op::Write, s, ";a", "7"},
        {"WriteSemicolonKeyAppended", "[canshu]\r\nb=2\r\n", Op::Write, s, ";a", "7"},
        {"WriteBesideSemicolonKey", "[canshu]\r\n;a=1\r\n", Op::Write, s, "a", "2"},
        {"WriteEmptyKeyInPlace", "[canshu]\r\n=5\r\nb=2\r\n", Op::Write, s, "", "7"},
        {"WriteEmptyKeyAppended", "[canshu]\r\nb=2\r\n", Op::Write, s, "", "7"},
        {"WriteMarkOnlyUtf16", QByteArray("\xFF\xFE"), Op::Write, s, "biaoti_left", "88"},
        {"WriteMarkOnlyUtf8", QByteArray("\xEF\xBB\xBF"), Op::Write, s, "biaoti_left", "88"},
    };

    // ---- files as other editors save them ----
    const struct {
        const char* name;
        Saved how;
    } editors[] = {{"Utf8Mark", Saved::Utf8Mark},
                   {"Utf16Le", Saved::Utf16Le},
                   {"Utf16Be", Saved::Utf16Be},
                   {"LoneCr", Saved::LoneCr},
                   {"Lf", Saved::Lf}};
    for (const auto& e : editors) {
        const QByteArray bytes = savedAs(e.how, kEditorText);
        // Wine ends the lines in CR LF.
        const bool crLf = e.how != Saved::LoneCr && e.how != Saved::Lf;
        const auto add = [&](const char* what, Op op, const QString& key, const QString& value) {
            all.push_back(
                {std::string(what) + e.name, bytes, op, s, key, value, op == Op::Write && !crLf});
        };
        add("ReadGbk", Op::Read, "biaoti", def);
        add("ReadLast", Op::Read, "wenti_width", def);
        add("WriteReplace", Op::Write, "wenti_width", "310");
        add("WriteAppend", Op::Write, "biaoti_left", "88");
        add("WriteGbk", Op::Write, "biaoti", QStringLiteral("元旦晚会"));
    }
    return all;
}

// Bytes as C escapes, long runs of one byte shortened, so that a difference shows in the
// failure message.
std::string shown(const std::optional<QByteArray>& bytes) {
    if (!bytes)
        return "(no file)";
    std::string out;
    for (qsizetype i = 0; i < bytes->size();) {
        const char ch = bytes->at(i);
        qsizetype run = 1;
        while (i + run < bytes->size() && bytes->at(i + run) == ch)
            ++run;
        std::string one;
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '\r')
            one = "\\r";
        else if (ch == '\n')
            one = "\\n";
        else if (ch == '\\')
            one = "\\\\";
        else if (u >= 0x20 && u < 0x7F)
            one = std::string(1, ch);
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            one = hex;
        }
        if (run > 8) {
            out += "{" + std::to_string(run) + " x " + one + "}";
        } else {
            for (qsizetype k = 0; k < run; ++k)
                out += one;
        }
        i += run;
    }
    return out;
}

std::optional<QByteArray> contents(const QString& path) {
    if (!QFile::exists(path))
        return std::nullopt;
    return vq::test::readBytes(path);
}

class ProfileApiTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        if (GetACP() != 936)
            GTEST_SKIP() << "the ANSI code page is " << GetACP()
                         << ", not 936: run under a Chinese locale (LANG=zh_CN.UTF-8)";
        ASSERT_TRUE(dir.isValid());
        // The A functions take the path in the ANSI code page too; a plain ASCII one means the
        // same there as to Qt.
        const QString path = dir.path();
        ASSERT_TRUE(std::all_of(path.begin(), path.end(), [](QChar ch) {
            return ch.unicode() < 0x80;
        })) << path.toStdString();
    }

    QTemporaryDir dir;
};

// The value GetPrivateProfileStringA gives into a buffer as large as IniFile's longest value,
// as the string it ends with its null: for a value cut short the count returned is the buffer's
// size less one, whatever the string's length.
QByteArray apiRead(const QString& path, const Case& c) {
    std::vector<char> buffer(IniFile::kMaxValueLength + 1, '\0');
    const DWORD n = GetPrivateProfileStringA(gbk(c.section).constData(), gbk(c.key).constData(),
                                             gbk(c.value).constData(), buffer.data(),
                                             DWORD(buffer.size()), gbk(path).constData());
    return QByteArray(buffer.data(), qsizetype(qstrnlen(buffer.data(), uint(n))));
}

// Every section of the file as the functions read it: its name, then its lines as
// GetPrivateProfileSectionA gives them.
QByteArray apiView(const QString& path) {
    const QByteArray file = gbk(path);
    std::vector<char> buffer(1 << 16, '\0');
    const DWORD n =
        GetPrivateProfileSectionNamesA(buffer.data(), DWORD(buffer.size()), file.constData());
    const QList<QByteArray> names = QByteArray(buffer.data(), qsizetype(n)).split('\0');
    QByteArray view;
    for (const QByteArray& name : names) {
        if (name.isEmpty())
            continue;
        const DWORD m = GetPrivateProfileSectionA(name.constData(), buffer.data(),
                                                  DWORD(buffer.size()), file.constData());
        view += '[' + name + "]\n" + QByteArray(buffer.data(), qsizetype(m)).replace('\0', '\n');
    }
    return view;
}

::testing::AssertionResult apiWrite(const QString& path, const Case& c) {
    const QByteArray file = gbk(path);
    if (!WritePrivateProfileStringA(gbk(c.section).constData(), gbk(c.key).constData(),
                                    gbk(c.value).constData(), file.constData()))
        return ::testing::AssertionFailure() << "WritePrivateProfileStringA: " << GetLastError();
    // Whatever the system still holds of the file goes to the disk now.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.constData());
    return ::testing::AssertionSuccess();
}

TEST_P(ProfileApiTest, LeavesWhatTheWindowsFunctionsLeave) {
    const Case& c = GetParam();
    const QString ours = QDir::toNativeSeparators(dir.filePath(QStringLiteral("ours.ini")));
    const QString api = QDir::toNativeSeparators(dir.filePath(QStringLiteral("api.ini")));
    if (c.start) {
        ASSERT_NO_FATAL_FAILURE(vq::test::writeBytes(ours, *c.start));
        ASSERT_NO_FATAL_FAILURE(vq::test::writeBytes(api, *c.start));
    }
    if (c.op == Op::Read) {
        const QByteArray mine = gbk(IniFile(ours).readString(c.section, c.key, c.value));
        EXPECT_EQ(shown(mine), shown(apiRead(api, c))) << "value read";
    } else {
        try {
            IniFile(ours).writeString(c.section, c.key, c.value);
        } catch (const vq::Exception& e) {
            FAIL() << e.message().toStdString();
        }
        ASSERT_TRUE(apiWrite(api, c));
    }
    if (c.wineRewrites)
        EXPECT_EQ(shown(apiView(ours)), shown(apiView(api)))
            << "files as read (Wine writes the whole file anew)";
    else
        EXPECT_EQ(shown(contents(ours)), shown(contents(api))) << "file afterwards";
}

std::string caseName(const ::testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(Profile, ProfileApiTest, ::testing::ValuesIn(cases()), caseName);

} // namespace
