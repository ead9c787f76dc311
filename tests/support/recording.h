#pragma once

#include "platform/messages.h"
#include "platform/sound_testing.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace vq::test {

// What the program showed, in order. Installed for the lifetime of the object.
class RecordingMessages final : public MessageService {
public:
    struct Shown {
        enum Kind { Error, Message, Question } kind;
        QString text;
        QString caption;
    };

    RecordingMessages() { setMessageService(this); }
    ~RecordingMessages() override { setMessageService(nullptr); }

    void errorBox(const QString& text) override { record({Shown::Error, text, kApplicationTitle}); }
    void messageBox(const QString& text) override {
        record({Shown::Message, text, kApplicationTitle});
    }
    bool question(QWidget*, const QString& text, const QString& caption) override {
        record({Shown::Question, text, caption});
        return answerYes;
    }

    QStringList errors() const { return texts(Shown::Error); }
    QStringList messagesShown() const { return texts(Shown::Message); }
    QStringList questions() const { return texts(Shown::Question); }
    void clear() { shown.clear(); }

    QList<Shown> shown;
    bool answerYes = false;
    // Runs while a box is "up" (as a modal box would let timers tick), if set.
    std::function<void(const Shown&)> onShow;

private:
    void record(const Shown& s) {
        shown.append(s);
        if (onShow)
            onShow(s);
    }
    QStringList texts(Shown::Kind kind) const {
        QStringList out;
        for (const Shown& s : shown)
            if (s.kind == kind)
                out << s.text;
        return out;
    }
};

// The sounds started, by full path, in order.
class RecordingSounds final : public SoundService {
public:
    RecordingSounds() { setSoundService(this); }
    ~RecordingSounds() override { setSoundService(nullptr); }
    void play(const QString& path) override { played << path; }
    void prepare() override { ++prepared; }
    void stop() override { ++stopped; }
    QStringList played;
    int prepared = 0;
    int stopped = 0;
};

} // namespace vq::test
