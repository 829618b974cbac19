# What the end-to-end tests of morvane.exe share: they drive its windows under Wine on a virtual X
# screen with xdotool. Sourced; the test sets TEST_NAME for its count, and main to the X window of
# the main window before it clicks.

# The main window: its title, its client size, and where 全変換 and 終了 sit in it (MainForm.ui).
TITLE='囲碁棋譜ファイル変換　Morvane'
CLIENT_WIDTH=450
CLIENT_HEIGHT=458
CONVERT_X=125
CONVERT_Y=420
QUIT_X=397
QUIT_Y=420
WAIT_SECONDS=60

passed=0
failed=0
check() {
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $name"
        return 1
    fi
}
finish() {
    echo "$TEST_NAME: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

# The X window of the Windows window titled exactly $1, waited for; empty when none came.
window_titled() {
    local i found
    for ((i = 0; i < WAIT_SECONDS * 10; i++)); do
        found=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
        if [ -n "$found" ]; then
            echo "$found"
            return
        fi
        sleep 0.1
    done
}
gone() {
    local i
    for ((i = 0; i < WAIT_SECONDS * 10; i++)); do
        [ -z "$(xdotool search --name "^$1\$" 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    return 1
}
# Clicks the main window at a point of its client area: Wine draws the frame inside the X window,
# its borders alike left, right and below, its caption above.
click() {
    local width height border
    eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(WIDTH|HEIGHT)=')"
    width=$WIDTH
    height=$HEIGHT
    border=$(((width - CLIENT_WIDTH) / 2))
    xdotool mousemove --window "$main" "$((border + $1))" "$((height - CLIENT_HEIGHT - border + $2))" \
        click 1
}
# Clicks 全変換 until the closing message of the run shows (a click that comes while the window
# still sets itself up is lost; a second one during the run does nothing, as input waits for the
# end of a run) and answers it with Enter; false when it never showed. Arguments are a command run
# while the message shows (one that takes a picture of the screen).
convert_all() {
    local attempt box
    for attempt in 1 2 3; do
        click "$CONVERT_X" "$CONVERT_Y"
        box=$(WAIT_SECONDS=20 window_titled 情報)
        [ -z "$box" ] || break
    done
    [ -n "$box" ] || return 1
    if [ $# -gt 0 ]; then
        sleep 0.5
        "$@"
    fi
    # The box may be found before the X server shows it, when the focus cannot go to it yet
    # (BadMatch): Enter is given again to the box as shown until it goes.
    for attempt in $(seq 20); do
        [ -n "$(xdotool search --name '^情報$' 2>/dev/null)" ] || return 0
        box=$(xdotool search --onlyvisible --name '^情報$' 2>/dev/null | head -n 1)
        if [ -n "$box" ]; then
            xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
        fi
        ! WAIT_SECONDS=3 gone 情報 || return 0
    done
    return 1
}
