#!/bin/sh
# Builds build/bench, runs every benchmark under a private Xvfb and prints one table of medians.
# Set VELMORA_ROUNDS (start-up, 10), VELMORA_BENCH_DISPLAY (:96), VELMORA_BENCH_PORT (the panes'
# local site, 8765) or VELMORA_SOAK_DRAWS (the soak's argument) to change them.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench display=${VELMORA_BENCH_DISPLAY:-:96}
export VELMORA_BENCH_PORT="${VELMORA_BENCH_PORT:-8765}" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
missing=$(for p in hyperfine xvfb x11-utils stress-ng fontconfig fonts-noto-cjk libbenchmark-dev python3; do
  dpkg-query -W -f '${Status}\n' "$p" 2>/dev/null | grep -q 'ok installed' || echo "$p"; done)
if [ -n "$missing" ]; then
  $([ "$(id -u)" -eq 0 ] || echo sudo) apt-get install -y --no-install-recommends $missing
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_BUILD_TESTS=OFF \
  -DVELMORA_BUILD_BENCHMARKS=ON -DVELMORA_VENDOR_SITE="http://127.0.0.1:$VELMORA_BENCH_PORT" >/dev/null
cmake --build "$build" --target velmora-benchmarks >/dev/null

xvfb=; if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
  sleep 2
fi
trap '[ -z "$xvfb" ] || kill "$xvfb"' EXIT INT TERM
export DISPLAY="$display"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY QTWEBENGINE_DISABLE_SANDBOX
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
echo "Velmora benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, Qt $(qtpaths6 --qt-version)"
printf '\n| Measurement | Median | Goal | |\n|---|---|---|---|\n'
status=0
python3 "$root/bench/measure.py" "$build" || status=1
"$build/bench/velmora-bench-draws" 3 || status=1
"$build/bench/velmora-bench-draws" 5 stress || status=1
if [ -x "$build/bench/velmora-bench-soak" ]; then
  "$build/bench/velmora-bench-soak" ${VELMORA_SOAK_DRAWS:-} || status=1
fi
exit $status
