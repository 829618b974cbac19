#pragma once

#include "selection/CandidateRows.h"
#include "selection/FileList.h"
#include "selection/FolderBrowser.h"

#include <QDialog>
#include <QIcon>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QHideEvent;
class QShowEvent;

namespace Ui {
class TAddfile;
}

// The modal dialog "追加": the user picks a folder, sees its SGF or UGF records, ticks some and
// OK appends them to the main window's candidate list. The main window makes one for each
// opening and discards it after; only the folder history carries over, through TmpDirListCBox.
//
// Showing a folder from outside (a screenshot, say): set the text of the child "DirectoryList"
// (a QComboBox) with setEditText(path), before or after show(); it lists as typing does.
class TAddfile : public QDialog {
    Q_OBJECT

public:
    // rows: the candidate list; TmpDirListCBox: the main window's hidden history box, copied in
    // when the dialog is shown and back on every close; browser: the folder chooser of "参照".
    TAddfile(TCandidateRows& rows, QComboBox& TmpDirListCBox, TFolderBrowser& browser,
             QWidget* parent = nullptr);
    ~TAddfile() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormShow();
    void FormHide();
    void SelectDirClick();
    void DirectoryListChange(const QString& text);
    void FileListDirChange();
    void SGFRadioBtnClick();
    void UGFRadioBtnClick();
    void CheckAllBtnClick();
    void UnCheckAllBtnClick();
    void CheckFileListBoxMouseDown(Qt::MouseButton button, QPoint position, bool onTickBox);
    void CanButtonClick();
    void OKButtonClick();

    // Lists the folder again with the mask lines of a format, as the format buttons do.
    void UseMask(const std::vector<std::string>& masks);

    std::unique_ptr<Ui::TAddfile> m_ui;
    TCandidateRows& m_rows;
    QComboBox& m_tmpDirListCBox;
    TFolderBrowser& m_browser;
    // The dialog's listing: [ftNormal], mask "*.sgf", no DirBox.
    TFileList FileList;
    // The tool bar's pictures: folder browse, tick all, untick all.
    std::array<QIcon, 3> ToolBarImage;
};
