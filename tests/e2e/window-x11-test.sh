#!/usr/bin/env bash
# The real program on a real X server (Xvfb, no window manager), as a user starts it: the window
# opens, "刷新" rebuilds (the files the creation sequence writes come back), "自动启动" switches the
# logon entry off and on (checked with desktop-file-validate), the close button ends the process,
# and data.mdb is byte-for-byte what it was.
#   window-x11-test.sh <vandrel executable> <fixture database> <output folder>
set -uo pipefail
exe=$1
fixture=$2
out=$3
rm -rf "$out"
mkdir -p "$out/app" "$out/run" "$out/config"
chmod 700 "$out/run"
cd "$out" || exit 1

fail() { echo "FAIL: $*"; cat ./*.log 2>/dev/null; exit 1; }

cp "$exe" app/vandrel
cp "$fixture" app/data.mdb
before=$(sha256sum <app/data.mdb)

exec 3>displayfd.txt
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset >xvfb.log 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; [[ -n ${app:-} ]] && kill $app 2>/dev/null' EXIT
for _ in $(seq 400); do [[ -s displayfd.txt ]] && break; sleep 0.05; done
[[ -s displayfd.txt ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 displayfd.txt)"
export VANDREL_BACKEND=x11 VANDREL_NOW=2024-03-05T10:00:00 VANDREL_REGISTRY="$out/registry.reg"
export XDG_CONFIG_HOME="$out/config" XDG_RUNTIME_DIR="$out/run" WINEPREFIX="$out/no-wine" HOME="$out"
unset VANDREL_SHORTDATE VANDREL_LONGTIME

wait_until() {  # description command...
  local what=$1
  shift
  for _ in $(seq 400); do "$@" && return 0; sleep 0.05; done
  fail "$what"
}
window_id() { xdotool search --name '^Vandrel3\.0$' 2>/dev/null | head -1; }
has_window() { [[ -n $(window_id) ]]; }
entry=config/autostart/tarvo.desktop
hidden_is() { grep -qx "Hidden=$1" "$entry"; }

app/vandrel >vandrel.log 2>&1 &
app=$!
wait_until "the window did not open" has_window
sleep 0.5
xid=$(window_id)
eval "$(xdotool getwindowgeometry --shell "$xid")"
# The X window is the whole frame; the client area is 382 x 536 at its bottom, inside the border.
border=$(((WIDTH - 382) / 2))
cx=$((X + border))
cy=$((Y + HEIGHT - border - 536))
echo "window $X,$Y ${WIDTH}x$HEIGHT, client at $cx,$cy"
xwd -root -silent | convert xwd:- png:window.png || fail "screenshot"

# A second copy ends at once, silently, and leaves the first alone.
app/vandrel >second.log 2>&1
[[ $? == 0 && ! -s second.log ]] || fail "the second instance did not end silently"
has_window || fail "the second instance disturbed the first"

# The status bar lies at the bottom of the lower panel: client (4, 510), 374 x 22. Its hosted
# controls: the check box at (203, 3, 279, 19), the buttons at (283, 3, 329, 19) and (333, 3, 379, 19).
bar_x=$((cx + 4))
bar_y=$((cy + 510))

# First start: autostart on, a valid entry naming the program.
[[ -f $entry ]] || fail "no autostart entry after the first start"
desktop-file-validate "$entry" || fail "the autostart entry is not valid"
hidden_is false || fail "the autostart entry is not enabled: $(cat "$entry")"
grep -q "$out/app/vandrel" "$entry" || fail "the entry does not name the program"

# "刷新": the creation sequence writes the calendar page and the skin file again.
rm -f app/TheCal.htm app/mskn.mskn
xdotool mousemove $((bar_x + 356)) $((bar_y + 11)) click --delay 0 1
wait_until "刷新 did not rebuild" test -f app/TheCal.htm
test -f app/mskn.mskn || fail "刷新 did not write the skin file"
sleep 0.3
xwd -root -silent | convert xwd:- png:refreshed.png || fail "screenshot"

# "自动启动": off, then on again.
xdotool mousemove $((bar_x + 230)) $((bar_y + 11)) click --delay 0 1
wait_until "unticking did not disable the entry" hidden_is true
desktop-file-validate "$entry" || fail "the disabled entry is not valid"
grep -qi '"AuToRun"="0"' registry.reg || fail "the setting was not recorded as 0: $(cat registry.reg)"
xdotool mousemove $((bar_x + 230)) $((bar_y + 11)) click --delay 0 1
wait_until "ticking did not enable the entry" hidden_is false
desktop-file-validate "$entry" || fail "the re-enabled entry is not valid"
grep -qi '"AuToRun"="1"' registry.reg || fail "the setting was not recorded as 1"

# A refresh that fails shows its message in a box owned by the window: above the stay-on-top
# window (its picture on screen is its own), and idle while it waits (two topmost windows once
# raised themselves over each other for ever).
cp "$(dirname "$fixture")/olderschema.mdb" app/data.mdb
xdotool mousemove $((bar_x + 356)) $((bar_y + 11)) click --delay 0 1
box_id() { xdotool search --name '^Vandrel$' 2>/dev/null | head -1; }
has_box() { [[ -n $(box_id) ]]; }
wait_until "the failing refresh showed no message box" has_box
sleep 1
box=$(box_id)
eval "$(xdotool getwindowgeometry --shell "$box" | sed 's/^/BOX_/')"
xwd -root -silent | convert xwd:- -crop "${BOX_WIDTH}x${BOX_HEIGHT}+${BOX_X}+${BOX_Y}" +repage png:box-on-screen.png ||
  fail "screenshot"
xwd -id "$box" -silent | convert xwd:- png:box.png || fail "box picture"
differing=$(compare -metric AE box.png box-on-screen.png null: 2>&1)
[[ $differing == 0 ]] || fail "the message box is not on top: $differing pixels differ (box-on-screen.png)"
ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
before_ticks=$(ticks)
sleep 3
used=$(($(ticks) - before_ticks))
hz=$(getconf CLK_TCK)
((used * 10 < hz)) || fail "the process is busy while the message box waits: $used ticks in 3 s"
# Its OK button is centred 12 pixels above the bottom of the client area.
xdotool mousemove $((BOX_X + BOX_WIDTH / 2)) $((BOX_Y + BOX_HEIGHT - 28)) click --delay 0 1
for _ in $(seq 200); do has_box || break; sleep 0.05; done
has_box && fail "OK did not close the message box"
cp "$fixture" app/data.mdb

# The frame's close button (top right) ends the program.
xdotool mousemove $((X + WIDTH - border - 10)) $((Y + border + 9)) click --delay 0 1
for _ in $(seq 200); do kill -0 $app 2>/dev/null || break; sleep 0.05; done
kill -0 $app 2>/dev/null && fail "closing the window did not end the program"
wait $app || fail "exit status $? after closing the window"
app=

[[ $(sha256sum <app/data.mdb) == "$before" ]] || fail "data.mdb was modified"
ls app | grep -qv '^\(vandrel\|data\.mdb\|TheCal\.htm\|mskn\.mskn\)$' && fail "unexpected files beside the program: $(ls app)"
echo "window test passed"
