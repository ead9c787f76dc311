// The editor's optional columns as its user meets them: times and points typed into the table,
// pictures' names held to what the bank tool builds, the thumbnails in the table.
#include "bankfile.h"
#include "bankmodel.h"
#include "editor_window_fixture.h"
#include "editorwindow.h"
#include "rowclipboard.h"
#include "thumbnailcache.h"

#include "support/file_bytes.h"
#include "support/photos.h"
#include "support/recording.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPixmap>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

using vq::bank::OptionalColumn;
using vq::editor::BankModel;
using vq::editor::EditorWindow;
using vq::editor::Row;
using vq::editor::Thumbnail;
using vq::editor::ThumbnailCache;
using vq::test::writeBytes;

QVariant optional(const Row& r, OptionalColumn c) {
    return r.optional[size_t(c)];
}

Row rowWith(qint32 number, const QString& picture = {}) {
    Row r{number, QStringLiteral("题%1").arg(number), QStringLiteral("答%1").arg(number)};
    if (!picture.isEmpty())
        r.optional[size_t(OptionalColumn::Picture)] = picture;
    return r;
}

class EditorMediaTest : public vq::editor::test::EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        media = dir.filePath(QStringLiteral("题库素材"));
    }

    // Saves the rows as the bank beside the media folder and opens it in a shown window.
    void open(const QList<Row>& rows) {
        vq::editor::saveBank(bank, rows, QStringLiteral("pw"));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // Active, so that no late activation takes the focus from a cell's editor.
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        ASSERT_TRUE(window.openFile(bank));
        // The problems' count, which takes the status bar, once the rows are in.
        QApplication::processEvents();
    }

    QString status() const { return window.statusBar()->currentMessage(); }

    QString media;
};

TEST_F(EditorMediaTest, TimeAndPointsAreTypedInTheirRangesRefusedOutsideAndUndone) {
    open({rowWith(1), rowWith(2)});
    BankModel* model = window.model();
    const QStringList headers{"编号", "题目", "答案", "图片", "答案图片", "声音", "时间", "分值"};
    ASSERT_EQ(model->columnCount(), headers.size());
    for (int c = 0; c < headers.size(); ++c)
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), headers[c]);

    typeInto(0, BankModel::TimeColumn, QStringLiteral("30"));
    typeInto(0, BankModel::PointsColumn, QStringLiteral("１００")); // a Chinese input method's
    EXPECT_EQ(optional(model->row(0), OptionalColumn::Time), QVariant(qint64(30)));
    EXPECT_EQ(optional(model->row(0), OptionalColumn::Points), QVariant(qint64(100)));
    EXPECT_EQ(cell(0, BankModel::TimeColumn).data().toString(), QStringLiteral("30"));
    EXPECT_TRUE(window.isWindowModified());

    // Beyond the range, not a whole number: the cell keeps its value and the bar says why.
    for (const char* bad : {"0", "3601", "-5", "12.5", "半分钟"}) {
        window.statusBar()->clearMessage();
        typeInto(0, BankModel::TimeColumn, QString::fromUtf8(bad));
        EXPECT_EQ(optional(model->row(0), OptionalColumn::Time), QVariant(qint64(30))) << bad;
        EXPECT_TRUE(status().startsWith(QStringLiteral("时间：")) && status().contains("3600"))
            << bad << ": " << status().toStdString();
    }
    typeInto(1, BankModel::PointsColumn, QStringLiteral("100001"));
    EXPECT_FALSE(optional(model->row(1), OptionalColumn::Points).isValid());
    EXPECT_TRUE(status().contains(QStringLiteral("不是分值"))) << status().toStdString();
    typeInto(1, BankModel::TimeColumn, QStringLiteral("3600"));
    EXPECT_EQ(optional(model->row(1), OptionalColumn::Time), QVariant(qint64(3600)));
    // Emptied: the installation's default again.
    typeInto(0, BankModel::TimeColumn, QString());
    EXPECT_FALSE(optional(model->row(0), OptionalColumn::Time).isValid());

    QUndoStack* undo = model->undoStack();
    undo->undo();
    EXPECT_EQ(optional(model->row(0), OptionalColumn::Time), QVariant(qint64(30)));
    undo->undo();
    EXPECT_FALSE(optional(model->row(1), OptionalColumn::Time).isValid());
    undo->undo();
    undo->undo();
    EXPECT_FALSE(optional(model->row(0), OptionalColumn::Points).isValid());
    EXPECT_FALSE(optional(model->row(0), OptionalColumn::Time).isValid());
    EXPECT_TRUE(undo->isClean());
}

TEST_F(EditorMediaTest, MediaNamesTheBankToolWouldRefuseAreRefusedWithItsReason) {
    open({rowWith(1)});
    BankModel* model = window.model();
    const struct {
        const char* name;
        const char* reason;
    } refused[] = {{"../猫.jpg", "指向题库素材文件夹以外"},
                   {"图/../../猫.jpg", "指向题库素材文件夹以外"},
                   {"/home/猫.jpg", "是完整路径"},
                   {"C:\\猫.jpg", "不能有 < > :"},
                   {"猫?.jpg", "不能有 < > :"}};
    for (const auto& r : refused) {
        window.statusBar()->clearMessage();
        typeInto(0, BankModel::PictureColumn, QString::fromUtf8(r.name));
        EXPECT_FALSE(optional(model->row(0), OptionalColumn::Picture).isValid()) << r.name;
        EXPECT_TRUE(status().startsWith(QStringLiteral("图片：")) &&
                    status().contains(QString::fromUtf8(r.reason)))
            << r.name << ": " << status().toStdString();
    }
    EXPECT_FALSE(model->setData(model->index(0, BankModel::SoundColumn), QStringLiteral("a\tb")));
    EXPECT_TRUE(status().startsWith(QStringLiteral("声音：")));

    // A name in a folder of the media folder is a name; its spaces at the ends go.
    typeInto(0, BankModel::AnswerPictureColumn, QStringLiteral(" 动物/猫.jpg "));
    typeInto(0, BankModel::SoundColumn, QStringLiteral("喵.wav"));
    EXPECT_EQ(optional(model->row(0), OptionalColumn::AnswerPicture).toString(),
              QStringLiteral("动物/猫.jpg"));
    EXPECT_EQ(optional(model->row(0), OptionalColumn::Sound).toString(), QStringLiteral("喵.wav"));
    model->undoStack()->undo();
    EXPECT_FALSE(optional(model->row(0), OptionalColumn::Sound).isValid());
    EXPECT_EQ(model->undoStack()->count(), 2);

    // A value a bank made elsewhere holds, which the bank tool would not build, is marked.
    QList<Row> rows = model->rows();
    rows[0].optional[size_t(OptionalColumn::Time)] = qint64(5000);
    model->load(rows);
    const QModelIndex time = model->index(0, BankModel::TimeColumn);
    EXPECT_EQ(time.data().toString(), QStringLiteral("5000"));
    EXPECT_TRUE(time.data(Qt::ToolTipRole).toString().contains(QStringLiteral("不是秒数")));
    EXPECT_TRUE(time.data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model->index(0, BankModel::SoundColumn).data(Qt::ForegroundRole).isValid());
    model->setData(time, QString());

    // Saved and opened again, the names and numbers are the bank's.
    typeInto(0, BankModel::PointsColumn, QStringLiteral("20"));
    ASSERT_TRUE(window.saveTo(bank));
    const auto reopened = vq::editor::openBank(bank, {});
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->rows, window.model()->rows());
}

// A picture decoded for its thumbnail: a 12-megapixel photograph.
QImage photograph() {
    QImage image(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(x % 256, y % 256, (x + y) % 256);
    }
    return image;
}

TEST_F(EditorMediaTest, AThumbnailIsDecodedSmallUprightOrSaysWhyNot) {
    const QSize box = ThumbnailCache::kBox;
    EXPECT_EQ(vq::editor::decodeThumbnail(dir.filePath("none.jpg"), box).state, Thumbnail::Missing);
    writeBytes(dir.filePath("broken.jpg"), QByteArray(5000, 'x'));
    const Thumbnail broken = vq::editor::decodeThumbnail(dir.filePath("broken.jpg"), box);
    EXPECT_EQ(broken.state, Thumbnail::Unreadable);
    EXPECT_FALSE(broken.detail.isEmpty());

    // The photograph is never held whole: under a limit far below its 48 MB the reader
    // refuses it in full, and its thumbnail still comes.
    const QString large = dir.filePath("large.jpg");
    ASSERT_TRUE(photograph().save(large, "JPEG", 80));
    const int limit = QImageReader::allocationLimit();
    const auto restore = qScopeGuard([&] { QImageReader::setAllocationLimit(limit); });
    QImageReader::setAllocationLimit(8);
    EXPECT_TRUE(QImageReader(large).read().isNull());
    QElapsedTimer timer;
    timer.start();
    const Thumbnail small = vq::editor::decodeThumbnail(large, box);
    std::printf("12-megapixel thumbnail decoded in %lld ms\n", timer.elapsed());
    ASSERT_EQ(small.state, Thumbnail::Ready) << small.detail.toStdString();
    EXPECT_EQ(small.image.size(), QSize(53, 40));

    // A camera's picture turned a quarter comes upright and fits the box standing.
    const QString turned = dir.filePath("turned.jpg");
    writeBytes(turned, vq::test::orientedJpeg(vq::test::quarters(QSize(300, 600)), 6));
    const Thumbnail upright = vq::editor::decodeThumbnail(turned, box);
    ASSERT_EQ(upright.state, Thumbnail::Ready);
    EXPECT_EQ(upright.image.size(), QSize(20, 40));
    EXPECT_TRUE(vq::test::showsQuarters(upright.image));
}

// A bank of more pictures than the thumbnails kept: the ones put out for room come again.
TEST_F(EditorMediaTest, ThumbnailsPutOutForRoomAreDecodedAgainWhenAskedFor) {
    ASSERT_TRUE(QDir().mkpath(media));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(photograph().save(media + QStringLiteral("/p%1.jpg").arg(i), "JPEG", 80));
    // Room for two of 53 x 40 pixels.
    ThumbnailCache cache(nullptr, 2 * 53 * 40 * 4 + 100);
    cache.setFolder(media);
    for (int i = 0; i < 3; ++i) {
        cache.lookup(QStringLiteral("p%1.jpg").arg(i));
        cache.waitForDecodings();
    }
    EXPECT_FALSE(cache.pixmap(QStringLiteral("p2.jpg")).isNull());
    EXPECT_FALSE(cache.pixmap(QStringLiteral("p1.jpg")).isNull());
    EXPECT_TRUE(cache.pixmap(QStringLiteral("p0.jpg")).isNull());
    EXPECT_EQ(cache.lookup(QStringLiteral("p0.jpg")).state, Thumbnail::Loading);
    cache.waitForDecodings();
    EXPECT_EQ(cache.pixmap(QStringLiteral("p0.jpg")).size(), QSize(53, 40));
}

TEST_F(EditorMediaTest, TheTableShowsThumbnailsWithoutWaitingAndNamesWhatItCannotShow) {
    ASSERT_TRUE(QDir().mkpath(media));
    // A thousand rows naming forty 12-megapixel photographs, a missing and a broken picture.
    const QImage picture = photograph();
    ASSERT_TRUE(picture.save(media + QStringLiteral("/p0.jpg"), "JPEG", 80));
    for (int i = 1; i < 40; ++i)
        ASSERT_TRUE(QFile::copy(media + QStringLiteral("/p0.jpg"),
                                media + QStringLiteral("/p%1.jpg").arg(i)));
    writeBytes(media + QStringLiteral("/坏.png"), "not a picture at all");
    QList<Row> rows;
    for (int i = 0; i < 1000; ++i)
        rows << rowWith(i + 1, QStringLiteral("p%1.jpg").arg(i % 40));
    rows[1].optional[size_t(OptionalColumn::Picture)] = QStringLiteral("没有.jpg");
    rows[2].optional[size_t(OptionalColumn::Picture)] = QStringLiteral("坏.png");
    open(rows);
    BankModel* model = window.model();
    // Rows stand tall enough for a thumbnail.
    EXPECT_GE(window.view()->rowHeight(0), ThumbnailCache::kBox.height());

    // Every cell answers at once; the pictures are decoded elsewhere.
    QElapsedTimer timer;
    timer.start();
    for (int r = 0; r < model->rowCount(); ++r) {
        model->index(r, BankModel::PictureColumn).data(Qt::DecorationRole);
        model->index(r, BankModel::PictureColumn).data(Qt::DisplayRole);
    }
    const qint64 asked = timer.elapsed();
    std::printf("1000 picture cells asked in %lld ms\n", asked);
    EXPECT_LT(asked, 300);
    QSignalSpy repaints(model, &QAbstractItemModel::dataChanged);
    window.thumbnails()->waitForDecodings();
    std::printf("and their 40 thumbnails decoded %lld ms after\n", timer.elapsed());
    // The pictures that came in together repaint the cells once.
    EXPECT_EQ(repaints.count(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return repaints.count() > 0; }, 5000));
    EXPECT_EQ(repaints.count(), 1);

    const QPixmap shown =
        model->index(0, BankModel::PictureColumn).data(Qt::DecorationRole).value<QPixmap>();
    EXPECT_EQ(shown.size(), QSize(53, 40));
    EXPECT_EQ(model->index(0, BankModel::PictureColumn).data().toString(),
              QStringLiteral("p0.jpg"));
    EXPECT_EQ(model->index(1, BankModel::PictureColumn).data().toString(),
              QStringLiteral("没有.jpg（缺少文件）"));
    EXPECT_TRUE(model->index(1, BankModel::PictureColumn)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith(QStringLiteral("缺少文件")));
    EXPECT_EQ(model->index(2, BankModel::PictureColumn).data().toString(),
              QStringLiteral("坏.png（无法读取）"));
    EXPECT_TRUE(model->index(2, BankModel::PictureColumn)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith(QStringLiteral("无法读取“坏.png”：")));
    // The name is what is edited, not the marks.
    EXPECT_EQ(model->index(1, BankModel::PictureColumn).data(Qt::EditRole).toString(),
              QStringLiteral("没有.jpg"));
    // Scrolled through, the table paints only what shows.
    std::printf("scrolled to the end and back in %lld ms\n", scrollThroughMs());
}

// Closes the box that shows next (waiting for it a bounded while), and tells what it said.
struct NextBox {
    NextBox() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                if (++ticks > 1000)
                    timer.stop();
                return;
            }
            timer.stop();
            text = box->text();
            box->close();
        });
        timer.start();
    }
    QTimer timer;
    int ticks = 0;
    QString text;
};

// A file dropped on a cell of the table as a file manager drops it; whether it was taken.
bool dropOnCell(EditorWindow& window, const QModelIndex& at, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    window.view()->scrollTo(at);
    const QPoint point = window.view()->visualRect(at).center();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.view()->viewport(), &enter);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.view()->viewport(), &drop);
    return enter.isAccepted() && drop.isAccepted();
}

TEST_F(EditorMediaTest, PicturesAndClipsAreCopiedBesideTheBankAndNamedInOneUndoableStep) {
    const QString elsewhere = dir.filePath(QStringLiteral("相机"));
    const QString other = dir.filePath(QStringLiteral("别处"));
    ASSERT_TRUE(QDir().mkpath(elsewhere) && QDir().mkpath(other));
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(elsewhere + "/猫.jpg", "JPEG"));
    QImage white(8, 8, QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(other + "/猫.jpg", "JPEG"));

    // A bank not saved yet has no folder beside it.
    window.show();
    NextBox unsaved;
    window.model()->addRow(0, rowWith(1, QStringLiteral("猫.jpg")));
    // Its names are neither found nor missing.
    EXPECT_EQ(window.model()->index(0, BankModel::PictureColumn).data().toString(),
              QStringLiteral("猫.jpg"));
    EXPECT_FALSE(window.takeMedia(0, OptionalColumn::Picture, elsewhere + "/猫.jpg"));
    EXPECT_TRUE(unsaved.text.startsWith(QStringLiteral("请先保存题库")))
        << unsaved.text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(media));
    window.model()->undoStack()->setClean(); // opening the bank below asks nothing

    open({rowWith(1), rowWith(2), rowWith(3), rowWith(4)});
    BankModel* model = window.model();
    ASSERT_TRUE(window.takeMedia(0, OptionalColumn::Picture, elsewhere + "/猫.jpg"));
    EXPECT_EQ(optional(model->row(0), OptionalColumn::Picture).toString(),
              QStringLiteral("猫.jpg"));
    EXPECT_EQ(vq::test::readBytes(media + "/猫.jpg"), vq::test::readBytes(elsewhere + "/猫.jpg"));
    // Another file of the same name gets a free name; the same file again is the one there.
    ASSERT_TRUE(window.takeMedia(1, OptionalColumn::AnswerPicture, other + "/猫.jpg"));
    EXPECT_EQ(optional(model->row(1), OptionalColumn::AnswerPicture).toString(),
              QStringLiteral("猫 (2).jpg"));
    EXPECT_EQ(vq::test::readBytes(media + "/猫 (2).jpg"), vq::test::readBytes(other + "/猫.jpg"));
    ASSERT_TRUE(window.takeMedia(2, OptionalColumn::Picture, other + "/猫.jpg"));
    EXPECT_EQ(optional(model->row(2), OptionalColumn::Picture).toString(),
              QStringLiteral("猫 (2).jpg"));
    ASSERT_TRUE(window.takeMedia(3, OptionalColumn::Picture, elsewhere + "/猫.jpg"));
    EXPECT_EQ(optional(model->row(3), OptionalColumn::Picture).toString(),
              QStringLiteral("猫.jpg"));
    EXPECT_EQ(QDir(media).entryList(QDir::Files).size(), 2);
    // A file in the media folder already is named where it lies; a name Windows cannot hold
    // is made one.
    ASSERT_TRUE(QDir(media).mkpath(QStringLiteral("动物")));
    ASSERT_TRUE(QFile::copy(elsewhere + "/猫.jpg", media + "/动物/狗.jpg"));
    ASSERT_TRUE(window.takeMedia(3, OptionalColumn::AnswerPicture, media + "/动物/狗.jpg"));
    EXPECT_EQ(optional(model->row(3), OptionalColumn::AnswerPicture).toString(),
              QStringLiteral("动物/狗.jpg"));
    // (Only where the system names a file so; the show's own cannot.)
    QFile odd(elsewhere + "/喵?.wav");
    const QString clip = odd.open(QIODevice::WriteOnly) ? odd.fileName() : elsewhere + "/喵_.wav";
    odd.close();
    writeBytes(clip, QByteArrayLiteral("RIFF\x24\0\0\0WAVEfmt "));
    ASSERT_TRUE(window.takeMedia(0, OptionalColumn::Sound, clip));
    EXPECT_EQ(optional(model->row(0), OptionalColumn::Sound).toString(), QStringLiteral("喵_.wav"));

    // Each one step back; clearing is one too.
    QUndoStack* undo = model->undoStack();
    const int steps = undo->count();
    window.selectRow(0);
    window.clearMedia(OptionalColumn::Picture);
    EXPECT_FALSE(optional(model->row(0), OptionalColumn::Picture).isValid());
    EXPECT_EQ(undo->count(), steps + 1);
    undo->undo();
    undo->undo();
    EXPECT_FALSE(optional(model->row(0), OptionalColumn::Sound).isValid());
    EXPECT_EQ(optional(model->row(0), OptionalColumn::Picture).toString(),
              QStringLiteral("猫.jpg"));

    // A name the folder had no file for shows its picture once the file is taken in, or once
    // it is put there by hand and the bank checked.
    const QModelIndex second = model->index(2, BankModel::AnswerPictureColumn);
    const QModelIndex third = model->index(3, BankModel::PictureColumn);
    ASSERT_TRUE(model->setData(second, QStringLiteral("新.jpg")));
    ASSERT_TRUE(model->setData(third, QStringLiteral("后来.jpg")));
    second.data(Qt::DecorationRole);
    third.data(Qt::DecorationRole);
    window.thumbnails()->waitForDecodings();
    EXPECT_EQ(second.data().toString(), QStringLiteral("新.jpg（缺少文件）"));
    EXPECT_EQ(third.data().toString(), QStringLiteral("后来.jpg（缺少文件）"));
    ASSERT_TRUE(QFile::copy(elsewhere + "/猫.jpg", elsewhere + "/新.jpg"));
    ASSERT_TRUE(window.takeMedia(2, OptionalColumn::AnswerPicture, elsewhere + "/新.jpg"));
    ASSERT_TRUE(QFile::copy(elsewhere + "/猫.jpg", media + "/后来.jpg"));
    window.runCheck();
    second.data(Qt::DecorationRole);
    third.data(Qt::DecorationRole);
    window.thumbnails()->waitForDecodings();
    EXPECT_EQ(second.data().toString(), QStringLiteral("新.jpg"));
    EXPECT_FALSE(second.data(Qt::DecorationRole).value<QPixmap>().isNull());
    EXPECT_EQ(third.data().toString(), QStringLiteral("后来.jpg"));

    // A picture dropped on a picture cell is taken into it; on a clip's cell it is refused.
    ASSERT_TRUE(dropOnCell(window, cell(1, BankModel::PictureColumn), elsewhere + "/猫.jpg"));
    QTRY_COMPARE_WITH_TIMEOUT(optional(model->row(1), OptionalColumn::Picture).toString(),
                              QStringLiteral("猫.jpg"), 5000);
    ASSERT_TRUE(dropOnCell(window, cell(1, BankModel::SoundColumn), elsewhere + "/猫.jpg"));
    QApplication::processEvents();
    EXPECT_FALSE(optional(model->row(1), OptionalColumn::Sound).isValid());
    EXPECT_TRUE(status().startsWith(QStringLiteral("这不是声音文件")));
    // A picture anywhere else is no drop the window takes.
    EXPECT_FALSE(dropOnCell(window, cell(1, BankModel::QuestionColumn), elsewhere + "/猫.jpg"));

    // Saved into another folder, the bank takes the files it names along, and only those.
    writeBytes(media + "/不用的.jpg", "unused");
    const QString moved = dir.filePath(QStringLiteral("另存"));
    ASSERT_TRUE(QDir().mkpath(moved));
    ASSERT_TRUE(window.saveTo(moved + QStringLiteral("/db.DLL")));
    QStringList there;
    for (const char* f :
         {"猫.jpg", "猫 (2).jpg", "动物/狗.jpg", "新.jpg", "后来.jpg", "不用的.jpg"})
        if (QFileInfo::exists(moved + QStringLiteral("/题库素材/") + QString::fromUtf8(f)))
            there << QString::fromUtf8(f);
    EXPECT_EQ(there, QStringList({"猫.jpg", "猫 (2).jpg", "动物/狗.jpg", "新.jpg", "后来.jpg"}));
    EXPECT_TRUE(status().contains(QStringLiteral("图片和声音 5 个复制到了旁边的题库素材文件夹")))
        << status().toStdString();
    EXPECT_EQ(model->index(0, BankModel::PictureColumn).data().toString(),
              QStringLiteral("猫.jpg"));
}

TEST_F(EditorMediaTest, TheRowsClipPlaysThroughTheSoundPathOrTheStatusBarSaysWhyNot) {
    ASSERT_TRUE(QDir().mkpath(media));
    writeBytes(media + "/喵.wav", QByteArrayLiteral("RIFF\x24\0\0\0WAVEfmt "));
    writeBytes(media + "/歌.mp3", QByteArrayLiteral("ID3\x04\0\0\0\0\0\0\0\0"));
    QList<Row> rows{rowWith(1), rowWith(2), rowWith(3), rowWith(4)};
    rows[0].optional[size_t(OptionalColumn::Sound)] = QStringLiteral("喵.wav");
    rows[1].optional[size_t(OptionalColumn::Sound)] = QStringLiteral("歌.mp3");
    rows[2].optional[size_t(OptionalColumn::Sound)] = QStringLiteral("没有.wav");
    open(rows);
    window.selectRow(0);
    window.view()->setFocus();
    QTest::keyClick(window.view(), Qt::Key_F8);
    EXPECT_EQ(sounds.played, QStringList{media + "/喵.wav"}) << status().toStdString();
    QTest::keyClick(window.view(), Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(sounds.stopped, 1);

    // The test's sound path plays WAV only, as the Windows one does.
    window.selectRow(1);
    EXPECT_FALSE(window.playClip());
    EXPECT_EQ(status(), QStringLiteral("“歌.mp3”不能在这台电脑上播放：这里能播放的声音是 WAV"));
    window.selectRow(2);
    EXPECT_FALSE(window.playClip());
    EXPECT_TRUE(status().startsWith(QStringLiteral("找不到声音文件")));
    window.selectRow(3);
    EXPECT_FALSE(window.playClip());
    EXPECT_EQ(status(), QStringLiteral("这一行没有声音"));
    EXPECT_EQ(sounds.played.size(), 1);
}

// Rows with every optional column, some cells empty, names a spreadsheet must quote.
QList<Row> rowsWithEverything() {
    QList<Row> rows{rowWith(1, QStringLiteral("猫, 白色.jpg")), rowWith(2), rowWith(3)};
    rows[0].optional[size_t(OptionalColumn::AnswerPicture)] = QStringLiteral("答案/猫.png");
    rows[0].optional[size_t(OptionalColumn::Time)] = qint64(20);
    rows[1].optional[size_t(OptionalColumn::Sound)] = QStringLiteral("歌 1.mp3");
    rows[1].optional[size_t(OptionalColumn::Points)] = qint64(100000);
    rows[2].question = QStringLiteral("两行\n的题目");
    rows[2].optional[size_t(OptionalColumn::Time)] = qint64(3600);
    rows[2].optional[size_t(OptionalColumn::Points)] = qint64(5);
    return rows;
}

TEST_F(EditorMediaTest, ExportedSpreadsheetsAndCopiedRowsComeBackWithEveryColumn) {
    const QList<Row> rows = rowsWithEverything();
    const QString csv = dir.filePath(QStringLiteral("全部.csv"));
    vq::editor::exportCsv(csv, rows);
    EXPECT_TRUE(vq::test::readBytes(csv).startsWith(
        "\xEF\xBB\xBF编号,题目,答案,图片,答案图片,声音,时间,分值\r\n"
        "1,\"题1\",\"答1\",\"猫, 白色.jpg\",\"答案/猫.png\",,20,\r\n"));
    EXPECT_EQ(vq::editor::importTable(csv).rows, rows);
    const QString xlsx = dir.filePath(QStringLiteral("全部.xlsx"));
    vq::editor::exportXlsx(xlsx, rows);
    EXPECT_EQ(vq::editor::importTable(xlsx).rows, rows);
    // The columns no row has stay out.
    QList<Row> some = rows;
    for (Row& r : some)
        r.optional[size_t(OptionalColumn::Sound)] = r.optional[size_t(OptionalColumn::Time)] = {};
    vq::editor::exportCsv(csv, some);
    EXPECT_TRUE(
        vq::test::readBytes(csv).startsWith("\xEF\xBB\xBF编号,题目,答案,图片,答案图片,分值\r\n"));
    EXPECT_EQ(vq::editor::importTable(csv).rows, some);

    // Copied and pasted, the rows are the same.
    EXPECT_EQ(vq::editor::pastedRows(vq::editor::rowsAsText(rows)).rows, rows);
    EXPECT_TRUE(vq::editor::rowsAsText(rows).startsWith(
        QStringLiteral("编号\t题目\t答案\t图片\t答案图片\t声音\t时间\t分值\n")));

    // The import's preview shows them, and they come into the table.
    open({});
    QStringList headers;
    QString shownTime;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        auto* preview = dialog ? dialog->findChild<QTableView*>("importPreview") : nullptr;
        if (!preview)
            return;
        watch.stop();
        for (int c = 0; c < preview->model()->columnCount(); ++c)
            headers << preview->model()->headerData(c, Qt::Horizontal).toString();
        shownTime = preview->model()->index(2, 6).data().toString();
        qobject_cast<QDialog*>(dialog)->accept();
    });
    watch.start();
    vq::editor::exportXlsx(xlsx, rows);
    ASSERT_TRUE(window.importWithPreview(xlsx));
    EXPECT_EQ(headers, QStringList({"编号", "题目", "答案", "图片", "答案图片", "声音", "时间",
                                    "分值", "问题"}));
    EXPECT_EQ(shownTime, QStringLiteral("3600"));
    EXPECT_EQ(window.model()->rows(), rows);

    // A cell the bank tool would refuse comes in empty, and the notes name it.
    writeBytes(csv, "编号,题目,答案,时间,图片\n1,q,a,99999,../x.jpg\n2,q,a,30,ok.jpg\n");
    const vq::editor::ImportedTable read = vq::editor::importTable(csv);
    ASSERT_EQ(read.rows.size(), 2);
    EXPECT_FALSE(optional(read.rows[0], OptionalColumn::Time).isValid());
    EXPECT_FALSE(optional(read.rows[0], OptionalColumn::Picture).isValid());
    EXPECT_EQ(optional(read.rows[1], OptionalColumn::Time), QVariant(qint64(30)));
    EXPECT_EQ(read.notes.filter(QStringLiteral("没有读入")).size(), 2)
        << read.notes.join('\n').toStdString();
}

// The pictures a workbook places on its rows go into the media folder under their questions'
// names, as the bank tool's build puts them; without a saved bank the rows come without them.
TEST_F(EditorMediaTest, PicturesPlacedInAWorkbookAreTakenIntoTheMediaFolder) {
    const QString workbook =
        QStringLiteral(VELQUO_SOURCE_DIR "/tests/tools/data/media/libreoffice-pictures.xlsx");
    window.show();
    NextBox unsaved;
    ASSERT_TRUE(window.importFile(workbook, EditorWindow::ImportMode::ReplaceAll));
    EXPECT_TRUE(unsaved.text.contains(QStringLiteral("2 张图片没有取出：请先保存题库")))
        << unsaved.text.toStdString();
    ASSERT_EQ(window.model()->rowCount(), 3);
    EXPECT_FALSE(optional(window.model()->row(0), OptionalColumn::Picture).isValid());
    window.model()->undoStack()->setClean();

    open({rowWith(1)});
    ASSERT_TRUE(window.importFile(workbook, EditorWindow::ImportMode::Append));
    const QList<Row> rows = window.model()->rows();
    ASSERT_EQ(rows.size(), 4);
    // Appended after question 1, the workbook's 1 becomes 4, and its picture is named so.
    EXPECT_EQ(rows[1].number, 4);
    EXPECT_EQ(optional(rows[1], OptionalColumn::Picture).toString(), QStringLiteral("第4题.png"));
    EXPECT_EQ(optional(rows[2], OptionalColumn::AnswerPicture).toString(),
              QStringLiteral("第2题答案.jpeg"));
    EXPECT_FALSE(optional(rows[3], OptionalColumn::Picture).isValid());
    EXPECT_EQ(QImage(media + QStringLiteral("/第4题.png")).size(), QSize(40, 30));
    EXPECT_EQ(QImage(media + QStringLiteral("/第2题答案.jpeg")).size(), QSize(30, 40));
    EXPECT_TRUE(status().startsWith(QStringLiteral("从工作簿中取出 2 张图片")));
    // One step back takes the rows out; the files stay for a redo.
    window.model()->undoStack()->undo();
    EXPECT_EQ(window.model()->rowCount(), 1);
}

} // namespace
