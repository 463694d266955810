#!/usr/bin/env bash
# The program as installed: its folder cannot be written by the user who runs it (as root, the
# test runs it as nobody, to whom a root-owned folder is read-only). The window opens under Xvfb
# with its skin and calendar page in the user's data folder and nothing beside the program.
#  1. data.mdb beside the sibling application: the program copies itself there, and the logon
#     entry, named "Vandrel", starts that copy.
#  2. data.mdb only in the data folder: nothing is copied, and the logon entry starts the program.
# The database is byte for byte what it was in both.
#   readonly-folder-x11-test.sh <program> <source folder> <calendar page> <skin file>
set -uo pipefail
program=$1
src=$(cd "$2" && pwd)
page=$3
skin=$4

# /tmp, so that an unprivileged user can reach it whatever the checkout's folder allows.
scratch=$(mktemp -d /tmp/vandrel-readonly.XXXXXX)
chmod 755 "$scratch"
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; cat "$scratch"/*.log 2>/dev/null; exit 1; }

home=$scratch/home
data=$home/.local/share/vandrel
entry=$home/.config/autostart/tarvo.desktop
mkdir -p "$scratch/tarvo" "$home/run" "$home/.config/vandrel"
chmod 700 "$home/run"
cp "$src/tests/data/mdb/sibling.mdb" "$scratch/tarvo/data.mdb"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\r\n"ExeFileName"="%s"\r\n' "$scratch/tarvo/tarvo.exe" \
  >"$home/.config/vandrel/registry.reg"
if [[ $(id -u) == 0 ]]; then
  chown -R 65534:65534 "$home" "$scratch/tarvo"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  as_user=()
fi
folder=$(dirname "$program")
"${as_user[@]}" test -x "$program" || fail "the test user cannot run $program"
"${as_user[@]}" test -w "$folder" && fail "the program's folder $folder is writable for the test user"
before_folder=$(ls -A "$folder")
database=$(sha256sum <"$src/tests/data/mdb/sibling.mdb")

exec 3>"$scratch/displayfd"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 400); do [[ -s $scratch/displayfd ]] && break; sleep 0.05; done
[[ -s $scratch/displayfd ]] || fail "Xvfb did not start"
display=":$(head -1 "$scratch/displayfd")"

# Starts the program and waits until its window is up and the sequence has run to its end (the
# logon entry is its last write).
open_window() {
  rm -f "$entry"
  "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$display" VANDREL_BACKEND=x11 \
    XDG_RUNTIME_DIR="$home/run" VANDREL_NOW=2024-03-05T10:00:00 "$program" >>"$scratch/vandrel.log" 2>&1 &
  app=$!
  for _ in $(seq 600); do
    [[ -n $(DISPLAY=$display xdotool search --name '^Vandrel3\.0$' 2>/dev/null) && -f $entry ]] && break
    kill -0 $app 2>/dev/null || fail "the program ended before its window opened"
    sleep 0.05
  done
  [[ -n $(DISPLAY=$display xdotool search --name '^Vandrel3\.0$' 2>/dev/null) ]] || fail "the window did not open"
  [[ -f $entry ]] || fail "no logon entry was written"
  [[ $(id -u) != 0 || $(ps -o uid= -p $app | tr -d ' ') == 65534 ]] || fail "the program does not run as nobody"
}
close_window() {
  kill $app
  wait $app 2>/dev/null
  app=
}
check_files() {  # the program the logon entry must start
  cmp -s "$data/TheCal.htm" "$page" || fail "no calendar page in the data folder: $(ls -la "$data")"
  cmp -s "$data/mskn.mskn" "$skin" || fail "no skin in the data folder"
  desktop-file-validate "$entry" || fail "the logon entry is not valid"
  grep -qx 'Name=Vandrel' "$entry" || fail "the logon entry's name: $(cat "$entry")"
  grep -q "^Exec=.*$1" "$entry" || fail "the logon entry does not start $1: $(cat "$entry")"
  [[ $(ls -A "$folder") == "$before_folder" ]] || fail "files were written beside the program"
}

echo "--- data.mdb beside the sibling application"
open_window
check_files "$scratch/tarvo/$(basename "$program")"
cmp -s "$scratch/tarvo/$(basename "$program")" "$program" || fail "no copy of the program beside the sibling"
[[ $(sha256sum <"$scratch/tarvo/data.mdb") == "$database" ]] || fail "the database changed"
close_window

echo "--- data.mdb in the data folder"
rm -rf "$scratch/tarvo"
"${as_user[@]}" cp "$src/tests/data/mdb/sibling.mdb" "$data/data.mdb"
open_window
check_files "$program"
[[ $(ls -A "$data" | sort | tr '\n' ' ') == "TheCal.htm data.mdb mskn.mskn " ]] ||
  fail "the data folder holds more than its own files: $(ls -A "$data")"
[[ $(sha256sum <"$data/data.mdb") == "$database" ]] || fail "the database changed"
close_window
echo "read-only program folder test passed"
