#!/usr/bin/python3
"""Times our Strecth against Pillow's Image.resize and `vips resize` on the
same synthetic pictures in one run, and prints a table.

  bench/run_resize_compare.py [path/to/bench_resample] [--repeat N]

Cases: an A4 page at 300 dpi (2480 x 3508) to half and to double size, and a
640 x 480 frame to 1920 x 1440, each with box, triangle (bilinear), Mitchell
(Pillow: bicubic) and Lanczos3. Every time is the median of N runs.

Our times come from the Google Benchmark program (the picture is in memory,
a new target picture is allocated every time). Pillow is timed in this
process on a loaded picture. vips runs as the `vips resize` command on the
picture in vips's own format in a memory file system; its time is the one vips
itself reports for computing and writing the result (`--vips-progress`,
"done in"), so process start-up and loading are left out.
"""

import json
import re
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))

SCENARIOS = [
    # name, our index, picture, target size, vips scale
    ("A4 page to half", 0, "page", (1240, 1754), 0.5),
    ("A4 page to double", 1, "page", (4960, 7016), 2.0),
    ("640x480 to 1920x1440", 2, "frame", (1920, 1440), 3.0),
]
FILTERS = [
    # our name, our index, Pillow filter, vips kernel
    ("Box", 0, "BOX", "nearest"),
    ("Triangle", 1, "BILINEAR", "linear"),
    ("Mitchell", 6, "BICUBIC", "mitchell"),
    ("Lanczos3", 5, "LANCZOS", "lanczos3"),
]


def median_time(fn, repeat):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        fn()
        times.append(time.perf_counter() - start)
    return statistics.median(times) * 1000.0


def our_times(bench, repeat):
    out = subprocess.run(
        [bench, "--benchmark_format=json", "--benchmark_repetitions=%d" % repeat,
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    times = {}
    for b in json.loads(out)["benchmarks"]:
        # One repetition has no aggregates: its single run is the median.
        if repeat > 1 and b.get("aggregate_name") != "median":
            continue
        scenario, filt, threads = b["run_name"].split("/")[1:4]
        times[(int(scenario), int(filt), int(threads))] = b["real_time"]  # milliseconds
    return times


def pillow_times(folder, repeat):
    try:
        from PIL import Image
    except ImportError:
        sys.exit("Pillow is missing: apt-get install python3-pil (and run this with /usr/bin/python3)")
    pictures = {name: Image.open(os.path.join(folder, name + ".ppm")).convert("RGB")
                for name in ("page", "frame")}
    for p in pictures.values():
        p.load()
    times = {}
    for s_name, s_index, picture, size, _ in SCENARIOS:
        for f_name, f_index, pil_filter, _ in FILTERS:
            resample = getattr(Image, pil_filter)
            src = pictures[picture]
            times[(s_index, f_index)] = median_time(lambda: src.resize(size, resample=resample), repeat)
    return times


def vips_times(folder, repeat):
    vips = shutil.which("vips")
    if vips is None:
        sys.exit("vips is missing: apt-get install libvips-tools")
    for name in ("page", "frame"):
        subprocess.run([vips, "copy", os.path.join(folder, name + ".ppm"), os.path.join(folder, name + ".v")],
                       check=True)
    out = os.path.join(folder, "out.v")
    done = re.compile(r"done in ([0-9.]+)s")
    times = {}

    def run(cmd, env):
        text = subprocess.run(cmd + ["--vips-progress"], check=True, env=env, capture_output=True, text=True)
        found = done.findall(text.stdout + text.stderr)
        if not found:
            sys.exit("vips did not report its time: " + " ".join(cmd))
        return float(found[-1]) * 1000.0

    for concurrency in (1, 0):
        env = dict(os.environ)
        if concurrency:
            env["VIPS_CONCURRENCY"] = str(concurrency)
        else:
            env.pop("VIPS_CONCURRENCY", None)
        for s_name, s_index, picture, size, scale in SCENARIOS:
            src = os.path.join(folder, picture + ".v")
            for f_name, f_index, _, kernel in FILTERS:
                cmd = [vips, "resize", src, out, str(scale), "--kernel", kernel]
                times[(s_index, f_index, concurrency)] = statistics.median(run(cmd, env) for _ in range(repeat))
    return times


def main():
    args = sys.argv[1:]
    repeat = 5
    if "--repeat" in args:
        i = args.index("--repeat")
        repeat = int(args[i + 1])
        del args[i:i + 2]
    bench = args[0] if args else os.path.join(HERE, "..", "build", "bin", "bench_resample")
    if not os.path.exists(bench):
        sys.exit("benchmark program not found: %s (build the bench_resample target)" % bench)

    load_before = os.getloadavg()[0]
    base = "/dev/shm" if os.path.isdir("/dev/shm") else None
    folder = tempfile.mkdtemp(prefix="r9resize-", dir=base)
    try:
        subprocess.run([bench, "--write-pictures", folder], check=True)
        print("timing our resampler ...", file=sys.stderr)
        ours = our_times(bench, repeat)
        print("timing Pillow ...", file=sys.stderr)
        pil = pillow_times(folder, repeat)
        print("timing vips ...", file=sys.stderr)
        vip = vips_times(folder, repeat)
    finally:
        shutil.rmtree(folder, ignore_errors=True)

    cores = os.cpu_count()
    print("Load average before / after: %.2f / %.2f" % (load_before, os.getloadavg()[0]))
    print("Median of %d runs, milliseconds; 'all' = %d cores. Ratio = our time / peer's time (< 1: we are faster)."
          % (repeat, cores))
    header = ("case", "filter", "ours 1", "ours all", "Pillow", "vips 1", "vips all",
              "1/Pillow", "1/vips 1", "all/Pillow", "all/vips all")
    rows = []
    for s_name, s_index, _, _, _ in SCENARIOS:
        for f_name, f_index, pil_filter, kernel in FILTERS:
            o1, oa = ours[(s_index, f_index, 1)], ours[(s_index, f_index, 0)]
            p = pil[(s_index, f_index)]
            v1, va = vip[(s_index, f_index, 1)], vip[(s_index, f_index, 0)]
            rows.append((s_name, "%s (%s/%s)" % (f_name, pil_filter.lower(), kernel),
                         "%.1f" % o1, "%.1f" % oa, "%.1f" % p, "%.1f" % v1, "%.1f" % va,
                         "%.2f" % (o1 / p), "%.2f" % (o1 / v1), "%.2f" % (oa / p), "%.2f" % (oa / va)))
    widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(len(header))]
    line = lambda r: " | ".join(str(c).ljust(w) if i < 2 else str(c).rjust(w) for i, (c, w) in enumerate(zip(r, widths)))
    print(line(header))
    print("-+-".join("-" * w for w in widths))
    for r in rows:
        print(line(r))


if __name__ == "__main__":
    main()
