#!/usr/bin/env bash
# The skinned controls' states on a real X server: the pointer over "刷新" shows its hot picture,
# a press its pressed picture, and the pointer moving straight off the window brings back the
# normal picture; the same for "自动启动" (hot, a click ticking it off). Each screenshot of the two
# controls must equal, pixel for pixel, the picture the headless screen gives after the same steps
# (window_pictures). Every step polls the screen until the pictures match or a bound passes.
#   control-states-x11-test.sh <vandrel> <window_pictures> <fixture database> <output folder> [window manager]
set -uo pipefail
exe=$1
pictures=$2
fixture=$3
source "$(dirname "$0")/x11-session.sh"
x11_session "$4" "${5:-}"

# The headless pictures first, before the real run writes its settings.
cp "$fixture" headless/data.mdb
"$pictures" "$out/headless/vandrel" "$out/headless" >headless.txt 2>headless.log ||
  fail "the headless pictures: $(cat headless.log)"
read -r refresh_x refresh_y refresh_w refresh_h <<<"$(awk '$1 == "refresh" {print $2, $3, $4, $5}' headless.txt)"
read -r box_x box_y box_w box_h <<<"$(awk '$1 == "autostart" {print $2, $3, $4, $5}' headless.txt)"
read -r win_w win_h <<<"$(awk '$1 == "window" {print $2, $3}' headless.txt)"

# The headless pictures themselves show the states: hot and pressed are pictures of their own, and
# the pointer going straight off the window brings back the normal one.
refresh_in() { differing "headless/$1.png" "headless/$2.png" "$refresh_w" "$refresh_h" "$refresh_x" "$refresh_y"; }
box_in() { differing "headless/$1.png" "headless/$2.png" "$box_w" "$box_h" "$box_x" "$box_y"; }
[[ $(refresh_in normal refresh-hot) != 0 && $(refresh_in refresh-hot refresh-pressed) != 0 ]] ||
  fail "headless: 刷新 shows no hot or no pressed picture"
[[ $(refresh_in normal refresh-away) == 0 ]] || fail "headless: 刷新 stays hot after the pointer left the window"
[[ $(box_in normal box-hot) != 0 && $(box_in box-clicked box-left) != 0 ]] ||
  fail "headless: 自动启动 shows no hot picture, or keeps it after the pointer left the window"

start_program "$exe" "$fixture"
geometry
[[ "$WIDTH $HEIGHT" == "$win_w $win_h" ]] || fail "the window is ${WIDTH}x$HEIGHT, headless ${win_w}x$win_h"
refresh="$((X + refresh_x + refresh_w / 2)) $((Y + refresh_y + refresh_h / 2))"
box="$((X + box_x + box_w / 2)) $((Y + box_y + box_h / 2))"
# A point of the screen outside the window.
away="$((X + WIDTH + 20)) $((Y + 20))"
((X + WIDTH + 20 < 1024)) || away="$((X - 20)) $((Y + 20))"

controls_match() {  # picture
  screen_crop shot.png "$WIDTH" "$HEIGHT" "$X" "$Y" || return 1
  [[ $(differing shot.png "headless/$1.png" "$refresh_w" "$refresh_h" "$refresh_x" "$refresh_y") == 0 ]] &&
    [[ $(differing shot.png "headless/$1.png" "$box_w" "$box_h" "$box_x" "$box_y") == 0 ]]
}
# Takes the step, then waits until both controls look as the headless picture after it.
step() {  # picture xdotool-arguments...
  local picture=$1
  shift
  [[ $# -gt 0 ]] && xdotool "$@"
  for _ in $(seq 60); do controls_match "$picture" && return 0; sleep 0.1; done
  cp shot.png "$picture-x11.png"
  fail "after the step to $picture: 刷新 differs in $(differing shot.png "headless/$picture.png" "$refresh_w" \
    "$refresh_h" "$refresh_x" "$refresh_y") pixels, 自动启动 in $(differing shot.png "headless/$picture.png" \
    "$box_w" "$box_h" "$box_x" "$box_y") (see $picture-x11.png)"
}

step normal
# shellcheck disable=SC2086
{
  step refresh-hot mousemove $refresh
  step refresh-away mousemove $away
  step refresh-pressed mousemove $refresh mousedown 1
  step refresh-clicked mouseup 1
  step refresh-left mousemove $away
  step box-hot mousemove $box
  step box-pressed mousedown 1
  step box-clicked mouseup 1
  step box-left mousemove $away
}
grep -qi '"AuToRun"="0"' registry.reg || fail "the click on 自动启动 was not recorded: $(cat registry.reg)"
echo "control states test passed${5:+ under $5}"
