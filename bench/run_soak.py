#!/usr/bin/python3
"""Soak run of the scripted reference host: many recognitions in one process
(default 1000), with the process measured at the start, after the first 100
and at the end. Prints the figures and checks them against the targets:

  - resident memory grows by less than 5 MB after the first 100 recognitions;
  - open file descriptors do not grow;
  - no file is left in the temporary or the data folder, during the run or
    after it (the settings file and the host's database belong there).

Runs in a private HOME and TMPDIR. Build first:
    cmake --build build --target velmar-host
    /usr/bin/python3 bench/run_soak.py [--recognitions N] [--build DIR]
Exit status 1 when a target is missed.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
import time

MEMORY_GROWTH_LIMIT_KB = 5 * 1024
DATA_FILES_ALLOWED = {"Recognize.iniu", "hostkit.sqlite"}


def run_host(build, recognitions, home):
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    temp = os.path.join(home, "tmp")
    os.makedirs(temp)
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_STATE_HOME=os.path.join(home, ".state"), TMPDIR=temp, QT_QPA_PLATFORM="offscreen")
    started = time.monotonic()
    done = subprocess.run([os.path.join(build, "bin", "velmar-host"), "--soak", str(recognitions)],
                          env=env, cwd=home, capture_output=True, text=True)
    seconds = time.monotonic() - started
    if done.returncode != 0:
        sys.exit(f"velmar-host failed ({done.returncode}):\n{done.stderr}")
    soak = json.loads(done.stdout)["abbyy"]["soak"]
    left = [os.path.relpath(os.path.join(d, f), temp) for d, _, files in os.walk(temp) for f in files]
    return soak, seconds, left


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--recognitions", type=int, default=1000)
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    args = parser.parse_args()
    if args.recognitions < 100:
        sys.exit("at least 100 recognitions: the figures compare with the state after the first 100")

    with tempfile.TemporaryDirectory(prefix="r9-soak-") as home:
        soak, seconds, left_after_exit = run_host(os.path.abspath(args.build), args.recognitions, home)

    points = {p["recognitions"]: p for p in soak["points"]}
    start, warm, end = points[0], points[100], points[args.recognitions]
    print(f"{soak['recognitions']} recognitions in one process, {seconds:.0f} s "
          f"({seconds / soak['recognitions'] * 1000:.0f} ms each); {soak['delivered']} delivered a person, "
          f"{soak['messages']} message boxes")
    print(f"{'':18}{'resident MB':>12}{'descriptors':>13}{'temp files':>12}{'data files':>12}")
    for label, p in (("start", start), ("after 100", warm), (f"after {args.recognitions}", end)):
        print(f"{label:18}{p['residentKb'] / 1024:12.1f}{p['descriptors']:13}{len(p['tempFiles']):12}{len(p['dataFiles']):12}")

    growth_kb = end["residentKb"] - warm["residentKb"]
    checks = [
        (f"memory growth after the first 100: {growth_kb / 1024:+.1f} MB (limit 5 MB)", growth_kb < MEMORY_GROWTH_LIMIT_KB),
        (f"descriptors: {warm['descriptors']} after 100, {end['descriptors']} at the end",
         end["descriptors"] <= warm["descriptors"]),
        (f"temporary files during the run: {len(end['tempFiles'])} {end['tempFiles'][:5]}", not end["tempFiles"]),
        (f"temporary files after the process: {len(left_after_exit)} {left_after_exit[:5]}", not left_after_exit),
        (f"data folder: {end['dataFiles']}", set(end["dataFiles"]) <= DATA_FILES_ALLOWED),
        (f"every recognition delivered a person: {soak['delivered']} of {soak['recognitions']}",
         soak["delivered"] == soak["recognitions"]),
    ]
    for text, ok in checks:
        print(("ok    " if ok else "MISSED ") + text)
    return 0 if all(ok for _, ok in checks) else 1


if __name__ == "__main__":
    sys.exit(main())
