#!/usr/bin/env bash
# The main window's frame on a real X server, bare or under a window manager, driven with xdotool:
# the screenshot of the active window equals its --snapshot picture pixel for pixel inside the
# window's bounding shape (what lies outside it is the desktop, which differs); dragging the
# caption by (+60, +40) moves the window by exactly that; the right edge by +50 widens it by 50;
# the bottom-left corner by (-30, +25) sizes it both ways, the right and top edges staying.
#   frame-x11-test.sh <vandrel> <shape_probe> <fixture database> <output folder> [window manager]
set -uo pipefail
exe=$1
probe=$2
fixture=$3
wm=${5:-}
source "$(dirname "$0")/x11-session.sh"
x11_session "$4" "$wm"

# The picture the program saves, before the real run writes its settings.
mkdir snapshot
cp "$exe" snapshot/vandrel
cp "$fixture" snapshot/data.mdb
snapshot/vandrel --snapshot snapshot.png >snapshot.log 2>&1 || fail "--snapshot: $(cat snapshot.log)"
convert snapshot.png -alpha off png:snapshot.png

start_program "$exe" "$fixture"
geometry
[[ $(identify -format '%wx%h' snapshot.png) == "${WIDTH}x$HEIGHT" ]] ||
  fail "the window is ${WIDTH}x$HEIGHT, its snapshot $(identify -format '%wx%h' snapshot.png)"

# A point on the caption: below the top border and right of the system icon, in every frame.
caption_x=60
caption_y=12

# A click on the caption makes the window active without moving it (away from where the drag
# starts: two presses there would be a double click).
xdotool mousemove $((X + caption_x + 60)) $((Y + caption_y)) click --delay 0 1
"$probe" "$xid" >shape.pbm || fail "the window's shape"
convert snapshot.png shape.pbm -compose Multiply -composite png:snapshot-shaped.png
looks_like_snapshot() {
  screen_crop shot.png "$WIDTH" "$HEIGHT" "$X" "$Y" &&
    convert shot.png shape.pbm -compose Multiply -composite png:shot.png &&
    [[ $(compare -metric AE shot.png snapshot-shaped.png null: 2>&1) == 0 ]]
}
for _ in $(seq 50); do looks_like_snapshot && break; sleep 0.1; done
looks_like_snapshot || {
  compare shot.png snapshot-shaped.png difference.png 2>/dev/null
  fail "the window on screen differs from its snapshot in $(compare -metric AE shot.png snapshot-shaped.png null: 2>&1) pixels (difference.png)"
}

# Drags the pointer from a point of the window by (dx, dy) in three moves, then waits until the
# window has the expected place and size.
drag() {  # what x y dx dy expected-X expected-Y expected-WIDTH expected-HEIGHT
  local what=$1 x=$((X + $2)) y=$((Y + $3)) dx=$4 dy=$5
  local expected="$6 $7 $8 $9"
  xdotool mousemove "$x" "$y" mousedown 1 mousemove $((x + dx / 3)) $((y + dy / 3)) \
    mousemove $((x + 2 * dx / 3)) $((y + 2 * dy / 3)) mousemove $((x + dx)) $((y + dy)) mouseup 1
  for _ in $(seq 100); do
    geometry
    [[ "$X $Y $WIDTH $HEIGHT" == "$expected" ]] && return 0
    sleep 0.05
  done
  fail "$what: the window is at $X,$Y ${WIDTH}x$HEIGHT, expected $expected"
}
drag "the caption" "$caption_x" "$caption_y" 60 40 $((X + 60)) $((Y + 40)) "$WIDTH" "$HEIGHT"
drag "the right edge" $((WIDTH - 2)) $((HEIGHT / 2)) 50 0 "$X" "$Y" $((WIDTH + 50)) "$HEIGHT"
drag "the bottom-left corner" 2 $((HEIGHT - 2)) -30 25 $((X - 30)) "$Y" $((WIDTH + 30)) $((HEIGHT + 25))
echo "frame test passed${wm:+ under $wm}"
