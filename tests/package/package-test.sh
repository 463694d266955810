#!/usr/bin/env bash
# The Debian package as users get it: built by CPack's `package` target from a release tree (the
# tree ./run uses), checked with lintian and desktop-file-validate, unpacked with dpkg-deb -x into
# a scratch root that must hold the installed files, and run from there as a user who cannot write
# the program's folder (tests/e2e/readonly-folder-x11-test.sh).
#   package-test.sh <source folder> <release build folder>
set -uo pipefail
src=$(cd "$1" && pwd)
build=$2

fail() { echo "FAIL: $*"; exit 1; }

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
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
root=$scratch/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"

echo "--- files"
for f in usr/bin/vandrel usr/bin/vandrel-skin usr/share/applications/vandrel.desktop \
    usr/share/man/man1/vandrel.1.gz usr/share/man/man1/vandrel-skin.1.gz \
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
[[ $(id -u) == 0 ]] || chmod a-w "$root/usr/bin"
bash "$src/tests/e2e/readonly-folder-x11-test.sh" "$root/usr/bin/vandrel" "$src" "$root/usr/share/vandrel/TheCal.htm" \
  "$build/resources/skin/mskn.mskn" ||
  fail "the installed program"
echo "package test passed"
