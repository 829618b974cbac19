#include "shell/BoardView.h"

#include <QPainter>
#include <QRadialGradient>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

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

// Where everything lies on a widget of a size, for a board of size lines, in logical pixels:
// lengths are whole device pixels, so lines stay sharp at every screen scale.
struct TBoardView::TGeometry {
    TGeometry(QSize widget, int lines, qreal deviceRatio) : size(lines), ratio(deviceRatio) {
        const qreal side = std::min(widget.width(), widget.height());
        cell = Snap(side / (size - 1 + 2 * EDGE_CELLS));
        const qreal wood = cell * (size - 1) + 2 * EDGE_CELLS * cell;
        board =
            QRectF(QPointF(Snap((widget.width() - wood) / 2), Snap((widget.height() - wood) / 2)),
                   QSizeF(wood, wood));
        line = std::max(1.0, std::round(cell * ratio / 26)) / ratio;
        // A line of an odd number of device pixels lies on the middle of a pixel.
        half = std::fmod(std::round(line * ratio), 2.0) == 1.0 ? 0.5 / ratio : 0;
    }
    qreal Snap(qreal v) const { return std::round(v * ratio) / ratio; }
    // The middle of a point, by column and row from 0.
    qreal X(int column) const { return Snap(board.x() + EDGE_CELLS * cell + column * cell) + half; }
    qreal Y(int row) const { return Snap(board.y() + EDGE_CELLS * cell + row * cell) + half; }
    qreal Radius() const { return cell * 0.48; }

    int size;
    qreal ratio;
    qreal cell;
    QRectF board;
    qreal line;
    qreal half;
};

TBoardView::TBoardView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

TBoardView::~TBoardView() = default;

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

// The empty board: wood, lines, star points and coordinates, drawn once for a size of the widget.
QPixmap TBoardView::DrawBoard(const TGeometry& g) const {
    QPixmap pixmap(size() * g.ratio);
    pixmap.setDevicePixelRatio(g.ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient grain(g.board.topLeft(), g.board.bottomRight());
    grain.setColorAt(0, WOOD_LIGHT);
    grain.setColorAt(1, WOOD_DARK);
    painter.fillRect(g.board, grain);
    painter.setPen(QPen(WOOD_DARK.darker(140), g.line));
    painter.drawRect(g.board.adjusted(g.line / 2, g.line / 2, -g.line / 2, -g.line / 2));

    // Lines, the outer ones a little heavier, as on a real board.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int last = g.size - 1;
    for (int i = 0; i < g.size; ++i) {
        const qreal width = i == 0 || i == last ? std::max(g.line, 2 / g.ratio) : g.line;
        painter.setPen(QPen(LINE, width, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(QPointF(g.X(i), g.Y(0)), QPointF(g.X(i), g.Y(last)));
        painter.drawLine(QPointF(g.X(0), g.Y(i)), QPointF(g.X(last), g.Y(i)));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(LINE);
    const qreal star = g.cell * 0.11;
    const std::vector<int> stars = StarLines(g.size);
    for (const int c : stars) {
        for (const int r : stars) {
            painter.drawEllipse(QPointF(g.X(c), g.Y(r)), star, star);
        }
    }
    if (g.size % 2 == 1 && g.size >= 7 && g.size < 15) {
        painter.drawEllipse(QPointF(g.X(g.size / 2), g.Y(g.size / 2)), star, star);
    }

    // Coordinates: letters along the top and the bottom, numbers from the bottom on both sides.
    QFont font = painter.font();
    font.setPixelSize(std::max(7, static_cast<int>(g.cell * 0.5)));
    painter.setFont(font);
    painter.setPen(LINE);
    const qreal label = g.cell * 0.8;  // from the outer line to the middle of a label
    const auto centred = [&](QPointF middle, const QString& text) {
        const QSizeF box(g.cell, g.cell);
        painter.drawText(QRectF(middle - QPointF(box.width() / 2, box.height() / 2), box),
                         Qt::AlignCenter, text);
    };
    for (int i = 0; i < g.size; ++i) {
        const QString letter(QChar::fromLatin1(ColumnLetter(i)));
        const QString number = QString::number(g.size - i);
        centred({g.X(i), g.Y(0) - label}, letter);
        centred({g.X(i), g.Y(last) + label}, letter);
        centred({g.X(0) - label, g.Y(i)}, number);
        centred({g.X(last) + label, g.Y(i)}, number);
    }
    return pixmap;
}

// A stone with its shadow, lit from the upper left, drawn once for a size of the cells. The
// pixmap is a whole and even number of device pixels wide, and the stone's middle lies where the
// lines cross when the pixmap is put at a whole device pixel.
QPixmap TBoardView::DrawStone(const TGeometry& g, TStone stone) const {
    const qreal radius = g.Radius();
    const int half = static_cast<int>(std::ceil(g.cell * 0.6 * g.ratio));
    QPixmap pixmap(2 * half, 2 * half);
    pixmap.setDevicePixelRatio(g.ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF middle(half / g.ratio + g.half, half / g.ratio + g.half);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawEllipse(middle + QPointF(g.cell * 0.05, g.cell * 0.07), radius, radius);
    QRadialGradient light(middle - QPointF(radius * 0.35, radius * 0.4), radius * 1.35);
    if (stone == TStone::Black) {
        light.setColorAt(0, QColor(0x74, 0x74, 0x74));
        light.setColorAt(0.35, QColor(0x26, 0x26, 0x26));
        light.setColorAt(1, QColor(0x05, 0x05, 0x05));
    } else {
        light.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
        light.setColorAt(0.6, QColor(0xEE, 0xEC, 0xE6));
        light.setColorAt(1, QColor(0xBF, 0xBC, 0xB4));
        painter.setPen(QPen(QColor(0x6E, 0x68, 0x5C), std::max(g.line * 0.8, 0.8 / g.ratio)));
    }
    painter.setBrush(light);
    painter.drawEllipse(middle, radius, radius);
    return pixmap;
}

void TBoardView::paintEvent(QPaintEvent*) {
    if (!m_board) {
        return;
    }
    const TGeometry g(size(), m_board->Size(), devicePixelRatioF());
    if (g.cell < 2) {
        return;  // no room for a board
    }
    // The board and the two stones are drawn anew only when the widget, the screen's scale or the
    // board's size changes: a position is then a few hundred copies of a stone.
    const TDrawn drawn{size(), g.ratio, g.size};
    if (!(drawn == m_drawn)) {
        m_drawn = drawn;
        m_empty = DrawBoard(g);
        m_black = DrawStone(g, TStone::Black);
        m_white = DrawStone(g, TStone::White);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_empty);
    const qreal offset = m_black.width() / g.ratio / 2;
    for (int row = 0; row < g.size; ++row) {
        for (int column = 0; column < g.size; ++column) {
            const TStone stone = m_board->At(column, row);
            if (stone != TStone::Empty) {
                painter.drawPixmap(
                    QPointF(g.X(column) - g.half - offset, g.Y(row) - g.half - offset),
                    stone == TStone::Black ? m_black : m_white);
            }
        }
    }

    if (m_last) {
        painter.setRenderHint(QPainter::Antialiasing);
        const int column = m_last->point.column;
        const int row = m_last->point.row;
        const QPointF middle(g.X(column), g.Y(row));
        const qreal pen = std::max(g.cell * 0.075, 1.5 / g.ratio);
        painter.setBrush(Qt::NoBrush);
        if (m_placement.lost > 0) {
            // The stone went at once: a cross where it stood.
            const qreal arm = g.cell * 0.26;
            painter.setPen(QPen(MARK_RED, pen * 1.3, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(middle + QPointF(-arm, -arm), middle + QPointF(arm, arm));
            painter.drawLine(middle + QPointF(-arm, arm), middle + QPointF(arm, -arm));
        } else {
            const QColor ring = m_placement.occupied                        ? MARK_RED
                                : m_board->At(column, row) == TStone::Black ? QColor(Qt::white)
                                                                            : QColor(Qt::black);
            painter.setPen(QPen(ring, pen));
            painter.drawEllipse(middle, g.Radius() * 0.5, g.Radius() * 0.5);
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
