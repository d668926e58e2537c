#!/usr/bin/python3
"""Soak run of the scripted reference host: many recognitions in one process
(default 1000), once per engine (the passport reader, then Scanify), with the
process measured at the start, after the first 100 and at the end. Prints
the figures and checks them against the targets:

  - resident memory grows by less than 5 MB after the first 100 recognitions;
  - open file descriptors do not grow after the first 100;
  - no file is left in the temporary folder, during the run or after it;
  - the data folder holds only the settings file and the host's database,
    and for Scanify the engine's configuration files and the package folders
    ("dss" and four hexadecimal digits) the engine keeps, one per scan, with
    nothing but the engine's pictures in them;
  - the operator saw no unexpected message: every window ends as the first
    window on the same document did; the passport reader's specimens show
    none at all, and Scanify's feeder pages ask exactly for the words they
    were made for (a kind of document not supported on the fifth and sixth, a page
    upside down on the eighth), once per window on that page, and nothing
    else;
  - no empty folder is left behind either (an engine's temporary folder, an
    empty package folder).

Runs each engine in a private HOME and TMPDIR. Build first:
    cmake --build build --target velmar-host
    /usr/bin/python3 bench/run_soak.py [--recognitions N] [--engine abbyy|scanify|all] [--build DIR]
Exit status 1 when a target is missed.
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
import time

MEMORY_GROWTH_LIMIT_KB = 5 * 1024
DATA_FILES_ALLOWED = {"Recognize.iniu", "hostkit.sqlite"}
SCANIFY_FILES_ALLOWED = DATA_FILES_ALLOWED | {"ScApi_270.Ini", "ScApi_90.Ini"}
# The passport-reader stand-in's one working folder, empty between
# recognitions, while the process runs; gone after it.
WORKING_FOLDER = re.compile(r"^passportreader-[A-Za-z0-9]{6}/$")
PACKAGE_FILE = re.compile(r"^(dss[0-9A-F]{4})/[^/]+\.(jpg|bmp)$")
# The Scanify feeder's pages in the order it hands them round, and the start
# of the one box each asks for (None: none).
SCANIFY_PAGES = [
    None,
    None,
    None,
    None,
    "Распознавание данных документа такого типа не поддерживается.",
    "Распознавание данных документа такого типа не поддерживается.",
    None,
    "Данные загранпаспорта не распознаны.",
]


def left_behind(folder):
    """Files under folder, and empty folders with a trailing "/"."""
    left = []
    for d, dirs, files in os.walk(folder):
        left += [os.path.relpath(os.path.join(d, f), folder) for f in files]
        if d != folder and not dirs and not files:
            left.append(os.path.relpath(d, folder) + "/")
    return left


def scanify_message_checks(soak, recognitions):
    """Every box the Scanify windows showed is the one its page asks for,
    as many times as windows were on that page."""
    expected = {}
    for n in range(recognitions):
        text = SCANIFY_PAGES[n % len(SCANIFY_PAGES)]
        if text:
            expected[text] = expected.get(text, 0) + 1
    seen = soak["messageTexts"]
    checks = []
    for text, count in expected.items():
        got = sum(c for t, c in seen.items() if t.startswith(text))
        checks.append((f"boxes '{text}': {got} (expected {count})", got == count))
    others = {t: c for t, c in seen.items() if not any(t.startswith(e) for e in expected)}
    checks.append((f"other boxes: {others}", not others))
    return checks


def run_host(build, engine, recognitions, home):
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    temp = os.path.join(home, "tmp")
    os.makedirs(temp)
    # The session's runtime folder: without one Qt makes it in the
    # temporary folder, where it would count as left behind.
    runtime = os.path.join(home, "runtime")
    os.makedirs(runtime, mode=0o700)
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_STATE_HOME=os.path.join(home, ".state"), TMPDIR=temp, XDG_RUNTIME_DIR=runtime,
               QT_QPA_PLATFORM="offscreen")
    started = time.monotonic()
    done = subprocess.run([os.path.join(build, "bin", "velmar-host"), "--engine", engine, "--soak", str(recognitions)],
                          env=env, cwd=home, capture_output=True, text=True)
    seconds = time.monotonic() - started
    if done.returncode != 0:
        sys.exit(f"velmar-host failed ({done.returncode}):\n{done.stderr}")
    report = json.loads(done.stdout)[engine]
    if "soak" not in report:
        sys.exit(f"velmar-host ran no {engine} soak: {report.get('error', report)}")
    left = left_behind(temp)
    data = os.path.join(home, ".config", "Velmar-Q-70")
    package_bytes = sum(os.path.getsize(os.path.join(d, f)) for d, _, files in os.walk(data)
                        for f in files if os.path.basename(d).startswith("dss"))
    return report["soak"], seconds, left, package_bytes


def data_checks(engine, files, package_bytes):
    """The data folder: what may stay there for this engine."""
    if engine == "abbyy":
        return [(f"data folder: {files}", set(files) <= DATA_FILES_ALLOWED)]
    packages = {m.group(1) for m in map(PACKAGE_FILE.match, files) if m}
    others = [f for f in files if not PACKAGE_FILE.match(f)]
    return [
        (f"data folder besides the package folders: {others}", set(others) <= SCANIFY_FILES_ALLOWED),
        (f"package folders kept by the engine: {len(packages)}, {package_bytes / 2**20:.0f} MB of pictures", True),
    ]


def soak_engine(build, engine, recognitions):
    with tempfile.TemporaryDirectory(prefix=f"r9-soak-{engine}-") as home:
        soak, seconds, left_after_exit, package_bytes = run_host(build, engine, recognitions, home)

    points = {p["recognitions"]: p for p in soak["points"]}
    start, warm, end = points[0], points[100], points[recognitions]
    print(f"\n{engine}: {soak['recognitions']} recognitions in one process, {seconds:.0f} s "
          f"({seconds / soak['recognitions'] * 1000:.0f} ms each); {soak['delivered']} delivered a person, "
          f"{soak['messages']} message boxes")
    for text, count in sorted(soak["messageTexts"].items(), key=lambda t: -t[1]):
        print(f"  {count:5} x {' '.join(text.split())[:100]}")
    print(f"{'':18}{'resident MB':>12}{'descriptors':>13}{'temp files':>12}{'data files':>12}")
    for label, p in (("start", start), ("after 100", warm), (f"after {recognitions}", end)):
        print(f"{label:18}{p['residentKb'] / 1024:12.1f}{p['descriptors']:13}{len(p['tempFiles']):12}{len(p['dataFiles']):12}")

    growth_kb = end["residentKb"] - warm["residentKb"]
    checks = [
        (f"memory growth after the first 100: {growth_kb / 1024:+.1f} MB (limit 5 MB)", growth_kb < MEMORY_GROWTH_LIMIT_KB),
        (f"descriptors: {start['descriptors']} at the start, {warm['descriptors']} after 100, "
         f"{end['descriptors']} at the end", end["descriptors"] <= warm["descriptors"]),
        (f"temporary files during the run: {len(end['tempFiles'])} {end['tempFiles'][:5]}",
         len(end["tempFiles"]) <= 1 and all(WORKING_FOLDER.match(f) for f in end["tempFiles"])),
        (f"temporary files after the process: {len(left_after_exit)} {left_after_exit[:5]}", not left_after_exit),
        *data_checks(engine, end["dataFiles"], package_bytes),
        (f"windows that ended otherwise than the first on the same document: {soak['unexpected']}",
         soak["unexpected"] == 0),
    ]
    if engine == "abbyy":
        checks += [
            (f"every recognition delivered a person: {soak['delivered']} of {soak['recognitions']}",
             soak["delivered"] == soak["recognitions"]),
            (f"message boxes: {soak['messages']}", soak["messages"] == 0),
        ]
    else:
        checks += scanify_message_checks(soak, recognitions)
    for text, ok in checks:
        print(("ok     " if ok else "MISSED ") + text)
    return all(ok for _, ok in checks)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--recognitions", type=int, default=1000)
    parser.add_argument("--engine", choices=("abbyy", "scanify", "all"), default="all")
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    args = parser.parse_args()
    if args.recognitions <= 100:
        sys.exit("more than 100 recognitions: the figures compare with the state after the first 100")
    engines = ("abbyy", "scanify") if args.engine == "all" else (args.engine,)
    results = [soak_engine(os.path.abspath(args.build), engine, args.recognitions) for engine in engines]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
