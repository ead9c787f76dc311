// A drag never sticks: whatever takes the mouse from the main screen while the left button holds
// a label (a modal box, a menu) ends the drag as the release would have, and so does a move that
// finds the button already up. The mouse goes in through the main screen's window, so Qt's own
// routing and modality are part of what is tested.
#include "presenter_fixture.h"

#include "app/timage.h"

#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QTimer>

namespace vq::test {
namespace {

class DragCapture : public Presenter {
protected:
    void SetUp() override {
        installFiles(settingsWith({"weizhishezhi=1"}));
        start();
        ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        ASSERT_TRUE(form->windowHandle());
        msgs.clear();
    }
    void TearDown() override {
        QFile::setPermissions(inst.file("opt.ini"), QFile::ReadOwner | QFile::WriteOwner);
        if (form && form->PopupMenu1->isVisible())
            form->PopupMenu1->close();
    }
    void readOnly(bool on) {
        QFile::setPermissions(inst.file("opt.ini"),
                              on ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
    }
    // The hover over the countdown label (no button held) writes its place and moves nothing
    // else; then the next-step picture takes a click.
    void expectIdleAfterwards(QPoint question) {
        setSetting("shijian_left", "1");
        moveTo(window(), at(form->Label1, {3, 3}));
        moveTo(window(), at(form->Label1, {6, 5}));
        EXPECT_EQ(form->RzLabel1->pos(), question) << "the question label followed the pointer";
        EXPECT_EQ(setting("wenti_left"), QStringLiteral("256"));
        EXPECT_EQ(setting("wenti_top"), QStringLiteral("216"));
        EXPECT_EQ(setting("shijian_left"), QString::number(form->Label1->x()))
            << "the hover went to the captured label instead of the one under the pointer";
        const int before = counter();
        click(window(), at(form->Image3, {20, 20}));
        EXPECT_EQ(counter(), before + 1) << "the click on the next-step picture was swallowed";
    }
};

TEST_F(DragCapture, ErrorBoxDuringADragEndsIt) {
    const QPoint grab = at(form->RzLabel1, {2, 2});
    moveTo(window(), grab);
    readOnly(true);
    // The error box is a real modal window, dismissed before the handler goes on; the button
    // is let go while it is up, so the main screen never sees the release.
    int boxes = 0;
    msgs.onShow = [&](const RecordingMessages::Shown&) {
        ++boxes;
        QDialog box;
        box.setModal(true);
        box.resize(200, 100);
        QTimer::singleShot(0, &box, [&] { box.accept(); });
        box.exec();
    };
    press(window(), grab);
    moveTo(window(), grab + QPoint(10, 0));
    ASSERT_EQ(boxes, 1);
    const QPoint question = form->RzLabel1->pos();
    EXPECT_EQ(question, QPoint(266, 216)) << "the label moves before the write fails";
    EXPECT_EQ(TGraphicControl::captureControl(), nullptr);
    msgs.onShow = nullptr;
    readOnly(false);
    // Qt's test mouse still counts the button as held: let it go over nothing that listens.
    release(window(), QPoint(20, 400));
    expectIdleAfterwards(question);
}

TEST_F(DragCapture, MenuDuringADragEndsIt) {
    const QPoint grab = at(form->RzLabel1, {2, 2});
    press(window(), grab);
    moveTo(window(), grab + QPoint(5, 5));
    const QPoint question = form->RzLabel1->pos();
    ASSERT_EQ(question, QPoint(261, 221));
    // A right click while the left button holds the label opens the menu, which takes the mouse.
    click(window(), grab + QPoint(5, 5), Qt::RightButton);
    ASSERT_TRUE(form->PopupMenu1->isVisible());
    EXPECT_EQ(TGraphicControl::captureControl(), nullptr);
    form->PopupMenu1->close();
    release(window(), QPoint(20, 400));
    setSetting("wenti_left", "256");
    setSetting("wenti_top", "216");
    expectIdleAfterwards(question);
}

TEST_F(DragCapture, MoveWithTheButtonFoundUpEndsTheDrag) {
    const QPoint grab = at(form->RzLabel1, {2, 2});
    press(window(), grab);
    ASSERT_EQ(TGraphicControl::captureControl(), form->RzLabel1);
    // The release went somewhere else; the next move over the countdown label says no button.
    const QPoint over = at(form->Label1, {4, 4});
    hover(form->Label1, form->Label1->mapFrom(form.get(), over));
    EXPECT_EQ(TGraphicControl::captureControl(), nullptr);
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(256, 216));
    EXPECT_EQ(setting("wenti_left"), QStringLiteral("256"));
    EXPECT_EQ(setting("shijian_left"), QString::number(form->Label1->x()));
    // Qt's test mouse still counts the button as held: let it go over nothing that listens.
    release(window(), QPoint(20, 400));
    expectIdleAfterwards(form->RzLabel1->pos());
}

} // namespace
} // namespace vq::test
