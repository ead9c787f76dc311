#pragma once

// The bank editor's window as its tests drive it: shown on the offscreen platform, with settings
// (the remembered folder) of the test's own, its sounds recorded, a bank path in a temporary
// folder, and the user's way of typing into the table.

#include "editorwindow.h"

#include "support/recording.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vq::editor::test {

// Types text as the keyboard does: characters beyond ASCII come as an input method commits them.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(c));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // The tests close the window again and again; the test program goes on.
        QApplication::setQuitOnLastWindowClosed(false);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
        QApplication::setOrganizationName(QStringLiteral("VelquoTest"));
        QApplication::setApplicationName(QStringLiteral("velquo-bank-editor"));
        bank = dir.filePath(QStringLiteral("db.DLL"));
    }

    // The view's index of a file row's cell.
    QModelIndex cell(int row, int column) const {
        return window.proxy()->mapFromSource(window.model()->index(row, column));
    }

    // Types into a cell as the user does: the cell made current, F2, its text replaced, Enter.
    void typeInto(int row, int column, const QString& text) {
        QTableView* view = window.view();
        view->setFocus();
        view->setCurrentIndex(cell(row, column));
        QTest::keyClick(view, Qt::Key_F2);
        QWidget* editor = view->indexWidget(cell(row, column));
        ASSERT_TRUE(editor) << "no editor opened";
        if (auto* plain = qobject_cast<QPlainTextEdit*>(editor))
            plain->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace); // the editor opens with its text selected
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // A line editor commits through a queued call.
        QApplication::processEvents();
    }

    // Scrolls the table to its end and back, painting each time; the milliseconds it took.
    qint64 scrollThroughMs() {
        QElapsedTimer timer;
        timer.start();
        window.view()->scrollToBottom();
        window.repaint();
        window.view()->scrollToTop();
        window.repaint();
        return timer.elapsed();
    }

    QTemporaryDir dir;
    QString bank;
    vq::test::RecordingSounds sounds;
    EditorWindow window{sounds};
};

} // namespace vq::editor::test
