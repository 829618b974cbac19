#pragma once

#include "conversion/ConversionRun.h"
#include "conversion/ConversionSettings.h"
#include "conversion/GameCheck.h"

#include <QElapsedTimer>
#include <QWidget>

#include <memory>
#include <string>

namespace Ui {
class TViewForm;
}
class QAction;
class QSplitter;
class TBoardPane;

// Shows one file of the candidate list.
class TFileViewer {
public:
    virtual ~TFileViewer() = default;
    // Shows the file at path (as the file system spells it): its text in code page 932, an SGF
    // record in the encoding its CA property names or its bytes show. Throws TFileError (Open) when
    // it cannot be read, and TUserError when it is too large to show; the viewer then shows the new
    // caption and an empty text.
    virtual void ViewFile(const std::string& path) = 0;
};

// The viewer window: one for the whole run of the program, showing the raw text of a record,
// read-only, and beside it, in a pane the user can hide (and drag wider or narrower), the record's
// game on a board, as the converters read it. Closing it hides it. With the board hidden it is the
// classic fixed window; with the board shown it can be resized.
class TViewForm : public QWidget, public TFileViewer {
public:
    // owner, the main window, decides the screen the viewer opens on; it is no parent of it.
    explicit TViewForm(const QWidget* owner = nullptr);
    ~TViewForm() override;

    void ViewFile(const std::string& path) override;

    // Shows or hides the board pane.
    void ShowBoard(bool shown);
    bool BoardShown() const { return m_boardShown; }
    // The conversion settings the converted game is made with (the main window's; none: the
    // defaults). Read whenever the converted game is made.
    void SetSettings(const TConversionSettings* settings) { m_settings = settings; }
    TBoardPane& BoardPane() { return *m_boardPane; }

    // The largest file shown, in bytes.
    static constexpr std::size_t MAX_BYTES = std::size_t{256} << 20;
    // The largest file whose game is read as soon as it is shown, in bytes. A larger one (millions
    // of moves: reading, converting and playing it through takes seconds) waits until the user
    // asks for it, so its text shows as fast as the classic viewer's.
    static constexpr std::size_t GAME_AT_ONCE_BYTES = std::size_t{8} << 20;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the window in front of the program's others, active, and keeps it there until the
    // user turns to another window (FRONT_MS at most).
    void BringToFront();
    // The user turned away: the viewer no longer keeps the front, nor watches the program's
    // events for it.
    void LetGoOfFront();
    // True when the pointer is over the client area of a window of the program.
    static bool PointerOnProgram();
    // Lays the window out for the board shown or hidden.
    void Arrange();
    // Reads the game of the file shown, when the pane shows and the game is not yet read; the
    // game of a large file only when the user asks for it.
    void OfferGame();
    void ReadGame();
    // Reads it again when the settings changed since it was read.
    void ReadGameForSettings();

    std::unique_ptr<Ui::TViewForm> m_ui;
    // Brought to the front and not yet left by the user: a window that takes the front from it
    // meanwhile (the double-click's end, the list, a focus handed back) gives it back.
    bool m_keepFront = false;
    QElapsedTimer m_frontSince;
    QSplitter* m_splitter;
    TBoardPane* m_boardPane;
    QAction* m_boardAction;
    bool m_boardShown = true;
    QSize m_shownSize;
    const TConversionSettings* m_settings = nullptr;
    // The file shown, kept for its game while the pane is hidden or the settings change.
    std::shared_ptr<const std::string> m_bytes;
    TRecordKind m_kind = TRecordKind::Other;
    bool m_gameRead = true;
    // The settings the game shown was read with.
    TConversionSettings m_readWith;
    // The main window's settings now.
    TConversionSettings Settings() const;
    // The check of the file shown with the settings now, which it notes as those read with.
    TGameCheck CheckGame();
};
