#pragma once

#include <QAbstractScrollArea>
#include <QList>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;

// A row of a wrapped text: where it starts in the text and its length, in UTF-16 code units.
struct TTextRow {
    qsizetype start;
    qsizetype length;  // without the line feed
};

// The rows of a text, in blocks of many rows: the list grows without copying what it holds, and
// keeps its blocks when it is emptied, for the rows made next, so that neither a slice of the
// work nor a change of width frees, or asks the system again for, the memory of millions of rows.
// Once all the rows are made, the blocks left over go (ShrinkToFit).
class TRowList {
public:
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const TTextRow& operator[](std::size_t row) const { return m_blocks[row / BLOCK][row % BLOCK]; }
    const TTextRow& at(std::size_t row) const;
    const TTextRow& back() const { return (*this)[m_size - 1]; }
    void push_back(const TTextRow& row);
    void clear() { m_size = 0; }
    void ShrinkToFit();
    // The last row that starts at position or before; 0 when none does.
    std::size_t RowAt(qsizetype position) const;

private:
    static constexpr std::size_t BLOCK = 4096;
    std::vector<std::unique_ptr<TTextRow[]>> m_blocks;
    std::size_t m_size = 0;
};

// The rows a text wraps into at a width, made a part at a time: as far as the text is there, and
// as far as they are asked for. Long lines break after the last blank that fits, or where the room
// ends.
class TTextRows {
public:
    using TRow = TTextRow;
    // The width of the UTF-16 code unit at a position of the text, in 64ths of a pixel.
    using TMeasure = std::function<std::int32_t(qsizetype)>;

    // The rows made so far; each is final.
    TRowList rows;

    // Starts again from the start of the text, or from from (the start of a row), for rows room
    // wide (64ths of a pixel).
    void Start(std::int64_t room, qsizetype from = 0);
    // Wraps the text on to until (a position in it); a line that does not end before until is
    // carried on by the next call. complete says the text is whole: its last line then ends at
    // its end. advances holds each UTF-16 code unit's width in 64ths of a pixel, negative where
    // measure is to be asked.
    void Wrap(const QString& text, qsizetype until, bool complete, const std::int32_t* advances,
              const TMeasure& measure);
    // Where the wrapping has come to in the text.
    qsizetype At() const { return m_at; }
    // True once the whole text is wrapped.
    bool Done() const { return m_done; }

private:
    std::int64_t m_room = 64;
    qsizetype m_at = 0;
    bool m_done = false;
    // The row being made: where it starts, where it may break (-1: nowhere yet), its width so
    // far and at that break.
    qsizetype m_rowStart = 0;
    qsizetype m_breakAt = -1;
    std::int64_t m_x = 0;
    std::int64_t m_xAtBreak = 0;
};

// A read-only text area for texts of any size: long lines wrap at the area's width, and only the
// rows in sight are drawn, so a record of tens of megabytes, or one line of that size, opens at
// once. A text can come a piece at a time: the area takes what the rows in sight need, and the
// rest in short slices from the event loop once it has painted. Another width is taken the same
// way: the rows in sight first, from the text the top row showed, and the rest in slices. The user
// scrolls with the bars, the wheel and the keys, selects with the mouse or Ctrl+A, and copies with
// Ctrl+C, or with the text's menu (EditActions); what needs the whole text (the end, the thumb,
// Ctrl+A, another font) has the rest made at once, and so has any input while a new width's rows
// have not yet come to the text shown.
class TTextView : public QAbstractScrollArea {
public:
    // Appends the next piece of a text to text; true once the whole text is appended.
    using TTextSource = std::function<bool(QString& text)>;

    explicit TTextView(QWidget* parent = nullptr);

    // The text shown, whole; lines end at "\n".
    const QString& Text();
    void SetText(QString text);
    // Shows the text source gives, which has at most size UTF-16 code units.
    void SetSource(TTextSource source, qsizetype size);
    void Clear();
    // True when the whole text is there and wrapped.
    bool Complete() const { return m_rows.Done(); }
    // The selected text, empty when nothing is selected.
    QString SelectedText() const;
    // The number of rows the whole text takes at the current width.
    int RowCount();
    // The text of a row (from 0), without its line feed.
    QString RowText(int row);
    // The position in the text of the top row's start.
    qsizetype TopPosition() const;
    // コピー (the selection to the clipboard, Ctrl+C) and すべて選択 (Ctrl+A), for a menu.
    QList<QAction*> EditActions() const { return {m_copy, m_selectAll}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    using TRow = TTextRows::TRow;
    // Starts the rows again at the current width.
    void Rewrap();
    // The width rows wrap into at the current width, in 64ths of a pixel.
    std::int64_t RowRoom() const;
    // One step of the work left: a piece of the text, or up to codeUnits of it (UTF-16 code
    // units) wrapped. True once all is done.
    bool Step(qsizetype codeUnits);
    // Makes rows until there are count, or the text ends.
    void MakeRows(std::size_t count);
    // Makes the rows that scrolling down by count rows shows.
    void MakeRowsBelow(int count);
    // Does all the work left.
    void Finish();
    // Once the rows of a new width have come to the text the top row showed, that row goes to the
    // top of the bars; true when no such text waits (any more).
    bool Resolve();
    // Makes the rows of a new width up to the text the top row showed, at once.
    void Settle();
    // Makes count rows from the text the top row showed, for a width whose rows have not come
    // there yet.
    void MakeTopRows(std::size_t count);
    void SelectAll();
    void Copy();
    void SelectionChanged();
    // A slice of the work left, from the event loop.
    void Slice();
    void UpdateScrollBars();
    // The width of the UTF-16 code unit at at, in 64ths of a pixel and in pixels.
    std::int32_t AdvanceIn64ths(qsizetype at) const;
    float Advance(qsizetype at) const;
    qreal RowHeight() const;
    int VisibleRows() const;
    // Position in the text of a point of the viewport.
    qsizetype PositionAt(const QPoint& point) const;

    QString m_text;
    // What gives the rest of the text; empty once all of it is there.
    TTextSource m_source;
    TTextRows m_rows;
    TTextRows::TMeasure m_measure;
    QTimer m_slices;
    // The width of each UTF-16 unit met so far in the current font, in 64ths of a pixel as the
    // font gives it; negative until measured.
    mutable std::vector<std::int32_t> m_advances;
    int m_wrappedWidth = -1;
    qsizetype m_anchor = 0;
    qsizetype m_cursor = 0;
    // After a change of width: the start of the row the top showed, and the rows made from it,
    // shown until the rows of the whole text come to it; -1 when there is none.
    qsizetype m_pendingTop = -1;
    TTextRows m_topRows;
    QAction* m_copy;
    QAction* m_selectAll;
};
