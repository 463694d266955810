#!/usr/bin/env bash
# The whole program on the demo database, as processes: the `--snapshot` run (the window built
# and painted with the skin, saved as a PNG) against the `--dump` run on the same data (the same
# window and data without the picture), interleaved, each round both. Prints the median CPU
# (user + system, the program's import children included) and wall times, their ratio (target:
# snapshot at most 1.5x dump) and the peak resident memory of each (target: at most 40 MB).
#   bench/whole-program.sh [BUILD_DIR [ROUNDS]]    (BUILD_DIR: a Release build, default build/bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
rounds=${2:-15}
exe=$build/app/vandrel
[[ -x $exe ]] || { echo "no $exe: build the vandrel target in $build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/run"
chmod 700 "$work/run"
cp "$exe" "$work/app/vandrel"
install -m 0444 "$root/resources/demo/demo.mdb" "$work/app/data.mdb"
export VANDREL_NOW=2025-06-15T09:00:00 VANDREL_REGISTRY="$work/registry.reg" VANDREL_BACKEND=headless
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" XDG_RUNTIME_DIR="$work/run"
export WINEPREFIX="$work/no-wine" HOME="$work"
unset DISPLAY VANDREL_SHORTDATE VANDREL_LONGTIME

# One run: "cpu-seconds wall-seconds max-rss-kb" appended to the mode's file, from wait4 (CPU
# in microseconds, the program's waited-for import children included).
measure() {  # mode-name arguments...
  local name=$1
  shift
  python3 - "$work/$name.err" "$work/app/vandrel" "$@" >>"$work/$name.txt" <<'PY' ||
import os, sys, time
err = open(sys.argv[1], "w")
start = time.perf_counter()
pid = os.fork()
if pid == 0:
    os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
    os.dup2(err.fileno(), 2)
    os.execv(sys.argv[2], sys.argv[2:])
_, status, usage = os.wait4(pid, 0)
wall = time.perf_counter() - start
print(f"{usage.ru_utime + usage.ru_stime:.4f} {wall:.4f} {usage.ru_maxrss}")
sys.exit(os.waitstatus_to_exitcode(status))
PY
    { echo "vandrel $* failed: $(cat "$work/$name.err")" >&2; exit 1; }
}
measure dump --dump  # warm the page cache and the font cache once, unmeasured
rm -f "$work/dump.txt"
for _ in $(seq "$rounds"); do
  measure dump --dump
  measure snapshot --snapshot "$work/snapshot.png"
done

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
column() { cut -d' ' -f"$2" "$work/$1.txt" | median; }
dump_cpu=$(column dump 1)
snap_cpu=$(column snapshot 1)
dump_wall=$(column dump 2)
snap_wall=$(column snapshot 2)
dump_rss=$(cut -d' ' -f3 "$work/dump.txt" | sort -n | tail -1)
snap_rss=$(cut -d' ' -f3 "$work/snapshot.txt" | sort -n | tail -1)
verdict() { awk -v v="$1" -v t="$2" 'BEGIN {print (v <= t ? "met" : "MISSED")}'; }
cpu_ratio=$(awk -v a="$snap_cpu" -v b="$dump_cpu" 'BEGIN {printf "%.2f", a / b}')
wall_ratio=$(awk -v a="$snap_wall" -v b="$dump_wall" 'BEGIN {printf "%.2f", a / b}')
echo "rounds: $rounds (median of each)"
printf '%-10s %8s %8s %12s\n' run cpu_s wall_s max_rss_MB
printf '%-10s %8s %8s %12.1f\n' --dump "$dump_cpu" "$dump_wall" "$(awk -v k="$dump_rss" 'BEGIN {print k / 1024}')"
printf '%-10s %8s %8s %12.1f\n' --snapshot "$snap_cpu" "$snap_wall" "$(awk -v k="$snap_rss" 'BEGIN {print k / 1024}')"
echo "snapshot / dump: cpu ${cpu_ratio}x, wall ${wall_ratio}x (target at most 1.5x: $(verdict "$cpu_ratio" 1.5))"
echo "peak memory of the snapshot run: $(awk -v k="$snap_rss" 'BEGIN {printf "%.1f", k / 1024}') MB (target at most 40 MB: $(verdict "$snap_rss" $((40 * 1024))))"
