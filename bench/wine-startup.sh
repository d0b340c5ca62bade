#!/bin/sh
# Start-up of the Windows program under Wine: time to the first frame of velmora.exe against a bare
# static Qt window (both built like velmora.exe, in build/bench-windows), on a private Xvfb, with
# one Wine prefix and a wine server kept running, as on a desktop where Wine is already up.
#
#   bench/wine-startup.sh [COMMIT]
#
# With a commit, that commit's program is built too (in build/bench-windows-before) and timed in
# the same rounds, as "before". Each round runs every program once after the other (one warm-up,
# three runs each), so that a load that comes or goes falls on all of them alike. Needs the Qt for
# Windows of 'scripts/velmora-setup windows'. VELMORA_ROUNDS sets the rounds (10).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench-windows display=${VELMORA_BENCH_DISPLAY:-:97} rounds=${VELMORA_ROUNDS:-10}
before=${1:-}
command -v hyperfine >/dev/null && command -v Xvfb >/dev/null || {
  echo "wine-startup.sh: needs hyperfine and xvfb (apt-get install hyperfine xvfb)" >&2; exit 1; }
configure() {
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCHMARKS=ON >/dev/null
  cmake --build "$2" --parallel 2 --target velmora-benchmarks >/dev/null
}
configure "$root" "$build"
wine=/usr/lib/wine/wine64
set -- -n bare "$wine $build/velmora-bench-bare.exe" -n velmora "$wine $build/velmora-bench-window.exe"
if [ -n "$before" ]; then
  source=$build-before/source
  rm -rf "$source" && git -C "$root" worktree prune
  git -C "$root" worktree add --detach --force "$source" "$before" >/dev/null 2>&1
  configure "$source" "$build-before"
  git -C "$root" worktree remove --force "$source"
  set -- "$@" -n before "$wine $build-before/velmora-bench-window.exe"
fi

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
export DISPLAY="$display" WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb"' EXIT INT TERM
mkdir -p "$WINEPREFIX"
# A server left running for this prefix would refuse a second one.
wineserver -k 2>/dev/null || true
wineserver -p
"$wine" wineboot --init >/dev/null 2>&1
echo "velmora.exe under Wine $(wine --version 2>/dev/null), $(nproc) cores, $rounds rounds"
round=1
while [ "$round" -le "$rounds" ]; do
  hyperfine --warmup 1 --runs 3 --export-json "$build/startup-$round.json" --style none "$@" \
    >/dev/null 2>&1
  round=$((round + 1))
done
python3 - "$build" "$rounds" <<'PY'
import json, statistics, sys
times = {}
for n in range(1, int(sys.argv[2]) + 1):
    for r in json.load(open(f"{sys.argv[1]}/startup-{n}.json"))["results"]:
        times.setdefault(r["command"], []).extend(r["times"])
median = {k: statistics.median(v) * 1000 for k, v in times.items()}
for name in ("velmora", "before"):
    if name in median:
        print(f"{name}: median to first frame {median[name]:.0f} ms against bare {median['bare']:.0f} ms, "
              f"ratio {median[name] / median['bare']:.2f} (n={len(times[name])})")
PY
