#pragma once

#include "board/Replay.h"

#include "conversion/Game.h"

#include <QPixmap>
#include <QWidget>

#include <functional>
#include <optional>

// A Go board drawn as players know it: wood, lines, star points, coordinates (columns from "A"
// without "I", ColumnLetter, along the top and the bottom, rows numbered upwards on both sides) and
// lightly shaded stones, scaled to the widget and drawn at the screen's own resolution. The last
// move carries a ring; a move onto a stone carries a red ring, and a suicide a red cross where its
// stone stood.
class TBoardView : public QWidget {
public:
    explicit TBoardView(QWidget* parent = nullptr);
    ~TBoardView() override;

    // Shows position, whose last move is last (none for the start, a pass or a point off the
    // board).
    void SetPosition(const TPosition& position, const std::optional<TGameMove>& last);
    // Shows no board.
    void Clear();
    bool HasBoard() const { return m_board.has_value(); }
    // The stones shown, when there is a board.
    const std::optional<TBoard>& Board() const { return m_board; }

    // Called with +1 (the next move) or -1 (the one before) for each step of the mouse wheel.
    std::function<void(int)> OnWheelStep;

    QSize sizeHint() const override { return {420, 420}; }
    QSize minimumSizeHint() const override { return {160, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct TGeometry;
    QPixmap DrawBoard(const TGeometry& geometry) const;
    QPixmap DrawStone(const TGeometry& geometry, TStone stone) const;

    // What the pixmaps were drawn for.
    struct TDrawn {
        QSize widget;
        qreal ratio = 0;
        int lines = 0;
        friend bool operator==(const TDrawn&, const TDrawn&) = default;
    };
    TDrawn m_drawn;
    QPixmap m_empty;
    QPixmap m_black;
    QPixmap m_white;

    std::optional<TBoard> m_board;
    std::optional<TGameMove> m_last;
    TPlacement m_placement;
    int m_wheelAngle = 0;  // wheel turn not yet made into a step, in eighths of a degree
};
