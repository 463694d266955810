#!/bin/sh
# Rebuilds the skinned-window component's reference streams in tests/data/streams with Free
# Pascal's Classes unit.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$(cd "$here/../../data/streams" && pwd)
command -v fpc >/dev/null || { echo "fpc not found (apt-get install fp-compiler fp-units-rtl)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fpc -O2 -FE"$work" -FU"$work" "$here/FormOracle.pas" >"$work/build.log" || { cat "$work/build.log" >&2; exit 1; }
"$work/FormOracle" "$out"
ls -l "$out"/skinform.*
