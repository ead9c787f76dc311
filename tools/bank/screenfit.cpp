#include "screenfit.h"

#include "app/tcustomlabel.h"
#include "platform/exception.h"
#include "settings/settings.h"

#include <QCoreApplication>

namespace vq::bank {

namespace {

// A key that set-up reads as an integer; its text is named where it is not one.
int readInteger(const vq::Settings& s, vq::IntegerKey key) {
    try {
        return s.integer(key);
    } catch (const vq::Exception&) {
        const QString value = s.text(key);
        // A missing key reads as its own name.
        if (value == key.toString())
            throw vq::Exception(
                QCoreApplication::translate("velquo-bank", "%1 中没有 %2").arg(s.path(), value));
        throw vq::Exception(QCoreApplication::translate("velquo-bank", "%1 中 %2 的值“%3”不是整数")
                                .arg(s.path(), key.toString(), value));
    }
}

} // namespace

ScreenSettings readScreenSettings(const QString& iniPath) {
    const vq::Settings s(iniPath);
    ScreenSettings out;
    out.questionTop = readInteger(s, vq::Key::wenti_top);
    out.questionWidth = readInteger(s, vq::Key::wenti_width);
    out.questionPoints = readInteger(s, vq::Key::wenti_fontsize);
    out.answerWidth = readInteger(s, vq::Key::daan_width);
    out.answerPoints = readInteger(s, vq::Key::daan_fontsize);
    return out;
}

ScreenFit::ScreenFit(const ScreenSettings& settings) : m_settings(settings) {
    m_question.setFont(fontAtPoints(questionLabelFont(), settings.questionPoints, kDpi));
    m_answer.setFont(fontAtPoints(answerLabelFont(), settings.answerPoints, kDpi));
}

void ScreenFit::show(TRzLabel& label, int width, QHash<QString, QSize>& known,
                     const QString& text) {
    if (const auto it = known.constFind(text); it != known.constEnd()) {
        label.resize(*it);
        return;
    }
    // The label narrows to its widest line; each step gives it the full width again first.
    label.setWidth(width);
    label.setText(text);
    if (text.size() <= kKeptLength)
        known.insert(text, label.size());
}

int ScreenFit::answerTop(const QString& question) {
    show(m_question, m_settings.questionWidth, m_questionSizes, question);
    m_question.move(0, m_settings.questionTop);
    return answerTopBelow(m_question);
}

int ScreenFit::answerBottomFrom(int top, const QString& answer) {
    show(m_answer, m_settings.answerWidth, m_answerSizes, answer);
    m_answer.move(0, top);
    return m_answer.y() + m_answer.height();
}

int ScreenFit::answerBottom(const QString& question, const QString& answer) {
    return answerBottomFrom(answerTop(question), answer);
}

bool ScreenFit::fits(const QString& question, const QString& answer) {
    const int top = answerTop(question);
    return top <= kScreenHeight && answerBottomFrom(top, answer) <= kScreenHeight;
}

} // namespace vq::bank
