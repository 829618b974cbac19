#pragma once

#include "board/GameLine.h"
#include "board/Replay.h"

#include "conversion/GameCheck.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TBoardPane;
}

// The viewer's board pane: the game of the record shown beside its text, or the game its
// conversion gives (変換前 / 変換後), one line above the board saying whether and where the two
// differ, and the means to move through the game (a slider, buttons for the first, previous, next
// and last move, the keys Left, Right, Home and End, the mouse wheel), with the move shown, its
// number, colour and point, and the stones each side has taken. Where a move of the record has
// alternatives (variations), a button beside it says how many, and Up, Down or the button step
// into them.
class TBoardPane : public QWidget {
public:
    explicit TBoardPane(QWidget* parent = nullptr);
    ~TBoardPane() override;

    // Shows the games of a record's check at the last move, the record's own game first.
    void ShowCheck(TGameCheck check);
    // Shows the games of a new check of the same record (other settings), keeping the side and
    // the move shown.
    void UpdateCheck(TGameCheck check);
    // Shows no game; reason (empty for none) goes under the board.
    void ShowNothing(const QString& reason);
    // Shows no game yet: reason goes under the board, with a button that asks for the game.
    void ShowDeferred(const QString& reason);

    // The move whose position is shown, from 0 (the start).
    std::size_t Move() const { return m_move; }
    // Shows the position after move (clamped to the last).
    void GoTo(std::size_t move);
    // True when the converted game is shown.
    bool ShowsConverted() const { return m_converted; }
    // Takes the alternative step places away from the one the record's line takes at the move
    // shown (Up and Down; the branch button goes round them all). False when there is none.
    bool SwitchVariation(int step);

    // Called when the user asks for the converted game, before it is shown.
    std::function<void()> OnConvertedAsked;
    // Called when the user asks for the game that ShowDeferred held back.
    std::function<void()> OnGameAsked;
    // Called when the user hides the pane with its close button.
    std::function<void()> OnHideAsked;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowSide(bool converted);
    void Refresh();
    // No board, no move, nothing to move through.
    void ClearBoard();
    const TGameRecord& Shown() const;
    // The game of the side shown: the line of the record's variations taken, or the converted one.
    const TGame& ShownGame() const;
    // The positions of the line taken, and the slider's range, made anew.
    void ReplayLine();

    // Sets a property of widget that the pane's style sheet colours it by (the verdict of the
    // line above the board, a move that breaks a rule), and has it drawn anew.
    static void SetLook(QWidget& widget, const char* property, const char* value);

    std::unique_ptr<Ui::TBoardPane> m_ui;

    std::optional<TGameCheck> m_check;
    // The line through the record's variations, made with its positions.
    TGameLine m_line;
    // The positions of the record's game and of the converted one, made when first shown.
    std::unique_ptr<TReplay> m_replays[2];
    bool m_converted = false;
    std::size_t m_move = 0;
};
