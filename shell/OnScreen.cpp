#include "shell/OnScreen.h"

#include "shell/Placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

namespace {

// The frame the window system gave the last window it framed, from its client area out: of a
// fixed window, and of one that can be resized (whose frame may have grips a fixed one lacks).
QMargins g_knownFrames[2];
// How often and how long a window just shown is looked at for its frame, and for how many looks
// more, once it has one, it is placed again: a window manager under load may frame it in steps,
// or place it after Qt has learned the frame, and Qt's own idea of the place may lag behind.
constexpr int FRAME_LOOK_MS = 25;
constexpr int FRAME_LOOKS = 80;
constexpr int SETTLING_LOOKS = 40;

std::vector<TRect> ScreenAreas() {
    std::vector<TRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        // At a scale such as 150 % the screen's last pixel of a window's width may round onto
        // the next screen pixel: a window keeps a pixel off the screen's far edges.
        const qreal ratio = screen->devicePixelRatio();
        const int spare = ratio == static_cast<int>(ratio) ? 0 : 1;
        areas.push_back({area.x(), area.y(), area.width() - spare, area.height() - spare});
    }
    return areas;
}

TRect RectOf(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }

// The window's frame around its client area, zero while it has none.
QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

class TScreenKeeper : public QObject {
public:
    TScreenKeeper(QWidget& window, const QWidget* owner, TPlacing placing)
        : QObject(&window), m_window(window), m_owner(owner), m_placing(placing) {
        window.installEventFilter(this);
        // The window system tells the frame some time after it shows the window.
        m_framing.setInterval(FRAME_LOOK_MS);
        connect(&m_framing, &QTimer::timeout, this, [this] { LookForFrame(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_window) {
            return false;
        }
        switch (event->type()) {
            case QEvent::Show:
                // Before the window system shows it: the frame is the one it had, or a guess.
                Place(Frame());
                m_looks = 0;
                m_framedAt = -1;
                m_framing.start();
                break;
            case QEvent::Hide:
                m_framing.stop();
                break;
            default:
                break;
        }
        return false;
    }

private:
    void LookForFrame() {
        const QMargins frame = FrameOf(m_window);
        ++m_looks;
        if (!m_window.isVisible() || (m_framedAt < 0 && m_looks > FRAME_LOOKS) ||
            (m_framedAt >= 0 && m_looks > m_framedAt + SETTLING_LOOKS)) {
            m_framing.stop();
        } else if (!frame.isNull()) {
            // Framed: placed again by the real frame, until the place settles. A window already
            // where it belongs is not moved.
            if (m_framedAt < 0) {
                m_framedAt = m_looks;
            }
            g_knownFrames[Resizable()] = frame;
            Place(frame);
        }
    }

    // The frame the window has, else the last one a window of its kind was given, else of the
    // other kind, else the style's title bar.
    QMargins Frame() const {
        QMargins frame = FrameOf(m_window);
        for (const bool resizable : {Resizable(), !Resizable()}) {
            if (frame.isNull()) {
                frame = g_knownFrames[resizable];
            }
        }
        if (frame.isNull() && m_window.style() != nullptr) {
            frame = {0, m_window.style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0};
        }
        return frame;
    }

    bool Resizable() const { return m_window.minimumSize() != m_window.maximumSize(); }

    void Place(const QMargins& margins) {
        // A top-level window's place is its frame's once the window system has told the frame;
        // before, it is the client area's (on X11 until the window manager has framed it, which
        // Qt may not learn for a window shown again), and the frame is taken to lie around it.
        const bool framed = !FrameOf(m_window).isNull();
        const QPoint client(margins.left(), margins.top());
        const QPoint corner = framed ? m_window.pos() : m_window.pos() - client;
        const TRect frame{corner.x(), corner.y(),
                          m_window.width() + margins.left() + margins.right(),
                          m_window.height() + margins.top() + margins.bottom()};
        std::optional<TRect> owner;
        if (m_owner && m_owner->isVisible()) {
            owner = RectOf(m_owner->frameGeometry());
        }
        const TRect placed =
            PlaceFrame(frame, owner, ScreenAreas(), Resizable(), m_placing == TPlacing::Centre);
        if (placed.width != frame.width || placed.height != frame.height) {
            m_window.resize(placed.width - margins.left() - margins.right(),
                            placed.height - margins.top() - margins.bottom());
        }
        if (QPoint(placed.left, placed.top) != corner) {
            m_window.move(QPoint(placed.left, placed.top) + (framed ? QPoint() : client));
        }
    }

    QWidget& m_window;
    QPointer<const QWidget> m_owner;
    TPlacing m_placing;
    // Looks for the frame the window system gives the window shown, until it has one.
    QTimer m_framing;
    int m_looks = 0;
    int m_framedAt = -1;  // the look that first saw a frame
};

}  // namespace

void KeepOnScreen(QWidget& window, const QWidget* owner, TPlacing placing) {
    new TScreenKeeper(window, owner, placing);
}
