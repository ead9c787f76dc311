#include "app/questionpicture.h"

#include <QPaintEvent>
#include <QPainter>

QuestionPicture::QuestionPicture(QWidget* parent) : TGraphicControl(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}

void QuestionPicture::clear() {
    m_question = QImage();
    m_answer = QImage();
    m_answerShown = false;
    follow();
}

void QuestionPicture::setQuestionPicture(const QImage& picture) {
    m_question = picture;
    follow();
}

void QuestionPicture::setAnswerPicture(const QImage& picture) {
    m_answer = picture;
    follow();
}

void QuestionPicture::setAnswerShown(bool shown) {
    if (shown == m_answerShown)
        return;
    m_answerShown = shown;
    follow();
}

const QImage& QuestionPicture::shownPicture() const {
    return m_answerShown && !m_answer.isNull() ? m_answer : m_question;
}

QRect QuestionPicture::pictureRect() const {
    const QImage& p = shownPicture();
    if (p.isNull())
        return {};
    return QRect(QPoint((width() - p.width()) / 2, (height() - p.height()) / 2), p.size());
}

void QuestionPicture::follow() {
    setVisible(!shownPicture().isNull());
    update();
}

void QuestionPicture::paintEvent(QPaintEvent* event) {
    const QImage& p = shownPicture();
    if (p.isNull())
        return;
    QPainter painter(this);
    const QRect at = pictureRect();
    for (const QRect& part : event->region()) {
        const QRect r = part & at;
        if (!r.isEmpty())
            painter.drawImage(r.topLeft(), p, r.translated(-at.topLeft()));
    }
}
