#!/usr/bin/env python3
"""Start-up time and memory of the program beside a one-view Qt WebEngine program.

Both load the local world's entry page through it. Time: from process start to the first page
loaded. Memory: PSS of the process and every engine process it started, read 3 s after the
load. Usage: bench/startup.py [BUILD_DIR] [ROUNDS]
"""
import base64, os, subprocess, sys, tempfile, time, statistics

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
env = dict(os.environ, QT_QPA_PLATFORM=os.environ.get("QT_QPA_PLATFORM", "offscreen"),
           ORVIX_REPORT_FIRST_LOAD="1")


def tree(pid):
    kids = {}
    for d in os.listdir("/proc"):
        if d.isdigit():
            try:
                with open(f"/proc/{d}/stat") as f:
                    ppid = int(f.read().rsplit(")", 1)[1].split()[1])
                kids.setdefault(ppid, []).append(int(d))
            except OSError:
                pass
    out, todo = [], [pid]
    while todo:
        p = todo.pop()
        out.append(p)
        todo.extend(kids.get(p, []))
    return out


def pss_kb(pid):
    total = 0
    for p in tree(pid):
        try:
            with open(f"/proc/{p}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def run(cmd, cwd):
    start = time.monotonic()
    proc = subprocess.Popen(cmd, cwd=cwd, env=env, stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, text=True)
    seconds = None
    deadline = start + 60
    for line in proc.stderr:
        if "first-page-loaded" in line:
            seconds = time.monotonic() - start
            break
        if time.monotonic() > deadline:
            break
    if seconds is None:
        proc.kill()
        sys.exit(f"{cmd[0]} never reported its first page")
    time.sleep(3)
    mem = pss_kb(proc.pid)
    proc.kill()
    proc.wait()
    return seconds, mem


world = subprocess.Popen([f"{build}/world/tarvo-world", "--port", "0", "--exit-on-stdin-eof"],
                         stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
port = world.stdout.readline().strip().rsplit(":", 1)[1]
url = "http://www.tarvo.test/"
home = tempfile.mkdtemp()
# A saved configuration, so that the first-run warning box does not hold the start-up.
b64 = base64.b64encode(b"\r\n" * 67).decode()
with open(os.path.join(home, "config.ex"), "w", newline="") as f:
    f.write("".join(b64[i:i + 72] + "\r\n" for i in range(0, len(b64), 72)))
results = {"orvix-dazu": [], "one-view floor": []}
for _ in range(rounds):
    results["orvix-dazu"].append(run([f"{build}/src/orvix-dazu", "--proxy", f"127.0.0.1:{port}"], home))
    results["one-view floor"].append(run([f"{build}/bench/minimal_view", port, url], home))
world.stdin.close()
world.wait()

floor_t = statistics.median(t for t, _ in results["one-view floor"])
floor_m = statistics.median(m for _, m in results["one-view floor"])
for name, rs in results.items():
    t = statistics.median(t for t, _ in rs)
    m = statistics.median(m for _, m in rs)
    print(f"{name:16s} first page {t*1000:7.0f} ms ({t/floor_t:4.2f}x)   PSS {m/1024:7.1f} MiB ({m/floor_m:4.2f}x)"
          f"   median of {rounds}")
