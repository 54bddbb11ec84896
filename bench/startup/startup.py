#!/usr/bin/env python3
"""Start-up of Brindlecap Builder against a bare Qt window, under Xvfb.

Runs the bare window, the application with an empty library and the application with a generated
10,000-command library, interleaved, RUNS times each (the first round discarded), and prints the
median time from process start to the first painted main window, the resident memory 0.3 s later,
and the ratios. Usage: bench/startup/startup.py [BUILD_DIR] [RUNS]   (default build/bench, 11)
"""
import json, os, random, statistics, subprocess, sys, tempfile, time, uuid

build = sys.argv[1] if len(sys.argv) > 1 else "build/bench"
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 11
app = os.path.join(build, "src/app/brindlecap-builder")
bare = os.path.join(build, "bench/startup/brindlecap-bench-bare")
for program in (app, bare):
    if not os.access(program, os.X_OK):
        sys.exit(f"startup.py: {program} is missing: cmake --preset bench && cmake --build --preset bench")


def library(path, count):
    """count commands of 5 to 15 lines, as saved by the application (newest first)."""
    rng = random.Random(1)
    categories = ["Sessions", "Ping", "Traceroute", "Sniffer", "Debug Flow", "VPN", "System Top", "HA", "Routing"]
    entries = []
    for i in range(count):
        lines = [f"diagnose sniffer packet port{i % 48} 'host 10.{i % 256}.{rng.randrange(256)}.{n} and port 443' 4 0 l"
                 for n in range(rng.randrange(5, 16))]
        entries.append({"category": rng.choice(categories), "command": "\n".join(lines),
                        "createdAt": 786000000 + count - i, "id": str(uuid.UUID(int=rng.getrandbits(128))).upper(),
                        "notes": f"Ticket {i}: capture on the branch firewall", "title": f"Capture {i}"})
    with open(path, "w") as f:
        json.dump(entries, f, separators=(",", ":"), sort_keys=True)


def start(program, settings):
    env = dict(os.environ, QT_LOGGING_RULES="brindlecap.startup.info=true", BRINDLECAP_SETTINGS=settings)
    begun = time.monotonic()
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    for line in process.stderr:
        if b"first paint" in line:
            painted = time.monotonic() - begun
            break
    else:
        sys.exit(f"startup.py: {program} ended without painting")
    time.sleep(0.3)
    with open(f"/proc/{process.pid}/status") as f:
        rss = next(int(l.split()[1]) for l in f if l.startswith("VmRSS:")) / 1024
    process.terminate()
    process.wait()
    return painted * 1000, rss


with tempfile.TemporaryDirectory() as scratch:
    setups = {"bare window": (bare, os.path.join(scratch, "bare/settings.conf")),
              "empty library": (app, os.path.join(scratch, "empty/settings.conf")),
              "10,000 commands": (app, os.path.join(scratch, "full/settings.conf"))}
    for _, settings in setups.values():
        os.makedirs(os.path.dirname(settings))
    library(os.path.join(scratch, "full/saved-commands.json"), 10000)
    original = open(os.path.join(scratch, "full/saved-commands.json"), "rb").read()
    display = subprocess.Popen(["Xvfb", ":97", "-screen", "0", "1280x1200x24", "-nolisten", "tcp"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ":97"
    time.sleep(1)
    results = {name: [] for name in setups}
    try:
        for round in range(runs):
            for name, (program, settings) in setups.items():
                # Each start at the default size, not where the last one was left.
                state = os.path.join(os.path.dirname(settings), "window-state.conf")
                if os.path.exists(state):
                    os.remove(state)
                measured = start(program, settings)
                if round > 0:
                    results[name].append(measured)
        # Read, and only read, at every start: a changed or unreadable file would mean other work was timed.
        assert open(os.path.join(scratch, "full/saved-commands.json"), "rb").read() == original
        assert not [n for n in os.listdir(os.path.join(scratch, "full")) if "unreadable" in n], "library unreadable"
    finally:
        display.terminate()

median = {name: (statistics.median(p for p, _ in r), statistics.median(m for _, m in r)) for name, r in results.items()}
print(f"{'':18}{'first paint':>14}{'resident':>12}   ({runs - 1} runs each, medians)")
for name, (paint, rss) in median.items():
    print(f"{name:18}{paint:11.0f} ms{rss:8.1f} MiB")
b, e, f = median["bare window"], median["empty library"], median["10,000 commands"]
print(f"empty library / bare window:     first paint {e[0] / b[0]:.2f}x, resident {e[1] / b[1]:.2f}x  (goal 1.3x, 1.3x)")
print(f"10,000 commands / bare window:   first paint {f[0] / b[0]:.2f}x  (goal 2x)")
print(f"10,000 commands / empty library: resident {f[1] / e[1]:.2f}x  (goal 1.6x)")
