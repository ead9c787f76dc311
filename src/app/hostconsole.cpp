#include "app/hostconsole.h"

#include "app/consolescores.h"
#include "app/livepicture.h"
#include "app/teams.h"
#include "app/tform1.h"
#include "app/tform5.h"
#include "platform/guard.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTime>

namespace vq {
namespace {

// Large enough to read from a step away; the answer in a colour of its own, the mark that the
// hall has not seen it yet in another.
const QString kStyle = QStringLiteral(
    "QWidget#hostConsole { background: #1c1f24; }"
    "QLabel { color: #e8e8e8; font-size: 30px; }"
    "QLabel#question { color: #ffffff; font-size: 44px; }"
    "QLabel#answer { color: #ffb000; font-size: 44px; }"
    "QLabel#unrevealed { color: #ff5050; font-size: 36px; }"
    "QLabel#nextStep { color: #70d0ff; }"
    "QLabel#blackOut { color: #ff5050; }"
    "QLabel#notice { color: #c0c0c0; font-size: 26px; }"
    "QPushButton { background: #2d4a6e; color: #ffffff; font-size: 28px; border: none;"
    "  min-height: 72px; }"
    "QPushButton:pressed { background: #4a76aa; }");

// The console's buttons and the commands they run; the menu's button comes after them.
struct CommandButton {
    const char* text;
    ShowCommand command;
};
constexpr CommandButton kCommandButtons[] = {
    {"下一步", ShowCommand::Step},        {"上一步", ShowCommand::StepBack},
    {"黑屏", ShowCommand::BlackOut},      {"暂停/继续", ShowCommand::PauseOrContinue},
    {"+10 秒", ShowCommand::AddTime},     {"−10 秒", ShowCommand::TakeTime},
    {"换一题", ShowCommand::DrawAnother},
};

QString phaseText(ShowPhase phase) {
    switch (phase) {
    case ShowPhase::Question:
        return QStringLiteral("题目已出");
    case ShowPhase::Countdown:
        return QStringLiteral("答题中");
    case ShowPhase::Answer:
        return QStringLiteral("答案已公布");
    case ShowPhase::Start:
        break;
    }
    return QStringLiteral("尚未出题");
}

QString countdownText(const ShowView& v) {
    switch (v.countdownState) {
    case CountdownState::Running:
        return QStringLiteral("倒计时 %1").arg(v.countdown);
    case CountdownState::Paused:
        return QStringLiteral("倒计时 %1（已暂停）").arg(v.countdown);
    case CountdownState::Stopped:
        return QStringLiteral("倒计时 %1（已停止）").arg(v.countdown);
    case CountdownState::Hidden:
        break;
    }
    if (v.seconds && v.phase == ShowPhase::Question)
        return QStringLiteral("倒计时 —（本题 %1 秒）").arg(*v.seconds);
    return QStringLiteral("倒计时 —");
}

QString duration(qint64 ms) {
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QLabel* label(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1StringView(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

HostConsole::HostConsole(TForm1& form, QWidget* parent) : QWidget(parent), m_form(form) {
    m_running.start();
    setWindowTitle(QStringLiteral("主持人视图"));
    setObjectName(QStringLiteral("hostConsole"));
    setStyleSheet(kStyle);
    setAttribute(Qt::WA_StyledBackground);
    // Shown beside the show without taking the keys from it (or from the welcome screen).
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::StrongFocus);
    resize(1024, 640);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    addStatus(*layout);

    m_number = label("number", this);
    m_question = label("question", this);
    m_question->setWordWrap(true);
    m_answer = label("answer", this);
    m_answer->setWordWrap(true);
    m_unrevealed = label("unrevealed", this);
    m_unrevealed->setText(QStringLiteral("（未公布）"));
    layout->addWidget(m_number);
    layout->addWidget(m_question);
    auto* answerRow = new QHBoxLayout;
    answerRow->addWidget(m_answer, 1);
    answerRow->addWidget(m_unrevealed, 0, Qt::AlignTop);
    layout->addLayout(answerRow);
    layout->addStretch(1);

    // The teams, where there are any, between the question and the show's buttons.
    layout->addWidget(new ConsoleScores(form, this));

    m_notice = label("notice", this);
    layout->addWidget(m_notice);
    addButtons(*layout);

    connect(&form, &TForm1::showChanged, this, [this] { guarded([&] { follow(); }); });
    connect(&form, &TForm1::showChanged, m_picture, &LivePicture::refresh);
    connect(form.Scores, &Teams::changed, m_picture, &LivePicture::refresh);
    m_clockTimer.setInterval(1000);
    connect(&m_clockTimer, &QTimer::timeout, this, [this] { guarded([&] { showClock(); }); });
    m_clockTimer.start();
    follow();
    showClock();
}

// The counts, the phase and the next step, the countdown and the clock on the left; the hall's
// live picture on the right.
void HostConsole::addStatus(QBoxLayout& layout) {
    m_counts = label("counts", this);
    m_phase = label("phase", this);
    m_nextStep = label("nextStep", this);
    m_countdown = label("countdown", this);
    m_blackOut = label("blackOut", this);
    m_blackOut->setText(QStringLiteral("大屏已黑屏"));
    m_clock = label("clock", this);

    auto* status = new QVBoxLayout;
    status->setSpacing(6);
    for (QLabel* l : {m_counts, m_phase, m_nextStep, m_countdown, m_blackOut, m_clock})
        status->addWidget(l);
    status->addStretch(1);

    m_picture = new LivePicture(m_form, this);
    m_picture->setObjectName(QStringLiteral("livePicture"));
    m_picture->setFixedSize(480, 270);
    QPalette pal = m_picture->palette();
    pal.setColor(QPalette::Window, Qt::black);
    m_picture->setPalette(pal);

    auto* row = new QHBoxLayout;
    row->addLayout(status, 1);
    row->addWidget(m_picture, 0, Qt::AlignTop);
    layout.addLayout(row);
}

// One row of equal buttons at the bottom: the show's commands, then the main screen's menu with
// whatever entries the parts of the program put in it. None takes the keyboard's focus, so
// every key stays the show's.
void HostConsole::addButtons(QBoxLayout& layout) {
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    const auto add = [&](const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        row->addWidget(b, 1);
        return b;
    };
    for (const CommandButton& c : kCommandButtons) {
        QPushButton* b = add(QString::fromUtf8(c.text));
        connect(b, &QPushButton::clicked, this,
                [this, command = c.command] { guarded([&] { m_form.run(command); }); });
    }
    m_replay = add(QStringLiteral("重播声音"));
    m_replay->setObjectName(QStringLiteral("replaySound"));
    m_replay->hide();
    connect(m_replay, &QPushButton::clicked, this,
            [this] { guarded([&] { m_form.run(ShowCommand::ReplaySound); }); });
    m_stopSound = add(QStringLiteral("停止声音"));
    m_stopSound->setObjectName(QStringLiteral("stopSound"));
    m_stopSound->hide();
    connect(m_stopSound, &QPushButton::clicked, this,
            [this] { guarded([&] { m_form.run(ShowCommand::StopSound); }); });
    QPushButton* menu = add(QStringLiteral("菜单"));
    menu->setObjectName(QStringLiteral("menuButton"));
    connect(menu, &QPushButton::clicked, this, [this, menu] {
        guarded([&] { m_form.PopupMenu1->popup(menu->mapToGlobal(QPoint(0, 0))); });
    });
    layout.addLayout(row);
}

void HostConsole::follow() {
    const ShowView v = m_form.view();
    const bool up = v.phase != ShowPhase::Start && !v.number.isEmpty();
    m_counts->setText(QStringLiteral("第 %1 题 · 剩 %2 题").arg(v.drawn).arg(v.left));
    m_phase->setText(phaseText(v.phase));
    m_nextStep->setText(nextStepText(v.phase));
    m_countdown->setText(countdownText(v));
    m_blackOut->setVisible(v.blackedOut);
    QString number = up ? QStringLiteral("题号 %1").arg(v.number) : QString();
    if (up && v.points)
        number += QStringLiteral(" · 本题 %1 分").arg(*v.points);
    m_number->setText(number);
    m_question->setText(up ? v.question : QString());
    m_answer->setText(up ? QStringLiteral("答案：%1").arg(v.answer) : QString());
    m_unrevealed->setVisible(up && !v.answerShown);
    m_replay->setVisible(up && v.hasSound);
    m_stopSound->setVisible(up && v.hasSound);
}

void HostConsole::showClock() {
    m_clock->setText(QStringLiteral("%1 · 已进行 %2")
                         .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")),
                              duration(m_running.elapsed())));
}

void HostConsole::notice(const QString& text) {
    m_notice->setText(text);
}

bool HostConsole::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        guarded([&] { forward(*static_cast<QKeyEvent*>(event)); });
        return true;
    }
    return QWidget::event(event);
}

// The same key, repeat flag and all, to the step button that holds the main screen's focus: it
// passes the same filters as a key typed on the show (Space clicks on its release, a held key
// acts once). While the welcome screen is up no key reaches the show beneath it.
void HostConsole::forward(const QKeyEvent& key) {
    if (m_form.Form5 && m_form.Form5->isVisible())
        return;
    QKeyEvent copy(key.type(), key.key(), key.modifiers(), key.nativeScanCode(),
                   key.nativeVirtualKey(), key.nativeModifiers(), key.text(), key.isAutoRepeat(),
                   static_cast<quint16>(key.count()), key.device());
    copy.setTimestamp(key.timestamp());
    QCoreApplication::sendEvent(m_form.Button1, &copy);
}

void HostConsole::closeEvent(QCloseEvent* event) {
    // Hidden, never destroyed: the show goes on and the menu brings the console back.
    event->accept();
    emit closedByOperator();
}

} // namespace vq
