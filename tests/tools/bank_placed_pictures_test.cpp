// velquo-bank build from workbooks with pictures placed on the questions' rows: each picture is
// written into the media folder beside the bank under its question's name and named in the
// row, from a workbook LibreOffice saved; the anchors of one Excel saved are read.
#include "bank.h"
#include "bank_test_support.h"
#include "xlsx.h"

#include "data/jetwriter.h"
#include "support/skips.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vq::banktest;

namespace {

QString testData(const char* name) {
    return QStringLiteral(VELQUO_SOURCE_DIR "/tests/tools/data/media/") + QString::fromUtf8(name);
}

QStringList mediaFiles(const QTemporaryDir& dir) {
    return QDir(dir.filePath("题库素材")).entryList(QDir::Files, QDir::Name);
}

} // namespace

TEST(PlacedPictures, ALibreOfficeWorkbooksPicturesGoIntoTheMediaFolderNamedInTheirRows) {
    QTemporaryDir dir;
    const QString bank = dir.filePath("db.DLL");
    qputenv("SOURCE_DATE_EPOCH", "1700000000");
    const ToolRun built =
        runTool(bankProgram(), {"build", testData("libreoffice-pictures.xlsx"), bank});
    ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
    EXPECT_TRUE(built.err.contains(QStringLiteral("从工作簿中取出 2 张图片，放进了 %1\n")
                                       .arg(QDir::toNativeSeparators(dir.filePath("题库素材")))))
        << built.err.toStdString();
    // The picture in the 图片 column is the question's, the one in 答案图片 the answer's.
    EXPECT_EQ(mediaFiles(dir), QStringList({"第1题.png", "第2题答案.jpeg"}));
    const QImage red(dir.filePath("题库素材/第1题.png"));
    EXPECT_EQ(red.size(), QSize(40, 30));
    EXPECT_EQ(red.pixel(20, 15), qRgb(255, 0, 0));
    EXPECT_EQ(QImage(dir.filePath("题库素材/第2题答案.jpeg")).size(), QSize(30, 40));
    const ToolRun exported = runTool(bankProgram(), {"export", bank});
    EXPECT_EQ(exported.out.toStdString(), "编号,题目,答案,图片,答案图片\n"
                                          "1,\"红色是什么？\",\"红\",\"第1题.png\",\n"
                                          "2,\"蓝色？\",\"蓝\",,\"第2题答案.jpeg\"\n"
                                          "3,\"没有图\",\"无\",,\n");
    EXPECT_TRUE(vq::bank::checkBank(bank, vq::jet::kBankPassword).ok);

    // The exported list builds the same bank, naming the files now in the folder.
    const QByteArray first = readBytes(bank);
    writeBytes(dir.filePath("exported.csv"), exported.rawOut);
    ASSERT_EQ(runTool(bankProgram(), {"build", dir.filePath("exported.csv"), bank}).exitCode, 0);
    EXPECT_EQ(readBytes(bank), first);
    // Built again, the workbook finds its pictures there already and writes no copies.
    ASSERT_EQ(
        runTool(bankProgram(), {"build", testData("libreoffice-pictures.xlsx"), bank}).exitCode, 0);
    EXPECT_EQ(readBytes(bank), first);
    EXPECT_EQ(mediaFiles(dir), QStringList({"第1题.png", "第2题答案.jpeg"}));
    // Another file under a question's name stays; the picture takes the next free name.
    writeBytes(dir.filePath("题库素材/第1题.png"), "someone else's");
    ASSERT_EQ(
        runTool(bankProgram(), {"build", testData("libreoffice-pictures.xlsx"), bank}).exitCode, 0);
    qunsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(readBytes(dir.filePath("题库素材/第1题.png")), "someone else's");
    EXPECT_EQ(QImage(dir.filePath("题库素材/第1题-2.png")).size(), QSize(40, 30));
    EXPECT_TRUE(runTool(bankProgram(), {"export", bank})
                    .out.contains("1,\"红色是什么？\",\"红\",\"第1题-2.png\","));
}

TEST(PlacedPictures, ANameInTheCellWinsOverThePicturePlacedOnIt) {
    QTemporaryDir dir;
    const ToolRun built =
        runTool(bankProgram(),
                {"build", testData("libreoffice-named-picture.xlsx"), dir.filePath("db.DLL")});
    ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
    EXPECT_TRUE(built.err.contains("1 张图片所在的单元格已写有文件名，按单元格中的名字读入\n"))
        << built.err.toStdString();
    // A picture on a row without a question is left out, and said so.
    EXPECT_TRUE(built.err.contains("1 张图片不在题目所在的行上，没有读入\n"))
        << built.err.toStdString();
    EXPECT_EQ(mediaFiles(dir), QStringList({"第2题答案.jpeg"}));
    EXPECT_TRUE(runTool(bankProgram(), {"export", dir.filePath("db.DLL")})
                    .out.contains("1,\"红色是什么？\",\"红\",\"mine.png\","));
}

TEST(PlacedPictures, AnExcelWorkbooksAnchorsAreReadWithTheirPictures) {
    const vq::bank::Worksheet sheet =
        vq::bank::readWorksheet(testData("excel-WithDrawing.xlsx"), {});
    QStringList anchors;
    for (const vq::bank::PlacedPicture& p : sheet.pictures) {
        anchors << QStringLiteral("%1%2 %3")
                       .arg(vq::bank::columnLetters(p.column))
                       .arg(p.row)
                       .arg(p.part);
        EXPECT_FALSE(p.bytes.isEmpty()) << p.part.toStdString();
    }
    // Two-cell anchors by their starting cell; the shape in a one-cell anchor has no picture.
    EXPECT_EQ(anchors, QStringList({"A1 xl/media/image1.jpeg", "E2 xl/media/image2.emf",
                                    "I2 xl/media/image3.png", "A11 xl/media/image4.emf",
                                    "I10 xl/media/image5.wmf"}));
    ASSERT_FALSE(sheet.pictures.isEmpty());
    EXPECT_TRUE(sheet.pictures[0].bytes.startsWith("\xFF\xD8\xFF"));
}

TEST(PlacedPictures, PicturesPlacedInCellsByExcelAreReadAsTheCellsValues) {
    const vq::bank::Worksheet sheet = vq::bank::readWorksheet(testData("excel-CellImage.xlsx"), {});
    QStringList cells;
    for (const vq::bank::PlacedPicture& p : sheet.pictures) {
        EXPECT_TRUE(p.inCell);
        EXPECT_TRUE(p.bytes.startsWith("\x89PNG")) << p.part.toStdString();
        cells << QStringLiteral("%1%2 %3")
                     .arg(vq::bank::columnLetters(p.column))
                     .arg(p.row)
                     .arg(p.part);
    }
    // Local pictures only: B4, B5 and their copies in D4, D5 show IMAGE() of a web address.
    EXPECT_EQ(cells, QStringList({"B1 xl/media/image2.png", "D1 xl/media/image2.png",
                                  "B2 xl/media/image3.png", "D2 xl/media/image3.png",
                                  "B3 xl/media/image4.png", "D3 xl/media/image4.png",
                                  "W41 xl/media/image5.png"}));
    // The error value Excel saves for programs that know no pictures in cells is not the cell's
    // text; the cell beside it is.
    ASSERT_FALSE(sheet.rows.isEmpty());
    EXPECT_EQ(sheet.rows[0].row, 1);
    EXPECT_EQ(sheet.rows[0].cells.value(1), QString());
    EXPECT_FALSE(sheet.rows[0].cells.value(2).isEmpty());
}

TEST(PlacedPictures, APictureTheWorkbookLacksIsLeftOutAndSaidSo) {
    // The workbook is cut by the machine's Python, which takes no Windows path.
    SKIP_WITHOUT_REFERENCE_TOOLS();
    // The drawing still anchors both pictures, but the question's picture itself is gone.
    QTemporaryDir dir;
    const QString damaged = dir.filePath("damaged.xlsx");
    const ToolRun made =
        runTool(QStringLiteral(VELQUO_PYTHON3),
                {"-c",
                 "import sys, zipfile\n"
                 "with zipfile.ZipFile(sys.argv[1]) as a, zipfile.ZipFile(sys.argv[2], 'w') as b:\n"
                 "    for i in a.infolist():\n"
                 "        if i.filename != 'xl/media/image1.png':\n"
                 "            b.writestr(i, a.read(i))\n",
                 testData("libreoffice-pictures.xlsx"), damaged});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const ToolRun built = runTool(bankProgram(), {"build", damaged, dir.filePath("db.DLL")});
    ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
    EXPECT_TRUE(built.err.contains("工作簿中有 1 张图片只有位置，缺少图片本身，没有读入\n"))
        << built.err.toStdString();
    EXPECT_EQ(mediaFiles(dir), QStringList({"第2题答案.jpeg"}));
    EXPECT_TRUE(runTool(bankProgram(), {"export", dir.filePath("db.DLL")})
                    .out.contains("1,\"红色是什么？\",\"红\",,\n"));
}
