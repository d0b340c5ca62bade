#!/bin/sh
# Builds the benchmarks in build/bench and runs them all under a private Xvfb, printing one table.
# Usage: bench/run.sh            (from anywhere; about 6 minutes)
# Environment: VELMORA_SOAK_DRAWS (default 100000; 1000000 takes about 17 minutes),
#              VELMORA_STARTUP_RUNS (default 15), VELMORA_BENCH_DISPLAY (default :96).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
display=${VELMORA_BENCH_DISPLAY:-:96}
soak=${VELMORA_SOAK_DRAWS:-100000}
runs=${VELMORA_STARTUP_RUNS:-15}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" --target velmora-benchmarks >/dev/null

xvfb=
if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  sleep 2
fi
trap '[ -n "$xvfb" ] && kill "$xvfb"' EXIT INT TERM

bin=$build/bench
export DISPLAY="$display" QTWEBENGINE_DISABLE_SANDBOX=1 XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

echo "Velmora benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
  "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6)"
echo
echo "| Measurement | Median / result | Target | Verdict |"
echo "|---|---|---|---|"
status=0
"$bin/velmora-bench-startup" "$runs" || status=1
"$bin/velmora-bench-append" 300 || status=1
"$bin/velmora-bench-soak" "$soak" || status=1
"$bin/velmora-bench-realclock" timing || status=1
"$bin/velmora-bench-idle" 30 || status=1
"$bin/velmora-bench-realclock" stress 5 || status=1
exit $status
