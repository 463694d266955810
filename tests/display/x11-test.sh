#!/usr/bin/env bash
# The window layer on a real X server (Xvfb, no window manager): a shaped window gets exactly the
# click inside its shape and the screenshot shows the shape; a topmost window stays above a window
# mapped later; the classic frame moves with a caption drag, minimises with its button and closes
# with Alt+F4 and with its close button; keys give the key on the keyboard and the text typed
# (UTF-8 included); the pointer leaving for another program's window is heard; the screen reads
# as the screenshot shows it; a menu window gets the pointer and keyboard while open and leaves no
# grab behind; a server that cannot reach the program's shared memory still shows the window and
# reads the screen.
# With a window manager (openbox) the same holds, a restore from the taskbar reaches the program,
# and the window manager's answers to a burst of moves do not pull the window back.
# Usage: x11-test.sh DEMO OUTDIR [DEPTH [WM]]  (the screen's depth: 16 or 24; WM: openbox)
set -uo pipefail
demo=$1
out=$2
depth=${3:-24}
wm=${4:-}
mkdir -p "$out"
cd "$out" || exit 1
rm -f ./*.log ./*.png

fail() { echo "FAIL: $*"; cat ./*.log 2>/dev/null; exit 1; }

exec 3>displayfd.txt
Xvfb -displayfd 3 -screen 0 640x480x"$depth" -nolisten tcp -noreset >xvfb.log 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; [[ -n ${wmpid:-} ]] && kill $wmpid 2>/dev/null; [[ -n ${xvfb2:-} ]] && kill $xvfb2 2>/dev/null; [[ -n ${app:-} ]] && kill $app 2>/dev/null; [[ -n ${other:-} ]] && kill $other 2>/dev/null; [[ -n ${trayer:-} ]] && kill $trayer 2>/dev/null; [[ -n ${trayhost:-} ]] && kill $trayhost 2>/dev/null' EXIT
for _ in $(seq 400); do [[ -s displayfd.txt ]] && break; sleep 0.05; done
[[ -s displayfd.txt ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 displayfd.txt)"
export VANDREL_BACKEND=x11
if [[ -n $wm ]]; then
  "$wm" >wm.log 2>&1 &
  wmpid=$!
  for _ in $(seq 400); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "$wm did not start"
fi

start() {  # mode log window-name
  "$demo" "$1" >"$2" 2>&1 &
  app=$!
  for _ in $(seq 400); do grep -q ready "$2" && break; sleep 0.05; done
  grep -q ready "$2" || fail "$1 did not start"
  # A window manager maps the window in its own time (slow while the whole suite runs).
  for _ in $(seq 600); do xwininfo -name "$3" 2>/dev/null | grep -q IsViewable && return 0; sleep 0.05; done
  fail "the window \"$3\" of $1 is not shown"
}
wait_for() {  # pattern log
  for _ in $(seq 400); do grep -q "$1" "$2" && return 0; sleep 0.05; done
  fail "no \"$1\" in $2"
}
pixel() { convert shot.png -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
# Takes screenshots until the pixel shows the colour (a busy machine, a window manager still
# mapping the window), at most about 4 s; the last shot stays in shot.png.
shot_until() {  # x y colour
  for _ in $(seq 20); do
    xwd -root -silent | convert xwd:- png:shot.png || fail "screenshot"
    [[ $(pixel "$1" "$2") == "$3" ]] && return 0
    sleep 0.2
  done
  return 1
}

# 1. The shaped window: an L of 200 x 200 at (100, 100) without its top-right quarter.
start shape shape.log "shape"
xdotool mousemove 150 150 click --delay 0 1        # inside: client (50, 50)
xdotool mousemove 250 130 click --delay 0 1        # in the cut-away quarter: not ours
shot_until 150 150 "255,0,0"
# The pointer leaving for another program's window lying over ours ends the window's hover.
xlogo -geometry 60x40+220+240 >/dev/null 2>&1 &
logo=$!
for _ in $(seq 100); do xdotool search --class xlogo >/dev/null 2>&1 && break; sleep 0.05; done
sleep 0.2
xdotool mousemove 200 250 mousemove 210 255
sleep 0.2
n=$(grep -c '^leave' shape.log)
xdotool mousemove 250 260                          # onto xlogo, inside our window's rectangle
for _ in $(seq 100); do [[ $(grep -c '^leave' shape.log) -gt $n ]] && break; sleep 0.05; done
kill $logo 2>/dev/null; wait $logo 2>/dev/null
[[ $(grep '^leave' shape.log | tail -1) == "leave away" ]] ||
  fail "leaving for another window: $(grep '^leave' shape.log | tr '\n' ' ')"
[[ $(pixel 150 150) == "255,0,0" ]] || fail "inside the shape is $(pixel 150 150)"
[[ $(pixel 250 130) != "255,0,0" ]] || fail "the cut-away quarter shows the window"
[[ $(pixel 250 250) == "255,0,0" ]] || fail "bottom-right quarter is $(pixel 250 250)"
grep -q '^ready shm$' shape.log || fail "the window's pixels do not go through shared memory"
# Shift+1 is the key 1 typing "!"; text beyond Latin-1 arrives as it was typed.
xdotool mousemove 150 250 key --delay 0 shift+1
# (Typing a character the layout lacks remaps the keyboard; a window manager regrabbing its keys
# meanwhile can drop one, so that is checked without one.)
if [[ -z $wm ]]; then
  xdotool type --delay 250 'é信'
  wait_for 'char U+4FE1' shape.log
fi
# The program reads the screen as the screenshot shows it; its work area is a running window
# manager's, never one left behind on the root window.
xdotool key --delay 0 r
wait_for '^read [0-9]' shape.log
[[ $(grep '^read [0-9]' shape.log) == "read 255,0,0 $(pixel 250 130)" ]] ||
  fail "screen read $(grep '^read [0-9]' shape.log), screenshot $(pixel 150 150) $(pixel 250 130)"
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,20,640,440
xdotool key --delay 0 w
wait_for '^work' shape.log
work="work 0 20 640 460"
[[ -z $wm ]] && work="work 0 0 640 480"
[[ $(grep '^work' shape.log) == "$work" ]] || fail "$(grep '^work' shape.log), expected $work"
xdotool key --delay 0 q
wait $app || fail "shape demo exit code"
app=
[[ $(grep -c '^click' shape.log) == 1 ]] || fail "expected exactly one click"
grep -q '^click 50 50$' shape.log || fail "the click was not at (50, 50)"
text="key 0x31 char U+0021 char U+00E9 char U+4FE1 "
[[ -n $wm ]] && text="key 0x31 char U+0021 "
[[ $(grep -E '^(key 0x31|char )' shape.log | grep -v -E 'U\+00(71|72|77)' | head -4 | tr '\n' ' ') == "$text" ]] ||
  fail "keys and text: $(grep -E '^(key|char)' shape.log | tr '\n' ' ')"
cp shot.png shape.png

# 2. Without a window manager the program keeps a topmost window on top itself.
start topmost topmost.log "topmost"
xlogo -geometry 200x200+150+150 >/dev/null 2>&1 &
logo=$!
sleep 1
shot_until 200 200 "255,0,0"
kill $logo 2>/dev/null
[[ $(pixel 200 200) == "255,0,0" ]] || fail "a later window covers the topmost one: $(pixel 200 200)"
cp shot.png topmost.png
xdotool mousemove 150 150 key --delay 0 q
wait $app || fail "topmost demo exit code"
app=

# 3. The classic frame at (80, 60), 320 x 200: drag the caption by (60, 50), then minimise.
start frame frame1.log "Vandrel frame demo"
xdotool mousemove 200 70 mousedown 1 mousemove 230 95 mousemove 260 120 mouseup 1
wait_for "moved 140 110" frame1.log
# The X window carries the caption, the class and the icon.
xid=$(xdotool search --name '^Vandrel frame demo$' | head -1)
[[ -n $xid ]] || fail "no X window named after the caption"
xprop -id "$xid" WM_CLASS | grep -q '"vandrel"' || fail "WM_CLASS"
xprop -id "$xid" _NET_WM_ICON | grep -q 'Icon (16 x 16)' || fail "_NET_WM_ICON: $(xprop -id "$xid" _NET_WM_ICON | head -2)"
# The program draws its frame: the window manager adds none.
if [[ -n $wm ]]; then
  extents=$(xprop -id "$xid" _NET_FRAME_EXTENTS)
  [[ $extents == *"= 0, 0, 0, 0" ]] || fail "decorated by the window manager: $extents"
fi

sleep 0.2
xwd -root -silent | convert xwd:- png:frame.png || fail "screenshot"
# Minimise button: second from the right in the caption.
xdotool mousemove $((140 + 320 - 4 - 2 - 16 - 2 - 16 - 8)) $((110 + 4 + 7)) click --delay 0 1
wait_for minimized frame1.log
if [[ -n $wm ]]; then
  # Restored from outside (a taskbar): the program hears a restore and the window shows again.
  xdotool windowactivate "$xid" 2>/dev/null
  wait_for restored frame1.log
  [[ $(xwininfo -id "$xid" | awk '/Map State/ {print $3}') == IsViewable ]] || fail "restored but not shown"
fi
kill $app; wait $app 2>/dev/null; app=

# 4. Alt+F4 closes the window and ends the program.
start frame frame2.log "Vandrel frame demo"
xdotool mousemove 200 150 click --delay 0 1 key --delay 0 alt+F4
wait_for closed frame2.log
wait $app || fail "frame demo exit code after Alt+F4"
app=

# 5. The close button closes it too.
start frame frame3.log "Vandrel frame demo"
xdotool mousemove $((80 + 320 - 4 - 2 - 8)) $((60 + 4 + 7)) click --delay 0 1
wait_for closed frame3.log
wait $app || fail "frame demo exit code after the close button"
app=
# 9. Errors of the server are said on stderr once per kind.
"$demo" xerror >xerror.log 2>&1 || fail "xerror demo exit code"
[[ $(grep -c 'X error' xerror.log) == 2 ]] || fail "X errors reported: $(grep 'X error' xerror.log | tr '\n' ' ')"
grep -q 'BadWindow.* request 8\.' xerror.log && grep -q 'BadWindow.* request 4\.' xerror.log ||
  fail "X errors reported: $(grep 'X error' xerror.log | tr '\n' ' ')"

# 10. The notification-area icon: refused without a tray, embedded in one (trayer), a double
#     click on it reaches the program; a tray that dies (a minimal one that returns its icons to
#     the root window) leaves no icon on the desktop and tells the program; a new tray takes the
#     icon again.
start tray tray.log "tray"
tray_up() {
  trayer --edge bottom --align left --widthtype pixel --width 120 --heighttype pixel --height 30 >trayer.log 2>&1 &
  trayer=$!
}
icon_state() { xwininfo -id "$iid" 2>/dev/null | awk '/Map State/ {print $3}'; }
add_icon() {  # the count of "tray added" to reach
  for _ in $(seq 50); do
    xdotool mousemove 150 150 click --delay 0 1 key --delay 0 t
    for _ in $(seq 4); do [[ $(grep -c "tray added" tray.log) -ge $1 ]] && break 2; sleep 0.05; done
  done
  [[ $(grep -c "tray added" tray.log) -ge $1 ]] || fail "no icon in the tray"
  iid=$(xdotool search --classname vandrel-tray | head -1)
  for _ in $(seq 100); do [[ $(icon_state) == IsViewable ]] && break; sleep 0.05; done
  [[ $(icon_state) == IsViewable ]] || fail "the icon is not shown in the tray"
}
xdotool mousemove 150 150 key --delay 0 t
wait_for "tray refused" tray.log
tray_up
add_icon 1
read -r ix iy < <(xwininfo -id "$iid" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x+5, y+5}')
xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 80 1
wait_for "tray dblclick" tray.log
kill $trayer; wait $trayer 2>/dev/null; trayer=
"$demo" trayhost >trayhost.log 2>&1 &
trayhost=$!
wait_for "tray host ready" trayhost.log
add_icon 2
kill $trayhost; wait $trayhost 2>/dev/null; trayhost=
wait_for "tray lost" tray.log
sleep 0.3
[[ $(icon_state) != IsViewable ]] || fail "the icon was left on the desktop"
tray_up
for _ in $(seq 100); do [[ $(icon_state) == IsViewable ]] && break; sleep 0.05; done
[[ $(icon_state) == IsViewable ]] || fail "a new tray did not take the icon"
kill $trayer; wait $trayer 2>/dev/null; trayer=
xdotool mousemove 150 150 key --delay 0 q
wait $app || fail "tray demo exit code"
app=

# 7 (before 6, which changes the display). Four moves in a row end where the last one asked: the
#    answers to the first three do not pull the window back.
start configure configure.log "configure"
xdotool mousemove 150 150 click --delay 0 1 key --delay 0 m
wait_for burst configure.log
sleep 1
[[ $(sed -n '/^burst/,$p' configure.log | grep '^at' | tr '\n' ' ') == "at 120 100 at 140 100 at 160 100 at 180 100 " ]] ||
  fail "moves after the burst: $(sed -n '/^burst/,$p' configure.log | tr '\n' ' ')"
cxid=$(xdotool search --name '^configure$' | head -1)
[[ $(xwininfo -id "$cxid" | awk '/Absolute upper-left X/ {print $4}') == 180 ]] || fail "the X window is not at 180"
xdotool key --delay 0 q
wait $app || fail "configure demo exit code"
app=

# 8. A menu (a topmost tool window never activated) opened from a stay-on-top window shows over
#    it, gets the keys and the clicks outside it while open, and leaves no grab behind: another
#    program (the shape demo) then gets clicks and keys again.
"$demo" shape >other.log 2>&1 &
other=$!
start menu menu.log "menu owner"
for _ in $(seq 400); do grep -q ready other.log && break; sleep 0.05; done
xdotool mousemove 450 150 click --delay 0 1
wait_for "menu open" menu.log
shot_until 450 220 "255,255,0" || fail "the menu is not over its stay-on-top owner: $(pixel 450 220)"
cp shot.png menu.png
xdotool mousemove 150 150 sleep 0.2 key --delay 50 Down Down Escape
wait_for "menu closed" menu.log
[[ $(grep -c '^menu down' menu.log) == 2 ]] || fail "the menu got $(grep -c '^menu down' menu.log) Down keys"
grep -q '^key' other.log && fail "keys meant for the menu reached another program"
xdotool mousemove 450 150 click --delay 0 1
for _ in $(seq 100); do [[ $(grep -c '^menu open' menu.log) == 2 ]] && break; sleep 0.05; done
xdotool mousemove 150 150 click --delay 0 1
wait_for "menu outside" menu.log
for _ in $(seq 100); do [[ $(grep -c '^menu closed' menu.log) == 2 ]] && break; sleep 0.05; done
grep -q '^click' other.log && fail "the click that closed the menu reached another program"
# Held elsewhere, the pointer cannot be had: the menu says so and closes.
xdotool mousemove 450 150 key --delay 0 g
wait_for "menu refused" menu.log
xdotool key --delay 0 q
wait $app || fail "menu demo exit code"
app=
xdotool mousemove 150 150 click --delay 0 1 sleep 0.2 key --delay 0 q
wait $other || fail "after the menu the other program did not get its click and key"
grep -q '^click 50 50$' other.log || fail "after the menu the other program got no click"
other=

# 6. A server in another IPC namespace cannot attach the program's shared memory: the program
#    notices and sends its pixels in requests instead.
if [[ -n $wm ]]; then
  :  # a display of its own without the window manager would test nothing new
elif unshare -ri true 2>/dev/null; then
  exec 4>displayfd2.txt
  unshare -ri Xvfb -displayfd 4 -screen 0 640x480x"$depth" -nolisten tcp -noreset >xvfb2.log 2>&1 &
  xvfb2=$!
  for _ in $(seq 400); do [[ -s displayfd2.txt ]] && break; sleep 0.05; done
  [[ -s displayfd2.txt ]] || fail "the second Xvfb did not start"
  export DISPLAY=":$(head -1 displayfd2.txt)"
  start shape noshm.log "shape"
  grep -q '^ready plain$' noshm.log || fail "a refused shared-memory attach counted as success"
  sleep 0.3
  xwd -root -silent | convert xwd:- png:shot.png || fail "screenshot"
  [[ $(pixel 150 150) == "255,0,0" ]] || fail "without shared memory the window shows $(pixel 150 150)"
  xdotool mousemove 150 250 key --delay 0 r
  wait_for '^read [0-9]' noshm.log
  [[ $(grep '^read [0-9]' noshm.log) == "read 255,0,0 $(pixel 250 130)" ]] ||
    fail "screen read without shared memory: $(grep '^read [0-9]' noshm.log)"
  xdotool key --delay 0 q
  wait $app || fail "shape demo exit code without shared memory"
  app=
else
  echo "unshare -ri is not allowed here: the shared-memory fallback is not exercised"
fi
echo "x11 test passed at depth $depth${wm:+ under $wm}"
