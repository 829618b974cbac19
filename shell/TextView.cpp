#include "shell/TextView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {
constexpr int MARGIN = 2;
// The UTF-16 code units wrapped at a time while rows are wanted, and in a slice between two
// looks at the clock; a slice lasts about SLICE, so input waits no longer than that.
constexpr qsizetype STEP_CODE_UNITS = 4096;
constexpr qsizetype SLICE_CODE_UNITS = 65536;
constexpr std::chrono::milliseconds SLICE(5);
}  // namespace

const TTextRow& TRowList::at(std::size_t row) const {
    if (row >= m_size) {
        throw std::out_of_range("TRowList::at");
    }
    return (*this)[row];
}

void TRowList::push_back(const TTextRow& row) {
    if (m_size == m_blocks.size() * BLOCK) {
        m_blocks.push_back(std::make_unique_for_overwrite<TTextRow[]>(BLOCK));
    }
    m_blocks[m_size / BLOCK][m_size % BLOCK] = row;
    ++m_size;
}

void TRowList::ShrinkToFit() { m_blocks.resize((m_size + BLOCK - 1) / BLOCK); }

std::size_t TRowList::RowAt(qsizetype position) const {
    // The first row that starts after position, less one.
    std::size_t low = 0;
    std::size_t high = m_size;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if ((*this)[middle].start <= position) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low > 0 ? low - 1 : 0;
}

void TTextRows::Start(std::int64_t room, qsizetype from) {
    rows.clear();
    m_room = room;
    m_at = from;
    m_done = false;
    m_rowStart = from;
    m_breakAt = -1;
    m_x = 0;
    m_xAtBreak = 0;
}

void TTextRows::Wrap(const QString& text, qsizetype until, bool complete,
                     const std::int32_t* advances, const TMeasure& measure) {
    if (m_done) {
        return;
    }
    until = std::min(until, text.size());
    const QChar* const chars = text.constData();
    const auto advanceAt = [&](qsizetype i) {
        const std::int32_t advance = advances[chars[i].unicode()];
        return advance >= 0 ? advance : measure(i);
    };
    // Widths are summed in 64ths of a pixel, as the font gives them, in integers: a long line is
    // then no chain of floating-point additions, and the sums are the same.
    const std::int64_t room = m_room;
    qsizetype at = m_at;
    qsizetype rowStart = m_rowStart;
    qsizetype breakAt = m_breakAt;
    std::int64_t x = m_x;
    std::int64_t xAtBreak = m_xAtBreak;
    while (at < until) {
        const qsizetype feed = QStringView(chars + at, until - at).indexOf(u'\n');
        const qsizetype lineEnd = feed < 0 ? until : at + feed;
        // Rows break after the last blank that fits, or where the room ends.
        for (qsizetype i = at; i < lineEnd; ++i) {
            const std::int32_t advance = advanceAt(i);
            if (x + advance > room && i > rowStart && !chars[i].isLowSurrogate()) {
                if (breakAt > rowStart) {
                    rows.push_back({rowStart, breakAt - rowStart});
                    rowStart = breakAt;
                    x -= xAtBreak;
                }
                // The word carried over may itself leave no room for this character.
                if (x + advance > room && i > rowStart) {
                    rows.push_back({rowStart, i - rowStart});
                    rowStart = i;
                    x = 0;
                }
                breakAt = -1;
            }
            x += advance;
            if (chars[i] == QLatin1Char(' ')) {
                breakAt = i + 1;
                xAtBreak = x;
            }
        }
        if (feed < 0) {
            at = lineEnd;
            break;
        }
        rows.push_back({rowStart, lineEnd - rowStart});
        at = rowStart = lineEnd + 1;
        breakAt = -1;
        x = xAtBreak = 0;
    }
    if (complete && at == text.size()) {
        rows.push_back({rowStart, at - rowStart});
        rows.ShrinkToFit();
        m_done = true;
    }
    m_at = at;
    m_rowStart = rowStart;
    m_breakAt = breakAt;
    m_x = x;
    m_xAtBreak = xAtBreak;
}

TTextView::TTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    m_measure = [this](qsizetype at) { return AdvanceIn64ths(at); };
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, [this] { Slice(); });
    // The thumb stands for the whole text.
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { Finish(); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { Settle(); });
    m_copy = new QAction(QStringLiteral("コピー(&C)"), this);
    m_copy->setObjectName(QStringLiteral("CopyAction"));
    m_copy->setShortcut(QKeySequence::Copy);
    m_copy->setShortcutContext(Qt::WidgetShortcut);
    m_copy->setEnabled(false);
    connect(m_copy, &QAction::triggered, this, [this] { Copy(); });
    m_selectAll = new QAction(QStringLiteral("すべて選択(&A)"), this);
    m_selectAll->setObjectName(QStringLiteral("SelectAllAction"));
    m_selectAll->setShortcut(QKeySequence::SelectAll);
    m_selectAll->setShortcutContext(Qt::WidgetShortcut);
    connect(m_selectAll, &QAction::triggered, this, [this] { SelectAll(); });
}

void TTextView::SelectAll() {
    Finish();
    m_anchor = 0;
    m_cursor = m_text.size();
    SelectionChanged();
}

void TTextView::Copy() {
    if (m_anchor != m_cursor) {
        QApplication::clipboard()->setText(SelectedText());
    }
}

void TTextView::SelectionChanged() {
    m_copy->setEnabled(m_anchor != m_cursor);
    viewport()->update();
}

const QString& TTextView::Text() {
    Finish();
    return m_text;
}

void TTextView::SetText(QString text) {
    m_slices.stop();
    m_source = {};
    m_text = std::move(text);
    m_anchor = m_cursor = 0;
    SelectionChanged();
    Rewrap();
    Finish();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void TTextView::SetSource(TTextSource source, qsizetype size) {
    m_slices.stop();
    m_text = QString();
    m_text.reserve(size);
    m_source = std::move(source);
    m_anchor = m_cursor = 0;
    SelectionChanged();
    Rewrap();
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void TTextView::Clear() { SetText(QString()); }

QString TTextView::SelectedText() const {
    const qsizetype from = std::min(m_anchor, m_cursor);
    return m_text.mid(from, std::max(m_anchor, m_cursor) - from);
}

int TTextView::RowCount() {
    Finish();
    return static_cast<int>(m_rows.rows.size());
}

QString TTextView::RowText(int row) {
    MakeRows(static_cast<std::size_t>(row) + 1);
    const TRow& span = m_rows.rows.at(static_cast<std::size_t>(row));
    return m_text.mid(span.start, span.length);
}

std::int32_t TTextView::AdvanceIn64ths(qsizetype at) const {
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

float TTextView::Advance(qsizetype at) const { return static_cast<float>(AdvanceIn64ths(at)) / 64; }

qreal TTextView::RowHeight() const { return QFontMetricsF(font()).lineSpacing(); }

int TTextView::VisibleRows() const {
    return std::max(1, static_cast<int>((viewport()->height() - 2 * MARGIN) / RowHeight()));
}

void TTextView::Rewrap() {
    m_wrappedWidth = viewport()->width();
    if (m_advances.empty()) {
        m_advances.assign(0x10000, -1);
    }
    m_pendingTop = -1;
    m_rows.Start(RowRoom());
}

std::int64_t TTextView::RowRoom() const {
    return std::max<std::int64_t>(1, m_wrappedWidth - 2 * MARGIN) * 64;
}

qsizetype TTextView::TopPosition() const {
    if (m_pendingTop >= 0) {
        return m_pendingTop;
    }
    if (m_rows.rows.empty()) {
        return 0;
    }
    const auto row =
        std::min(static_cast<std::size_t>(verticalScrollBar()->value()), m_rows.rows.size() - 1);
    return m_rows.rows[row].start;
}

bool TTextView::Resolve() {
    if (m_pendingTop < 0) {
        return true;
    }
    const TRowList& rows = m_rows.rows;
    if (!m_rows.Done() && (rows.empty() || rows.back().start < m_pendingTop)) {
        return false;
    }
    // The row that holds the text the top showed: the last that starts at it or before.
    const int top = static_cast<int>(rows.RowAt(m_pendingTop));
    m_pendingTop = -1;
    m_topRows.rows.clear();
    UpdateScrollBars();
    verticalScrollBar()->setValue(top);
    viewport()->update();
    return true;
}

void TTextView::Settle() {
    while (!Resolve() && !Step(STEP_CODE_UNITS)) {
    }
    Resolve();
}

void TTextView::MakeTopRows(std::size_t count) {
    while (m_topRows.rows.size() < count && !m_topRows.Done()) {
        if (m_topRows.At() == m_text.size()) {
            if (!m_source) {
                m_topRows.Wrap(m_text, m_text.size(), true, m_advances.data(), m_measure);
                break;
            }
            if (m_source(m_text)) {
                m_source = {};
            }
            continue;
        }
        m_topRows.Wrap(m_text, m_topRows.At() + STEP_CODE_UNITS, false, m_advances.data(),
                       m_measure);
    }
}

bool TTextView::Step(qsizetype codeUnits) {
    if (m_rows.Done()) {
        return true;
    }
    if (m_source && m_rows.At() == m_text.size()) {
        if (m_source(m_text)) {
            m_source = {};  // and with it what the text was made from
        }
        return false;
    }
    const qsizetype at = m_rows.At();
    m_rows.Wrap(m_text, at + std::min(codeUnits, m_text.size() - at), !m_source, m_advances.data(),
                m_measure);
    return m_rows.Done();
}

void TTextView::MakeRows(std::size_t count) {
    Settle();
    while (m_rows.rows.size() < count && !Step(STEP_CODE_UNITS)) {
    }
}

void TTextView::MakeRowsBelow(int count) {
    if (!m_rows.Done()) {
        MakeRows(static_cast<std::size_t>(verticalScrollBar()->value() + count + VisibleRows()));
        UpdateScrollBars();
    }
}

void TTextView::Finish() {
    if (!m_rows.Done()) {
        while (!Step(std::numeric_limits<qsizetype>::max())) {
        }
        Resolve();
        UpdateScrollBars();
    }
    m_slices.stop();
}

void TTextView::Slice() {
    const auto end = std::chrono::steady_clock::now() + SLICE;
    while (!Step(SLICE_CODE_UNITS) && std::chrono::steady_clock::now() < end) {
    }
    Resolve();
    UpdateScrollBars();
    if (m_rows.Done()) {
        m_slices.stop();
    }
}

void TTextView::UpdateScrollBars() {
    if (m_pendingTop >= 0) {
        // The bars stay as they were until the new rows come to the text shown.
        return;
    }
    const int visible = VisibleRows();
    const int rows = static_cast<int>(m_rows.rows.size());
    verticalScrollBar()->setRange(0, std::max(0, rows - visible));
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
    Resolve();
    int first = verticalScrollBar()->value();
    // Only the rows in sight need be there; the rest is made after this paint.
    const std::size_t wanted = static_cast<std::size_t>(VisibleRows() + 1);
    const TRowList* rows = &m_rows.rows;
    if (m_pendingTop >= 0) {
        // Another width, whose rows have not come to the text the top showed: the rows from it.
        MakeTopRows(wanted);
        rows = &m_topRows.rows;
        first = 0;
    } else if (m_rows.rows.size() < first + wanted) {
        MakeRows(first + wanted);
        UpdateScrollBars();
    }
    if (!m_rows.Done() && !m_slices.isActive()) {
        m_slices.start();
    }
    const int last = std::min(static_cast<int>(rows->size()), first + VisibleRows() + 1);
    for (int row = first; row < last; ++row) {
        const TRow& span = (*rows)[static_cast<std::size_t>(row)];
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
        // The rows of the new width as the first paint makes them: those in sight now, from the
        // text the top showed, and the rest in slices; a drag of the width never waits for them.
        const qsizetype top = TopPosition();
        Rewrap();
        if (top > 0) {
            m_pendingTop = top;
            m_topRows.Start(RowRoom(), top);
        } else {
            UpdateScrollBars();
        }
        viewport()->update();
    } else {
        UpdateScrollBars();
    }
}

void TTextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_advances.clear();
        Rewrap();
        Finish();
        viewport()->update();
    }
}

void TTextView::wheelEvent(QWheelEvent* event) {
    Settle();
    QAbstractScrollArea::wheelEvent(event);
}

void TTextView::keyPressEvent(QKeyEvent* event) {
    Settle();
    QScrollBar& bar = *verticalScrollBar();
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
    } else if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        bar.triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        Finish();
        bar.triggerAction(QAbstractSlider::SliderToMaximum);
    } else if (event->key() == Qt::Key_PageDown) {
        MakeRowsBelow(bar.pageStep());
        bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (event->key() == Qt::Key_PageUp) {
        bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (event->key() == Qt::Key_Down) {
        MakeRowsBelow(1);
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
    if (m_rows.rows.empty()) {
        return 0;
    }
    const int row = std::clamp(
        verticalScrollBar()->value() + static_cast<int>((point.y() - MARGIN) / RowHeight()), 0,
        static_cast<int>(m_rows.rows.size()) - 1);
    const TRow& span = m_rows.rows[static_cast<std::size_t>(row)];
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
    Settle();
    if (event->button() == Qt::LeftButton) {
        m_cursor = PositionAt(event->position().toPoint());
        if (!(event->modifiers() & Qt::ShiftModifier)) {
            m_anchor = m_cursor;
        }
        SelectionChanged();
    }
}

void TTextView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        Settle();
        m_cursor = PositionAt(event->position().toPoint());
        SelectionChanged();
    }
}
