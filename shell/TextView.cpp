#include "shell/TextView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {
constexpr int MARGIN = 2;
}

TTextView::TTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void TTextView::SetText(QString text) {
    m_text = std::move(text);
    m_anchor = m_cursor = 0;
    m_wrappedWidth = -1;
    Wrap();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void TTextView::Clear() { SetText(QString()); }

QString TTextView::SelectedText() const {
    const qsizetype from = std::min(m_anchor, m_cursor);
    return m_text.mid(from, std::max(m_anchor, m_cursor) - from);
}

QString TTextView::RowText(int row) const {
    const TRow& span = m_rows.at(static_cast<std::size_t>(row));
    return m_text.mid(span.start, span.length);
}

std::int32_t TTextView::Units(qsizetype at) const {
    const char16_t unit = m_text[at].unicode();
    if (m_advances.empty()) {
        m_advances.assign(0x10000, -1);
    }
    std::int32_t& advance = m_advances[unit];
    if (advance < 0) {
        const QFontMetricsF metrics(font());
        qreal width = 0;
        if (QChar::isHighSurrogate(unit) || QChar::isLowSurrogate(unit)) {
            // A pair outside the basic plane: the high half carries a wide character's width.
            width = QChar::isHighSurrogate(unit) ? metrics.averageCharWidth() * 2 : 0;
        } else if (unit == u'\t') {
            width = metrics.horizontalAdvance(QLatin1Char(' '));
        } else {
            width = metrics.horizontalAdvance(QChar(unit));
        }
        advance = static_cast<std::int32_t>(std::lround(width * 64));
    }
    return advance;
}

float TTextView::Advance(qsizetype at) const { return static_cast<float>(Units(at)) / 64; }

qreal TTextView::RowHeight() const { return QFontMetricsF(font()).lineSpacing(); }

int TTextView::VisibleRows() const {
    return std::max(1, static_cast<int>((viewport()->height() - 2 * MARGIN) / RowHeight()));
}

void TTextView::Wrap() {
    const int width = viewport()->width();
    m_wrappedWidth = width;
    m_rows.clear();
    // Widths are summed in 64ths of a pixel, as the font gives them, in integers: a long line is
    // then no chain of floating-point additions, and the sums are the same.
    const std::int64_t room = std::max<std::int64_t>(1, width - 2 * MARGIN) * 64;
    const qsizetype size = m_text.size();
    const QChar* const text = m_text.constData();
    // Every unit's width from the table, measured where it was never measured.
    if (m_advances.empty()) {
        m_advances.assign(0x10000, -1);
    }
    const std::int32_t* const advances = m_advances.data();
    const auto advanceAt = [&](qsizetype i) {
        const std::int32_t advance = advances[text[i].unicode()];
        return advance >= 0 ? advance : Units(i);
    };
    qsizetype lineStart = 0;
    while (lineStart <= size) {
        qsizetype lineEnd = m_text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0) {
            lineEnd = size;
        }
        // Rows break after the last blank that fits, or where the room ends.
        qsizetype rowStart = lineStart;
        qsizetype breakAt = -1;
        std::int64_t x = 0;
        std::int64_t xAtBreak = 0;
        for (qsizetype i = lineStart; i < lineEnd; ++i) {
            const std::int32_t advance = advanceAt(i);
            if (x + advance > room && i > rowStart && !text[i].isLowSurrogate()) {
                if (breakAt > rowStart) {
                    m_rows.push_back({rowStart, breakAt - rowStart});
                    rowStart = breakAt;
                    x -= xAtBreak;
                }
                // The word carried over may itself leave no room for this character.
                if (x + advance > room && i > rowStart) {
                    m_rows.push_back({rowStart, i - rowStart});
                    rowStart = i;
                    x = 0;
                }
                breakAt = -1;
            }
            x += advance;
            if (text[i] == QLatin1Char(' ')) {
                breakAt = i + 1;
                xAtBreak = x;
            }
        }
        m_rows.push_back({rowStart, lineEnd - rowStart});
        if (lineEnd == size) {
            break;
        }
        lineStart = lineEnd + 1;
    }
    UpdateScrollBars();
}

void TTextView::UpdateScrollBars() {
    const int visible = VisibleRows();
    verticalScrollBar()->setRange(0, std::max(0, RowCount() - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, 0);
}

void TTextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    const qreal height = RowHeight();
    const qsizetype selectionStart = std::min(m_anchor, m_cursor);
    const qsizetype selectionEnd = std::max(m_anchor, m_cursor);
    const int first = verticalScrollBar()->value();
    const int last = std::min(RowCount(), first + VisibleRows() + 1);
    for (int row = first; row < last; ++row) {
        const TRow& span = m_rows[static_cast<std::size_t>(row)];
        const qreal top = MARGIN + (row - first) * height;
        QString text = m_text.mid(span.start, span.length);
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        const qsizetype from = std::clamp(selectionStart, span.start, span.start + span.length);
        const qsizetype to = std::clamp(selectionEnd, span.start, span.start + span.length);
        const QPointF baseline(MARGIN, top + metrics.ascent());
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(baseline, text);
        if (from < to) {
            qreal left = MARGIN;
            for (qsizetype i = span.start; i < from; ++i) {
                left += Advance(i);
            }
            qreal right = left;
            for (qsizetype i = from; i < to; ++i) {
                right += Advance(i);
            }
            // The selected part again, in the highlighted text's colour over the highlight.
            const QRectF selected(left, top, right - left, height);
            painter.save();
            painter.fillRect(selected, palette().highlight());
            painter.setClipRect(selected);
            painter.setPen(palette().color(QPalette::HighlightedText));
            painter.drawText(baseline, text);
            painter.restore();
        }
    }
}

void TTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (viewport()->width() != m_wrappedWidth) {
        Wrap();
    } else {
        UpdateScrollBars();
    }
}

void TTextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_advances.clear();
        Wrap();
        viewport()->update();
    }
}

void TTextView::keyPressEvent(QKeyEvent* event) {
    QScrollBar& bar = *verticalScrollBar();
    if (event->matches(QKeySequence::SelectAll)) {
        m_anchor = 0;
        m_cursor = m_text.size();
    } else if (event->matches(QKeySequence::Copy)) {
        if (m_anchor != m_cursor) {
            QApplication::clipboard()->setText(SelectedText());
        }
        return;
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        bar.triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        bar.triggerAction(QAbstractSlider::SliderToMaximum);
    } else if (event->key() == Qt::Key_PageDown) {
        bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (event->key() == Qt::Key_PageUp) {
        bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (event->key() == Qt::Key_Down) {
        bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (event->key() == Qt::Key_Up) {
        bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    viewport()->update();
}

qsizetype TTextView::PositionAt(const QPoint& point) const {
    if (m_rows.empty()) {
        return 0;
    }
    const int row = std::clamp(
        verticalScrollBar()->value() + static_cast<int>((point.y() - MARGIN) / RowHeight()), 0,
        RowCount() - 1);
    const TRow& span = m_rows[static_cast<std::size_t>(row)];
    qreal x = MARGIN;
    for (qsizetype i = span.start; i < span.start + span.length; ++i) {
        const float advance = Advance(i);
        if (point.x() < x + advance / 2) {
            return i;
        }
        x += advance;
    }
    return span.start + span.length;
}

void TTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_cursor = PositionAt(event->position().toPoint());
        if (!(event->modifiers() & Qt::ShiftModifier)) {
            m_anchor = m_cursor;
        }
        viewport()->update();
    }
}

void TTextView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        m_cursor = PositionAt(event->position().toPoint());
        viewport()->update();
    }
}
