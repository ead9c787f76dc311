#include "app/showstate.h"

#include "app/tform1.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <cstdio>

namespace vq {

namespace {

// Far above what any bank's numbers fill (ten thousand questions take some 60 KB).
constexpr qint64 kMaxStateFile = 16 << 20;

std::optional<KeptShow> readKeptShow(const QString& path) {
    QByteArray text;
    bool whole = false;
    if (readRegularFile(path, kMaxStateFile, &text, &whole) != ReadResult::Ok || !whole)
        return std::nullopt;
    return parseKeptShow(text);
}

} // namespace

ShowState::ShowState(TForm1& form, QMenu& menu, QString statePath)
    : QObject(&form), m_form(form), m_menu(menu), m_path(std::move(statePath)),
      m_trace(qEnvironmentVariableIsSet("VELQUO_SHOW_TRACE")) {
    connect(&form, &TForm1::showChanged, this, &ShowState::follow);
}

QString ShowState::writeFailedMessage() {
    return QStringLiteral("无法保存本场的进度（上一场.ini），磁盘可能已满。已保存的进度保持不变，"
                          "节目照常进行。");
}

QString ShowState::resumeText(int drawn) {
    return QStringLiteral("继续上一场（已出 %1 题）").arg(drawn);
}

void ShowState::begin(const QString& bankPath) {
    m_bank = bankStampOf(bankPath);
    if (!m_bank.valid())
        return;
    std::optional<KeptShow> kept = readKeptShow(m_path);
    if (!kept || kept->bank != m_bank || kept->drawn.isEmpty())
        return;
    m_offer = std::move(kept);
    m_resumeAction = new QAction(resumeText(int(m_offer->drawn.size())), &m_menu);
    m_newShowAction = new QAction(QStringLiteral("新的一场"), &m_menu);
    m_separator = new QAction(&m_menu);
    m_separator->setSeparator(true);
    // First in the menu: the operator's first choice after a restart.
    m_menu.insertActions(m_menu.actions().value(0), {m_resumeAction, m_newShowAction, m_separator});
    connect(m_resumeAction, &QAction::triggered, this, &ShowState::resume);
    connect(m_newShowAction, &QAction::triggered, this, &ShowState::startNew);
    trace(QStringLiteral("offer ") + m_resumeAction->text());
}

void ShowState::follow(ShowChange change) {
    switch (change) {
    case ShowChange::Draw:
        // The new show has begun without the kept one: the file becomes this show's.
        withdrawOffer();
        write();
        trace(QStringLiteral("drawn ") + m_form.view().number);
        return;
    case ShowChange::Step:
    case ShowChange::StepBack:
        write();
        return;
    case ShowChange::Tick:
    case ShowChange::Countdown:
    case ShowChange::BlackOut:
    case ShowChange::Resume:
        return;
    }
}

void ShowState::write() {
    if (!m_bank.valid())
        return;
    const ShowView view = m_form.view();
    KeptShow show;
    show.drawn = m_form.drawnNumbers();
    show.number = view.number;
    show.counter = view.counter;
    show.bank = m_bank;
    if (m_fileIsThisShow)
        if (const std::optional<KeptShow> old = readKeptShow(m_path))
            show.otherSections = old->otherSections;
    if (replaceFileContents(m_path, keptShowText(show))) {
        m_fileIsThisShow = true;
        return;
    }
    // The old file stays as it was; the show goes on, and the operator hears of it once.
    if (m_toldFailure)
        return;
    m_toldFailure = true;
    showMessageBox(writeFailedMessage());
}

void ShowState::resume() {
    if (!m_offer)
        return;
    const KeptShow kept = *m_offer;
    withdrawOffer();
    m_fileIsThisShow = true;
    m_form.resume(kept);
    trace(QStringLiteral("resumed %1").arg(kept.drawn.size()));
}

void ShowState::startNew() {
    withdrawOffer();
    QFile::remove(m_path);
}

void ShowState::withdrawOffer() {
    if (!m_offer)
        return;
    m_offer.reset();
    for (QAction** action : {&m_resumeAction, &m_newShowAction, &m_separator}) {
        m_menu.removeAction(*action);
        // Perhaps still inside its own triggered signal.
        (*action)->deleteLater();
        *action = nullptr;
    }
}

void ShowState::trace(const QString& line) const {
    if (!m_trace)
        return;
    std::fputs((line + u'\n').toUtf8().constData(), stderr);
    std::fflush(stderr);
}

} // namespace vq
