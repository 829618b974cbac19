#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <cstdint>
#include <vector>

// A read-only text area for texts of any size: long lines wrap at the area's width, and only the
// rows in sight are drawn, so a record of tens of megabytes, or one line of that size, opens at
// once. The user scrolls with the bars, the wheel and the keys, selects with the mouse or
// Ctrl+A, and copies with Ctrl+C.
class TTextView : public QAbstractScrollArea {
public:
    explicit TTextView(QWidget* parent = nullptr);

    // The text shown; lines end at "\n".
    const QString& Text() const { return m_text; }
    void SetText(QString text);
    void Clear();
    // The selected text, empty when nothing is selected.
    QString SelectedText() const;
    // The number of rows the text takes at the current width.
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // The text of a row (from 0), without its line feed.
    QString RowText(int row) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct TRow {
        qsizetype start;
        qsizetype length;  // without the line feed
    };
    void Wrap();
    void UpdateScrollBars();
    // The width of the unit at at, in 64ths of a pixel and in pixels.
    std::int32_t Units(qsizetype at) const;
    float Advance(qsizetype at) const;
    qreal RowHeight() const;
    int VisibleRows() const;
    // Position in the text of a point of the viewport.
    qsizetype PositionAt(const QPoint& point) const;

    QString m_text;
    std::vector<TRow> m_rows;
    // The width of each UTF-16 unit met so far in the current font, in 64ths of a pixel as the
    // font gives it; negative until measured.
    mutable std::vector<std::int32_t> m_advances;
    int m_wrappedWidth = -1;
    qsizetype m_anchor = 0;
    qsizetype m_cursor = 0;
};
