#include "editorwindow.h"

#include "bankmodel.h"
#include "celldelegate.h"
#include "importdialog.h"
#include "mediafolder.h"
#include "preview.h"
#include "rowclipboard.h"
#include "thumbnailcache.h"

#include "data/bankschema.h"
#include "data/jetwriter.h"
#include "mediacheck.h"
#include "platform/exception.h"
#include "platform/files.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>

namespace vq::editor {
namespace {

const QString kBankFilter = QStringLiteral("题库 (*.DLL *.dll *.mdb);;所有文件 (*)");
// Problems listed below the table at most; the count says how many there are in all.
constexpr int kListedProblems = 1000;

// A message box with the program's own texts on its buttons.
QMessageBox::StandardButton askSaveChanges(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("题库编辑"), text, QMessageBox::NoButton,
                    parent);
    box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == cancel || !box.clickedButton())
        return QMessageBox::Cancel;
    if (box.clickedButton() == discard)
        return QMessageBox::Discard;
    return QMessageBox::Save;
}

void showError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("题库编辑"), text);
}

// What a file dropped on the window is taken for, by its name: a bank opens, a spreadsheet
// is imported; the readers then go by its content.
enum class Dropped { Nothing, Bank, Sheet };

Dropped droppedKind(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("dll") || suffix == QLatin1String("mdb"))
        return Dropped::Bank;
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt") ||
        suffix == QLatin1String("xlsx"))
        return Dropped::Sheet;
    return Dropped::Nothing;
}

// The one local file a drag carries, empty for anything else.
QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    // Read once: from another program the list comes over the X connection at each call.
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    return urls.front().toLocalFile();
}

const QString kPictureFilter =
    QStringLiteral("图片 (*.jpg *.jpeg *.png *.bmp *.gif);;所有文件 (*)");
const QString kClipFilter = QStringLiteral("声音 (*.wav *.ogg *.flac *.mp3);;所有文件 (*)");

} // namespace

EditorWindow::EditorWindow(vq::SoundService& sounds, QWidget* parent)
    : QMainWindow(parent), m_sounds(sounds), m_model(new BankModel(this)),
      m_proxy(new QSortFilterProxyModel(this)), m_view(new QTableView), m_findBar(new QWidget),
      m_findEdit(new QLineEdit), m_findStatus(new QLabel), m_bottom(new QTabWidget),
      m_problems(new QListWidget), m_findings(new QListWidget),
      m_thumbnails(new ThumbnailCache(this)), m_savePassword(vq::jet::kBankPassword) {
    setObjectName(QStringLiteral("EditorWindow"));
    setAcceptDrops(true);
    setUpTable();
    buildFindBar();
    buildResultLists();

    auto* top = new QWidget;
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    topLayout->addWidget(m_view, 1);
    topLayout->addWidget(m_findBar);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(top);
    splitter->addWidget(m_bottom);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    buildActions();

    // The problems list is rebuilt once after a burst of changes.
    m_problemsTimer.setSingleShot(true);
    m_problemsTimer.setInterval(0);
    connect(&m_problemsTimer, &QTimer::timeout, this, &EditorWindow::updateProblems);
    connect(m_model, &BankModel::problemsChanged, &m_problemsTimer, qOverload<>(&QTimer::start));
    connect(m_model->undoStack(), &QUndoStack::cleanChanged, this, &EditorWindow::updateTitle);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &EditorWindow::updateTitle);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &EditorWindow::updateTitle);
    connect(m_model, &QAbstractItemModel::modelReset, this, &EditorWindow::updateTitle);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_model, signal, this, &EditorWindow::updateRowHeight);
    connect(m_model, &QAbstractItemModel::modelReset, this, &EditorWindow::updateRowHeight);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &EditorWindow::updateRowHeight);
    connect(m_model, &BankModel::editRefused, this,
            [this](const QString& why) { statusBar()->showMessage(why, 10000); });

    resize(1000, 700);
    updateTitle();
    updateProblems();
}

// The questions' table: sorted through the proxy, edited in place, fast for 100,000 rows.
void EditorWindow::setUpTable() {
    m_model->setThumbnails(m_thumbnails);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(BankModel::SortRole);
    m_view->setModel(m_proxy);
    m_view->setItemDelegate(new CellDelegate(m_view));
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder); // file order until a header is clicked
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setWordWrap(false);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    // Fixed row heights: the view then never measures 100,000 rows.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setColumnWidth(BankModel::NumberColumn, 80);
    m_view->setColumnWidth(BankModel::QuestionColumn, 420);
    m_view->setColumnWidth(BankModel::AnswerColumn, 200);
    for (const int c : {BankModel::PictureColumn, BankModel::AnswerPictureColumn})
        m_view->setColumnWidth(c, 160);
    m_view->setColumnWidth(BankModel::SoundColumn, 120);
    m_view->setColumnWidth(BankModel::TimeColumn, 60);
    m_view->setColumnWidth(BankModel::PointsColumn, 60);
}

void EditorWindow::updateRowHeight() {
    const int text = m_view->fontMetrics().height() + 8;
    const int height =
        m_model->hasPictures() ? std::max(text, ThumbnailCache::kBox.height() + 4) : text;
    if (m_view->verticalHeader()->defaultSectionSize() != height)
        m_view->verticalHeader()->setDefaultSectionSize(height);
}

QString EditorWindow::mediaFolder() const {
    return m_path.isEmpty() ? QString()
                            : QFileInfo(m_path).dir().filePath(bankschema::kMediaFolder);
}

// The find bar under the table, shown by Ctrl+F.
void EditorWindow::buildFindBar() {
    auto* findLayout = new QHBoxLayout(m_findBar);
    findLayout->setContentsMargins(4, 2, 4, 2);
    findLayout->addWidget(new QLabel(QStringLiteral("查找：")));
    m_findEdit->setObjectName(QStringLiteral("findEdit"));
    m_findEdit->setClearButtonEnabled(true);
    findLayout->addWidget(m_findEdit, 1);
    auto* previous = new QPushButton(QStringLiteral("上一个"));
    auto* next = new QPushButton(QStringLiteral("下一个"));
    auto* closeFind = new QToolButton;
    closeFind->setText(QStringLiteral("关闭"));
    findLayout->addWidget(previous);
    findLayout->addWidget(next);
    findLayout->addWidget(m_findStatus);
    findLayout->addWidget(closeFind);
    m_findBar->hide();
    connect(m_findEdit, &QLineEdit::returnPressed, this, [this] { findNext(false); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(closeFind, &QToolButton::clicked, m_findBar, &QWidget::hide);
}

// The problems and the check's findings below the table; a click on one selects its row.
void EditorWindow::buildResultLists() {
    m_problems->setObjectName(QStringLiteral("problems"));
    m_findings->setObjectName(QStringLiteral("findings"));
    m_bottom->addTab(m_problems, QStringLiteral("问题"));
    m_bottom->addTab(m_findings, QStringLiteral("检查结果"));
    const auto selectFromItem = [this](QListWidgetItem* item) {
        const QList<QVariant> rows = item->data(Qt::UserRole).toList();
        if (!rows.isEmpty())
            selectRow(rows.front().toInt());
    };
    connect(m_problems, &QListWidget::itemClicked, this, selectFromItem);
    connect(m_findings, &QListWidget::itemClicked, this, selectFromItem);
}

EditorWindow::~EditorWindow() {
    // The model goes with the window's children, after this object stopped being an editor
    // window: its undo stack would still report the end of unsaved changes to it.
    disconnect(m_model->undoStack(), nullptr, this, nullptr);
    disconnect(m_model, nullptr, this, nullptr);
}

// A menu entry with its keys, running the slot; the toolbar shows the same action by its name
// alone, without the menu's access key and dots.
QAction* EditorWindow::menuAction(QMenu* menu, const QString& text, const QList<QKeySequence>& keys,
                                  const std::function<void()>& slot) {
    auto* a = new QAction(text, this);
    static const QRegularExpression decoration(QStringLiteral(R"(\(&.\)|…|&)"));
    a->setIconText(QString(text).remove(decoration));
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    menu->addAction(a);
    connect(a, &QAction::triggered, this, slot);
    return a;
}

void EditorWindow::buildActions() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    QMenu* bank = menuBar()->addMenu(QStringLiteral("题库(&B)"));
    QToolBar* tools = addToolBar(QStringLiteral("工具栏"));
    tools->setObjectName(QStringLiteral("toolbar"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->setMovable(false);
    const FileActions files = buildFileMenu(file);
    const QList<QAction*> edits = buildEditMenu(edit);
    m_mediaMenu = menuBar()->addMenu(QStringLiteral("素材(&M)"));
    const QList<QAction*> clips = buildMediaMenu(m_mediaMenu);
    QAction* check = menuAction(bank, QStringLiteral("检查(&C)"), {QKeySequence(Qt::Key_F7)},
                                [this] { runCheck(); });
    QAction* show = menuAction(bank, QStringLiteral("在放映中预览"), {QKeySequence(Qt::Key_F5)},
                               [this] { preview(); });

    for (QAction* a : {files.newBank, files.open, files.save})
        tools->addAction(a);
    tools->addSeparator();
    tools->addAction(toolbarButtonFor(edits[0], QStringLiteral("撤销")));
    tools->addAction(toolbarButtonFor(edits[1], QStringLiteral("重做")));
    tools->addSeparator();
    for (QAction* a : {edits[2], edits[3]})
        tools->addAction(a);
    tools->addSeparator();
    for (QAction* a : {files.import, check, show})
        tools->addAction(a);
    tools->addSeparator();
    for (QAction* a : clips)
        tools->addAction(a);
}

QList<QAction*> EditorWindow::buildMediaMenu(QMenu* media) {
    using vq::bank::OptionalColumn;
    for (const OptionalColumn c :
         {OptionalColumn::Picture, OptionalColumn::AnswerPicture, OptionalColumn::Sound})
        menuAction(media, QStringLiteral("选择%1…").arg(vq::bank::optionalColumnName(c)), {},
                   [this, c] { chooseMedia(c); });
    media->addSeparator();
    for (const OptionalColumn c :
         {OptionalColumn::Picture, OptionalColumn::AnswerPicture, OptionalColumn::Sound})
        menuAction(media, QStringLiteral("清除%1").arg(vq::bank::optionalColumnName(c)), {},
                   [this, c] { clearMedia(c); });
    media->addSeparator();
    QAction* play = menuAction(media, QStringLiteral("播放声音"), {QKeySequence(Qt::Key_F8)},
                               [this] { playClip(); });
    QAction* stop = menuAction(media, QStringLiteral("停止"),
                               {QKeySequence(Qt::SHIFT | Qt::Key_F8)}, [this] { stopClip(); });
    // The same entries on the row a right click is on.
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = m_view->indexAt(at);
        if (!index.isValid())
            return;
        m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        m_mediaMenu->popup(m_view->viewport()->mapToGlobal(at));
    });
    return {play, stop};
}

// A toolbar button that runs the action under a text of its own that never changes: undo and
// redo name what they would undo in the menu ("撤销 编辑题目"), and on the toolbar that would move
// every button after them at each edit. The full text is the button's tooltip.
QAction* EditorWindow::toolbarButtonFor(QAction* action, const QString& text) {
    auto* button = new QAction(text, this);
    const auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        button->setToolTip(action->text());
    };
    follow();
    connect(action, &QAction::changed, button, follow);
    connect(button, &QAction::triggered, action, &QAction::trigger);
    return button;
}

EditorWindow::FileActions EditorWindow::buildFileMenu(QMenu* file) {
    FileActions shown;
    shown.newBank = menuAction(file, QStringLiteral("新建(&N)"), {QKeySequence::New}, [this] {
        if (!maybeSave())
            return;
        m_path.clear();
        m_thumbnails->setFolder({});
        m_model->load({});
        m_findings->clear();
        updateTitle();
    });
    shown.open = menuAction(file, QStringLiteral("打开(&O)…"), {QKeySequence::Open},
                            [this] { openDialog(); });
    shown.save =
        menuAction(file, QStringLiteral("保存(&S)"), {QKeySequence::Save}, [this] { save(); });
    menuAction(file, QStringLiteral("另存为(&A)…"), {QKeySequence(QStringLiteral("Ctrl+Shift+S"))},
               [this] { saveAsDialog(); });
    menuAction(file, QStringLiteral("保存选项…"), {}, [this] { saveOptions(); });
    file->addSeparator();
    shown.import = menuAction(file, QStringLiteral("导入 CSV 或 Excel(&I)…"),
                              {QKeySequence(QStringLiteral("Ctrl+I"))}, [this] { importDialog(); });
    menuAction(file, QStringLiteral("导出为 CSV 或 Excel(&E)…"),
               {QKeySequence(QStringLiteral("Ctrl+E"))}, [this] { exportDialog(); });
    file->addSeparator();
    menuAction(file, QStringLiteral("退出(&X)"), {QKeySequence(QStringLiteral("Ctrl+Q"))},
               [this] { close(); });
    return shown;
}

// The edit menu; returns the actions the toolbar shows: undo, redo, add and remove.
QList<QAction*> EditorWindow::buildEditMenu(QMenu* edit) {
    QAction* undo = m_model->undoStack()->createUndoAction(this, QStringLiteral("撤销"));
    undo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Z"))});
    QAction* redo = m_model->undoStack()->createRedoAction(this, QStringLiteral("重做"));
    redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    QAction* add = menuAction(edit, QStringLiteral("添加一行(&A)"), {QKeySequence(Qt::Key_Insert)},
                              [this] { addRow(); });
    QAction* remove = menuAction(edit, QStringLiteral("删除所选行(&D)"), {QKeySequence::Delete},
                                 [this] { deleteSelectedRows(); });
    // Delete removes rows only from the table; in an editor it stays a key of the editor.
    remove->setShortcutContext(Qt::WidgetShortcut);
    m_view->addAction(remove);
    edit->addSeparator();
    // As Delete: the keys act on rows in the table, and stay the cell editor's inside it.
    for (QAction* a : {menuAction(edit, QStringLiteral("复制所选行(&C)"), {QKeySequence::Copy},
                                  [this] { copyRows(); }),
                       menuAction(edit, QStringLiteral("粘贴行(&P)"), {QKeySequence::Paste},
                                  [this] { paste(); })}) {
        a->setShortcutContext(Qt::WidgetShortcut);
        m_view->addAction(a);
    }
    menuAction(edit, QStringLiteral("在大窗口中编辑(&L)…"),
               {QKeySequence(QStringLiteral("Ctrl+L"))}, [this] { editLong(); });
    edit->addSeparator();
    menuAction(edit, QStringLiteral("查找(&F)…"), {QKeySequence::Find}, [this] {
        m_findBar->show();
        m_findEdit->setFocus();
        m_findEdit->selectAll();
    });
    menuAction(edit, QStringLiteral("查找下一个"), {QKeySequence::FindNext},
               [this] { findNext(false); });
    return {undo, redo, add, remove};
}

void EditorWindow::updateTitle() {
    const QString name =
        m_path.isEmpty() ? QStringLiteral("未命名") : QDir::toNativeSeparators(m_path);
    setWindowTitle(QStringLiteral("%1[*] — %2 道题 — 题库编辑").arg(name).arg(m_model->rowCount()));
    setWindowModified(!m_model->undoStack()->isClean());
}

void EditorWindow::updateProblems() {
    m_problems->clear();
    const QList<int> rows = m_model->problemRows();
    for (int i = 0; i < rows.size() && i < kListedProblems; ++i) {
        auto* item = new QListWidgetItem(
            QStringLiteral("第 %1 行：%2").arg(rows[i] + 1).arg(m_model->problemOf(rows[i])));
        item->setData(Qt::UserRole, QVariantList{rows[i]});
        m_problems->addItem(item);
    }
    if (rows.size() > kListedProblems)
        m_problems->addItem(QStringLiteral("……共 %1 行有问题").arg(rows.size()));
    m_bottom->setTabText(0, rows.isEmpty() ? QStringLiteral("问题")
                                           : QStringLiteral("问题（%1）").arg(rows.size()));
    if (!rows.isEmpty())
        m_bottom->setCurrentIndex(0);
    statusBar()->showMessage(
        rows.isEmpty()
            ? QString()
            : QStringLiteral("有 %1 行的编号有问题，改好之前不能保存。").arg(rows.size()));
}

bool EditorWindow::openFile(const QString& path) {
    if (!maybeSave())
        return false;
    std::optional<OpenedBank> opened;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        opened = openBank(
            path,
            [this, &path](bool again) -> std::optional<QString> {
                QApplication::restoreOverrideCursor();
                bool ok = false;
                const QString text = QInputDialog::getText(
                    this, QStringLiteral("输入密码"),
                    (again ? QStringLiteral("密码不对，请重新输入。\n") : QString()) +
                        QStringLiteral("%1 有密码保护，请输入它的密码：")
                            .arg(QFileInfo(path).fileName()),
                    QLineEdit::Password, QString(), &ok);
                QApplication::setOverrideCursor(Qt::WaitCursor);
                return ok ? std::optional<QString>(text) : std::nullopt;
            },
            /*lazyTexts=*/true);
        QApplication::restoreOverrideCursor();
    } catch (const vq::Exception& e) {
        QApplication::restoreOverrideCursor();
        showError(this, e.message());
        return false;
    }
    if (!opened)
        return false;
    m_path = QFileInfo(path).absoluteFilePath();
    m_thumbnails->setFolder(mediaFolder());
    m_model->load(std::move(opened->rows), std::move(opened->texts));
    m_findings->clear();
    rememberFolder(m_path);
    updateTitle();
    return true;
}

bool EditorWindow::save() {
    if (m_path.isEmpty())
        return saveAsDialog();
    return saveTo(m_path);
}

bool EditorWindow::saveTo(const QString& path) {
    // A cell still being edited is committed first: the editor commits when it loses focus.
    if (QWidget* focus = QApplication::focusWidget();
        focus && focus != m_view && m_view->isAncestorOf(focus))
        m_view->setFocus();
    if (m_model->hasProblems()) {
        updateProblems();
        m_bottom->setCurrentIndex(0);
        const QList<int> rows = m_model->problemRows();
        selectRow(rows.front());
        showError(this, QStringLiteral("不能保存：%1 行的编号有问题（%2）。\n"
                                       "每道题都要有一个不与其他题重复的整数编号，"
                                       "请按下方“问题”列表改好再保存。")
                            .arg(rows.size())
                            .arg(m_model->problemOf(rows.front())));
        return false;
    }
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        saveBank(path, m_model->rows(), m_savePassword);
        QApplication::restoreOverrideCursor();
    } catch (const vq::Exception& e) {
        QApplication::restoreOverrideCursor();
        showError(this, e.message());
        return false;
    }
    // Saved into another folder, the bank takes its pictures and clips along.
    const QString before = mediaFolder();
    m_path = QFileInfo(path).absoluteFilePath();
    const int copied = before.isEmpty() || QFileInfo(before) == QFileInfo(mediaFolder())
                           ? 0
                           : copyNamedMedia(m_model->rows(), before, mediaFolder());
    m_thumbnails->setFolder(mediaFolder());
    m_model->thumbnailsChanged();
    rememberFolder(m_path);
    m_model->undoStack()->setClean();
    updateTitle();
    QString saved = QStringLiteral("已保存到 %1").arg(QDir::toNativeSeparators(m_path));
    if (copied > 0)
        saved += QStringLiteral("，图片和声音 %1 个复制到了旁边的%2文件夹")
                     .arg(copied)
                     .arg(bankschema::kMediaFolder);
    statusBar()->showMessage(saved, 5000);
    return true;
}

bool EditorWindow::saveAsDialog() {
    const QString start =
        m_path.isEmpty() ? QDir(lastFolder()).filePath(QStringLiteral("db.DLL")) : m_path;
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("保存题库"), start, kBankFilter);
    return !path.isEmpty() && saveTo(path);
}

void EditorWindow::openDialog() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("打开题库"), lastFolder(), kBankFilter);
    if (!path.isEmpty())
        openFile(path);
}

bool EditorWindow::maybeSave() {
    if (m_model->undoStack()->isClean())
        return true;
    switch (askSaveChanges(this, QStringLiteral("题库已修改，是否保存？"))) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

int EditorWindow::currentRow() const {
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_proxy->mapToSource(current).row() : -1;
}

void EditorWindow::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex at = m_proxy->mapFromSource(m_model->index(row, 0));
    m_view->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
    m_view->scrollTo(at, QAbstractItemView::PositionAtCenter);
}

// The rows any selected cell is in: a row with a cell of its own selected is taken whole, also
// where the selection leaves the far columns out (those scrolled out of sight, say).
QList<int> EditorWindow::selectedViewRows() const {
    // By ranges: all of a bank of 100,000 rows selected is a few ranges, not 800,000 cells.
    QList<int> out;
    for (const QItemSelectionRange& range : m_view->selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            out << r;
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

QList<int> EditorWindow::selectedRows() const {
    QList<int> rows;
    for (const int r : selectedViewRows())
        rows << m_proxy->mapToSource(m_proxy->index(r, 0)).row();
    if (rows.isEmpty() && currentRow() >= 0)
        rows << currentRow();
    return rows;
}

void EditorWindow::addRow() {
    const int current = currentRow();
    const int at = current < 0 ? m_model->rowCount() : current + 1;
    m_model->addRow(at, Row{m_model->nextFreeNumber(), {}, {}});
    const QModelIndex question =
        m_proxy->mapFromSource(m_model->index(at, BankModel::QuestionColumn));
    m_view->selectionModel()->setCurrentIndex(question, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    m_view->scrollTo(question);
    m_view->setFocus();
    m_view->edit(question);
}

void EditorWindow::deleteSelectedRows() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    m_model->removeRowList(rows);
    const int next = std::min(rows.front(), m_model->rowCount() - 1);
    selectRow(next);
}

void EditorWindow::editLong() {
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid())
        return;
    const int column = current.column() == BankModel::AnswerColumn ? int(BankModel::AnswerColumn)
                                                                   : int(BankModel::QuestionColumn);
    const QModelIndex source = m_model->index(m_proxy->mapToSource(current).row(), column);
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("编辑%1 — 第 %2 行")
                              .arg(column == BankModel::QuestionColumn ? QStringLiteral("题目")
                                                                       : QStringLiteral("答案"))
                              .arg(source.row() + 1));
    auto* text = new QPlainTextEdit(source.data(Qt::EditRole).toString());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.resize(640, 420);
    if (dialog.exec() == QDialog::Accepted)
        m_model->setData(source, text->toPlainText());
}

void EditorWindow::findNext(bool backwards) {
    const QString needle = m_findEdit->text();
    if (needle.isEmpty()) {
        m_findBar->show();
        m_findEdit->setFocus();
        return;
    }
    const int count = m_proxy->rowCount();
    const QModelIndex current = m_view->currentIndex();
    const int start = current.isValid() ? current.row() : (backwards ? 0 : -1);
    for (int step = 1; step <= count; ++step) {
        const int at = ((start + (backwards ? -step : step)) % count + count) % count;
        const int source = m_proxy->mapToSource(m_proxy->index(at, 0)).row();
        const Row& r = m_model->row(source);
        const bool hit = r.question.contains(needle, Qt::CaseInsensitive) ||
                         r.answer.contains(needle, Qt::CaseInsensitive) ||
                         (r.number && QString::number(*r.number) == needle);
        if (hit) {
            selectRow(source);
            m_findStatus->clear();
            return;
        }
    }
    m_findStatus->setText(QStringLiteral("找不到“%1”").arg(needle));
}

bool EditorWindow::importFile(const QString& path, ImportMode mode) {
    ImportedTable table;
    try {
        table = importTable(path);
    } catch (const vq::Exception& e) {
        showError(this, e.message());
        return false;
    }
    const QString what = QStringLiteral("导入 %1").arg(QFileInfo(path).fileName());
    takeIn(table, mode == ImportMode::ReplaceAll, what);
    rememberFolder(path);
    return true;
}

void EditorWindow::takeIn(const ImportedTable& table, bool replaceAll, const QString& what) {
    QList<Row> rows = replaceAll ? table.rows : renumberedForAppend(m_model->rows(), table.rows);
    // The pictures placed in a workbook go into the media folder under the numbers the rows
    // come in with.
    if (const qsizetype placed = table.placedCount(); placed > 0) {
        try {
            if (m_path.isEmpty())
                throw vq::Exception(
                    QStringLiteral("工作簿中放在行上的 %1 张图片没有取出：请先保存题库，"
                                   "图片要存进题库旁边的“%2”文件夹。题目照常导入。")
                        .arg(placed)
                        .arg(bankschema::kMediaFolder));
            const int taken = placePictures(rows, table.placed, MediaFolder(mediaFolder()));
            statusBar()->showMessage(QStringLiteral("从工作簿中取出 %1 张图片，放进了%2文件夹")
                                         .arg(taken)
                                         .arg(bankschema::kMediaFolder),
                                     10000);
        } catch (const vq::Exception& e) {
            showError(this, e.message());
        }
        m_thumbnails->forgetAll();
    }
    if (replaceAll)
        m_model->replaceAll(rows, what);
    else
        m_model->appendRows(rows, what);
}

void EditorWindow::importDialog() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("导入题目"), lastFolder(),
                                     QStringLiteral("表格 (*.csv *.txt *.xlsx);;所有文件 (*)"));
    if (!path.isEmpty())
        importWithPreview(path);
}

bool EditorWindow::importWithPreview(const QString& path) {
    ImportedTable table;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        table = importTable(path);
        QApplication::restoreOverrideCursor();
    } catch (const vq::Exception& e) {
        QApplication::restoreOverrideCursor();
        showError(this, e.message());
        return false;
    }
    const QString what = QStringLiteral("导入 %1").arg(QFileInfo(path).fileName());
    ImportDialog dialog(what, table, m_model->rows(), {}, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    takeIn(table, dialog.replaceAll(), what);
    rememberFolder(path);
    return true;
}

void EditorWindow::copyRows() {
    QList<int> viewRows;
    viewRows = selectedViewRows();
    if (viewRows.isEmpty() && m_view->currentIndex().isValid())
        viewRows << m_view->currentIndex().row();
    if (viewRows.isEmpty())
        return;
    // In the order the table shows them, as a spreadsheet copies.
    std::sort(viewRows.begin(), viewRows.end());
    QList<Row> rows;
    for (const int r : viewRows)
        rows << m_model->row(m_proxy->mapToSource(m_proxy->index(r, 0)).row());
    QApplication::clipboard()->setMimeData(rowsMimeData(rows));
    statusBar()->showMessage(QStringLiteral("已复制 %1 行").arg(rows.size()), 5000);
}

void EditorWindow::paste() {
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    if (!isRowsText(text)) {
        // One cell's text goes into the current cell, as a spreadsheet pastes it.
        const QModelIndex current = m_view->currentIndex();
        if (current.isValid()) {
            QString value = text;
            while (value.endsWith(u'\n') || value.endsWith(u'\r'))
                value.chop(1);
            m_model->setData(m_proxy->mapToSource(current), value);
        }
        return;
    }
    pasteRows(text);
}

bool EditorWindow::pasteRows(const QString& text) {
    ImportedTable table;
    try {
        table = pastedRows(text);
    } catch (const vq::Exception& e) {
        showError(this, e.message());
        return false;
    }
    QList<int> selected = selectedRows();
    std::sort(selected.begin(), selected.end());
    const QString what = QStringLiteral("粘贴 %1 行").arg(table.rows.size());
    ImportDialog::Replacing replacing;
    if (!selected.isEmpty())
        replacing = {QStringLiteral("替换所选的 %1 行").arg(selected.size()), selected.size() > 1};
    ImportDialog dialog(what, table, m_model->rows(), replacing, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (!dialog.replaceAll()) {
        m_model->appendRows(renumberedForAppend(m_model->rows(), table.rows), what);
        return true;
    }
    if (selected.isEmpty()) {
        m_model->replaceAll(renumberedForAppend({}, table.rows), what);
        return true;
    }
    // Rows without numbers take those of the rows they replace, in order; any beyond them the
    // next free ones.
    QList<Row> rows = table.rows;
    QList<Row> kept;
    QSet<int> replaced(selected.begin(), selected.end());
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (!replaced.contains(r))
            kept << m_model->row(r);
    if (!table.numbered)
        for (int i = 0; i < rows.size() && i < selected.size(); ++i)
            rows[i].number = m_model->row(selected[i]).number;
    if (!table.numbered || rows.size() > selected.size()) {
        QList<Row> extra = rows.mid(selected.size());
        extra = renumberedForAppend(kept + rows.mid(0, selected.size()), extra);
        rows = rows.mid(0, selected.size()) + extra;
    }
    m_model->replaceRows(selected, rows, what);
    selectRow(selected.front());
    return true;
}

// While a drag from another program passes, its data may not have come over yet: files are
// welcome by their kind of data, and what they are is decided at the drop.
// Only what a drop would take is accepted while the drag is over the window: the pointer says
// so before the button is let go, and the program the drag came from hears that nothing was
// taken.
void EditorWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QString file = droppedFile(event->mimeData());
    if (!file.isEmpty() &&
        (droppedKind(file) != Dropped::Nothing || isPictureFile(file) || isClipFile(file)))
        event->acceptProposedAction();
}

void EditorWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (takesDrop(event->position().toPoint(), droppedFile(event->mimeData())))
        event->acceptProposedAction();
    else
        event->ignore();
}

std::optional<vq::bank::OptionalColumn> EditorWindow::mediaColumnAt(const QPoint& at) const {
    const QPoint inView = m_view->viewport()->mapFrom(this, at);
    const QModelIndex index = m_view->indexAt(inView);
    if (!index.isValid() || !m_view->viewport()->rect().contains(inView))
        return std::nullopt;
    const auto column = BankModel::optionalAt(index.column());
    if (!column || vq::bank::isNumberColumn(*column))
        return std::nullopt;
    return column;
}

bool EditorWindow::takesDrop(const QPoint& at, const QString& file) const {
    if (file.isEmpty())
        return false;
    if (droppedKind(file) != Dropped::Nothing)
        return true;
    const auto column = mediaColumnAt(at);
    return column && (vq::bank::isPictureColumn(*column) ? isPictureFile(file) : isClipFile(file));
}

void EditorWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (!path.isEmpty() && dropOnCell(event->position().toPoint(), path)) {
        event->acceptProposedAction();
        return;
    }
    if (path.isEmpty() || droppedKind(path) == Dropped::Nothing) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drag ends first: the program it came from is not held while the preview is open.
    QTimer::singleShot(0, this, [this, path] {
        if (droppedKind(path) == Dropped::Bank) {
            openFile(path); // which asks first about unsaved changes
        } else {
            importWithPreview(path);
        }
    });
}

bool EditorWindow::dropOnCell(const QPoint& at, const QString& file) {
    const auto column = mediaColumnAt(at);
    if (!column)
        return false;
    const QModelIndex index = m_view->indexAt(m_view->viewport()->mapFrom(this, at));
    const bool fits = vq::bank::isPictureColumn(*column) ? isPictureFile(file) : isClipFile(file);
    if (!fits) {
        // A bank or a list dropped on the cell is still opened or imported.
        if (droppedKind(file) != Dropped::Nothing)
            return false;
        statusBar()->showMessage(
            vq::bank::isPictureColumn(*column)
                ? QStringLiteral("这不是放映程序能显示的图片（JPG、PNG、BMP、GIF）")
                : QStringLiteral("这不是声音文件（WAV、OGG、FLAC、MP3）"),
            10000);
        return true;
    }
    const int row = m_proxy->mapToSource(index).row();
    // The drag ends first: the program it came from is not held by a box this may show.
    QTimer::singleShot(0, this, [this, row, column, file] { takeMedia(row, *column, file); });
    return true;
}

bool EditorWindow::takeMedia(int row, vq::bank::OptionalColumn column, const QString& file) {
    if (row < 0 || row >= m_model->rowCount())
        return false;
    if (!hasMediaFolder())
        return false;
    QString name;
    try {
        name = MediaFolder(mediaFolder()).take(file);
    } catch (const vq::Exception& e) {
        showError(this, e.message());
        return false;
    }
    // The name may have named another file before (or none): its thumbnail is read again.
    m_thumbnails->forget(name);
    if (!m_model->setData(m_model->index(row, BankModel::columnOf(column)), name))
        return false;
    selectRow(row);
    statusBar()->showMessage(
        QStringLiteral("第 %1 行的%2：%3/%4")
            .arg(row + 1)
            .arg(vq::bank::optionalColumnName(column), bankschema::kMediaFolder, name),
        5000);
    return true;
}

bool EditorWindow::hasMediaFolder() {
    if (!m_path.isEmpty())
        return true;
    showError(this, QStringLiteral("请先保存题库：图片和声音要复制到题库旁边的“%1”文件夹，"
                                   "题库保存之后才知道这个文件夹在哪里。")
                        .arg(bankschema::kMediaFolder));
    return false;
}

void EditorWindow::chooseMedia(vq::bank::OptionalColumn column) {
    const int row = currentRow();
    if (row < 0 || !hasMediaFolder())
        return;
    const bool picture = vq::bank::isPictureColumn(column);
    const QString file = QFileDialog::getOpenFileName(
        this,
        QStringLiteral("选择%1 — 第 %2 行").arg(vq::bank::optionalColumnName(column)).arg(row + 1),
        m_path.isEmpty() ? lastFolder() : QFileInfo(m_path).absolutePath(),
        picture ? kPictureFilter : kClipFilter);
    if (!file.isEmpty())
        takeMedia(row, column, file);
}

void EditorWindow::clearMedia(vq::bank::OptionalColumn column) {
    const int row = currentRow();
    if (row >= 0)
        m_model->setData(m_model->index(row, BankModel::columnOf(column)), QString());
}

bool EditorWindow::playClip() {
    const int row = currentRow();
    const QVariant name =
        row < 0 ? QVariant() : m_model->row(row).optional[size_t(vq::bank::OptionalColumn::Sound)];
    if (!name.isValid()) {
        statusBar()->showMessage(QStringLiteral("这一行没有声音"), 5000);
        return false;
    }
    const QString path = vq::bank::MediaInspector(mediaFolder()).pathOf(name.toString());
    QFile file(path);
    if (m_path.isEmpty() || !openRegularFile(file, nullptr)) {
        statusBar()->showMessage(QStringLiteral("找不到声音文件：%1 文件夹中没有“%2”")
                                     .arg(bankschema::kMediaFolder, name.toString()),
                                 10000);
        return false;
    }
    const vq::SoundKind kind = vq::soundKindOf(file.read(12));
    if (!m_sounds.plays(kind)) {
        statusBar()->showMessage(QStringLiteral("“%1”不能在这台电脑上播放：这里能播放的声音是 %2")
                                     .arg(name.toString(), m_sounds.playableKinds()),
                                 10000);
        return false;
    }
    m_sounds.play(path);
    statusBar()->showMessage(QStringLiteral("正在播放“%1”").arg(name.toString()), 5000);
    return true;
}

void EditorWindow::stopClip() {
    m_sounds.stop();
    statusBar()->clearMessage();
}

bool EditorWindow::exportTo(const QString& path) {
    try {
        if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
            exportXlsx(path, m_model->rows());
        else
            exportCsv(path, m_model->rows());
    } catch (const vq::Exception& e) {
        showError(this, e.message());
        return false;
    }
    rememberFolder(path);
    statusBar()->showMessage(QStringLiteral("已导出到 %1").arg(QDir::toNativeSeparators(path)),
                             5000);
    return true;
}

void EditorWindow::exportDialog() {
    const QString base = m_path.isEmpty() ? QStringLiteral("题库") : QFileInfo(m_path).baseName();
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出题目"),
        QDir(lastFolder()).filePath(base + QStringLiteral(".xlsx")),
        QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件，UTF-8 (*.csv)"), &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += filter.contains(QLatin1String("csv")) ? QStringLiteral(".csv")
                                                      : QStringLiteral(".xlsx");
    exportTo(path);
}

void EditorWindow::runCheck() {
    m_findings->clear();
    // Files put into the media folder meanwhile show as the check finds them.
    m_thumbnails->forgetAll();
    m_model->thumbnailsChanged();
    QList<Finding> findings;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        findings = checkRows(m_model->rows(), m_path);
        QApplication::restoreOverrideCursor();
    } catch (const vq::Exception& e) {
        QApplication::restoreOverrideCursor();
        showError(this, e.message());
        return;
    }
    for (const Finding& f : findings) {
        const QString mark = f.kind == Finding::Problem   ? QStringLiteral("✖ ")
                             : f.kind == Finding::Warning ? QStringLiteral("⚠ ")
                                                          : QString();
        auto* item = new QListWidgetItem(mark + f.text);
        QVariantList rows;
        for (int r : f.rows)
            rows << r;
        item->setData(Qt::UserRole, rows);
        if (f.kind == Finding::Problem)
            item->setForeground(QColor(170, 0, 0));
        if (!rows.isEmpty())
            item->setToolTip(QStringLiteral("单击选中第 %1 行").arg(f.rows.front() + 1));
        m_findings->addItem(item);
    }
    m_bottom->setCurrentWidget(m_findings);
}

void EditorWindow::saveOptions() {
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("保存选项"));
    auto* presenter =
        new QRadioButton(QStringLiteral("使用放映程序的密码（放映程序只能打开这种题库）"));
    auto* other = new QRadioButton(QStringLiteral("使用其他密码："));
    auto* none = new QRadioButton(QStringLiteral("不设密码"));
    auto* password = new QLineEdit;
    password->setEchoMode(QLineEdit::Password);
    password->setMaxLength(20);
    if (m_savePassword == vq::jet::kBankPassword) {
        presenter->setChecked(true);
    } else if (m_savePassword.isEmpty()) {
        none->setChecked(true);
    } else {
        other->setChecked(true);
        password->setText(m_savePassword);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("保存题库时使用的密码：")));
    layout->addWidget(presenter);
    auto* otherRow = new QHBoxLayout;
    otherRow->addWidget(other);
    otherRow->addWidget(password, 1);
    layout->addLayout(otherRow);
    layout->addWidget(none);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(password, &QLineEdit::textEdited, other, [other] { other->setChecked(true); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (presenter->isChecked())
        m_savePassword = vq::jet::kBankPassword;
    else if (none->isChecked())
        m_savePassword.clear();
    else
        m_savePassword = password->text();
}

void EditorWindow::preview() {
    if (m_model->hasProblems()) {
        showError(this, QStringLiteral("编号有问题，请先按下方“问题”列表改好再预览。"));
        return;
    }
    try {
        const std::optional<PresenterInstallation> from = findInstallation(m_path);
        if (!from)
            throw vq::Exception(QStringLiteral("找不到放映程序 velquo 的安装，无法预览。"));
        m_previews.push_back(startPreview(m_model->rows(), *from, mediaFolder()));
    } catch (const vq::Exception& e) {
        showError(this, e.message());
    }
}

QString EditorWindow::lastFolder() const {
    const QString folder = QSettings().value(QStringLiteral("lastFolder")).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void EditorWindow::rememberFolder(const QString& file) {
    QSettings().setValue(QStringLiteral("lastFolder"), QFileInfo(file).absolutePath());
}

} // namespace vq::editor
