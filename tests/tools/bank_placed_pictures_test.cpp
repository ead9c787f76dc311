// velquo-bank build from workbooks with pictures placed on the questions' rows: each picture is
// written into the media folder beside the bank under its question's name and named in the
// row, from a workbook LibreOffice saved; the anchors of one Excel saved are read.
#include "bank.h"
#include "bank_test_support.h"
#include "xlsx.h"

#include "data/jetwriter.h"
#include "support/skips.h"

#include <QBuffer>
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

// A question list as WPS saves pictures placed in cells (嵌入单元格的图片): D2 and E3 hold
// DISPIMG formulas naming pictures in xl/cellimages.xml, whose relationships lead to the
// pictures' parts; E4 names a picture the workbook does not hold.
void writeWpsWorkbook(const QString& path) {
    const auto png = [](QRgb colour, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    };
    QList<std::pair<QString, QByteArray>> parts;
    const auto put = [&](const char* name, const QByteArray& bytes) {
        parts.append({QString::fromLatin1(name), bytes});
    };
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const QByteArray relsRoot =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    put("[Content_Types].xml",
        "<?xml version=\"1.0\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>");
    put("xl/workbook.xml",
        "<?xml version=\"1.0\"?><workbook "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
            rel +
            "\"><sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    put("xl/_rels/workbook.xml.rels",
        relsRoot + "<Relationship Id=\"rId1\" Type=\"" + rel +
            "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId5\" "
            "Type=\"http://www.wps.cn/officeDocument/2020/cellImage\" "
            "Target=\"cellimages.xml\"/></Relationships>");
    const auto text = [](const char* ref, const char* value) {
        return QByteArray("<c r=\"") + ref + "\" t=\"inlineStr\"><is><t>" + value + "</t></is></c>";
    };
    const auto picture = [](const char* ref, const char* name) {
        return QByteArray("<c r=\"") + ref + "\" t=\"str\"><f>_xlfn.DISPIMG(&quot;" + name +
               "&quot;,1)</f><v>=DISPIMG(&quot;" + name + "&quot;,1)</v></c>";
    };
    put("xl/worksheets/sheet1.xml",
        "<?xml version=\"1.0\"?><worksheet "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
        "<row r=\"1\">" +
            text("A1", "编号") + text("B1", "题目") + text("C1", "答案") + text("D1", "图片") +
            text("E1", "答案图片") + "</row><row r=\"2\"><c r=\"A2\"><v>1</v></c>" +
            text("B2", "红色是什么？") + text("C2", "红") +
            picture("D2", "ID_8A1F7C2E0B5D4E6F9A3B2C1D0E9F8A7B") +
            "</row><row r=\"3\"><c r=\"A3\"><v>2</v></c>" + text("B3", "蓝色？") +
            text("C3", "蓝") + picture("E3", "ID_0F1E2D3C4B5A69788796A5B4C3D2E1F0") +
            "</row><row r=\"4\"><c r=\"A4\"><v>3</v></c>" + text("B4", "没有图") +
            text("C4", "无") + "</row></sheetData></worksheet>");
    const QByteArray pic = "<etc:cellImage><xdr:pic><xdr:nvPicPr><xdr:cNvPr id=\"%1\" "
                           "name=\"%2\" descr=\"\"/><xdr:cNvPicPr/></xdr:nvPicPr><xdr:blipFill>"
                           "<a:blip r:embed=\"%3\"/><a:stretch><a:fillRect/></a:stretch>"
                           "</xdr:blipFill><xdr:spPr/></xdr:pic></etc:cellImage>";
    put("xl/cellimages.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><etc:cellImages "
        "xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
        "xmlns:r=\"" +
            rel +
            "\" xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
            "xmlns:etc=\"http://www.wps.cn/officeDocument/2017/etCustomData\">" +
            QString::fromLatin1(pic)
                .arg("2", "ID_8A1F7C2E0B5D4E6F9A3B2C1D0E9F8A7B", "rId1")
                .toLatin1() +
            QString::fromLatin1(pic)
                .arg("3", "ID_0F1E2D3C4B5A69788796A5B4C3D2E1F0", "rId2")
                .toLatin1() +
            "</etc:cellImages>");
    put("xl/_rels/cellimages.xml.rels",
        relsRoot + "<Relationship Id=\"rId1\" Type=\"" + rel +
            "/image\" Target=\"media/image1.png\"/><Relationship Id=\"rId2\" Type=\"" + rel +
            "/image\" Target=\"media/image2.png\"/></Relationships>");
    put("xl/media/image1.png", png(qRgb(255, 0, 0), {40, 30}));
    put("xl/media/image2.png", png(qRgb(0, 0, 255), {30, 40}));
    vq::banktest::writeZip(path, parts);
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

TEST(PlacedPictures, PicturesPlacedInCellsByWpsAreReadThroughTheirDispImgFormulas) {
    QTemporaryDir dir;
    const QString workbook = dir.filePath("wps.xlsx");
    writeWpsWorkbook(workbook);
    const vq::bank::Worksheet sheet = vq::bank::readWorksheet(workbook, {});
    QStringList cells;
    for (const vq::bank::PlacedPicture& p : sheet.pictures)
        cells << QStringLiteral("%1%2 %3")
                     .arg(vq::bank::columnLetters(p.column))
                     .arg(p.row)
                     .arg(p.part);
    EXPECT_EQ(cells, QStringList({"D2 xl/media/image1.png", "E3 xl/media/image2.png"}));

    const QString bank = dir.filePath("db.DLL");
    const ToolRun built = runTool(bankProgram(), {"build", workbook, bank});
    ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
    EXPECT_EQ(mediaFiles(dir), QStringList({"第1题.png", "第2题答案.png"}));
    EXPECT_EQ(QImage(dir.filePath("题库素材/第1题.png")).pixel(20, 15), qRgb(255, 0, 0));
    // The formula's saved text is not taken for a file name.
    EXPECT_EQ(runTool(bankProgram(), {"export", bank}).out.toStdString(),
              "编号,题目,答案,图片,答案图片\n"
              "1,\"红色是什么？\",\"红\",\"第1题.png\",\n"
              "2,\"蓝色？\",\"蓝\",,\"第2题答案.png\"\n"
              "3,\"没有图\",\"无\",,\n");
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
