#pragma once

#include "app/tcustomlabel.h"
#include "app/tform1.h"
#include "app/tform5.h"
#include "app/trzlabel.h"
#include "data/tdatamodule2.h"
#include "settings/settings.h"
#include "settings/tform3.h"
#include "support/input.h"
#include "support/recording.h"
#include "support/temp_install.h"

#include <QImage>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failure output for texts and lists of texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace vq::test {

// A complete installation (settings, pictures, and a question bank where the bank writer
// exists) and the four windows as the start-up creates them.
class Presenter : public ::testing::Test {
protected:
    TempInstall inst{true};
    RecordingMessages msgs;
    RecordingSounds sounds;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TDataModule2> module;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm5> form5;

    static QStringList settingsWith(const QStringList& changes);
    void installFiles(const QStringList& settings = TempInstall::defaultSettings());
    void writePictures(const QString& nextFolder = {});
    // A bank of the given questions and answers, numbered from 1.
    void writeBank(const QList<QPair<QString, QString>>& rows);

    void create();
    // Creates the windows and shows the main screen, which runs its set-up.
    void start();
    // A later start of the program on the same files: the windows go in reverse order of creation.
    void restart() {
        form5.reset();
        form3.reset();
        module.reset();
        form.reset();
        start();
    }
    // Any key by name, also a misspelt or unknown one, straight through the file accessor.
    QString setting(const QString& key) const {
        return IniFile(inst.file("opt.ini")).readString(kSettingsSection, key, key);
    }
    void setSetting(const QString& key, const QString& value) const {
        IniFile(inst.file("opt.ini")).writeString(kSettingsSection, key, value);
    }
    int counter() const;
    // The main screen's window, for input as the platform delivers it (support/input.h), and a
    // point of one of its controls in its client area.
    QWindow* window() const { return form->windowHandle(); }
    QPoint at(const QWidget* w, QPoint local) const { return w->mapTo(form.get(), local); }
};

} // namespace vq::test
