// velquo-bank check on the pictures and clips a bank names: missing, unreadable, damaged and
// oversized files in the media folder, each named against its row, and hostile files (a FIFO,
// a folder, a picture whose header claims 1.6 gigapixels, a three-hour clip) looked at without
// a hang.
#include "bank.h"
#include "bank_test_support.h"
#include "clipprobe.h"

#include "data/jetwriter.h"
#include "platform/audiodecoder.h"
#include "platform/wav_encoder.h"
#include "support/skips.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vq::banktest;
using vq::bank::MediaFault;
using vq::bank::OptionalColumn;

namespace {

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A picture with detail in it, so that its JPEG has data to cut short.
QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (seed = seed * 1664525u + 1013904223u) >> 8);
    return image;
}

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A small PNG whose header says it is width x height pixels.
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray png = encoded(QImage(8, 8, QImage::Format_RGB32), "PNG");
    // The header chunk's data stands after the 8-byte signature, its length and its type.
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(width >> (24 - 8 * i));
        png[20 + i] = char(height >> (24 - 8 * i));
    }
    const quint32 crc = crc32(png.mid(12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}

struct Expected {
    int row;
    OptionalColumn column;
    const char* name;
    MediaFault fault;
};

class MediaCheck : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("题库素材/sub"))); }
    QString media(const QString& name) const {
        return dir.filePath(QStringLiteral("题库素材/") + name);
    }
    // Builds db.DLL beside the media folder from the list's rows (编号 from 1).
    QString bank(const QByteArray& header, const QList<QByteArray>& rows) {
        QByteArray csv = "编号,题目,答案," + header + "\n";
        for (int i = 0; i < rows.size(); ++i)
            csv += QByteArray::number(i + 1) + ",q,a," + rows[i] + "\n";
        writeBytes(dir.filePath("q.csv"), csv);
        vq::bank::buildBank(dir.filePath("q.csv"), dir.filePath("db.DLL"), vq::jet::kBankPassword);
        return dir.filePath("db.DLL");
    }
    static void expectFindings(const vq::bank::CheckReport& r, const QList<Expected>& expected) {
        ASSERT_EQ(r.media.size(), expected.size()) << r.text.toStdString();
        for (int i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(expected[i].name);
            EXPECT_EQ(r.media[i].row, expected[i].row);
            EXPECT_EQ(r.media[i].number, QString::number(expected[i].row));
            EXPECT_EQ(r.media[i].column, expected[i].column);
            EXPECT_EQ(r.media[i].name, QString::fromUtf8(expected[i].name));
            EXPECT_EQ(int(r.media[i].fault), int(expected[i].fault)) << r.text.toStdString();
        }
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(MediaCheck, EachBadPictureIsNamedAgainstItsRowAndGoodOnesPass) {
    writeBytes(media("good.jpg"), encoded(noise(64, 48), "JPEG"));
    writeBytes(media("sub/good.png"), encoded(noise(16, 16), "PNG"));
    const QByteArray jpeg = encoded(noise(400, 300), "JPEG");
    writeBytes(media("cut.jpg"), jpeg.left(jpeg.size() / 2));
    writeBytes(media("png.jpg"), encoded(noise(16, 16), "PNG"));
    writeBytes(media("text.png"), "not a picture");
    writeBytes(media("huge.png"), pngClaiming(40000, 40000));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("题库素材/folder.jpg")));
    const QString path =
        bank("图片,答案图片", {"good.jpg,sub\\good.png", "cut.jpg,png.jpg",
                               "missing.jpg,folder.jpg", "text.png,huge.png", ",sub/good.png"});
    const vq::bank::CheckReport r = vq::bank::checkBank(path, vq::jet::kBankPassword);
    EXPECT_FALSE(r.ok);
    expectFindings(r, {{2, OptionalColumn::Picture, "cut.jpg", MediaFault::Damaged},
                       {2, OptionalColumn::AnswerPicture, "png.jpg", MediaFault::NotDecodable},
                       {3, OptionalColumn::Picture, "missing.jpg", MediaFault::Missing},
                       {3, OptionalColumn::AnswerPicture, "folder.jpg", MediaFault::Folder},
                       {4, OptionalColumn::Picture, "text.png", MediaFault::NotDecodable},
                       {4, OptionalColumn::AnswerPicture, "huge.png", MediaFault::Oversized}});
    for (const char* line :
         {"题库中有 9 个图片和声音文件，在“题库素材”文件夹中查看了每一个\n",
          "问题：编号 2 的图片“cut.jpg”：图片已损坏，只能显示读得出来的部分：cut.jpg: ",
          "问题：编号 2 的答案图片“png.jpg”：不是放映程序能显示的图片：内容是 PNG 图片，扩展名却是 "
          ".jpg（png.jpg: ",
          "问题：编号 3 的图片“missing.jpg”：题库素材文件夹中没有这个文件\n",
          "问题：编号 3 的答案图片“folder.jpg”：这是一个文件夹，不是文件\n",
          "问题：编号 4 的答案图片“huge.png”：太大：40000 × 40000 像素，解码要 6104 "
          "MB；放映程序最多"
          "解码 512 MB 的图片（32 位像素，约 134 百万像素），更大的图片不会显示\n"})
        EXPECT_TRUE(r.text.contains(QString::fromUtf8(line))) << line << "\n"
                                                              << r.text.toStdString();
    // The problems point at their rows and numbers, as the other lines of the report do.
    const auto problem = std::find_if(r.lines.cbegin(), r.lines.cend(), [](const auto& l) {
        return l.text.contains(QStringLiteral("missing.jpg"));
    });
    ASSERT_NE(problem, r.lines.cend());
    EXPECT_EQ(problem->kind, vq::bank::CheckLine::Problem);
    EXPECT_EQ(problem->rows, QList<int>({3}));
    EXPECT_EQ(problem->numbers, QStringList({"3"}));
}

TEST_F(MediaCheck, AFifoOrADeviceIsNotOpened) {
    SKIP_WITHOUT_UNIX_FILE_MODES();
    ASSERT_EQ(runTool(QStringLiteral("mkfifo"), {media("pipe.jpg"), media("pipe.mp3")}).exitCode,
              0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), media("zero.png")));
    const QString path = bank("图片,声音", {"pipe.jpg,pipe.mp3", "zero.png,"});
    // Opening a FIFO would wait for a writer for ever; the tool's run is bounded by runTool.
    const ToolRun r = runTool(bankProgram(), {QStringLiteral("check"), path});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    for (const char* line : {"问题：编号 1 的图片“pipe.jpg”：这不是普通文件（是管道、设备之类），"
                             "放映程序不会打开它\n",
                             "问题：编号 1 的声音“pipe.mp3”：这不是普通文件",
                             "问题：编号 2 的图片“zero.png”：这不是普通文件"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line << "\n" << r.out.toStdString();
    // The tool's streams hold its own words only, not the image readers' warnings.
    EXPECT_EQ(r.err, QString());
}

TEST_F(MediaCheck, ClipsAreReadThroughAndLongOnesRefusedByTheirLength) {
    const QByteArray wav = vq::test::encodeWav({}, {vq::test::sineAt(44100, 440, 500, 0.5)});
    writeBytes(media("good.wav"), wav);
    writeBytes(media("hello.mp3"), "hello");
    // A WAV's first bytes and then no sound in it: only decoding tells.
    writeBytes(media("bad.wav"), QByteArray("RIFF\x24\0\0\0WAVEjunkjunkjunk", 24));
    const QString path = bank("声音", {"good.wav", "hello.mp3", "bad.wav"});
    vq::bank::CheckReport r = vq::bank::checkBank(path, vq::jet::kBankPassword);
    if (!vq::bank::ClipProbe::canDecode()) {
        // Without the decoding library the clips' kinds are still told from their first bytes.
        expectFindings(r, {{2, OptionalColumn::Sound, "hello.mp3", MediaFault::NotDecodable}});
        GTEST_SKIP() << "this build has no sound-file library to decode clips with";
    }
    expectFindings(r, {{2, OptionalColumn::Sound, "hello.mp3", MediaFault::NotDecodable},
                       {3, OptionalColumn::Sound, "bad.wav", MediaFault::NotDecodable}});
    EXPECT_TRUE(r.text.contains(QStringLiteral(
        "问题：编号 2 的声音“hello.mp3”：不是放映程序能播放的声音：内容不是 WAV、MP3、OGG、FLAC 或 "
        "M4A 声音\n")))
        << r.text.toStdString();

    // A three-hour clip (FLAC keeps its silence small) is refused by its length without being
    // decoded; a FLAC cut short decodes in part.
    SKIP_WITHOUT_REFERENCE_TOOLS();
    if (QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty())
        GTEST_SKIP() << "sox is not installed";
    ASSERT_EQ(
        runTool("sox", {"-n", "-r", "8000", "-c", "1", media("long.flac"), "trim", "0", "10800"})
            .exitCode,
        0);
    ASSERT_EQ(runTool("sox", {"-n", "-r", "44100", "-c", "1", media("tone.flac"), "synth", "5",
                              "sine", "440"})
                  .exitCode,
              0);
    writeBytes(media("cut.flac"), readBytes(media("tone.flac")).left(60000));
    r = vq::bank::checkBank(bank("声音", {"long.flac", "tone.flac", "cut.flac"}),
                            vq::jet::kBankPassword);
    expectFindings(r, {{1, OptionalColumn::Sound, "long.flac", MediaFault::Oversized},
                       {3, OptionalColumn::Sound, "cut.flac", MediaFault::Damaged}});
    EXPECT_TRUE(r.text.contains(QStringLiteral(
        "问题：编号 1 的声音“long.flac”：太大：长 3:00:00，解码成 16 位采样有 165 MB，超过 100 MB"
        "（CD 音质约 10 分钟）：放映程序要先把整段声音解码成一份副本才开始播放\n")))
        << r.text.toStdString();
    EXPECT_TRUE(r.text.contains(QStringLiteral(
        "问题：编号 3 的声音“cut.flac”：声音只能播放一部分：文件说声音长 0:00:05，却只解码出 ")))
        << r.text.toStdString();
}

// M4A clips, which the sound-file library does not read, are read through by the media library:
// a whole one passes, one cut before its index is named with the library's reason.
TEST_F(MediaCheck, M4aClipsAreReadThroughByTheMediaLibrary) {
    if (!vq::AudioDecoder::available())
        GTEST_SKIP() << "the media decoding library is not installed";
    const QByteArray m4a =
        readBytes(QStringLiteral(VELQUO_SOURCE_DIR "/tests/platform/clips/tone-20s.m4a"));
    ASSERT_FALSE(m4a.isEmpty());
    writeBytes(media("tone.m4a"), m4a);
    writeBytes(media("cut.m4a"), m4a.left(m4a.size() / 2));
    const vq::bank::ClipInfo info = vq::bank::ClipProbe::probe(media("tone.m4a"), 1 << 30);
    EXPECT_EQ(info.kind, vq::bank::ClipInfo::Kind::M4a);
    EXPECT_TRUE(info.decoded);
    EXPECT_NEAR(info.seconds, 20.0, 0.05);
    EXPECT_NEAR(info.decodedSeconds, 20.0, 0.05);
    const vq::bank::CheckReport r =
        vq::bank::checkBank(bank("声音", {"tone.m4a", "cut.m4a"}), vq::jet::kBankPassword);
    expectFindings(r, {{2, OptionalColumn::Sound, "cut.m4a", MediaFault::NotDecodable}});
    EXPECT_TRUE(
        r.text.contains(QStringLiteral("问题：编号 2 的声音“cut.m4a”：不是放映程序能播放的声音：")))
        << r.text.toStdString();
}

TEST_F(MediaCheck, WithoutTheFolderOneLineSaysSo) {
    ASSERT_TRUE(QDir(dir.filePath("题库素材")).removeRecursively());
    const QString path = bank("图片,声音,时间", {"a.jpg,b.mp3,30", ",,20", "c.png,,"});
    const vq::bank::CheckReport r = vq::bank::checkBank(path, vq::jet::kBankPassword);
    EXPECT_FALSE(r.ok);
    expectFindings(r, {{1, OptionalColumn::Picture, "a.jpg", MediaFault::Missing},
                       {1, OptionalColumn::Sound, "b.mp3", MediaFault::Missing},
                       {3, OptionalColumn::Picture, "c.png", MediaFault::Missing}});
    EXPECT_TRUE(r.text.contains(
        QStringLiteral(
            "问题：题库旁边没有“题库素材”文件夹（%1）：题库中的 3 个图片和声音文件都找不到\n")
            .arg(QDir::toNativeSeparators(dir.filePath("题库素材")))))
        << r.text.toStdString();
    EXPECT_EQ(r.text.count(QStringLiteral("问题：")), 1) << r.text.toStdString();
}

TEST_F(MediaCheck, ABankFromElsewhereIsHeldToWhatBuildTakes) {
    // Access lets its user type anything: a full path, a time of 0.
    vq::jet::Table t = vq::jet::questionTable({{1, "q1", "a1"}, {2, "q2", "a2"}});
    t.columns << vq::jet::Column{"图片", vq::jet::ColumnType::Text, 255}
              << vq::jet::Column{"时间", vq::jet::ColumnType::Long};
    t.rows[0] << QStringLiteral("C:\\照片\\1.jpg") << 30;
    t.rows[1] << QVariant() << 0;
    vq::jet::writeDatabase(dir.filePath("db.DLL"), {t}, {vq::jet::kBankPassword});
    const vq::bank::CheckReport r =
        vq::bank::checkBank(dir.filePath("db.DLL"), vq::jet::kBankPassword);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.text.contains(
        QStringLiteral("问题：编号 1 的图片：“C:\\照片\\1.jpg”不是题库素材文件夹中的文件名")))
        << r.text.toStdString();
    EXPECT_TRUE(r.text.contains(
        QStringLiteral("问题：编号 2 的时间：“0”不是秒数：要写 1 到 3600 之间的整数（如 30）\n")))
        << r.text.toStdString();
    EXPECT_TRUE(r.media.isEmpty());
}

TEST_F(MediaCheck, InEnglish) {
    const QString path = bank("图片", {"missing.jpg"});
    const ToolRun r = runTool(bankProgram(), {QStringLiteral("check"), path}, kEnglish);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral(
        "the bank names 1 pictures and clips; each was looked at in the folder “题库素材”\n"
        "Problem: 编号 1, 图片 “missing.jpg”: the folder 题库素材 has no such file\n")))
        << r.out.toStdString();
}
