#pragma once

#include "app/trzlabel.h"

#include <QHash>
#include <QSize>
#include <QString>

namespace vq::bank {

// What the main screen's question and answer are laid out by, from an installation's opt.ini.
struct ScreenSettings {
    int questionTop = 0;
    int questionWidth = 0;
    int questionPoints = 0;
    int answerWidth = 0;
    int answerPoints = 0;
};

// Reads them as set-up and every step read them. Throws vq::Exception naming the key whose
// value is missing or not a number, where set-up would stop with an error box.
ScreenSettings readScreenSettings(const QString& iniPath);

// Shows questions and answers in the presenter's own labels, placed as a step places them, to
// see where the answer's bottom edge ends up. The fonts follow a fixed resolution, the one most
// halls' desktops run at; a desktop scaled larger makes every text taller.
class ScreenFit {
public:
    static constexpr int kDpi = 96;
    static constexpr int kScreenHeight = 1080;
    static constexpr int kKeptLength = 64;

    explicit ScreenFit(const ScreenSettings& settings);

    // The line below the answer, in screen lines from the top, once the question is up.
    int answerBottom(const QString& question, const QString& answer);
    // Whether the answer ends on the screen; an answer that would start below it already is not
    // measured.
    bool fits(const QString& question, const QString& answer);

private:
    // The answer's top below the question once it is shown, and its bottom edge from there.
    int answerTop(const QString& question);
    int answerBottomFrom(int top, const QString& answer);
    // Shows a text in a label at its wrapping width as a step does, and the label takes the
    // size it measured. A short text is measured once (answers such as "对" or "A" come back
    // often); long ones seldom repeat and are not kept, so a big bank's texts stay out of memory.
    static void show(TRzLabel& label, int width, QHash<QString, QSize>& known, const QString& text);

    ScreenSettings m_settings;
    TRzLabel m_question;
    TRzLabel m_answer;
    QHash<QString, QSize> m_questionSizes;
    QHash<QString, QSize> m_answerSizes;
};

} // namespace vq::bank
