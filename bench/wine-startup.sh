#!/bin/sh
# Start-up of the Windows program under Wine: time to the first frame of velmora.exe against a bare
# static Qt window (both built like velmora.exe, in build/bench-windows), on a private Xvfb, with
# one Wine prefix and a wine server kept running, as on a desktop where Wine is already up.
# Needs the Qt for Windows of 'scripts/velmora-setup windows'. VELMORA_ROUNDS sets the runs (30).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench-windows display=${VELMORA_BENCH_DISPLAY:-:97} runs=${VELMORA_ROUNDS:-30}
command -v hyperfine >/dev/null && command -v Xvfb >/dev/null || {
  echo "wine-startup.sh: needs hyperfine and xvfb (apt-get install hyperfine xvfb)" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" --target velmora-benchmarks >/dev/null

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
export DISPLAY="$display" WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb"' EXIT INT TERM
wine=/usr/lib/wine/wine64
wineserver -p
"$wine" wineboot --init >/dev/null 2>&1
echo "velmora.exe under Wine $(wine --version 2>/dev/null), $(nproc) cores, $runs runs each"
hyperfine --warmup 3 --runs "$runs" --export-json "$build/startup.json" --style basic \
  -n bare "$wine $build/velmora-bench-bare.exe" -n velmora "$wine $build/velmora-bench-window.exe" \
  >/dev/null
python3 - "$build/startup.json" <<'PY'
import json, statistics, sys
r = {x["command"]: statistics.median(x["times"]) * 1000 for x in json.load(open(sys.argv[1]))["results"]}
print(f"median to first frame: bare {r['bare']:.0f} ms, velmora.exe {r['velmora']:.0f} ms, "
      f"ratio {r['velmora'] / r['bare']:.2f}")
PY
