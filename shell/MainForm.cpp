#include "shell/MainForm.h"

#include "ui_MainForm.h"

#include "conversion/ConversionRun.h"
#include "conversion/FileError.h"
#include "selection/AddRules.h"
#include "selection/StatusLine.h"
#include "shell/DelayedStore.h"
#include "shell/ListRules.h"
#include "shell/OnScreen.h"
#include "shell/OpenFiles.h"
#include "shell/ProgressForm.h"
#include "shell/QtText.h"
#include "shell/ViewForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMoveEvent>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QUrl>

#include <cassert>
#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr int NARROW_WIDTH = 450;
constexpr int WIDE_WIDTH = 842;

// A folder's bytes and its text, shared by the rows of that folder.
struct TFolderText {
    std::string bytes;
    QString text;
};

// A row of the list. It keeps its texts as the file system spells them, and the columns show them
// decoded: the folder's text is its folder's, made once for all its rows, and the file name's is
// made when it is first asked for, so a stored list of thousands of rows decodes only the few the
// window shows at start.
class TRowItem : public QTreeWidgetItem {
public:
    static constexpr int TYPE = QTreeWidgetItem::UserType;

    TRowItem(std::string name, std::shared_ptr<const TFolderText> folder)
        : QTreeWidgetItem(TYPE), m_name(std::move(name)), m_folder(std::move(folder)) {}

    QVariant data(int column, int role) const override {
        if ((role == Qt::DisplayRole || role == Qt::EditRole) && (column == 0 || column == 1)) {
            if (column == 1) {
                return m_folder->text;
            }
            if (!m_nameText) {
                m_nameText = FromName(m_name);
            }
            return *m_nameText;
        }
        return QTreeWidgetItem::data(column, role);
    }

    const std::string& Name() const { return m_name; }
    const std::string& Directory() const { return m_folder->bytes; }

private:
    std::string m_name;
    std::shared_ptr<const TFolderText> m_folder;
    mutable std::optional<QString> m_nameText;
};

// What a store in the background does with a failure: nothing. Nobody may be there to answer a
// box (a run holds the window), and the store at the end tells the same failure.
class TQuietMessages : public TShellMessages {
public:
    void Info(const TUserText&) override {}
    void Error(const TUserText&) override {}
    void ApplicationError(const TUserText&) override {}
    void SetOwner(QWidget*) override {}
};

const TRowItem& RowItem(const QTreeWidgetItem& item) {
    // Every row of the list is made by this file.
    assert(item.type() == TRowItem::TYPE);
    return static_cast<const TRowItem&>(item);
}

// The shared text of a folder.
std::shared_ptr<const TFolderText> FolderText(std::string_view bytes) {
    return std::make_shared<const TFolderText>(TFolderText{std::string(bytes), FromName(bytes)});
}

// The items of new rows, in order; rows of one folder that come together share its text. Items
// not taken are deleted with it.
class TNewRows {
public:
    TNewRows() = default;
    TNewRows(const TNewRows&) = delete;
    TNewRows& operator=(const TNewRows&) = delete;
    ~TNewRows() { qDeleteAll(m_items); }

    void Reserve(std::size_t count) { m_items.reserve(static_cast<qsizetype>(count)); }
    void Add(std::string_view name, std::string_view directory) {
        if (!m_folder || m_folder->bytes != directory) {
            m_folder = FolderText(directory);
        }
        m_items.append(new TRowItem(std::string(name), m_folder));
    }
    // Appends the rows to list in one insertion and one repaint.
    void AppendTo(QTreeWidget& list) {
        list.setUpdatesEnabled(false);
        list.addTopLevelItems(std::exchange(m_items, {}));
        list.setUpdatesEnabled(true);
    }

private:
    QList<QTreeWidgetItem*> m_items;
    std::shared_ptr<const TFolderText> m_folder;
};

}  // namespace

TMainForm::TMainForm(TShellMessages& messages, TDialogs& dialogs, TFileService& files,
                     std::string folder)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_ui(std::make_unique<Ui::TMainForm>()),
      m_messages(messages),
      m_dialogs(dialogs),
      m_programFiles(folder, files) {
    m_delayedStore = std::make_unique<TDelayedStore>([this] {
        TQuietMessages quiet;
        StoreWith(quiet, false);
    });
    m_ui->setupUi(this);
    setFixedSize(size());
    move(281, 117);
    KeepOnScreen(*this, nullptr);
    m_ui->FileListView->setColumnWidth(0, 150);
    m_ui->FileListView->setColumnWidth(1, 295);
    m_ui->FileListView->viewport()->installEventFilter(this);
    m_ui->FileListView->viewport()->setAcceptDrops(true);
    m_state.ExeDir = folder;

    connect(m_ui->tuika, &QPushButton::clicked, this, &TMainForm::tuikaClick);
    connect(m_ui->ConvBtn, &QPushButton::clicked, this, &TMainForm::ConvBtnClick);
    connect(m_ui->SelConvBtn, &QPushButton::clicked, this, &TMainForm::SelConvBtnClick);
    connect(m_ui->About, &QPushButton::clicked, this, &TMainForm::AboutClick);
    connect(m_ui->CloseBtn, &QPushButton::clicked, this, &TMainForm::CloseBtnClick);
    connect(m_ui->SettingSpdBtn, &QToolButton::clicked, this, &TMainForm::SettingSpdBtnClick);
    connect(m_ui->DbgBtn, &QToolButton::clicked, this, &TMainForm::DbgBtnClick);
    connect(m_ui->seldelBtn, &QToolButton::clicked, this, &TMainForm::seldelBtnClick);
    connect(m_ui->alldelBtn, &QToolButton::clicked, this, &TMainForm::alldelBtnClick);

    FormCreate();

    // The other windows come after the main window's creation, and go before its destruction;
    // the viewer only once it is asked for, so a start does not wait for it.
    m_progressForm = std::make_unique<TProgressForm>(m_state, this);
    m_state.StepListener = m_progressForm.get();
    m_converters = std::make_unique<TRecordConverters>(m_state, *m_progressForm, files);
    m_run = std::make_unique<TConversionRun>(m_state, *this, *m_progressForm, m_messages,
                                             *m_converters);
}

TMainForm::~TMainForm() {
    m_run.reset();
    m_converters.reset();
    m_state.StepListener = nullptr;
    m_progressForm.reset();
    if (m_viewForm) {
        m_viewBoard = m_viewForm->BoardShown();
        m_viewForm.reset();
    }
    FormDestroy();
}

TViewForm& TMainForm::ViewForm() {
    if (!m_viewForm) {
        m_viewForm = std::make_unique<TViewForm>(this);
        m_viewForm->SetSettings(&m_state.Settings);
        m_viewForm->ShowBoard(m_viewBoard);
    }
    return *m_viewForm;
}

void TMainForm::FormCreate() {
    Guarded(m_messages, [&] {
        try {
            // Made as the list is read, with no copy of its rows between.
            TNewRows rows;
            m_programFiles.LoadList([&](std::string_view name, std::string_view directory) {
                rows.Add(name, directory);
            });
            rows.AppendTo(*m_ui->FileListView);
        } catch (const TFileError&) {
            m_listUnreadable = true;
            throw;
        }
    });
    // Read even when the list could not be: an unreadable list must not cost the user the
    // settings, which the next shut-down would otherwise overwrite with the defaults.
    Guarded(m_messages, [&] {
        const TStoredSettings settings = m_programFiles.LoadSettings();
        // A place stored on a screen that is no longer there, or partly off the screen, is
        // brought whole onto a screen when the window shows (KeepOnScreen).
        move(settings.left, settings.top);
        m_state.Settings = settings.conversion;
        m_viewBoard = settings.viewBoard != 0;
    });
    UpdateButtons();
    // The status line tells the restored rows at once, rather than calling the list empty.
    UpdateStatusLine();
}

void TMainForm::FormDestroy() { Store(); }

void TMainForm::Store() {
    m_delayedStore->Stored();
    StoreWith(m_messages, true);
}

void TMainForm::StoreWith(TShellMessages& messages, bool settingsAlways) {
    if (!m_storing) {
        return;
    }
    Guarded(messages, [&] {
        // A stored list that could not be read at start is left as it is, rather than replaced
        // by what this run knew of it.
        if (!m_listUnreadable) {
            // The rows converted by the run under way go when it ends: the list on disk loses
            // them now, so an end that the run never sees does not bring them back.
            std::vector<bool> converted(static_cast<std::size_t>(RowCount()));
            for (const int row : m_converted) {
                converted[static_cast<std::size_t>(row)] = true;
            }
            std::vector<TCandidateRow> rows;
            for (int row = 0; row < RowCount(); ++row) {
                if (!converted[static_cast<std::size_t>(row)]) {
                    rows.push_back({Caption(row), SubItem(row)});
                }
            }
            m_programFiles.SaveList(rows);
        }
        const bool viewBoard = m_viewForm ? m_viewForm->BoardShown() : m_viewBoard;
        const TStoredSettings settings{y(), x(), m_state.Settings, viewBoard ? 1 : 0};
        // A run changes the list every record, not the settings: the file is not written again
        // each time the list is.
        if (settingsAlways || m_storedSettings != settings) {
            m_programFiles.SaveSettings(settings);
            m_storedSettings = settings;
        }
    });
}

void TMainForm::Changed() {
    if (m_storing) {
        m_delayedStore->Changed();
    }
}

void TMainForm::tuikaClick() {
    Guarded(m_messages, [&] { m_dialogs.AddFiles(this, *this, *m_ui->TmpDirListCBox); });
    UpdateStatusLine();
    UpdateButtons();
}

void TMainForm::alldelBtnClick() {
    Clear();
    UpdateStatusLine();
    UpdateButtons();
}

void TMainForm::seldelBtnClick() {
    if (const std::optional<int> row = SelectedRow()) {
        DeleteRow(*row);
        if (const std::optional<int> next = RowAfterDeletion(*row, RowCount())) {
            SelectRow(*next);
        }
    }
    UpdateStatusLine();
    UpdateButtons();
}

void TMainForm::FileListViewDblClick() {
    const std::optional<int> row = SelectedRow();
    if (RowCount() == 0 || !row) {
        return;
    }
    Guarded(m_messages, [&] { ViewForm().ViewFile(FullPath(*row)); });
}

void TMainForm::SettingSpdBtnClick() {
    Guarded(m_messages, [&] { m_dialogs.Settings(this, m_state); });
    Changed();
}

void TMainForm::AboutClick() {
    Guarded(m_messages, [&] { m_dialogs.About(this); });
}

void TMainForm::CloseBtnClick() { close(); }

void TMainForm::DbgBtnClick() {
    setFixedSize(width() == NARROW_WIDTH ? WIDE_WIDTH : NARROW_WIDTH, height());
}

void TMainForm::ConvBtnClick() {
    Run([&] { m_run->ConvBtnClick(); });
}

void TMainForm::SelConvBtnClick() {
    Run([&] { m_run->SelConvBtnClick(); });
}

template <typename Body>
void TMainForm::Run(Body&& body) {
    if (m_running) {
        return;
    }
    m_running = true;
    m_converted.clear();
    // The run's message boxes come up above the progress window, which stays until they go.
    m_messages.SetOwner(m_progressForm.get());
    Guarded(m_messages, std::forward<Body>(body));
    m_messages.SetOwner(nullptr);
    m_running = false;
    m_converted.clear();
    ShowNewDiagnostics();
    for (const auto& [paths, opener] : std::exchange(m_waiting, {})) {
        OpenFiles(paths, opener);
    }
    if (m_endAfterRun) {
        close();
    }
}

void TMainForm::RequestEnd() {
    Store();
    if (!m_running) {
        close();
        return;
    }
    m_run->RequestEnd();
    m_endAfterRun = true;
    // The run may be showing its closing message already: nobody is there to answer it.
    if (QWidget* box = QApplication::activeModalWidget()) {
        box->close();
    }
}

void TMainForm::OpenFiles(const std::vector<std::string>& paths, TOpener opener) {
    if (m_running) {
        m_waiting.emplace_back(paths, opener);
        return;
    }
    const TOpenedFiles opened = CandidatesOf(paths);
    const std::vector<TCandidateRow> rows = RowsToAdd(*this, opened.rows);
    if (!rows.empty()) {
        AppendRows(rows);
    }
    // The whole text, or a shorter form of the counts that the status line shows whole.
    ShowStatus(
        *m_ui->StatusBar,
        OpenedStatusForms(
            opener == TOpener::CommandLine ? std::optional<std::size_t>(rows.size()) : std::nullopt,
            RowCount(), opened.notRecords, opened.unstorable));
    UpdateButtons();
}

std::vector<std::string> TMainForm::DroppedFiles(const QEvent& event) {
    std::vector<std::string> paths;
    const QMimeData* data = static_cast<const QDropEvent&>(event).mimeData();
    if (data != nullptr && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                paths.push_back(ToName(url.toLocalFile()));
            }
        }
    }
    return paths;
}

void TMainForm::ShowNewDiagnostics() {
    for (; m_diagnosticsShown < m_state.TempMemo.size(); ++m_diagnosticsShown) {
        m_ui->TempMemo->appendPlainText(FromUserText(m_state.TempMemo[m_diagnosticsShown]));
    }
}

std::vector<TCandidateRow> TMainForm::Rows() const {
    std::vector<TCandidateRow> rows;
    const int count = RowCount();
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        rows.push_back({Caption(row), SubItem(row)});
    }
    return rows;
}

int TMainForm::RowCount() const { return m_ui->FileListView->topLevelItemCount(); }

std::optional<int> TMainForm::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = m_ui->FileListView->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return m_ui->FileListView->indexOfTopLevelItem(selected.front());
}

std::string TMainForm::Caption(int row) const {
    return RowItem(*m_ui->FileListView->topLevelItem(row)).Name();
}

std::string TMainForm::SubItem(int row) const {
    return RowItem(*m_ui->FileListView->topLevelItem(row)).Directory();
}

void TMainForm::DeleteRow(int row) {
    delete m_ui->FileListView->takeTopLevelItem(row);
    std::erase(m_converted, row);
    for (int& converted : m_converted) {
        converted -= converted > row ? 1 : 0;
    }
    Changed();
}

void TMainForm::Clear() {
    m_ui->FileListView->clear();
    m_converted.clear();
    Changed();
}

void TMainForm::AppendRow(std::string_view name, std::string_view directory) {
    m_ui->FileListView->addTopLevelItem(new TRowItem(std::string(name), FolderText(directory)));
    Changed();
}

void TMainForm::SetReason(int row, const TUserText& reason) {
    // The row is marked with the warning sign, and its reason shows as its hint, over either
    // column.
    QTreeWidgetItem& item = *m_ui->FileListView->topLevelItem(row);
    const QString hint = FromUserText(reason);
    item.setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
    item.setToolTip(0, hint);
    item.setToolTip(1, hint);
}

void TMainForm::AppendRows(const std::vector<TCandidateRow>& rows) {
    TNewRows items;
    items.Reserve(rows.size());
    for (const TCandidateRow& row : rows) {
        items.Add(row.name, row.directory);
    }
    items.AppendTo(*m_ui->FileListView);
    Changed();
}

void TMainForm::SelectRow(int row) {
    QTreeWidget& list = *m_ui->FileListView;
    list.clearSelection();
    list.setCurrentItem(list.topLevelItem(row), 0, QItemSelectionModel::ClearAndSelect);
}

void TMainForm::Focus() { m_ui->FileListView->setFocus(); }

void TMainForm::UpdateButtons() {
    const bool rows = RowCount() > 0;
    for (QWidget* button :
         {static_cast<QWidget*>(m_ui->ConvBtn), static_cast<QWidget*>(m_ui->SelConvBtn),
          static_cast<QWidget*>(m_ui->seldelBtn), static_cast<QWidget*>(m_ui->alldelBtn)}) {
        button->setEnabled(rows);
    }
}

void TMainForm::UpdateStatusLine() { ShowStatus(*m_ui->StatusBar, {StatusText(RowCount())}); }

void TMainForm::RowConverted(int row) {
    m_converted.push_back(row);
    Changed();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (m_running) {
        event->ignore();
        return;
    }
    event->accept();
    if (OnClosed) {
        OnClosed();
    }
}

void TMainForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Not the move that showing the window reports, which changes nothing.
    if (event->pos() != event->oldPos()) {
        Changed();
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_ui->FileListView->viewport()) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            // A double-click anywhere in the list acts on the selected row, not the one under it.
            FileListViewDblClick();
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto& drag = static_cast<QDragMoveEvent&>(*event);
            if (DroppedFiles(*event).empty()) {
                drag.ignore();
            } else {
                drag.setDropAction(Qt::CopyAction);
                drag.accept();
            }
            return true;
        }
        case QEvent::Drop: {
            auto& drop = static_cast<QDropEvent&>(*event);
            const std::vector<std::string> paths = DroppedFiles(drop);
            if (!paths.empty()) {
                drop.setDropAction(Qt::CopyAction);
                drop.accept();
                OpenFiles(paths, TOpener::Drop);
            }
            return true;
        }
        default:
            return QWidget::eventFilter(watched, event);
    }
}
