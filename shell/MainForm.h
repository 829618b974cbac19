#pragma once

#include "conversion/ConversionRun.h"
#include "conversion/ConversionState.h"
#include "conversion/RecordConverters.h"
#include "conversion/Services.h"
#include "selection/CandidateRows.h"
#include "shell/Dialogs.h"
#include "shell/Messages.h"
#include "shell/ProgramFiles.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class TMainForm;
}
class TDelayedStore;
class TProgressForm;
class TViewForm;

// The main window: the candidate list of record files, its buttons, and the state that the
// conversions share. It restores the list, its position and the settings from the program's folder
// when it is made, stores them there about a second after they change (see TDelayedStore), and
// when it goes. It is the candidate list of the conversion
// run and of the add-files dialog, and owns the progress window and the viewer.
class TMainForm : public QWidget, public TCandidateService, public TCandidateRows {
public:
    // folder holds the two files, with its trailing separator.
    TMainForm(TShellMessages& messages, TDialogs& dialogs, TFileService& files, std::string folder);
    ~TMainForm() override;

    void FormCreate();
    void FormDestroy();
    void tuikaClick();
    void alldelBtnClick();
    void seldelBtnClick();
    void FileListViewDblClick();
    void SettingSpdBtnClick();
    void AboutClick();
    void CloseBtnClick();
    void DbgBtnClick();
    void ConvBtnClick();
    void SelConvBtnClick();

    TConversionState& State() { return m_state; }
    TProgressForm& ProgressForm() { return *m_progressForm; }
    // The viewer, made when first asked for.
    TViewForm& ViewForm();
    // Every row, top to bottom.
    std::vector<TCandidateRow> Rows() const;
    // True while a conversion run holds the window.
    bool Running() const { return m_running; }

    // Who hands files to the window.
    enum class TOpener { CommandLine, Drop };
    // Adds the rows that the files and folders at paths give (see CandidatesOf), leaving out rows
    // the list has already; the status line then tells the rows added (CommandLine) or the rows
    // there are (Drop), and the files left out. During a run the files wait for its end: rows never
    // change under a run.
    void OpenFiles(const std::vector<std::string>& paths, TOpener opener);

    // Called when the window has closed, which ends the program.
    std::function<void()> OnClosed;

    // Stores the list, the position and the settings now, as the end of the program does.
    void Store();
    // The program is asked to end (a signal): stores everything now, and closes as the close
    // button does, at once or, during a run, once the record under way is converted, without
    // the run's closing message (a box already up goes).
    void RequestEnd();
    // Nothing is stored from now on (the program's folder could not be made).
    void StoreNothing() { m_storing = false; }

    // The candidate list.
    int RowCount() const override;
    std::optional<int> SelectedRow() const override;
    std::string Caption(int row) const override;
    std::string SubItem(int row) const override;
    void DeleteRow(int row) override;
    void Clear() override;
    void AppendRow(std::string_view name, std::string_view directory) override;
    void SetReason(int row, const TUserText& reason) override;
    void AppendRows(const std::vector<TCandidateRow>& rows) override;
    void SelectRow(int row) override;
    void Focus() override;
    void UpdateButtons() override;
    void UpdateStatusLine() override;
    void RowConverted(int row) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    template <typename Body>
    void Run(Body&& body);
    // The local files of a drag, none when it carries no file.
    static std::vector<std::string> DroppedFiles(const QEvent& event);
    void ShowNewDiagnostics();
    // Stores the list (without the rows the run under way has converted), the position and the
    // settings; a failure goes to messages. The settings file is written again only when asked
    // to, or when what it holds has changed since this window last wrote it.
    void StoreWith(TShellMessages& messages, bool settingsAlways);
    // The list or the settings have changed: they go to disk shortly.
    void Changed();

    std::unique_ptr<Ui::TMainForm> m_ui;
    TShellMessages& m_messages;
    TDialogs& m_dialogs;
    TProgramFiles m_programFiles;
    TConversionState m_state;
    std::unique_ptr<TViewForm> m_viewForm;
    std::unique_ptr<TProgressForm> m_progressForm;
    std::unique_ptr<TRecordConverters> m_converters;
    std::unique_ptr<TConversionRun> m_run;
    bool m_running = false;
    // Closes once the run under way ends.
    bool m_endAfterRun = false;
    bool m_storing = true;
    // The viewer shows its board: as stored, until the viewer is made, and as it was when it goes.
    bool m_viewBoard = true;
    // The stored list was there but could not be read: it is not replaced at the end.
    bool m_listUnreadable = false;
    std::size_t m_diagnosticsShown = 0;
    // Files handed to the window during a run, opened when it ends.
    std::vector<std::pair<std::vector<std::string>, TOpener>> m_waiting;
    // The rows that the run under way has converted, in order.
    std::vector<int> m_converted;
    std::unique_ptr<TDelayedStore> m_delayedStore;
    // What this window last wrote to the settings file.
    std::optional<TStoredSettings> m_storedSettings;
};
