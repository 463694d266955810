#!/usr/bin/env bash
# The window layer on a real X server (Xvfb, no window manager): a shaped window gets exactly the
# click inside its shape and the screenshot shows the shape; a topmost window stays above a window
# mapped later; the classic frame moves with a caption drag, minimises with its button and closes
# with Alt+F4 and with its close button; keys give the key on the keyboard and the text typed
# (UTF-8 included); a server that cannot reach the program's shared memory still shows the window.
# Usage: x11-test.sh DEMO OUTDIR [DEPTH]  (the screen's depth: 16 or 24)
set -uo pipefail
demo=$1
out=$2
depth=${3:-24}
mkdir -p "$out"
cd "$out" || exit 1
rm -f ./*.log ./*.png

fail() { echo "FAIL: $*"; cat ./*.log 2>/dev/null; exit 1; }

exec 3>displayfd.txt
Xvfb -displayfd 3 -screen 0 640x480x"$depth" -nolisten tcp -noreset >xvfb.log 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; [[ -n ${xvfb2:-} ]] && kill $xvfb2 2>/dev/null; [[ -n ${app:-} ]] && kill $app 2>/dev/null' EXIT
for _ in $(seq 400); do [[ -s displayfd.txt ]] && break; sleep 0.05; done
[[ -s displayfd.txt ]] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 displayfd.txt)"
export VANDREL_BACKEND=x11

start() {  # mode log
  "$demo" "$1" >"$2" 2>&1 &
  app=$!
  for _ in $(seq 400); do grep -q ready "$2" && return 0; sleep 0.05; done
  fail "$1 did not start"
}
wait_for() {  # pattern log
  for _ in $(seq 400); do grep -q "$1" "$2" && return 0; sleep 0.05; done
  fail "no \"$1\" in $2"
}
pixel() { convert shot.png -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }

# 1. The shaped window: an L of 200 x 200 at (100, 100) without its top-right quarter.
start shape shape.log
xdotool mousemove 150 150 click --delay 0 1        # inside: client (50, 50)
xdotool mousemove 250 130 click --delay 0 1        # in the cut-away quarter: not ours
sleep 0.3
xwd -root -silent | convert xwd:- png:shot.png || fail "screenshot"
[[ $(pixel 150 150) == "255,0,0" ]] || fail "inside the shape is $(pixel 150 150)"
[[ $(pixel 250 130) != "255,0,0" ]] || fail "the cut-away quarter shows the window"
[[ $(pixel 250 250) == "255,0,0" ]] || fail "bottom-right quarter is $(pixel 250 250)"
grep -q '^ready shm$' shape.log || fail "the window's pixels do not go through shared memory"
# Shift+1 is the key 1 typing "!"; text beyond Latin-1 arrives as it was typed.
xdotool mousemove 150 250 key --delay 0 shift+1
xdotool type --delay 50 'é信'
wait_for 'char U+4FE1' shape.log
xdotool key --delay 0 q
wait $app || fail "shape demo exit code"
app=
[[ $(grep -c '^click' shape.log) == 1 ]] || fail "expected exactly one click"
grep -q '^click 50 50$' shape.log || fail "the click was not at (50, 50)"
[[ $(grep -E '^(key 0x31|char )' shape.log | head -4 | tr '\n' ' ') == "key 0x31 char U+0021 char U+00E9 char U+4FE1 " ]] ||
  fail "keys and text: $(grep -E '^(key|char)' shape.log | tr '\n' ' ')"
cp shot.png shape.png

# 2. Without a window manager the program keeps a topmost window on top itself.
start topmost topmost.log
xlogo -geometry 200x200+150+150 >/dev/null 2>&1 &
logo=$!
sleep 1
xwd -root -silent | convert xwd:- png:shot.png || fail "screenshot"
kill $logo 2>/dev/null
[[ $(pixel 200 200) == "255,0,0" ]] || fail "a later window covers the topmost one: $(pixel 200 200)"
cp shot.png topmost.png
xdotool mousemove 150 150 key --delay 0 q
wait $app || fail "topmost demo exit code"
app=

# 3. The classic frame at (80, 60), 320 x 200: drag the caption by (60, 50), then minimise.
start frame frame1.log
xdotool mousemove 200 70 mousedown 1 mousemove 230 95 mousemove 260 120 mouseup 1
wait_for "moved 140 110" frame1.log
# The X window carries the caption, the class and the icon.
xid=$(xdotool search --name '^Vandrel frame demo$' | head -1)
[[ -n $xid ]] || fail "no X window named after the caption"
xprop -id "$xid" WM_CLASS | grep -q '"vandrel"' || fail "WM_CLASS"
xprop -id "$xid" _NET_WM_ICON | grep -q 'Icon (16 x 16)' || fail "_NET_WM_ICON: $(xprop -id "$xid" _NET_WM_ICON | head -2)"

sleep 0.2
xwd -root -silent | convert xwd:- png:frame.png || fail "screenshot"
# Minimise button: second from the right in the caption.
xdotool mousemove $((140 + 320 - 4 - 2 - 16 - 2 - 16 - 8)) $((110 + 4 + 7)) click --delay 0 1
wait_for minimized frame1.log
kill $app; wait $app 2>/dev/null; app=

# 4. Alt+F4 closes the window and ends the program.
start frame frame2.log
xdotool mousemove 200 150 click --delay 0 1 key --delay 0 alt+F4
wait_for closed frame2.log
wait $app || fail "frame demo exit code after Alt+F4"
app=

# 5. The close button closes it too.
start frame frame3.log
xdotool mousemove $((80 + 320 - 4 - 2 - 8)) $((60 + 4 + 7)) click --delay 0 1
wait_for closed frame3.log
wait $app || fail "frame demo exit code after the close button"
app=
# 6. A server in another IPC namespace cannot attach the program's shared memory: the program
#    notices and sends its pixels in requests instead.
if unshare -ri true 2>/dev/null; then
  exec 4>displayfd2.txt
  unshare -ri Xvfb -displayfd 4 -screen 0 640x480x"$depth" -nolisten tcp -noreset >xvfb2.log 2>&1 &
  xvfb2=$!
  for _ in $(seq 400); do [[ -s displayfd2.txt ]] && break; sleep 0.05; done
  [[ -s displayfd2.txt ]] || fail "the second Xvfb did not start"
  export DISPLAY=":$(head -1 displayfd2.txt)"
  start shape noshm.log
  grep -q '^ready plain$' noshm.log || fail "a refused shared-memory attach counted as success"
  sleep 0.3
  xwd -root -silent | convert xwd:- png:shot.png || fail "screenshot"
  [[ $(pixel 150 150) == "255,0,0" ]] || fail "without shared memory the window shows $(pixel 150 150)"
  xdotool mousemove 150 250 key --delay 0 q
  wait $app || fail "shape demo exit code without shared memory"
  app=
else
  echo "unshare -ri is not allowed here: the shared-memory fallback is not exercised"
fi
echo "x11 test passed at depth $depth"
