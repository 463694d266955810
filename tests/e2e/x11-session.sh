# Shared by the X11 tests of the main window (sourced): a virtual X server, optionally with a
# window manager, the program started in a folder of its own, and screenshots compared with the
# headless pictures. Every wait polls a condition and gives up after a bound.
#   x11_session OUTDIR [WM]   then   start_program EXE FIXTURE

fail() { echo "FAIL: $*"; tail -n 20 ./*.log 2>/dev/null; exit 1; }

# polls the command about every 50 ms for at most the given number of tries.
wait_until() {  # description tries command...
  local what=$1 tries=$2
  shift 2
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.05; done
  fail "$what"
}

x11_session() {  # out [wm]
  out=$1
  local wm=${2:-}
  rm -rf "$out"
  mkdir -p "$out/app" "$out/run" "$out/config" "$out/headless"
  chmod 700 "$out/run"
  cd "$out" || exit 1
  exec 3>displayfd.txt
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >xvfb.log 2>&1 &
  xvfb=$!
  trap 'for p in ${app:-} ${below:-} ${wmpid:-} $xvfb; do kill $p 2>/dev/null; done' EXIT
  wait_until "Xvfb did not start" 400 test -s displayfd.txt
  export DISPLAY=":$(head -1 displayfd.txt)"
  export VANDREL_BACKEND=x11 VANDREL_NOW=2024-03-05T10:00:00 VANDREL_REGISTRY="$out/registry.reg"
  export XDG_CONFIG_HOME="$out/config" XDG_RUNTIME_DIR="$out/run" XDG_DATA_HOME="$out/share"
  export WINEPREFIX="$out/no-wine" HOME="$out"
  unset VANDREL_SHORTDATE VANDREL_LONGTIME
  if [[ -n $wm ]]; then
    "$wm" >wm.log 2>&1 &
    wmpid=$!
    wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    wait_until "$wm did not start" 400 wm_running
  fi
}

window_id() { xdotool search --name '^Vandrel3\.0$' 2>/dev/null | head -1; }
viewable() {
  local id
  id=$(window_id)
  [[ -n $id ]] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable
}

# Starts the program beside a copy of the fixture and waits until its window is shown; sets xid.
start_program() {  # exe fixture
  cp "$1" app/vandrel
  cp "$2" app/data.mdb
  app/vandrel >vandrel.log 2>&1 &
  app=$!
  wait_until "the window did not open" 600 viewable
  xid=$(window_id)
}

# The window's place and size on the screen: sets X Y WIDTH HEIGHT.
geometry() {
  read -r X Y WIDTH HEIGHT < <(xwininfo -id "$xid" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /^  Width/ {w=$2} /^  Height/ {h=$2} END {print x, y, w, h}')
}

# The screen's pixels of a rectangle (screen coordinates) as an opaque PNG.
screen_crop() {  # file w h x y
  xwd -root -silent | convert xwd:- -crop "${2}x${3}+${4}+${5}" +repage -alpha off "png:$1"
}

# How many pixels of a rectangle differ between two pictures (the same coordinates in both).
differing() {  # a b w h x y
  convert "$1" -crop "${3}x${4}+${5}+${6}" +repage -alpha off png:cmp-a.png &&
    convert "$2" -crop "${3}x${4}+${5}+${6}" +repage -alpha off png:cmp-b.png &&
    compare -metric AE cmp-a.png cmp-b.png null: 2>&1
}
