#!/usr/bin/python3
"""Times one page from SANE's test backend through our TWAIN layer, source
manager and SANE data source, beside `scanimage` on the same device with the
same settings writing to /dev/null, and prints both and the ratio.

  bench/run_sane_compare.py [path/to/bench_sane_scan] [--rounds R] [--repeat N]

The page: the A4 page at 300 dpi in 24-bit colour has 2480 x 3508 pixels;
the test device's scan area ends at 200 mm, so both scan 141 x 200 mm at
446 dpi (2475 x 3511 pixels, 26 MB). Both run against a private SANE
configuration that enables only the test backend.

scanimage is timed as a whole process (start, SANE start, open, scan,
writing the PNM to /dev/null), our side as one whole TWAIN_AcquireNative
(loading and opening the source manager, opening the source, the scan on
its thread, the transfer) in the Google Benchmark program. The two sides
take turns, R rounds of N runs each: the machine's load changes by the
minute, so each round's ratio compares runs made side by side, and the
script reports the median of the rounds. Beside the wall time, the
processor time of all the process's threads (scanimage's from the system's account of the child,
ours as Google Benchmark measures the process): on a machine shared with
other work the wall time mostly tells how busy the machine was, the
processor time what the work costs.
"""

import json
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
OPTIONS = [("mode", "Color"), ("depth", "8"), ("resolution", "446"), ("br-x", "141"), ("br-y", "200"),
           ("test-picture", "Color pattern")]
HANG_SECONDS = 30


def time_scanimage(command, env, null):
    """Wall and processor milliseconds of one scanimage run; None when it
    hung. SANE's test backend stops its reader thread wherever it is, and
    now and then that leaves scanimage itself waiting for ever."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    try:
        subprocess.run(command, env=env, stdout=null, check=True, timeout=HANG_SECONDS)
    except subprocess.TimeoutExpired:
        return None
    wall = (time.perf_counter() - start) * 1000
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime) * 1000


def time_ours(bench, env, repeat):
    """Median wall and processor milliseconds of each benchmark of ours."""
    out = subprocess.run([bench, f"--benchmark_repetitions={repeat}", "--benchmark_format=json",
                          "--benchmark_report_aggregates_only=true"],
                         env=env, check=True, capture_output=True, text=True, timeout=600).stdout
    ours = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            ours[b["run_name"].split("/")[0]] = (b["real_time"], b["cpu_time"])
    return ours


def main():
    args = sys.argv[1:]
    rounds, repeat = 5, 7
    for flag in ("--rounds", "--repeat"):
        if flag in args:
            i = args.index(flag)
            if flag == "--rounds":
                rounds = int(args[i + 1])
            else:
                repeat = int(args[i + 1])
            del args[i:i + 2]
    bench = args[0] if args else os.path.join(HERE, "..", "build", "bin", "bench_sane_scan")

    with tempfile.TemporaryDirectory() as tmp:
        sane = os.path.join(tmp, "sane")
        os.makedirs(sane)
        with open(os.path.join(sane, "dll.conf"), "w") as f:
            f.write("test\n")
        with open(os.path.join(sane, "test.conf"), "w") as f:
            f.write("number_of_devices 1\n")
        config = os.path.join(tmp, "config")
        os.makedirs(os.path.join(config, "twaindsm"))
        with open(os.path.join(config, "twaindsm", "default-source"), "w") as f:
            f.write("SANE: Noname frontend-tester\n")
        env = dict(os.environ, SANE_CONFIG_DIR=sane, XDG_CONFIG_HOME=config,
                   TWAINSANE_OPTIONS=";".join(f"{k}={v}" for k, v in OPTIONS), QT_QPA_PLATFORM="offscreen")

        command = ["scanimage", "-d", "test", "--format=pnm"]
        for k, v in OPTIONS:
            command += ["-x" if k == "br-x" else "-y" if k == "br-y" else f"--{k}", v]
        # Rounds of scanimage runs, then ours, so both see the machine in the
        # same state; each ratio is taken within its round.
        per_round = []
        hangs = 0
        with open(os.devnull, "wb") as null:
            time_scanimage(command, env, null)  # warm the caches
            for _ in range(rounds):
                runs = []
                while len(runs) < repeat:
                    t = time_scanimage(command, env, null)
                    if t is None:
                        hangs += 1
                    else:
                        runs.append(t)
                scanimage = (statistics.median(r[0] for r in runs), statistics.median(r[1] for r in runs))
                per_round.append((scanimage, time_ours(bench, env, repeat)))

    print(f"One page 2475 x 3511, 24-bit, SANE test backend; {rounds} rounds of {repeat} runs each,")
    print("medians of the rounds' medians; each ratio within its round, then the median ratio")
    print(f"{'path':52} {'wall ms':>8} {'ratio':>6} {'cpu ms':>8} {'ratio':>6}")
    wall = statistics.median(s[0] for s, _ in per_round)
    cpu = statistics.median(s[1] for s, _ in per_round)
    print(f"{'scanimage to /dev/null':52} {wall:8.1f} {1.0:6.2f} {cpu:8.1f} {1.0:6.2f}")
    names = {"BM_SanePageToDib": "TWAIN layer + SANE source to a DIB",
             "BM_SanePageToImage": "... and on into a QImage",
             "BM_SanePageToNewFormPicture": "... into the picture of a new picture window",
             "BM_SanePageToFormPicture": "... into the window's picture, next pages"}
    for key, label in names.items():
        if all(key in ours for _, ours in per_round):
            wall = statistics.median(ours[key][0] for _, ours in per_round)
            cpu = statistics.median(ours[key][1] for _, ours in per_round)
            wall_ratio = statistics.median(ours[key][0] / s[0] for s, ours in per_round)
            cpu_ratio = statistics.median(ours[key][1] / s[1] for s, ours in per_round)
            print(f"{label:52} {wall:8.1f} {wall_ratio:6.2f} {cpu:8.1f} {cpu_ratio:6.2f}")
    if hangs:
        print(f"scanimage hung {hangs} time(s) in SANE's test backend (killed after {HANG_SECONDS} s, run again)")


if __name__ == "__main__":
    main()
