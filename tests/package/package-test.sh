#!/usr/bin/env bash
# The Debian package as users get it: built by CPack's `package` target from a release tree (the
# tree ./run uses), checked with lintian and desktop-file-validate, unpacked with dpkg-deb -x into
# a scratch root that must hold the installed files, and run from there as a user who cannot write
# the program's folder: the window opens under Xvfb and its skin and calendar page go to the data
# folder; nothing lands beside the program or the database.
#   package-test.sh <source folder> <release build folder>
set -uo pipefail
src=$(cd "$1" && pwd)
build=$2

fail() { echo "FAIL: $*"; [[ -n ${scratch:-} ]] && cat "$scratch"/*.log 2>/dev/null; exit 1; }

mkdir -p "$build"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANDREL_TESTS=OFF -DVANDREL_BENCH=OFF \
  >"$build/package-configure.log" 2>&1 || { cat "$build/package-configure.log"; fail "configure"; }
cmake --build "$build" --target package >"$build/package.log" 2>&1 || { tail -n 60 "$build/package.log"; fail "package build"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/vandrel_${version}_amd64.deb"
[[ -f $deb ]] || fail "no $deb"
echo "package: $deb"

echo "--- lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1 | grep -v "running with root privileges"
[[ ${PIPESTATUS[0]} == 0 ]] || fail "lintian reports errors"

# /tmp, so that an unprivileged user can reach it whatever the checkout's folder allows.
scratch=$(mktemp -d /tmp/vandrel-package.XXXXXX)
trap 'kill ${xvfb:-} ${app:-} 2>/dev/null; chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
root=$scratch/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"

echo "--- files"
for f in usr/bin/vandrel usr/share/applications/vandrel.desktop usr/share/man/man1/vandrel.1.gz \
    usr/share/vandrel/TheCal.htm usr/share/doc/vandrel/copyright \
    usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/vandrel.png; do
  [[ -f $root/$f ]] || fail "the package lacks /$f"
done
for size in 16 32 48 256; do
  png=$root/usr/share/icons/hicolor/${size}x$size/apps/vandrel.png
  # PNG header: width and height at bytes 16 and 20, 8 bits and colour type 6 (RGBA) at 24.
  [[ $(od -An -tu4 --endian=big -j16 -N8 "$png" | tr -s ' ') == " $size $size" &&
     $(od -An -tu1 -j24 -N2 "$png" | tr -s ' ') == " 8 6" ]] || fail "$png is not a $size x $size RGBA PNG"
done
desktop-file-validate "$root/usr/share/applications/vandrel.desktop" || fail "the desktop entry is not valid"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libc6 libstdc++6 libx11-6 libmdb libsqlite3 libjpeg62-turbo libpng16 libfreetype6 libfontconfig1; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib"
done
[[ $(stat -c %s "$root/usr/share/vandrel/TheCal.htm") -gt 10000 ]] || fail "the calendar page is empty"
# The manual page names every option and variable --help lists.
man=$(gzip -dc "$root/usr/share/man/man1/vandrel.1.gz" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
help=$("$root/usr/bin/vandrel" --help) || fail "--help"
for word in $(grep -oE -- '--[a-z]+|\b[A-Z][A-Z_]{3,}=' <<<"$help" | sort -u); do
  [[ $man == *"$word"* ]] || fail "the manual page lacks $word"
done

echo "--- installed program, read-only program folder"
home=$scratch/home
mkdir -p "$scratch/tarvo" "$home/run" "$home/.config/vandrel"
cp "$src/tests/data/mdb/sibling.mdb" "$scratch/tarvo/data.mdb"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\r\n"ExeFileName"="%s"\r\n' "$scratch/tarvo/tarvo.exe" \
  >"$home/.config/vandrel/registry.reg"
chmod 700 "$home/run"
if [[ $(id -u) == 0 ]]; then
  # root writes anywhere: run as nobody, to whom the unpacked root-owned tree is read-only.
  chown -R 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  chmod a-w "$root/usr/bin"
  as_user=()
fi
"${as_user[@]}" test -w "$root/usr/bin" && fail "the program's folder is writable for the test user"
"${as_user[@]}" test -w "$scratch/tarvo" && chmod a-w "$scratch/tarvo"
before_bin=$(ls -A "$root/usr/bin")
before_db=$(ls -A "$scratch/tarvo"; sha256sum <"$scratch/tarvo/data.mdb")

exec 3>"$scratch/displayfd"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 400); do [[ -s $scratch/displayfd ]] && break; sleep 0.05; done
[[ -s $scratch/displayfd ]] || fail "Xvfb did not start"
display=":$(head -1 "$scratch/displayfd")"

"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$display" VANDREL_BACKEND=x11 \
  XDG_RUNTIME_DIR="$home/run" VANDREL_NOW=2024-03-05T10:00:00 "$root/usr/bin/vandrel" >"$scratch/vandrel.log" 2>&1 &
app=$!
for _ in $(seq 400); do
  [[ -n $(DISPLAY=$display xdotool search --name '^Vandrel3\.0$' 2>/dev/null) ]] && break
  kill -0 $app 2>/dev/null || fail "the program ended before its window opened"
  sleep 0.05
done
[[ -n $(DISPLAY=$display xdotool search --name '^Vandrel3\.0$' 2>/dev/null) ]] || fail "the window did not open"
[[ $(id -u) != 0 || $(ps -o uid= -p $app | tr -d ' ') == 65534 ]] || fail "the program does not run as nobody"
data=$home/.local/share/vandrel
cmp -s "$data/TheCal.htm" "$root/usr/share/vandrel/TheCal.htm" || fail "no calendar page in the data folder: $(ls -la "$data")"
[[ -f $data/mskn.mskn ]] && cmp -s "$data/mskn.mskn" "$src/resources/skin/mskn.mskn" || fail "no skin in the data folder"
entry=$home/.config/autostart/tarvo.desktop
desktop-file-validate "$entry" || fail "the autostart entry is not valid"
grep -qx 'Name=Vandrel' "$entry" || fail "the autostart entry's name: $(cat "$entry")"
grep -q "$root/usr/bin/vandrel" "$entry" || fail "the autostart entry does not start the installed program"
kill $app
wait $app 2>/dev/null
app=
[[ $(ls -A "$root/usr/bin") == "$before_bin" ]] || fail "files were written beside the program"
[[ $(ls -A "$scratch/tarvo"; sha256sum <"$scratch/tarvo/data.mdb") == "$before_db" ]] ||
  fail "something was written beside the database"
echo "package test passed"
