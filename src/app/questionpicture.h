#pragma once

#include "app/tgraphiccontrol.h"

#include <QImage>

// The question's picture on the main screen: an area of its own (the control's place and size)
// into which the question's picture, and after the reveal the answer's, is drawn centred, each
// already fitted to the area. It shows only while it has a picture to draw, so an empty area
// neither covers the background nor takes the mouse.
class QuestionPicture : public TGraphicControl {
    Q_OBJECT
public:
    explicit QuestionPicture(QWidget* parent = nullptr);

    // Both pictures gone (the next question), the question's stage again.
    void clear();
    void setQuestionPicture(const QImage& picture);
    void setAnswerPicture(const QImage& picture);
    // The answer's picture replaces the question's while the answer is revealed; where the
    // question has none, the question's stays.
    void setAnswerShown(bool shown);

    // What is drawn now; null when nothing is.
    const QImage& shownPicture() const;
    // Where it is drawn, within the control.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void follow();

    QImage m_question;
    QImage m_answer;
    bool m_answerShown = false;
};
