#include "shell/BoardView.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr char COLUMN_LETTERS[] = "ABCDEFGHJKLMNOPQRSTUVWXYZ";

// The space between the outer lines and the board's edge, in cells: room for the coordinates.
constexpr qreal EDGE_CELLS = 1.35;

const QColor WOOD_LIGHT(0xE8, 0xC2, 0x7E);
const QColor WOOD_DARK(0xD6, 0xA6, 0x5A);
const QColor LINE(0x2B, 0x1D, 0x0E);
const QColor MARK_RED(0xD0, 0x1C, 0x1C);

// The star points of a board of size lines: the corner points three lines in on boards of 13 and
// more (two in on smaller ones), the middle points of the sides on odd boards of 15 and more, and
// the centre of odd boards from 7 on.
std::vector<int> StarLines(int size) {
    const int in = size >= 13 ? 3 : 2;
    std::vector<int> lines;
    if (size >= 7) {
        lines = {in, size - 1 - in};
    }
    if (size % 2 == 1 && size >= 15) {
        lines.insert(lines.begin() + 1, size / 2);
    }
    return lines;
}

}  // namespace

TBoardView::TBoardView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TBoardView::SetPosition(const TPosition& position, const std::optional<TGameMove>& last) {
    m_board = position.board;
    m_last = last && last->point.kind == TPointKind::On ? last : std::nullopt;
    m_placement = position.last;
    update();
}

void TBoardView::Clear() {
    m_board.reset();
    m_last.reset();
    update();
}

void TBoardView::paintEvent(QPaintEvent*) {
    if (!m_board) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int size = m_board->Size();
    const qreal ratio = devicePixelRatioF();
    // Lengths snapped to whole device pixels keep lines sharp at every screen scale.
    const auto snap = [ratio](qreal v) { return std::round(v * ratio) / ratio; };
    const qreal side = std::min(width(), height());
    const qreal cell = snap(side / (size - 1 + 2 * EDGE_CELLS));
    const qreal grid = cell * (size - 1);
    const qreal wood = grid + 2 * EDGE_CELLS * cell;
    const QPointF corner(snap((width() - wood) / 2), snap((height() - wood) / 2));
    const QRectF board(corner, QSizeF(wood, wood));
    const qreal line = std::max(1.0, std::round(cell * ratio / 26)) / ratio;
    // A line of an odd number of device pixels lies on the middle of a pixel.
    const qreal half = std::fmod(std::round(line * ratio), 2.0) == 1.0 ? 0.5 / ratio : 0;
    const auto at = [&](int i) { return snap(corner.x() + EDGE_CELLS * cell + i * cell) + half; };
    const auto atY = [&](int i) { return snap(corner.y() + EDGE_CELLS * cell + i * cell) + half; };

    QLinearGradient grain(board.topLeft(), board.bottomRight());
    grain.setColorAt(0, WOOD_LIGHT);
    grain.setColorAt(1, WOOD_DARK);
    painter.fillRect(board, grain);
    painter.setPen(QPen(WOOD_DARK.darker(140), line));
    painter.drawRect(board.adjusted(line / 2, line / 2, -line / 2, -line / 2));

    // Lines, the outer ones a little heavier, as on a real board.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < size; ++i) {
        const qreal width = i == 0 || i == size - 1 ? std::max(line, 2 / ratio) : line;
        painter.setPen(QPen(LINE, width, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(QPointF(at(i), atY(0)), QPointF(at(i), atY(size - 1)));
        painter.drawLine(QPointF(at(0), atY(i)), QPointF(at(size - 1), atY(i)));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(LINE);
    const std::vector<int> stars = StarLines(size);
    for (const int c : stars) {
        for (const int r : stars) {
            painter.drawEllipse(QPointF(at(c), atY(r)), cell * 0.11, cell * 0.11);
        }
    }
    if (size % 2 == 1 && size >= 7 && size < 15) {
        painter.drawEllipse(QPointF(at(size / 2), atY(size / 2)), cell * 0.11, cell * 0.11);
    }

    // Coordinates: letters along the top and the bottom, numbers from the bottom on both sides.
    QFont font = painter.font();
    font.setPixelSize(std::max(7, static_cast<int>(cell * 0.5)));
    painter.setFont(font);
    painter.setPen(LINE);
    const qreal label = cell * 0.8;  // from the outer line to the middle of a label
    for (int i = 0; i < size; ++i) {
        const QString letter(QChar::fromLatin1(COLUMN_LETTERS[i]));
        const QString number = QString::number(size - i);
        const QSizeF box(cell, cell);
        const auto centred = [&](QPointF middle, const QString& text) {
            painter.drawText(QRectF(middle - QPointF(box.width() / 2, box.height() / 2), box),
                             Qt::AlignCenter, text);
        };
        centred({at(i), atY(0) - label}, letter);
        centred({at(i), atY(size - 1) + label}, letter);
        centred({at(0) - label, atY(i)}, number);
        centred({at(size - 1) + label, atY(i)}, number);
    }

    // Stones, lit from the upper left, each with a soft shadow to the lower right.
    const qreal radius = cell * 0.48;
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const TStone stone = m_board->At(column, row);
            if (stone == TStone::Empty) {
                continue;
            }
            const QPointF middle(at(column), atY(row));
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0, 0, 0, 60));
            painter.drawEllipse(middle + QPointF(cell * 0.05, cell * 0.07), radius, radius);
            QRadialGradient light(middle - QPointF(radius * 0.35, radius * 0.4), radius * 1.35);
            if (stone == TStone::Black) {
                light.setColorAt(0, QColor(0x74, 0x74, 0x74));
                light.setColorAt(0.35, QColor(0x26, 0x26, 0x26));
                light.setColorAt(1, QColor(0x05, 0x05, 0x05));
                painter.setPen(Qt::NoPen);
            } else {
                light.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
                light.setColorAt(0.6, QColor(0xEE, 0xEC, 0xE6));
                light.setColorAt(1, QColor(0xBF, 0xBC, 0xB4));
                painter.setPen(QPen(QColor(0x6E, 0x68, 0x5C), std::max(line * 0.8, 0.8 / ratio)));
            }
            painter.setBrush(light);
            painter.drawEllipse(middle, radius, radius);
        }
    }

    if (m_last) {
        const int column = m_last->point.column;
        const int row = m_last->point.row;
        const QPointF middle(at(column), atY(row));
        const qreal pen = std::max(cell * 0.075, 1.5 / ratio);
        painter.setBrush(Qt::NoBrush);
        if (m_placement.lost > 0) {
            // The stone went at once: a cross where it stood.
            const qreal arm = cell * 0.26;
            painter.setPen(QPen(MARK_RED, pen * 1.3, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(middle + QPointF(-arm, -arm), middle + QPointF(arm, arm));
            painter.drawLine(middle + QPointF(-arm, arm), middle + QPointF(arm, -arm));
        } else {
            const QColor ring = m_placement.occupied                        ? MARK_RED
                                : m_board->At(column, row) == TStone::Black ? QColor(Qt::white)
                                                                            : QColor(Qt::black);
            painter.setPen(QPen(ring, pen));
            painter.drawEllipse(middle, radius * 0.5, radius * 0.5);
        }
    }
}

void TBoardView::wheelEvent(QWheelEvent* event) {
    // Turning the wheel towards the user goes on through the game, as in Go programs.
    m_wheelAngle += event->angleDelta().y();
    while (std::abs(m_wheelAngle) >= 120) {
        const int step = m_wheelAngle > 0 ? -1 : 1;
        m_wheelAngle += step * 120;
        if (OnWheelStep) {
            OnWheelStep(step);
        }
    }
    event->accept();
}
