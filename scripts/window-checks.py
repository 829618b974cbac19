#!/usr/bin/python3
# What only a window manager shows, for scripts/check-window: run on an X display with openbox.
#   window-checks.py front PROGRAM FOLDER    double-clicks rows 30 times: each time the viewer of
#                                            the row comes up on top and active, and takes the
#                                            front back from a focus handed to the main window
#                                            within the second, not from a press on the main
#                                            window's title bar; then the main window, asked to
#                                            maximise or grow, keeps its size
#   window-checks.py place PROGRAM FOLDER    every window the program opens lies whole on the
#                                            screen (run with QT_SCALE_FACTOR set or not)
# FOLDER holds the records the program is started with, the first a large one. Quiet on success.
import os
import random
import subprocess
import sys
import time

from Xlib import X, display, protocol
from Xlib.ext import xtest

TITLE = "囲碁棋譜ファイル変換　Morvane"
screen = display.Display()
root = screen.screen().root
atom = screen.intern_atom
NAME, UTF8 = atom("_NET_WM_NAME"), atom("UTF8_STRING")
STACKING, ACTIVE = atom("_NET_CLIENT_LIST_STACKING"), atom("_NET_ACTIVE_WINDOW")
WM_PROTOCOLS, WM_DELETE = atom("WM_PROTOCOLS"), atom("WM_DELETE_WINDOW")
SCALE = float(os.environ.get("QT_SCALE_FACTOR") or 1)


def title(window):
    try:
        value = window.get_full_property(NAME, UTF8)
        return value.value.decode("utf-8", "replace") if value else ""
    except Exception:
        return ""


def viewable(window):
    try:
        return window.get_attributes().map_state == X.IsViewable
    except Exception:
        return False


def clients():
    listed = root.get_full_property(STACKING, X.AnyPropertyType)
    return [screen.create_resource_object("window", id) for id in (listed.value if listed else [])]


def find(test):
    for window in clients():
        if test(title(window)) and viewable(window):
            return window
    return None


def wait_for(test, what, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        window = find(test)
        if window is not None:
            return window
        time.sleep(0.02)
    raise SystemExit(f"no {what} within {seconds} s")


def active():
    value = root.get_full_property(ACTIVE, X.AnyPropertyType)
    return value.value[0] if value and len(value.value) else 0


def origin(window):
    at = window.translate_coords(root, 0, 0)
    return -at.x, -at.y


def frame(window):
    """The window's frame (the window manager's window that holds it): x, y, width, height."""
    top = window
    while True:
        tree = top.query_tree()
        if tree.parent.id == root.id:
            break
        top = tree.parent
    geometry = top.get_geometry()
    return geometry.x, geometry.y, geometry.width, geometry.height


def click(x, y, count=1, gap=0.0):
    xtest.fake_input(screen, X.MotionNotify, x=int(x), y=int(y))
    for i in range(count):
        if i:
            screen.sync()
            time.sleep(gap)
        xtest.fake_input(screen, X.ButtonPress, 1)
        xtest.fake_input(screen, X.ButtonRelease, 1)
    screen.sync()


def at(main, x, y):
    """The screen point of the main window's client point (x, y) of the design."""
    mx, my = origin(main)
    return mx + x * SCALE, my + y * SCALE


def close(window):
    window.send_event(protocol.event.ClientMessage(
        window=window, client_type=WM_PROTOCOLS, data=(32, [WM_DELETE, X.CurrentTime, 0, 0, 0])))
    screen.sync()


def activate(window):
    """Asks the window manager to activate window, as its program's toolkit asks."""
    root.send_event(protocol.event.ClientMessage(
        window=window, client_type=ACTIVE, data=(32, [1, X.CurrentTime, 0, 0, 0])),
        event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    screen.sync()


def start(program, folder):
    process = subprocess.Popen([program, folder], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    main = wait_for(lambda name: name == TITLE, "main window")
    time.sleep(0.5)
    return process, main


def stop(process, main):
    close(main)
    try:
        process.wait(15)
    except subprocess.TimeoutExpired:
        process.kill()
        raise SystemExit("the program did not end after a close request")


def in_front(window):
    order = clients()
    return bool(order) and order[-1].id == window.id and active() == window.id


def names(folder):
    return sorted(os.listdir(folder))


def front(program, folder):
    records = names(folder)
    process, main = start(program, folder)
    random.seed(29)
    handed = titled = 0
    for turn in range(30):
        row = random.randrange(len(records))
        # Before the double-click: the viewer closed, the main window clicked, or as it is.
        before = random.randrange(3)
        viewer = find(lambda name: name.startswith("/"))
        if before == 0 and viewer is not None:
            close(viewer)
            time.sleep(0.2)
        elif before == 1:
            click(*at(main, 60, 12))
            time.sleep(0.2)
        # After it: nothing, the main window activated as the program's own window system may
        # do (a focus handed back) while the pointer still rests on the row, or the user's press
        # on the main window's title bar, which the program never sees.
        after = turn % 3
        x, y = at(main, 60, 57 + 13 * row)
        click(x, y, 2, random.choice([0.01, 0.05, 0.1, 0.2]))
        clicked = time.time()
        wanted = "/" + records[row]
        viewer = wait_for(lambda name: name.endswith(wanted), "viewer of " + wanted)
        # In front and active once the program has shown the record, and still so a second
        # later: the main window came up over it within half a second.
        end = time.time() + 30
        while time.time() < end and not in_front(viewer):
            time.sleep(0.02)
        front_window, what = viewer, "the viewer"
        # Within the second in which the viewer takes the front back, once the program has
        # shown a small record (a large one keeps it busy, and what the user does meanwhile
        # waits for it).
        if after and row > 0 and time.time() - clicked < 0.6:
            if after == 1:
                activate(main)
                handed += 1
            else:
                fx, fy, fw, _ = frame(main)
                click(fx + fw / 3, fy + 6)
                front_window, what = main, "the main window after a press on its title bar"
                titled += 1
        steady = time.time() + 1.2
        while time.time() < steady:
            time.sleep(0.02)
            if after == 0 and not in_front(front_window):
                break
        if not in_front(front_window):
            order = clients()
            raise SystemExit(
                f"double-click {turn + 1} on {records[row]}: {what} is not in front and "
                f"active; stacked from the bottom up: {[title(w) for w in order]}, active: "
                f"{title(screen.create_resource_object('window', active()))}")
    if not handed or not titled:
        raise SystemExit(f"the viewer came up too slowly to be tested: {handed} focus returns, "
                         f"{titled} presses on the title bar within the second")
    viewer = find(lambda name: name.startswith("/"))
    if viewer is not None:
        close(viewer)
    # A fixed frame: asked to maximise, or to grow, the main window keeps its size.
    size = main.get_geometry()
    state = atom("_NET_WM_STATE")
    main.send_event(protocol.event.ClientMessage(
        window=main, client_type=state,
        data=(32, [1, atom("_NET_WM_STATE_MAXIMIZED_VERT"), atom("_NET_WM_STATE_MAXIMIZED_HORZ"),
                   1, 0])),
        event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask, propagate=False)
    main_frame = frame(main)
    root.send_event(protocol.event.ClientMessage(
        window=main, client_type=atom("_NET_MOVERESIZE_WINDOW"),
        data=(32, [(1 << 10) | (1 << 11) | 10, 0, 0, size.width + 200, size.height + 200])),
        event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    screen.sync()
    time.sleep(0.5)
    after = main.get_geometry()
    if (after.width, after.height) != (size.width, size.height):
        raise SystemExit(f"the main window went from {size.width}x{size.height} to "
                         f"{after.width}x{after.height} when asked to maximise and grow")
    del main_frame
    stop(process, main)


def place(program, folder):
    geometry = root.get_geometry()
    width, height = geometry.width, geometry.height
    problems = []

    def whole(window, what):
        x, y, w, h = frame(window)
        if x < 0 or y < 0 or x + w > width or y + h > height:
            problems.append(f"{what} at scale {SCALE}: its frame {w}x{h} at ({x}, {y}) is not "
                            f"whole on the {width}x{height} screen")

    process, main = start(program, folder)
    whole(main, "the main window")
    for button, (x, y), name, leave in [
            ("設定", (248, 16), "設定", "close"),
            ("追加", (45, 420), "追加", "close"),
            ("About", (317, 420), "バージョン情報", "close")]:
        click(*at(main, x, y))
        window = wait_for(lambda title: title == name, f"window {name} after a click on {button}")
        time.sleep(0.5)
        whole(window, f"the window {name}")
        if name == "バージョン情報":
            # Centred by its frame on the screen.
            fx, fy, fw, fh = frame(window)
            if abs(fx + fw / 2 - width / 2) > 2 or abs(fy + fh / 2 - height / 2) > 2:
                problems.append(f"the About box at scale {SCALE}: its frame {fw}x{fh} at "
                                f"({fx}, {fy}) is not centred on the screen")
        close(window)
        time.sleep(0.3)
    click(*at(main, 60, 57 + 13 * 1), 2, 0.05)
    viewer = wait_for(lambda name: name.startswith("/"), "viewer")
    time.sleep(0.5)
    whole(viewer, "the viewer")
    close(viewer)
    time.sleep(0.3)
    click(*at(main, 125, 420))
    progress = wait_for(lambda name: name.startswith("進行状況"), "progress window")
    time.sleep(0.3)
    whole(progress, "the progress window")
    box = wait_for(lambda name: name == "情報", "closing message box", 120)
    time.sleep(0.3)
    whole(box, "the closing message box")
    close(box)
    time.sleep(0.5)
    stop(process, main)
    if problems:
        raise SystemExit("\n".join(problems))


if __name__ == "__main__":
    {"front": front, "place": place}[sys.argv[1]](sys.argv[2], sys.argv[3])
