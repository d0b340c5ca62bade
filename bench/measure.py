#!/usr/bin/env python3
# Runs the benchmarks of build/bench on the display in DISPLAY and prints one table of medians.
# Usage: measure.py BUILD_DIR (bench/run.sh builds and calls it).
import http.server, json, os, shutil, statistics, subprocess, sys, tempfile, threading, time, urllib.parse

build, tmp, rounds = sys.argv[1], tempfile.mkdtemp(), int(os.environ.get("VELMORA_ROUNDS", "10"))
bench, velmora = f"{build}/bench", f"{build}/src/app/velmora"
lonely = shutil.copy(velmora, tmp)  # away from the build tree it finds no panes plugin
run = lambda cmd, **kw: subprocess.run(cmd, check=True, text=True, capture_output=True, **kw).stdout
row = lambda what, value, goal, met: print(f"| {what} | {value} | {goal} | {'met' if met else 'missed'} |", flush=True)

def fonts(name, dirs):  # a font configuration with these folders only; hyperfine's warm-up fills its cache
    with open(conf := f"{tmp}/{name}.conf", "w") as f:
        f.write("<?xml version='1.0'?><fontconfig>" + "".join(f"<dir>{d}</dir>" for d in dirs) +
                f"<include ignore_missing='yes'>/etc/fonts/conf.d</include><cachedir>{tmp}/{name}</cachedir></fontconfig>")
    return {**os.environ, "FONTCONFIG_FILE": conf}

uming = ["/usr/share/fonts/truetype/arphic", "/usr/share/fonts/truetype/dejavu"]
sets = {"UMing": fonts("uming", uming), "UMing + Noto CJK": fonts("noto", uming + ["/usr/share/fonts/opentype/noto"])}

# Start-up: process start to first frame on screen, in hyperfine blocks alternating kinds and font sets.
frames = {}
for _ in range(rounds):
    for name, env in sets.items():
        run(["hyperfine", "-N", "-w", "1", "-r", "3", "--export-json", f"{tmp}/h.json",
             f"{bench}/velmora-bench-bare", f"{bench}/velmora-bench-window"], env=env)
        for kind, result in zip(("bare", "window"), json.load(open(f"{tmp}/h.json"))["results"]):
            frames.setdefault((name, kind), []).extend(t * 1000 for t in result["times"])
for name in sets:
    bare, window = (statistics.median(frames[name, kind]) for kind in ("bare", "window"))
    row(f"start-up to first frame, {name}: bare 515×549 window / main window (n={len(frames[name, 'bare'])})",
        f"{bare:.1f} / {window:.1f} ms = {window / bare:.2f}× bare", "≤ 1.5× bare", window <= 1.5 * bare)

# Memory: PSS summed over the program and all its descendants, once it has settled.
pages, fetched = {"/彩票/福彩3D.htm": "福彩3D " * 4000, "/page/rjtqyb/index.php": "软件天气预报 " * 200}, set()

class Site(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        fetched.add(path := urllib.parse.unquote(self.path))
        self.send_response(200 if path in pages else 404)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.end_headers()
        self.wfile.write(f"<!doctype html><title>{path}</title><p>{pages.get(path, '')}".encode())
    log_message = lambda *args: None

server = http.server.ThreadingHTTPServer(("127.0.0.1", int(os.environ["VELMORA_BENCH_PORT"])), Site)
threading.Thread(target=server.serve_forever, daemon=True).start()
stat = lambda pid: open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()

def measured(cmd, env, settle, measure, panes=False):
    fetched.clear()
    program, deadline = subprocess.Popen(cmd, env=env, stderr=subprocess.DEVNULL, start_new_session=True), time.time() + 60
    while panes and not set(pages) <= fetched and time.time() < deadline:
        time.sleep(0.1)
    time.sleep(settle)
    result = measure(program.pid) if set(pages) <= fetched or not panes else float("nan")
    os.killpg(program.pid, 9)
    program.wait()
    return result

def pss(pid):  # the process and its descendants; a child's parent is always older
    tree, kib = {pid}, 0
    for p in sorted(int(p) for p in os.listdir("/proc") if p.isdigit()):
        try:
            tree |= {p} if int(stat(p)[1]) in tree else set()
            kib += sum(int(l.split()[1]) for l in open(f"/proc/{p}/smaps_rollup") if l.startswith("Pss:")) if p in tree else 0
        except OSError:
            pass
    return kib / 1024

sandbox = {"QTWEBENGINE_DISABLE_SANDBOX": "1"} if os.geteuid() == 0 else {}  # as the setup script does
for name, env in sets.items():
    m = [[measured([f"{bench}/velmora-bench-bare", "--stay"], env, 3, pss), measured([lonely], env, 3, pss),
          measured([velmora], {**env, **sandbox}, 5, pss, True)] for _ in range(3)]
    bare, alone, panes = (statistics.median(v) for v in zip(*m))
    row(f"memory (PSS), {name}: bare window / main window, panes not shown", f"{bare:.1f} / {alone:.1f} MiB", "≤ 30 MiB", alone <= 30)
    row(f"memory (PSS) of the process tree, {name}: both panes showing local pages", f"{panes:.1f} MiB", "≤ 180 MiB", panes <= 180)

# Idle: the program left alone 30 s, panes unable to show; the CPU it uses and how often it wakes.
def idle(pid):
    ticks = lambda: sum(map(int, stat(pid)[11:13]))
    wakes = lambda: sum(int(l.split()[1]) for l in open(f"/proc/{pid}/status") if "ctxt_switches" in l)
    cpu, woke, _ = ticks(), wakes(), time.sleep(30)
    return (ticks() - cpu) / os.sysconf("SC_CLK_TCK") / 30 * 100, wakes() - woke
percent, woke = measured([lonely], sets["UMing"], 2, idle)
row("idle: main window left alone 30 s", f"{percent:.3f} % of one core, {woke} wake-ups", "< 0.5 %", percent < 0.5)

# Log append at full size: medians of 9 repetitions of 100 appends.
for b in json.loads(run([f"{bench}/velmora-bench-draws", "append", "--benchmark_format=json"]))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        row(f"log append + caret to end, log of {b['characters']:.0f} characters", f"{b['real_time']:.3f} ms", "< 0.5 ms", b["real_time"] < 0.5)

# The trend chart's views: first frame and one live row at 100 and 10^5 draws, medians of 9
# repetitions, all in one run; each view within twice 基本走势, the chart's first view.
chart = {}
for b in json.loads(run([f"{bench}/velmora-bench-chart", "--benchmark_filter=OpenTheChart|OneLiveRow",
                         "--benchmark_report_aggregates_only=true", "--benchmark_format=json"]))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        what, view, _, draws = b["run_name"].split("/")[:4]
        chart[what, view, draws] = b["real_time"]
for (what, view, draws), ms in chart.items():
    basic = chart[what, "basic", draws]
    row(f"trend chart {view}, {'first frame' if what == 'OpenTheChart' else 'one live row'}, {draws} draws",
        f"{ms:.2f} ms = {ms / basic:.2f}× basic", "≤ 2× basic", ms <= 2 * basic)
