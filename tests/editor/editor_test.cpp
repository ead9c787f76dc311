// The question-bank editor as its user drives it: keys into the table, the boxes it asks
// with, the files it leaves behind as other programs read them.
#include "bankfile.h"
#include "bankmodel.h"
#include "editor_window_fixture.h"
#include "editorwindow.h"
#include "importdialog.h"
#include "preview.h"
#include "rowclipboard.h"
#include "support/child_process.h"
#include "support/failing_file_steps.h"
#include "support/file_bytes.h"
#include "support/real_jet_files.h"
#include "support/recording.h"
#include "support/skips.h"

#include "platform/ansi.h"
#include "platform/exception.h"
#include "platform/folders.h"
#include "support/jet_fixtures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>

// Readable failures: texts as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
namespace vq::editor {
inline void PrintTo(const Row& r, std::ostream* os) {
    *os << "{" << (r.number ? std::to_string(*r.number) : std::string("-")) << ", \""
        << r.question.toStdString() << "\", \"" << r.answer.toStdString() << "\"}";
}
} // namespace vq::editor

namespace {

using vq::editor::test::typeText;
using vq::test::readBytes;
using vq::test::writeBytes;

using vq::editor::BankModel;
using vq::editor::EditorWindow;
using vq::editor::Row;

// A program's standard output (it must succeed).
QByteArray outputOf(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": "
                               << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

QString bankTool() {
    return QStringLiteral(VELQUO_BANK_PROGRAM);
}

QString demoBank() {
    return QStringLiteral(VELQUO_BINARY_DIR "/demo-install/db.DLL");
}

// What a modal box showed, and the answer given by clicking one of its buttons.
struct BoxSeen {
    QString title;
    QString text;
    QStringList buttons;
};

// Arms a watcher that, once a modal dialog shows, records it and lets `act` answer it
// (bounded: a box that never comes leaves `seen` empty).
class ModalWatch {
public:
    explicit ModalWatch(std::function<void(QWidget*)> act) : m_act(std::move(act)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                if (++m_ticks > 1000)
                    m_timer.stop();
                return;
            }
            m_timer.stop();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                BoxSeen s{box->windowTitle(), box->text(), {}};
                for (QAbstractButton* b : box->buttons())
                    s.buttons << b->text();
                seen.push_back(s);
            } else {
                seen.push_back({modal->windowTitle(), {}, {}});
            }
            m_act(modal);
        });
        m_timer.start();
    }
    std::vector<BoxSeen> seen;

private:
    std::function<void(QWidget*)> m_act;
    QTimer m_timer;
    int m_ticks = 0;
};

// Text typed into a widget: Latin keys as keys, Chinese as an input method commits it.
void clickButton(QWidget* dialog, const QString& text) {
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
        if (b->text() == text) {
            b->click();
            return;
        }
    ADD_FAILURE() << "no button " << text.toStdString();
    dialog->close();
}

void closeBox(QWidget* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog))
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
    else
        dialog->close();
}

class EditorTest : public vq::editor::test::EditorWindowTest {
protected:
    void SetUp() override {
        EditorWindowTest::SetUp();
        ASSERT_TRUE(QFile::exists(demoBank())) << "build the demo_install target";
        ASSERT_TRUE(QFile::copy(demoBank(), bank));
    }

    // Opens a bank in a shown window.
    void open(const QString& path) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(window.openFile(path));
    }

    // After a dialog: the window active again and the table in the focus, as the user finds it.
    void backToTheTable() {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.view()->setFocus();
    }
};

TEST_F(EditorTest, OpensTheDemoBankWithItsRowsAndPathInTheTitle) {
    open(bank);
    BankModel* model = window.model();
    ASSERT_EQ(model->rowCount(), 50);
    // The same rows, in file order, as the bank tool exports them.
    QByteArray expected = "编号,题目,答案\n";
    for (const Row& r : model->rows()) {
        ASSERT_TRUE(r.number);
        expected += QByteArray::number(*r.number) + ",\"" + r.question.toUtf8() + "\",\"" +
                    r.answer.toUtf8() + "\"\n";
    }
    EXPECT_EQ(outputOf(bankTool(), {QStringLiteral("export"), bank}), expected);
    EXPECT_TRUE(window.windowTitle().contains(QDir::toNativeSeparators(bank)));
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("50 道题")));
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.problemsList()->count(), 0);
}

TEST_F(EditorTest, AccessMadeFilesWithoutABankTableAreRefusedByName) {
    window.show();
    // The password of Access's file is taken from the file itself: no password question,
    // only the box that says what the file holds.
    for (const char* name :
         {"mdbreader_V2000_with-password.mdb", "mdbreader_V1997_no-password_JET3.mdb"}) {
        ModalWatch watch(closeBox);
        EXPECT_FALSE(window.openFile(vq::test::realJetFolder() + QString::fromLatin1(name)));
        ASSERT_EQ(watch.seen.size(), 1u) << name;
        EXPECT_TRUE(watch.seen[0].buttons.size() == 1) << name;
        if (QByteArray(name).contains("password.mdb")) {
            EXPECT_TRUE(
                watch.seen[0].text.contains(QStringLiteral("没有“题”表（文件中的表：Table1）")))
                << watch.seen[0].text.toStdString();
        }
    }
    EXPECT_EQ(window.model()->rowCount(), 0);
}

TEST_F(EditorTest, AskedPasswordOpensABankWhoseStoredPasswordIsNotReadable) {
    // A bank with its own password opens without asking.
    const QString own = dir.filePath(QStringLiteral("own.DLL"));
    vq::jet::writeFixture(QStringLiteral("bank"), own, {QStringLiteral("geheim")});
    int asked = 0;
    const auto opened = vq::editor::openBank(own, [&](bool) {
        ++asked;
        return std::optional<QString>();
    });
    ASSERT_TRUE(opened);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(opened->password, QStringLiteral("geheim"));
    EXPECT_EQ(opened->rows.size(), 5);
}

TEST_F(EditorTest, EditAddDeleteUndoAndRedoThroughTheKeys) {
    open(bank);
    BankModel* model = window.model();
    const QList<Row> original = model->rows();

    typeInto(2, BankModel::AnswerColumn, QStringLiteral("新答案"));
    EXPECT_EQ(model->rows()[2].answer, QStringLiteral("新答案"));
    EXPECT_TRUE(window.isWindowModified());
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("*")));

    // Ctrl+Enter breaks the line inside the cell; Enter finishes.
    QTableView* view = window.view();
    view->setCurrentIndex(cell(3, BankModel::QuestionColumn));
    QTest::keyClick(view, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<QPlainTextEdit*>(editor));
    qobject_cast<QPlainTextEdit*>(editor)->selectAll();
    typeText(editor, QStringLiteral("第一行"));
    QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
    typeText(editor, QStringLiteral("第二行"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(model->rows()[3].question, QStringLiteral("第一行\n第二行"));

    // Insert adds a row below the current one with the next free number and edits its question.
    view->setFocus();
    view->setCurrentIndex(cell(10, 0));
    QTest::keyClick(view, Qt::Key_Insert);
    ASSERT_EQ(model->rowCount(), 51);
    EXPECT_EQ(model->rows()[11].number, 51);
    editor = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<QPlainTextEdit*>(editor));
    typeText(editor, QStringLiteral("新题目"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(model->rows()[11].question, QStringLiteral("新题目"));
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("51 道题")));

    // Delete removes the selected rows.
    view->setFocus();
    view->selectionModel()->select(QItemSelection(cell(0, 0), cell(1, 2)),
                                   QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(view, Qt::Key_Delete);
    ASSERT_EQ(model->rowCount(), 49);
    EXPECT_EQ(model->rows()[0].number, original[2].number);

    // Every step comes back with Ctrl+Z, and goes again with Ctrl+Y.
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model->rows(), original);
    EXPECT_FALSE(window.isWindowModified());
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(model->rowCount(), 49);
    EXPECT_EQ(model->rows()[0].answer, QStringLiteral("新答案"));
}

// The toolbar keeps its buttons in place however the undo and redo entries are named.
TEST_F(EditorTest, ToolbarButtonsStayInPlaceAsEditsAreMadeAndUndone) {
    open(bank);
    auto* toolbar = window.findChild<QToolBar*>(QStringLiteral("toolbar"));
    ASSERT_TRUE(toolbar);
    const auto places = [&] {
        QList<QRect> out;
        for (QAction* a : toolbar->actions())
            if (QWidget* w = toolbar->widgetForAction(a))
                out << w->geometry();
        return out;
    };
    QApplication::processEvents();
    const QList<QRect> before = places();
    typeInto(2, BankModel::AnswerColumn, QStringLiteral("一个很长很长很长的新答案"));
    QApplication::processEvents();
    EXPECT_EQ(places(), before);
    QAction* undo = nullptr;
    for (QAction* a : toolbar->actions())
        if (a->text() == QStringLiteral("撤销"))
            undo = a;
    ASSERT_TRUE(undo);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(undo->toolTip().startsWith(QStringLiteral("撤销")))
        << undo->toolTip().toStdString();
    undo->trigger();
    QApplication::processEvents();
    EXPECT_NE(window.model()->rows()[2].answer, QStringLiteral("一个很长很长很长的新答案"));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(places(), before);
}

TEST_F(EditorTest, DuplicateAndEmptyNumbersAreMarkedAndBlockSaving) {
    open(bank);
    BankModel* model = window.model();
    const QByteArray before = readBytes(bank);
    typeInto(1, BankModel::NumberColumn, QStringLiteral("1"));
    ASSERT_EQ(model->rows()[1].number, 1);
    typeInto(5, BankModel::NumberColumn, QString());
    ASSERT_FALSE(model->rows()[5].number);

    // Marked in the rows (colour and tooltip) and listed below; the mark sets the text's colour
    // with the background's, so that a dark theme's light text does not stand on it.
    for (int row : {0, 1, 5}) {
        const QColor back = cell(row, 1).data(Qt::BackgroundRole).value<QBrush>().color();
        const QColor text = cell(row, 1).data(Qt::ForegroundRole).value<QBrush>().color();
        ASSERT_TRUE(back.isValid() && text.isValid()) << row;
        EXPECT_GT(back.lightness() - text.lightness(), 128) << row;
    }
    EXPECT_FALSE(cell(2, 1).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(cell(2, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_TRUE(
        cell(1, 2).data(Qt::ToolTipRole).toString().contains(QStringLiteral("编号 1 重复")));
    EXPECT_TRUE(cell(5, 0).data(Qt::ToolTipRole).toString().contains(QStringLiteral("没有编号")));
    QApplication::processEvents();
    QListWidget* problems = window.problemsList();
    ASSERT_EQ(problems->count(), 3);
    EXPECT_TRUE(problems->item(2)->text().startsWith(QStringLiteral("第 6 行：没有编号")));

    // A click on a problem selects its row.
    const QRect itemRect = problems->visualItemRect(problems->item(2));
    window.findChild<QTabWidget*>()->setCurrentIndex(0);
    QTest::mouseClick(problems->viewport(), Qt::LeftButton, {}, itemRect.center());
    EXPECT_EQ(window.currentRow(), 5);

    // Saving is refused with the reason, and the file stays as it was.
    ModalWatch watch(closeBox);
    EXPECT_FALSE(window.save());
    ASSERT_EQ(watch.seen.size(), 1u);
    EXPECT_TRUE(watch.seen[0].text.contains(QStringLiteral("不能保存")));
    EXPECT_EQ(readBytes(bank), before);
    EXPECT_FALSE(QFile::exists(bank + QStringLiteral(".bak")));

    // Fixed, it saves.
    typeInto(1, BankModel::NumberColumn, QStringLiteral("2"));
    typeInto(5, BankModel::NumberColumn, QStringLiteral("6"));
    QApplication::processEvents();
    EXPECT_EQ(problems->count(), 0);
    EXPECT_TRUE(window.save());
    EXPECT_EQ(readBytes(bank + QStringLiteral(".bak")), before);
}

TEST_F(EditorTest, SavedBankReadsBackTheSameQuestionsInEveryReader) {
    open(bank);
    BankModel* model = window.model();
    const QByteArray before = readBytes(bank);
    // Texts that a careless writer changes: line breaks, quotes, a leading BOM, characters
    // outside the basic plane, spaces at the ends.
    typeInto(0, BankModel::AnswerColumn, QStringLiteral("改过的答案"));
    model->setData(model->index(1, BankModel::QuestionColumn),
                   QStringLiteral("两行\r\n\"引号\" 与 𠮷 😀 "));
    model->setData(model->index(2, BankModel::AnswerColumn), QStringLiteral("  前后空格  "));
    const QList<Row> rows = model->rows();
    const QString other = dir.filePath(QStringLiteral("other.DLL"));
    ASSERT_TRUE(window.saveTo(other));
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.path(), other);
    EXPECT_EQ(readBytes(bank), before) << "saving elsewhere leaves the opened file alone";

    // Reopened: the same rows.
    EditorWindow again{sounds};
    ASSERT_TRUE(again.openFile(other));
    EXPECT_EQ(again.model()->rows(), rows);

    // The bank tool's export and mdbtools' read the same texts, byte for byte.
    QByteArray expected = "编号,题目,答案\n";
    for (const Row& r : rows)
        expected += QByteArray::number(*r.number) + ",\"" +
                    r.question.toUtf8().replace("\"", "\"\"") + "\",\"" +
                    r.answer.toUtf8().replace("\"", "\"\"") + "\"\n";
    EXPECT_EQ(outputOf(bankTool(), {QStringLiteral("export"), other}), expected);
    // mdb-export reads the file without its password (it ignores it) and writes line breaks
    // inside values as they are; it turns each half of a surrogate pair into '?'.
    QString mdbExpected = QString::fromUtf8(expected);
    for (qsizetype i = 0; i < mdbExpected.size(); ++i)
        if (mdbExpected.at(i).isSurrogate())
            mdbExpected[i] = u'?';
    if (vq::test::kReferenceToolsRun) {
        EXPECT_EQ(outputOf(QStringLiteral("mdb-export"), {other, QStringLiteral("题")}),
                  mdbExpected.toUtf8());
    }
    // The presenter's password is the one written.
    EXPECT_EQ(vq::editor::openBank(other, {})->password, vq::jet::kBankPassword);

    // Saving over a file keeps the old one as .bak.
    ASSERT_TRUE(window.saveTo(bank));
    EXPECT_EQ(readBytes(bank + QStringLiteral(".bak")), before);
    EXPECT_EQ(outputOf(bankTool(), {QStringLiteral("export"), bank}), expected);
}

// A save whose new file cannot take the bank's place puts the old bank back: the presenter
// still finds its questions, and the operator is told.
TEST_F(EditorTest, ASaveThatCannotTakeTheBanksPlacePutsTheOldBankBack) {
    const QByteArray before = readBytes(bank);
    const QList<Row> rows{{1, QStringLiteral("新的题目"), QStringLiteral("新的答案")}};
    vq::test::FailingFileSteps lastRename(2); // the old bank moved aside, then the new one in
    try {
        vq::editor::saveBank(bank, rows, vq::jet::kBankPassword, lastRename);
        FAIL() << "the save succeeded";
    } catch (const vq::Exception& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("无法保存")))
            << e.message().toStdString();
    }
    EXPECT_EQ(readBytes(bank), before);
    EXPECT_FALSE(QFile::exists(bank + QStringLiteral(".bak")));
    EXPECT_EQ(QDir(QFileInfo(bank).path()).entryList({QStringLiteral("*.new*")}, QDir::Files),
              QStringList());
}

TEST_F(EditorTest, AnotherSavePasswordIsWritten) {
    open(bank);
    window.setSavePassword(QStringLiteral("anders"));
    window.model()->setData(window.model()->index(0, 2), QStringLiteral("x"));
    ASSERT_TRUE(window.save());
    QProcess p;
    p.start(bankTool(), {QStringLiteral("export"), bank});
    p.waitForFinished(60000);
    EXPECT_NE(p.exitCode(), 0) << "the presenter's password no longer opens it";
    EXPECT_EQ(vq::editor::openBank(bank, {})->password, QStringLiteral("anders"));
}

TEST_F(EditorTest, ClosingWithChangesAsksSaveDiscardOrCancel) {
    open(bank);
    const QByteArray before = readBytes(bank);
    typeInto(0, BankModel::AnswerColumn, QStringLiteral("变了"));
    {
        ModalWatch watch([](QWidget* box) { clickButton(box, QStringLiteral("取消")); });
        EXPECT_FALSE(window.close());
        ASSERT_EQ(watch.seen.size(), 1u);
        QStringList buttons = watch.seen[0].buttons;
        buttons.sort();
        QStringList expected{QStringLiteral("保存"), QStringLiteral("不保存"),
                             QStringLiteral("取消")};
        expected.sort();
        EXPECT_EQ(buttons, expected);
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(window.isWindowModified());
    }
    {
        ModalWatch watch([](QWidget* box) { clickButton(box, QStringLiteral("不保存")); });
        EXPECT_TRUE(window.close());
        EXPECT_EQ(watch.seen.size(), 1u);
        EXPECT_EQ(readBytes(bank), before);
    }
    {
        // The changes are still there: opening a file asks the same question.
        ModalWatch watch([](QWidget* box) { clickButton(box, QStringLiteral("不保存")); });
        open(bank);
        EXPECT_EQ(watch.seen.size(), 1u);
        EXPECT_FALSE(window.isWindowModified());
    }
    typeInto(0, BankModel::AnswerColumn, QStringLiteral("保存的答案"));
    {
        ModalWatch watch([](QWidget* box) { clickButton(box, QStringLiteral("保存")); });
        EXPECT_TRUE(window.close());
        EXPECT_EQ(watch.seen.size(), 1u);
    }
    EXPECT_EQ(vq::editor::openBank(bank, {})->rows[0].answer, QStringLiteral("保存的答案"));
    // Unchanged, it closes without asking.
    open(bank);
    ModalWatch none(closeBox);
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(none.seen.empty());
}

TEST_F(EditorTest, ImportAppendsWithClashingNumbersRenumberedOrReplacesAll) {
    open(bank);
    const QString csv = dir.filePath(QStringLiteral("more.csv"));
    writeBytes(csv, QStringLiteral("题目,编号,答案,分类\n"
                                   "新题一,3,答一,甲\n"
                                   "新题二,77,答二,乙\n"
                                   "新题三,,答三,丙\n")
                        .toUtf8());
    ASSERT_TRUE(window.importFile(csv, EditorWindow::ImportMode::Append));
    BankModel* model = window.model();
    ASSERT_EQ(model->rowCount(), 53);
    EXPECT_EQ(model->rows()[50], (Row{78, QStringLiteral("新题一"), QStringLiteral("答一")}));
    EXPECT_EQ(model->rows()[51], (Row{77, QStringLiteral("新题二"), QStringLiteral("答二")}));
    EXPECT_EQ(model->rows()[52], (Row{79, QStringLiteral("新题三"), QStringLiteral("答三")}));
    EXPECT_FALSE(model->hasProblems());
    QTest::keyClick(window.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model->rowCount(), 50);

    ASSERT_TRUE(window.importFile(csv, EditorWindow::ImportMode::ReplaceAll));
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_TRUE(model->hasProblems()) << "the row without a number is kept, marked";
    EXPECT_EQ(model->problemRows(), QList<int>{2});
}

TEST_F(EditorTest, ImportsGbkCsvAndXlsxWithClashesRenumbered) {
    open(bank);
    BankModel* model = window.model();
    // What Excel saves as "CSV" on a Chinese desktop: GBK, CR LF (the program's own conversion,
    // which the platform tests hold to Qt's GBK converter).
    const QString csv = dir.filePath(QStringLiteral("gbk.csv"));
    writeBytes(csv, vq::toAnsi(QStringLiteral("编号,题目,答案\r\n"
                                              "5,冬至吃什么？,饺子\r\n"
                                              "60,“引号”里的题,答案，带逗号\r\n")));
    ASSERT_TRUE(window.importFile(csv, EditorWindow::ImportMode::Append));
    ASSERT_EQ(model->rowCount(), 52);
    EXPECT_EQ(model->rows()[50], (Row{61, QStringLiteral("冬至吃什么？"), QStringLiteral("饺子")}));
    EXPECT_EQ(model->rows()[51],
              (Row{60, QStringLiteral("“引号”里的题"), QStringLiteral("答案，带逗号")}));

    // A workbook from another writer (Python's openpyxl): numbers stored as 12.0, a clash with
    // the bank and one inside the sheet, a row without a number.
    SKIP_WITHOUT_REFERENCE_TOOLS();
    const QString xlsx = dir.filePath(QStringLiteral("more.xlsx"));
    outputOf(QStringLiteral(VELQUO_PYTHON3),
             {QStringLiteral("-c"),
              QStringLiteral("import openpyxl,sys\n"
                             "wb=openpyxl.Workbook(); ws=wb.active; ws.title='题库'\n"
                             "ws.append(['答案','编号','题目'])\n"
                             "ws.append(['甲',12.0,'第一题'])\n"
                             "ws.append(['乙',100,'第二题'])\n"
                             "ws.append(['丙',100,'第三题'])\n"
                             "ws.append(['丁',None,'第四题'])\n"
                             "wb.save(sys.argv[1])\n"),
              xlsx});
    ASSERT_TRUE(window.importFile(xlsx, EditorWindow::ImportMode::Append));
    ASSERT_EQ(model->rowCount(), 56);
    QList<qint32> numbers;
    for (int i = 52; i < 56; ++i)
        numbers << model->rows()[i].number.value_or(-1);
    EXPECT_EQ(numbers, (QList<qint32>{101, 100, 102, 103}));
    EXPECT_EQ(model->rows()[53].question, QStringLiteral("第二题"));
    EXPECT_FALSE(model->hasProblems());

    // Replacing keeps the sheet's own numbers, and marks its clash and its missing number.
    ASSERT_TRUE(window.importFile(xlsx, EditorWindow::ImportMode::ReplaceAll));
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->rows()[0], (Row{12, QStringLiteral("第一题"), QStringLiteral("甲")}));
    EXPECT_EQ(model->problemRows(), (QList<int>{1, 2, 3}));
    // The preview tells the same before anything comes in.
    const vq::editor::ImportedTable table = vq::editor::importTable(xlsx);
    const QStringList remarks = vq::editor::importRemarks(table, {Row{12, {}, {}}});
    EXPECT_TRUE(remarks[0].contains(QStringLiteral("追加时改为新编号")));
    EXPECT_TRUE(remarks[1].contains(QStringLiteral("重复")));
    EXPECT_TRUE(remarks[3].contains(QStringLiteral("没有编号")));
    EXPECT_EQ(table.sourceLines, (QList<int>{2, 3, 4, 5}));
}

TEST_F(EditorTest, ImportRefusalSaysInChineseWhatIsWrongAndWhere) {
    window.show();
    const QString csv = dir.filePath(QStringLiteral("题目.csv"));
    const QString picture = dir.filePath(QStringLiteral("photo.csv"));
    writeBytes(csv, "编号,题目,答案\n1,冬至吃什么？,饺子\n2,\"没有结束的引号\n");
    QImage(8, 8, QImage::Format_RGB32).save(picture, "PNG");
    const struct {
        QString file;
        QString reason;
    } cases[] = {
        {csv, QStringLiteral("第 3 行：用引号括起来的单元格缺少结束引号")},
        {picture, QStringLiteral("photo.csv：这是图片（PNG），不是表格")},
    };
    for (const auto& c : cases) {
        ModalWatch watch(closeBox);
        EXPECT_FALSE(window.importFile(c.file, EditorWindow::ImportMode::ReplaceAll));
        ASSERT_EQ(watch.seen.size(), 1u) << c.file.toStdString();
        EXPECT_EQ(watch.seen[0].text, QStringLiteral("无法读取 %1：%2").arg(c.file, c.reason));
    }
    EXPECT_EQ(window.model()->rowCount(), 0);
    // What the import preview tells about a list that reads.
    writeBytes(csv, "题目,答案,分类\n冬至吃什么？,饺子,节气\n");
    EXPECT_EQ(vq::editor::importTable(csv).notes,
              QStringList({QStringLiteral("CSV 文件，UTF-8 编码，逗号分隔"),
                           QStringLiteral("没有读入的列：分类")}));
}

TEST_F(EditorTest, CtrlCCopiesTheSelectedRowsAsASpreadsheetPastesThem) {
    open(bank);
    BankModel* model = window.model();
    ASSERT_TRUE(model->setData(model->index(1, BankModel::AnswerColumn),
                               QStringLiteral("第一行\n第二行，\"引号\"")));
    window.selectRow(1);
    window.view()->selectionModel()->select(cell(2, 0), QItemSelectionModel::Select |
                                                            QItemSelectionModel::Rows);
    window.view()->setFocus();
    QTest::keyClick(window.view(), Qt::Key_C, Qt::ControlModifier);
    const Row& third = model->row(2);
    EXPECT_EQ(
        QApplication::clipboard()->text(),
        QStringLiteral("编号\t题目\t答案\n2\t%1\t\"第一行\n第二行，\"\"引号\"\"\"\n3\t%2\t%3\n")
            .arg(model->row(1).question, third.question, third.answer));
    // What was copied pastes back as the same rows.
    const vq::editor::ImportedTable back =
        vq::editor::pastedRows(QApplication::clipboard()->text());
    ASSERT_EQ(back.rows.size(), 2);
    EXPECT_EQ(back.rows[0], model->row(1));
    EXPECT_EQ(back.rows[1], model->row(2));
}

TEST_F(EditorTest, CtrlVAddsRowsCopiedFromASpreadsheetThroughThePreviewAndUndoTakesThemBack) {
    open(bank);
    BankModel* model = window.model();
    // As Excel and WPS put rows on the clipboard: CR LF between rows, a cell with a line break
    // quoted, its quotes doubled; a number the bank already holds.
    QApplication::clipboard()->setText(QStringLiteral(
        "编号\t题目\t答案\r\n3\t\"两行的\n题目\"\t\"答\"\"一\"\"\"\r\n90\t新题二\t答二\r\n"));
    window.selectRow(0);
    window.view()->setFocus();
    QString notes;
    ModalWatch watch([&](QWidget* dialog) {
        for (QLabel* label : dialog->findChildren<QLabel*>())
            notes += label->text();
        clickButton(dialog, QStringLiteral("导入"));
    });
    QTest::keyClick(window.view(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(watch.seen.size(), 1u);
    EXPECT_EQ(watch.seen[0].title, QStringLiteral("粘贴 2 行"));
    EXPECT_TRUE(notes.contains(QStringLiteral("粘贴的表格，制表符分隔，第一行是标题")))
        << notes.toStdString();
    ASSERT_EQ(model->rowCount(), 52);
    EXPECT_EQ(model->rows()[50],
              (Row{91, QStringLiteral("两行的\n题目"), QStringLiteral("答\"一\"")}));
    EXPECT_EQ(model->rows()[51], (Row{90, QStringLiteral("新题二"), QStringLiteral("答二")}));
    backToTheTable();
    QTest::keyClick(window.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model->rowCount(), 50);
}

TEST_F(EditorTest, CtrlVOfRowsWithoutHeaderReplacesTheSelectedRowsKeepingTheirNumbers) {
    open(bank);
    BankModel* model = window.model();
    const QList<Row> before = model->rows();
    // Two columns copied from LibreOffice: LF line ends, no header.
    QApplication::clipboard()->setText(QStringLiteral("甲题\t甲答\n乙题\t乙答\n丙题\t丙答\n"));
    window.selectRow(4);
    window.view()->selectionModel()->select(cell(5, 0), QItemSelectionModel::Select |
                                                            QItemSelectionModel::Rows);
    window.view()->setFocus();
    ModalWatch watch([&](QWidget* dialog) { clickButton(dialog, QStringLiteral("导入")); });
    QTest::keyClick(window.view(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(watch.seen.size(), 1u);
    ASSERT_EQ(model->rowCount(), 51);
    EXPECT_EQ(model->rows()[4], (Row{5, QStringLiteral("甲题"), QStringLiteral("甲答")}));
    EXPECT_EQ(model->rows()[5], (Row{6, QStringLiteral("乙题"), QStringLiteral("乙答")}));
    EXPECT_EQ(model->rows()[6], (Row{51, QStringLiteral("丙题"), QStringLiteral("丙答")}));
    EXPECT_EQ(model->rows()[7], before[6]);
    EXPECT_FALSE(model->hasProblems());
    // One step of undo brings the two rows back.
    backToTheTable();
    QTest::keyClick(window.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model->rows(), before);

    // A list that cannot be read names the row, as 导入 does, and changes nothing.
    QApplication::clipboard()->setText(QStringLiteral("编号\t题目\t答案\n1\t\"open\tq\n"));
    backToTheTable();
    ModalWatch refused([&](QWidget* dialog) { closeBox(dialog); });
    QTest::keyClick(window.view(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(refused.seen.size(), 1u);
    EXPECT_EQ(refused.seen[0].text,
              QStringLiteral("无法粘贴：第 2 行：用引号括起来的单元格缺少结束引号"));
    EXPECT_EQ(model->rows(), before);
    // Rows without a header of their own are counted from the first one pasted, in a refusal
    // as in the rows taken.
    QApplication::clipboard()->setText(QStringLiteral("1\tq\ta\n2\tq\n"));
    backToTheTable();
    ModalWatch shortRow([&](QWidget* dialog) { closeBox(dialog); });
    QTest::keyClick(window.view(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(shortRow.seen.size(), 1u);
    EXPECT_EQ(shortRow.seen[0].text, QStringLiteral("无法粘贴：第 2 行：有 2 列，标题行却有 3 列"));
    EXPECT_EQ(model->rows(), before);
}

// Drops a file on the window's table as a file manager drops it; whether the drop was taken.
bool dropOn(EditorWindow& window, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPointF at = window.view()->viewport()->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.view()->viewport(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.view()->viewport(), &drop);
    return drop.isAccepted();
}

TEST_F(EditorTest, ADroppedSpreadsheetIsImportedAndADroppedBankOpens) {
    open(bank);
    BankModel* model = window.model();
    const QString csv = dir.filePath(QStringLiteral("拖入.csv"));
    writeBytes(csv, QStringLiteral("题目,答案\n拖进来的题,拖进来的答案\n").toUtf8());
    ModalWatch watch([&](QWidget* dialog) { clickButton(dialog, QStringLiteral("导入")); });
    ASSERT_TRUE(dropOn(window, csv));
    // The preview comes once the drop has ended.
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), 51, 10000);
    ASSERT_EQ(watch.seen.size(), 1u);
    EXPECT_EQ(watch.seen[0].title, QStringLiteral("导入 拖入.csv"));
    EXPECT_EQ(model->rows()[50],
              (Row{51, QStringLiteral("拖进来的题"), QStringLiteral("拖进来的答案")}));
    backToTheTable();
    QTest::keyClick(window.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model->rowCount(), 50);
    QTest::keyClick(window.view(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(model->rowCount(), 51);
    EXPECT_FALSE(dropOn(window, dir.filePath(QStringLiteral("notes.pdf"))));

    // A bank dropped with changes unsaved asks first; 不保存 opens the dropped one.
    const QString other = dir.filePath(QStringLiteral("另一个.DLL"));
    vq::jet::writeFixture(QStringLiteral("bank"), other);
    ModalWatch ask([&](QWidget* dialog) { clickButton(dialog, QStringLiteral("不保存")); });
    ASSERT_TRUE(dropOn(window, other));
    QTRY_COMPARE_WITH_TIMEOUT(window.path(), other, 10000);
    EXPECT_EQ(model->rowCount(), 5);
    EXPECT_EQ(ask.seen.size(), 1u);
}

TEST_F(EditorTest, ACellRefusesATabAndCheckFlagsTabsAndEdgeLineBreaks) {
    open(bank);
    BankModel* model = window.model();
    const QString old = model->row(0).answer;
    EXPECT_FALSE(model->setData(model->index(0, BankModel::AnswerColumn), QStringLiteral("a\tb")));
    EXPECT_EQ(model->row(0).answer, old);
    EXPECT_TRUE(
        window.statusBar()->currentMessage().startsWith(QStringLiteral("单元格中不能有制表符")));
    // One cell's text on the clipboard pastes into the current cell.
    QApplication::clipboard()->setText(QStringLiteral("新的答案\n"));
    window.view()->setFocus();
    window.view()->setCurrentIndex(cell(0, BankModel::AnswerColumn));
    QTest::keyClick(window.view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(model->row(0).answer, QStringLiteral("新的答案"));

    QList<Row> rows = model->rows();
    rows[2].question = QStringLiteral("左\t右");
    rows[3].answer = QStringLiteral("\n答案");
    rows[4].answer = QStringLiteral("中间的\n换行不算");
    bool tabs = false;
    bool breaks = false;
    for (const vq::editor::Finding& f : vq::editor::checkRows(rows)) {
        if (f.text.contains(QStringLiteral("制表符"))) {
            tabs = true;
            EXPECT_EQ(f.kind, vq::editor::Finding::Warning);
            EXPECT_EQ(f.rows, QList<int>{2});
        }
        if (f.text.contains(QStringLiteral("以换行开头或结尾"))) {
            breaks = true;
            EXPECT_EQ(f.rows, QList<int>{3});
        }
    }
    EXPECT_TRUE(tabs);
    EXPECT_TRUE(breaks);
}

TEST_F(EditorTest, CheckListsTheBankToolsFindingsAndAClickSelectsTheRow) {
    const QString dup = dir.filePath(QStringLiteral("dup.DLL"));
    vq::jet::writeFixture(QStringLiteral("duplicate"), dup);
    open(dup);
    // The file's duplicate blocks saving and shows in the problems list at once.
    QApplication::processEvents();
    EXPECT_EQ(window.problemsList()->count(), 2);
    window.runCheck();
    QListWidget* findings = window.findingsList();
    ASSERT_TRUE(findings->isVisible());
    QListWidgetItem* shared = nullptr;
    for (int i = 0; i < findings->count(); ++i)
        if (findings->item(i)->text().contains(QStringLiteral("有几行共用一个编号")))
            shared = findings->item(i);
    ASSERT_TRUE(shared);
    EXPECT_EQ(findings->item(findings->count() - 1)->text(),
              QStringLiteral("结论：用这个题库放映会出错"));
    QTest::mouseClick(findings->viewport(), Qt::LeftButton, {},
                      findings->visualItemRect(shared).center());
    EXPECT_EQ(window.currentRow(), 1);
}

// The installation's opt.ini beside the bank lays its questions out: a question grown too long
// for the screen is named, and a click on the line selects its row.
TEST_F(EditorTest, CheckNamesAQuestionTooLongForTheScreenBesideItsSettings) {
    const auto offScreen = [](const QList<vq::editor::Finding>& findings) {
        const auto it = std::find_if(findings.cbegin(), findings.cend(), [](const auto& f) {
            return f.text.contains(QStringLiteral("答案会超出 1080 行高的屏幕下边"));
        });
        return it == findings.cend() ? std::optional<vq::editor::Finding>() : *it;
    };
    open(bank);
    QList<Row> rows = window.model()->rows();
    ASSERT_GT(rows.size(), 6);
    rows[5].question = QStringLiteral("一道写得太长的题目，").repeated(60);
    // Without the settings file, only a note that the layout was not looked at.
    EXPECT_FALSE(offScreen(vq::editor::checkRows(rows, bank)));
    ASSERT_TRUE(QFile::copy(QFileInfo(demoBank()).dir().filePath(QStringLiteral("opt.ini")),
                            dir.filePath(QStringLiteral("opt.ini"))));
    // The demo's questions all fit its screen.
    EXPECT_FALSE(offScreen(vq::editor::checkRows(window.model()->rows(), bank)));
    const std::optional<vq::editor::Finding> found = offScreen(vq::editor::checkRows(rows, bank));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->kind, vq::editor::Finding::Warning);
    EXPECT_EQ(found->rows, QList<int>{5});

    ASSERT_TRUE(window.model()->setData(window.model()->index(5, BankModel::QuestionColumn),
                                        rows[5].question));
    window.runCheck();
    QListWidget* findings = window.findingsList();
    QListWidgetItem* line = nullptr;
    for (int i = 0; i < findings->count(); ++i)
        if (findings->item(i)->text().contains(QStringLiteral("答案会超出")))
            line = findings->item(i);
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->text().startsWith(QStringLiteral("⚠ 有 1 道题的题目太长")))
        << line->text().toStdString();
    QTest::mouseClick(findings->viewport(), Qt::LeftButton, {},
                      findings->visualItemRect(line).center());
    EXPECT_EQ(window.currentRow(), 5);
}

TEST_F(EditorTest, SortingAndFindWorkOnTheViewOrder) {
    open(bank);
    QTableView* view = window.view();
    view->horizontalHeader()->setSortIndicator(BankModel::NumberColumn, Qt::DescendingOrder);
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), QStringLiteral("50"));
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    auto* find = window.findChild<QLineEdit*>(QStringLiteral("findEdit"));
    ASSERT_TRUE(find && find->isVisible() && find->hasFocus());
    typeText(find, QStringLiteral("长江"));
    QTest::keyClick(find, Qt::Key_Return);
    ASSERT_GE(window.currentRow(), 0);
    EXPECT_EQ(window.model()->rows()[window.currentRow()].answer, QStringLiteral("长江"));
}

TEST_F(EditorTest, ExportsCsvWithBomAndXlsx) {
    open(bank);
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    ASSERT_TRUE(window.exportTo(csv));
    const QByteArray bytes = readBytes(csv);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF编号,题目,答案\r\n"));
    const vq::editor::ImportedTable back = vq::editor::importTable(csv);
    EXPECT_EQ(back.rows, window.model()->rows());

    const QString xlsx = dir.filePath(QStringLiteral("out.xlsx"));
    ASSERT_TRUE(window.exportTo(xlsx));
    // A zip that an independent reader takes as a workbook with the rows.
    SKIP_WITHOUT_REFERENCE_TOOLS();
    const QByteArray listing =
        outputOf(QStringLiteral(VELQUO_PYTHON3),
                 {QStringLiteral("-c"),
                  QStringLiteral("import zipfile,sys\n"
                                 "z=zipfile.ZipFile(sys.argv[1])\n"
                                 "print(len(z.read('xl/worksheets/sheet1.xml'))>0)"),
                  xlsx});
    EXPECT_EQ(listing.trimmed(), "True");
}

// Opening a bank of 100,000 rows: the time the editor takes from the call to a shown table.
TEST_F(EditorTest, OpensALargeBankQuickly) {
    const QString large = dir.filePath(QStringLiteral("large.DLL"));
    vq::jet::writeFixture(QStringLiteral("large"), large);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(window.openFile(large));
    window.repaint();
    const qint64 ms = timer.elapsed();
    RecordProperty("open_ms", int(ms));
    std::printf("100,000-row bank opened and shown in %lld ms\n", ms);
    EXPECT_EQ(window.model()->rowCount(), 100000);
    // Scrolling to the end and back repaints only what shows.
    std::printf("scrolled to the end and back in %lld ms\n", scrollThroughMs());

    // The texts read as they are needed are those of the right rows, also after rows went.
    window.model()->removeRowList({0, 1});
    window.model()->setData(window.model()->index(3, BankModel::AnswerColumn),
                            QStringLiteral("改"));
    QList<Row> expected = vq::editor::openBank(large, {})->rows.mid(2);
    expected[3].answer = QStringLiteral("改");
    EXPECT_TRUE(window.model()->rows() == expected);
}

} // namespace

namespace {

// The preview runs a copy of the presenter's installation: a stand-in presenter (a copy of
// this test program, a program of the platform's kind) reports where it runs, with what beside
// it and whether it was asked for a window. It writes its report, then renames it, so that a
// half report is never read.
const bool kPresenterStandInRole =
    vq::test::registerChildRole("presenter-stand-in", [](const QStringList&) {
        const QString report = qEnvironmentVariable("VELQUO_TEST_REPORT");
        QStringList lines{QStringLiteral("window=") + qEnvironmentVariable("VELQUO_PREVIEW_WINDOW"),
                          QDir::currentPath()};
        lines << QDir::current().entryList(QDir::Files);
        QFile f(report + QStringLiteral(".tmp"));
        if (!f.open(QIODevice::WriteOnly) || f.write(lines.join(u'\n').toUtf8()) < 0)
            return 1;
        f.close();
        return QFile::rename(f.fileName(), report) ? 0 : 1;
    });

TEST_F(EditorTest, PreviewStartsThePresenterFromATemporaryCopyOfItsInstallation) {
    ASSERT_TRUE(kPresenterStandInRole);
    const QString install = dir.filePath(QStringLiteral("install"));
    ASSERT_TRUE(QDir().mkpath(install));
    const QString name = vq::programFileName(QStringLiteral("velquo"));
    const QString presenter = install + u'/' + name;
    const QString report = dir.filePath(QStringLiteral("report.txt"));
    writeBytes(install + QStringLiteral("/opt.ini"), "[canshu]\r\n");
    writeBytes(install + QStringLiteral("/bg.jpg"), "picture");
    writeBytes(install + QStringLiteral("/db.DLL"), "the user's own bank");
    ASSERT_TRUE(QFile::copy(vq::test::childProgram(), presenter));
    const vq::test::ChildRoleByEnvironment role(QStringLiteral("presenter-stand-in"));
    qputenv("VELQUO_TEST_REPORT", report.toUtf8());
    // The stand-in's libraries lie beside the test program, not in the installation (the
    // presenter's own lie beside it there).
    const QByteArray path = qgetenv("PATH");
    qputenv(
        "PATH",
        QDir::toNativeSeparators(QFileInfo(vq::test::childProgram()).absolutePath()).toLocal8Bit() +
            QDir::listSeparator().toLatin1() + path);
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
    const QStringList userFiles = QDir(install).entryList(QDir::Files);
    QList<Row> rows{{7, QStringLiteral("预览的题"), QStringLiteral("预览的答案")}};
    // The pictures the rows name come along from the bank's media folder, and only those.
    const QString media = dir.filePath(QStringLiteral("题库素材"));
    ASSERT_TRUE(QDir().mkpath(media + QStringLiteral("/动物")));
    writeBytes(media + QStringLiteral("/动物/猫.jpg"), "cat");
    writeBytes(media + QStringLiteral("/别的.jpg"), "unused");
    rows[0].optional[size_t(vq::bank::OptionalColumn::Picture)] = QStringLiteral("动物/猫.jpg");
    rows[0].optional[size_t(vq::bank::OptionalColumn::Sound)] = QStringLiteral("没有.wav");
    std::unique_ptr<QTemporaryDir> copy =
        vq::editor::startPreview(rows, {presenter, install}, media);
    ASSERT_TRUE(copy);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(report); }, 20000));
    const QStringList lines = QString::fromUtf8(readBytes(report)).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("window=1"));
    EXPECT_EQ(QFileInfo(lines[1]).canonicalFilePath(), QFileInfo(copy->path()).canonicalFilePath());
    EXPECT_TRUE(lines.contains(QStringLiteral("opt.ini")));
    EXPECT_TRUE(lines.contains(QStringLiteral("bg.jpg")));
    EXPECT_TRUE(lines.contains(name));
    // The copy's bank holds the edited rows; the user's installation is as it was.
    EXPECT_EQ(vq::editor::openBank(copy->filePath(QStringLiteral("db.DLL")), {})->rows, rows);
    EXPECT_EQ(readBytes(copy->filePath(QStringLiteral("题库素材/动物/猫.jpg"))), "cat");
    EXPECT_FALSE(QFileInfo::exists(copy->filePath(QStringLiteral("题库素材/别的.jpg"))));
    EXPECT_EQ(QDir(install).entryList(QDir::Files), userFiles);
    EXPECT_EQ(readBytes(install + QStringLiteral("/db.DLL")), "the user's own bank");
}

} // namespace

namespace {

// The preview copies the installation the edited bank lives in when the presenter is there,
// and never the menu entry's launcher script that carries the presenter's name.
TEST_F(EditorTest, PreviewFindsThePresenterBesideTheBankButNotALauncherScript) {
    const QString install = dir.filePath(QStringLiteral("mine"));
    ASSERT_TRUE(QDir().mkpath(install));
    const QString name = vq::programFileName(QStringLiteral("velquo"));
    ASSERT_TRUE(QFile::copy(vq::test::childProgram(), install + u'/' + name));
    const auto found = vq::editor::findInstallation(install + QStringLiteral("/db.DLL"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->folder, QFileInfo(install).canonicalFilePath());

    const QString scripted = dir.filePath(QStringLiteral("scripted"));
    ASSERT_TRUE(QDir().mkpath(scripted));
    writeBytes(scripted + u'/' + name, "#!/bin/sh\nexec true\n");
    QFile::setPermissions(scripted + u'/' + name,
                          QFile::permissions(scripted + u'/' + name) | QFileDevice::ExeOwner);
    const auto other = vq::editor::findInstallation(scripted + QStringLiteral("/db.DLL"));
    EXPECT_TRUE(!other || other->folder != QFileInfo(scripted).canonicalFilePath());
}

} // namespace

// A bank with pictures, clips, times and points keeps them through the editor: opened, a text
// edited and saved, every column comes back as it was; a bank without them stays three columns.
TEST_F(EditorTest, TheOptionalColumnsGoThroughOpeningAndSaving) {
    const QString csv = dir.filePath(QStringLiteral("media.csv"));
    QFile list(csv);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("编号,题目,答案,图片,答案图片,声音,时间,分值\n"
               "1,看图猜,猫,猫.jpg,猫答案.png,喵.mp3,20,10\n"
               "2,纯文字,狗,,,,,\n"
               "3,听歌,歌名,,,歌/1.ogg,40,5\n");
    list.close();
    const QString withMedia = dir.filePath(QStringLiteral("media.DLL"));
    outputOf(bankTool(), {QStringLiteral("build"), csv, withMedia});
    const QByteArray before = outputOf(bankTool(), {QStringLiteral("export"), withMedia});
    std::optional<vq::editor::OpenedBank> opened = vq::editor::openBank(withMedia, {});
    ASSERT_TRUE(opened);
    ASSERT_EQ(opened->rows.size(), 3);
    EXPECT_EQ(opened->rows[0].optional[size_t(vq::bank::OptionalColumn::Picture)].toString(),
              QStringLiteral("猫.jpg"));
    EXPECT_EQ(opened->rows[2].optional[size_t(vq::bank::OptionalColumn::Time)].toLongLong(), 40);
    EXPECT_FALSE(opened->rows[1].optional[size_t(vq::bank::OptionalColumn::Sound)].isValid());
    vq::editor::saveBank(withMedia, opened->rows, opened->password);
    EXPECT_EQ(outputOf(bankTool(), {QStringLiteral("export"), withMedia}), before);

    opened->rows[1].question = QStringLiteral("改过的题目");
    vq::editor::saveBank(withMedia, opened->rows, opened->password);
    QByteArray edited = before;
    edited.replace("\"纯文字\"", "\"改过的题目\"");
    EXPECT_EQ(outputOf(bankTool(), {QStringLiteral("export"), withMedia}), edited);

    // The check looks for the pictures and clips beside the bank, not beside its temporary
    // copy: the one there passes, the others are named.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("题库素材")));
    QImage(4, 4, QImage::Format_RGB32)
        .save(dir.filePath(QStringLiteral("题库素材/猫.jpg")), "JPEG");
    QStringList problems;
    for (const vq::editor::Finding& f : vq::editor::checkRows(opened->rows, withMedia))
        if (f.kind == vq::editor::Finding::Problem)
            problems << f.text;
    EXPECT_EQ(problems, QStringList({"编号 1 的答案图片“猫答案.png”：题库素材文件夹中没有这个文件",
                                     "编号 1 的声音“喵.mp3”：题库素材文件夹中没有这个文件",
                                     "编号 3 的声音“歌/1.ogg”：题库素材文件夹中没有这个文件"}));

    // The rows of a three-column bank save as three columns.
    std::optional<vq::editor::OpenedBank> plain = vq::editor::openBank(bank, {});
    ASSERT_TRUE(plain);
    vq::editor::saveBank(bank, plain->rows, plain->password);
    EXPECT_TRUE(
        outputOf(bankTool(), {QStringLiteral("export"), bank}).startsWith("编号,题目,答案\n"));
}
