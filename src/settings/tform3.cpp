#include "settings/tform3.h"

#include "controls/application.h"
#include "controls/rzcoloredit.h"
#include "controls/rzspinner.h"
#include "platform/guard.h"
#include "platform/messages.h"
#include "platform/showscreen.h"
#include "settings/onelinevalidator.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <iterator>
#include <limits>

using vq::Key;

namespace {

constexpr int kClientWidth = 691;
constexpr int kClientHeight = 531;
constexpr int kFontPoints = 8;
constexpr double kDesignDpi = 96.0;

// The boxes' places inside were laid out for an etched frame that starts half a line down,
// with the caption breaking its top edge 8 pixels in; the style's own box puts the caption
// above the frame and shifts the frame onto the controls, so the box draws itself.
class EtchedGroupBox final : public QGroupBox {
public:
    EtchedGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        vq::guarded([&] {
            QPainter p(this);
            const QFontMetrics fm(font());
            const int top = fm.height() / 2 - 1;
            const int w = width(), h = height();
            // Shadow ring, then the highlight ring one pixel right and down of it.
            const QColor shadow = ColorToQColor(clBtnShadow);
            const QColor light = ColorToQColor(clBtnHighlight);
            p.fillRect(QRect(1, top + 1, w - 1, 1), light);
            p.fillRect(QRect(1, top + 1, 1, h - top - 1), light);
            p.fillRect(QRect(0, h - 1, w, 1), light);
            p.fillRect(QRect(w - 1, top, 1, h - top), light);
            p.fillRect(QRect(0, top, w - 1, 1), shadow);
            p.fillRect(QRect(0, top, 1, h - top - 1), shadow);
            p.fillRect(QRect(0, h - 2, w - 1, 1), shadow);
            p.fillRect(QRect(w - 2, top, 1, h - top - 1), shadow);
            if (title().isEmpty())
                return;
            const QRect caption = fm.boundingRect(
                QRect(8, 0, w - 16, h), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title());
            p.fillRect(caption, palette().color(QPalette::Window));
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(caption,
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                       title());
        });
    }
};

QGroupBox* groupBox(QWidget* parent, int top, int height, const QString& caption) {
    auto* box = new EtchedGroupBox(caption, parent);
    box->setGeometry(0, top, kClientWidth, height);
    return box;
}

// A caption label sized to its text, or to a fixed width where the form fixes one; its text
// stands at its top left, as in every label of the form.
QLabel* captionLabel(QWidget* parent, int left, int top, const QString& text, int width = 0) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->adjustSize();
    label->move(left, top);
    if (width > 0)
        label->resize(width, label->height());
    return label;
}

// The spinners and colour edits draw in the classic look whatever the application-wide look:
// the form's places and sizes were designed around the classic frames (two-pixel sunken edge,
// 18-pixel buttons), which the classic painting reproduces exactly at 85 x 21 and 289 x 21.
TRzSpinner* spinner(QWidget* parent, int left, int top) {
    auto* s = new TRzSpinner(parent);
    s->setThemeAware(false);
    s->setGeometry(left, top, 85, 21);
    return s;
}

TRzColorEdit* colorEdit(QWidget* parent, int left, int top) {
    auto* c = new TRzColorEdit(parent);
    c->setLook(TRzLook::Classic);
    c->setGeometry(left, top, 289, 21);
    return c;
}

// An item box's row of text size and colour: the size spinner (up to 500) at 120 and the colour
// edit at 360, each captioned at its left with the caption 4 pixels lower.
void sizeAndColourRow(QWidget* box, int top, QLabel*& sizeCaption, TRzSpinner*& size,
                      QLabel*& colourCaption, TRzColorEdit*& colour) {
    sizeCaption = captionLabel(box, 24, top + 4, QStringLiteral("文字大小："));
    size = spinner(box, 120, top);
    size->setMax(500);
    colourCaption = captionLabel(box, 264, top + 4, QStringLiteral("文字颜色："));
    colour = colorEdit(box, 360, top);
}

// The question's and the answer's display width: a spinner in steps of 10 up to 2000.
void widthRow(QWidget* box, int top, QLabel*& caption, TRzSpinner*& width) {
    caption = captionLabel(box, 24, top + 3, QStringLiteral("显示宽度："), 73);
    width = spinner(box, 120, top);
    width->setIncrement(10);
    width->setMax(2000);
}

QCheckBox* checkBox(QWidget* parent, int left, int top, int width, const QString& text) {
    auto* c = new QCheckBox(text, parent);
    c->setGeometry(left, top, width, 17);
    return c;
}

// Neither button is the form's default or cancel button: Enter and Escape do not act for them.
QPushButton* pushButton(QWidget* parent, int left, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setGeometry(left, 16, 75, 25);
    return b;
}

void makeRed(QLabel* label) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, ColorToQColor(clRed));
    label->setPalette(p);
}

} // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("设置"));
    setFixedSize(kClientWidth, kClientHeight);
    setSizeGripEnabled(false);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    pal.setColor(QPalette::WindowText, ColorToQColor(clWindowText));
    setPalette(pal);
    setAutoFillBackground(true);

    // 8 points at the 96 dots per inch the dialog's pixel layout is made for (11 pixels). The
    // presenter keeps its windows in screen pixels on a scaled desktop, so a font that followed
    // a higher resolution would outgrow the boxes and rows; the dialog keeps its designed look.
    QFont f = vq::installedFont(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(static_cast<int>(std::lround(kFontPoints * kDesignDpi / 72.0)));
    setFont(f);

    GroupBox1 = groupBox(this, 0, 89, QStringLiteral("活动标题"));
    GroupBox2 = groupBox(this, 89, 89, QStringLiteral("倒计时"));
    GroupBox3 = groupBox(this, 178, 89, QStringLiteral("问题"));
    GroupBox4 = groupBox(this, 267, 89, QStringLiteral("答案"));
    GroupBox5 =
        groupBox(this, 356, 45,
                 QStringLiteral(
                     "是否显示欢迎画面(欢迎画面是在程序运行前显示的，鼠标点击即可进入程序主界面)"));
    GroupBox6 = groupBox(this, 401, 80,
                         QStringLiteral("活动标题、倒计时、问题、答案的显示位置，请用鼠标按住不放"
                                        "拖动相应的标签即可更改并自动保存位置。"));

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    QPalette bevel = Panel1->palette();
    bevel.setColor(QPalette::Light, ColorToQColor(clBtnHighlight));
    bevel.setColor(QPalette::Dark, ColorToQColor(clBtnShadow));
    Panel1->setPalette(bevel);
    Panel1->setGeometry(0, 481, kClientWidth, 50);

    // Each box's controls, box by box, then the buttons.
    createTitleControls();
    createCountdownControls();
    createQuestionAndAnswerControls();
    createWelcomeAndPositionControls();
    Button1 = pushButton(Panel1, 224, QStringLiteral("保存"));
    Button2 = pushButton(Panel1, 368, QStringLiteral("取消"));
    connect(Button1, &QPushButton::clicked, this, [this] { vq::guarded([&] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { vq::guarded([&] { Button2Click(); }); });

    // Boxes 1 to 4, the buttons' panel, then boxes 5 and 6; within each box its own order.
    QWidget* const order[] = {Edit1,      RzColorEdit1, RzSpinner1, CheckBox1,    RzSpinner2,
                              RzSpinner3, RzColorEdit2, RzSpinner4, RzColorEdit3, RzSpinner6,
                              RzSpinner5, RzColorEdit4, RzSpinner7, Button1,      Button2,
                              CheckBox3,  CheckBox4};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TForm3::createTitleControls() {
    Label1 = captionLabel(GroupBox1, 24, 32, QStringLiteral("名         称："), 73);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setGeometry(120, 24, 529, 21);
    Edit1->setMaxLength(std::numeric_limits<int>::max()); // no length limit on the title
    // The title is one line of the settings file and of the main screen: a pasted line break
    // becomes the blank the edit shows, and the save writes what the operator sees.
    Edit1->setValidator(new vq::OneLineValidator(Edit1));
    sizeAndColourRow(GroupBox1, 52, Label2, RzSpinner1, Label3, RzColorEdit1);
    RzSpinner1->setValue(4);
    RzColorEdit1->setSelectedColor(clBlack);
    RzColorEdit1->setFocusColor(clMenuHighlight);
    RzColorEdit1->setFrameColor(clActiveCaption);
    QPalette infoText = RzColorEdit1->palette();
    infoText.setColor(QPalette::Text, ColorToQColor(clInfoText));
    infoText.setColor(QPalette::WindowText, ColorToQColor(clInfoText));
    RzColorEdit1->setPalette(infoText);
}

void TForm3::createCountdownControls() {
    Label4 = captionLabel(GroupBox2, 24, 32, QStringLiteral("倒计时时长："));
    RzSpinner2 = spinner(GroupBox2, 120, 28);
    RzSpinner2->setMax(10000);
    CheckBox1 = checkBox(GroupBox2, 424, 30, 129, QStringLiteral("是否开启提示音"));
    // Kept for its place in the form; the countdown is always shown, so it never appears.
    CheckBox2 = checkBox(GroupBox2, 264, 30, 129, QStringLiteral("是否显示倒计时"));
    CheckBox2->setVisible(false);
    sizeAndColourRow(GroupBox2, 60, Label5, RzSpinner3, Label6, RzColorEdit2);
}

void TForm3::createQuestionAndAnswerControls() {
    sizeAndColourRow(GroupBox3, 25, Label7, RzSpinner4, Label8, RzColorEdit3);
    widthRow(GroupBox3, 58, Label9, RzSpinner6);
    sizeAndColourRow(GroupBox4, 25, Label10, RzSpinner5, Label11, RzColorEdit4);
    widthRow(GroupBox4, 59, Label12, RzSpinner7);
}

void TForm3::createWelcomeAndPositionControls() {
    CheckBox3 = checkBox(GroupBox5, 23, 21, 57, QStringLiteral("显示"));
    Label14 =
        new QLabel(QStringLiteral("请根据自己的情况同名替换欢迎图片文件   welcome.jpg"), GroupBox5);
    Label14->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label14->setGeometry(231, 21, 337, 13);
    makeRed(Label14);

    // Positions.
    CheckBox4 = checkBox(GroupBox6, 24, 31, 201, QStringLiteral("下次运行软件后显示标签位置"));
    RzLabel1 = new QLabel(
        QStringLiteral(
            "      标题、倒计时、问题请拖动定位距左边距和上边距的位置，答案只需拖动定位距"
            "左边距的位置（它距上边距的位置会自动根据问题的位置自适应调整），调整完毕后"
            "请退出软件后重新打开。"),
        GroupBox6);
    RzLabel1->setWordWrap(true);
    RzLabel1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    RzLabel1->setGeometry(232, 24, 449, 44);
    makeRed(RzLabel1);
}

void TForm3::Button1Click() {
    try {
        save();
    } catch (...) {
        // The operator gets the dialog's own report, not the framework's message; keys written
        // before the failure keep their new values.
        vq::showMessageBox(QStringLiteral("对不起，保存失败！"));
        return;
    }
    // The new values apply at the next start: end the modal run as cancelled and stop the
    // program's event loop without going through the main screen's exit question.
    m_programEnding = true;
    done(QDialog::Rejected);
    QCoreApplication::exit(0);
}

void TForm3::save() {
    const vq::Settings s;
    s.writeInteger(Key::biaoti_color, RzColorEdit1->selectedColor());
    s.writeInteger(Key::shijian_color, RzColorEdit2->selectedColor());
    s.writeInteger(Key::wenti_color, RzColorEdit3->selectedColor());
    s.writeInteger(Key::daan_color, RzColorEdit4->selectedColor());
    s.writeInteger(Key::biaoti_fontsize, RzSpinner1->value());
    s.writeInteger(Key::shijian_fontsize, RzSpinner3->value());
    s.writeInteger(Key::wenti_fontsize, RzSpinner4->value());
    s.writeInteger(Key::daan_fontsize, RzSpinner5->value());
    s.writeInteger(Key::shijian, RzSpinner2->value());
    s.write(Key::biaoti, Edit1->text());
    s.writeInteger(Key::wenti_width, RzSpinner6->value());
    s.writeInteger(Key::daan_width, RzSpinner7->value());
    s.writeFlag(Key::huanying, CheckBox3->isChecked());
    s.writeFlag(Key::shijian_sound, CheckBox1->isChecked());
    s.writeFlag(Key::weizhishezhi, CheckBox4->isChecked());
    vq::showMessageBox(QStringLiteral("保存成功，程序关闭后请重新打开！"));
}

void TForm3::Button2Click() {
    done(QDialog::Rejected);
}

void TForm3::setVisible(bool visible) {
    // Centred on the show's screen before its window is made, so that the window is made and
    // mapped there. A window moved once it is made (it was made at the top-left corner) is
    // moved by the window manager, and the program learns of the move only from a later event
    // of the manager's, on a loaded machine in some starts not at all: the palettes and the
    // spinners' repeat then worked from the old place. (They ask the display server itself as
    // well, see controls/rzcommon.h.)
    if (visible && !isVisible())
        vq::guarded([&] {
            if (QScreen* scr = vq::showScreen()) {
                setScreen(scr);
                const QRect area = scr->geometry();
                move(area.x() + (area.width() - width()) / 2,
                     area.y() + (area.height() - height()) / 2);
            }
        });
    QDialog::setVisible(visible);
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    vq::guarded([&] {
        switch (event->key()) {
        case Qt::Key_Escape:
            // No cancel button: leaving takes a click on 取消, a stray Escape keeps it open.
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // No default button: Enter presses only the button that has the focus.
            if (auto* b = qobject_cast<QPushButton*>(focusWidget()); b && b->isEnabled())
                b->click();
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
        }
    });
}
