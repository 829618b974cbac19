#include "shell/OnScreen.h"

#include "shell/Placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <optional>
#include <vector>

namespace {

// The frame the window system gave the last window it framed, from its client area out.
QMargins g_knownFrame;

std::vector<TRect> ScreenAreas() {
    std::vector<TRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        areas.push_back({area.x(), area.y(), area.width(), area.height()});
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
                m_framing = true;
                break;
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Expose:
                if (m_framing && m_window.isVisible()) {
                    const QMargins frame = FrameOf(m_window);
                    if (!frame.isNull()) {
                        // Framed now: placed again by the real frame, once.
                        m_framing = false;
                        g_knownFrame = frame;
                        Place(frame);
                    }
                }
                break;
            case QEvent::Hide:
                m_framing = false;
                break;
            default:
                break;
        }
        return false;
    }

private:
    // The frame the window has, else the last one a window was given, else the style's title bar.
    QMargins Frame() const {
        QMargins frame = FrameOf(m_window);
        if (frame.isNull()) {
            frame = g_knownFrame;
        }
        if (frame.isNull() && m_window.style() != nullptr) {
            frame = {0, m_window.style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0};
        }
        return frame;
    }

    void Place(const QMargins& margins) {
        const QPoint corner = m_window.pos();  // a top-level window's is its frame's
        TRect frame{corner.x(), corner.y(),
                    m_window.width() + margins.left() + margins.right(),
                    m_window.height() + margins.top() + margins.bottom()};
        std::optional<TRect> owner;
        if (m_owner && m_owner->isVisible()) {
            owner = RectOf(m_owner->frameGeometry());
        }
        const std::vector<TRect> screens = ScreenAreas();
        if (m_placing == TPlacing::Centre) {
            const int screen = ScreenFor(frame, owner, screens);
            if (screen >= 0) {
                const TPoint centred = Centred(frame, screens[static_cast<std::size_t>(screen)]);
                frame.left = centred.x;
                frame.top = centred.y;
            }
        }
        const bool resizable = m_window.minimumSize() != m_window.maximumSize();
        const TRect placed = PlaceFrame(frame, owner, screens, resizable);
        if (placed.width != frame.width || placed.height != frame.height) {
            m_window.resize(placed.width - margins.left() - margins.right(),
                            placed.height - margins.top() - margins.bottom());
        }
        if (QPoint(placed.left, placed.top) != corner) {
            m_window.move(placed.left, placed.top);
        }
    }

    QWidget& m_window;
    QPointer<const QWidget> m_owner;
    TPlacing m_placing;
    // Shown and not yet placed by the frame the window system gave it.
    bool m_framing = false;
};

}  // namespace

void KeepOnScreen(QWidget& window, const QWidget* owner, TPlacing placing) {
    new TScreenKeeper(window, owner, placing);
}
