#pragma once

#include "bankfile.h"

#include "platform/sound.h"

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QTemporaryDir;

namespace vq::editor {

class BankModel;
class ThumbnailCache;

// The question-bank editor's window: the table of questions, the problems and the check's
// findings below it, and the file, edit and bank actions.
class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    // The clips are played through `sounds`, the presenter's own sound path.
    explicit EditorWindow(vq::SoundService& sounds, QWidget* parent = nullptr);
    ~EditorWindow() override;

    // Opens a bank; a failure is shown in a message box. False when nothing was opened.
    bool openFile(const QString& path);
    // Saves to the current file (asks for one when there is none) or to path.
    bool save();
    bool saveTo(const QString& path);
    enum class ImportMode { ReplaceAll, Append };
    // Imports a spreadsheet without the preview (the preview's choice made).
    bool importFile(const QString& path, ImportMode mode);
    bool exportTo(const QString& path);
    void runCheck();
    // Adds a row with the next free number below the current one and starts editing it.
    void addRow();
    void deleteSelectedRows();

    BankModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }
    QSortFilterProxyModel* proxy() const { return m_proxy; }
    QListWidget* problemsList() const { return m_problems; }
    QListWidget* findingsList() const { return m_findings; }
    ThumbnailCache* thumbnails() const { return m_thumbnails; }
    const QString& path() const { return m_path; }
    const QString& savePassword() const { return m_savePassword; }
    void setSavePassword(const QString& password) { m_savePassword = password; }
    // The file row shown at the view's current index, -1 for none.
    int currentRow() const;
    // Selects a file row in the view and makes it current.
    void selectRow(int row);

    // Imports a spreadsheet after its preview; false when nothing came in.
    bool importWithPreview(const QString& path);
    // The selected rows to the clipboard, as a spreadsheet program copies them.
    void copyRows();
    // The clipboard's rows after their preview (adding them, or replacing the selected rows),
    // or one cell's text into the current cell.
    void paste();
    bool pasteRows(const QString& text);

    // A picture or clip taken into the media folder beside the bank and named in the row's
    // cell, as one undoable step; a bank not yet saved has no folder, and is to be saved first
    // (said in a box). False when nothing was taken.
    bool takeMedia(int row, vq::bank::OptionalColumn column, const QString& file);
    // Empties the column's cell of the current row.
    void clearMedia(vq::bank::OptionalColumn column);
    // Plays the current row's clip; what keeps it from playing is said in the status bar.
    bool playClip();
    void stopClip();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A bank dropped on the window opens; a CSV file or workbook is imported; a picture or a
    // clip dropped on a cell of its column is taken into that cell.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setUpTable();
    void buildFindBar();
    void buildResultLists();
    void buildActions();
    // The file menu's actions the toolbar shows too.
    struct FileActions {
        QAction* newBank = nullptr;
        QAction* open = nullptr;
        QAction* save = nullptr;
        QAction* import = nullptr;
    };
    FileActions buildFileMenu(QMenu* file);
    QList<QAction*> buildEditMenu(QMenu* edit);
    // The media menu, which is the table's context menu too; returns play and stop.
    QList<QAction*> buildMediaMenu(QMenu* media);
    void chooseMedia(vq::bank::OptionalColumn column);
    // Whether the bank has been saved, so that its media folder is known; else says so in a box.
    bool hasMediaFolder();
    // A picture or clip dropped on a cell of its column; false for any other drop.
    bool dropOnCell(const QPoint& at, const QString& file);
    // The picture or clip column of the cell under a point of the window, if any.
    std::optional<vq::bank::OptionalColumn> mediaColumnAt(const QPoint& at) const;
    // Whether a drop of the file there is taken: a bank or a list anywhere, a picture or a clip
    // on a cell of its column.
    bool takesDrop(const QPoint& at, const QString& file) const;
    QAction* toolbarButtonFor(QAction* action, const QString& text);
    QAction* menuAction(QMenu* menu, const QString& text, const QList<QKeySequence>& keys,
                        const std::function<void()>& slot);
    void updateTitle();
    // Rows tall enough for the thumbnails while any row names a picture.
    void updateRowHeight();
    // The media folder beside the bank; empty for a bank not yet saved.
    QString mediaFolder() const;
    void updateProblems();
    bool maybeSave();
    void openDialog();
    bool saveAsDialog();
    void importDialog();
    // The imported rows into the table as one step, replacing every row or appended.
    void takeIn(const ImportedTable& table, bool replaceAll, const QString& what);
    void exportDialog();
    void saveOptions();
    void editLong();
    void findNext(bool backwards);
    void preview();
    QString lastFolder() const;
    void rememberFolder(const QString& file);
    QList<int> selectedRows() const;
    QList<int> selectedViewRows() const;

    vq::SoundService& m_sounds;
    BankModel* m_model;
    QSortFilterProxyModel* m_proxy;
    QTableView* m_view;
    QWidget* m_findBar;
    QLineEdit* m_findEdit;
    QLabel* m_findStatus;
    QTabWidget* m_bottom;
    QListWidget* m_problems;
    QListWidget* m_findings;
    QTimer m_problemsTimer;
    ThumbnailCache* m_thumbnails;
    QMenu* m_mediaMenu = nullptr;
    QString m_path;
    QString m_savePassword;
    std::vector<std::unique_ptr<QTemporaryDir>> m_previews;
};

} // namespace vq::editor
