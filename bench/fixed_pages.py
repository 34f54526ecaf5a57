#!/usr/bin/env python3
"""Times tagwright-cli on the fixed benchmark pages against `LC_ALL=C wc -w`.

Usage: bench/fixed_pages.py [--pages DIR] [--runs N] path/to/tagwright-cli

The pages are those that ../shared/bench/make-inputs.sh lays out (default folder
/tmp/tagwright-bench-pages): the same bytes on every machine, so figures compare. Each page is
read by `wc -w` and by `tagwright-cli list` in turn (and, for the real page, by `list
--modern`), N times (default 5), interleaved so that a change in the machine's load touches
both; the best CPU time (user + system) of each is kept. The peak memory is the largest
resident set of one more run under GNU time (/usr/bin/time), also given above that of an
empty page (the program's own libraries and data) as a multiple of the page's size. The load average is printed before and
after: figures taken on a busy machine say so.
"""
import argparse
import os
import pathlib
import subprocess
import sys
import tempfile

PAGES = ["real-mixed", "real-mixed-oneline", "distinct-words"]


def run(argv):
    """CPU seconds of one run of `argv`."""
    process = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               env=dict(os.environ, LC_ALL="C"))
    _, status, usage = os.wait4(process.pid, 0)
    if status != 0:
        sys.exit(f"{' '.join(argv)} failed with status {status}")
    return usage.ru_utime + usage.ru_stime


def peak_kb(argv):
    """Peak resident kilobytes of one run of `argv`. (A child of this script starts with the
    script's own peak, so GNU time, a small program, runs it.)"""
    with tempfile.NamedTemporaryFile("r") as out:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", out.name, *argv], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return int(out.read().split()[-1])


def best(argvs, runs):
    """The best CPU time of each command line, taken in turn."""
    found = {}
    for _ in range(runs):
        for key, argv in argvs.items():
            seconds = run(argv)
            found[key] = min(seconds, found.get(key, seconds))
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--pages", default="/tmp/tagwright-bench-pages")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("cli")
    args = parser.parse_args()
    folder = pathlib.Path(args.pages)
    missing = [p for p in PAGES if not (folder / f"{p}.html").is_file()]
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("GNU time is missing: apt-get install -y time")
    if missing:
        sys.exit(f"{folder} lacks {', '.join(missing)}: run ../shared/bench/make-inputs.sh")
    print("load average before:", " ".join(open("/proc/loadavg").read().split()[:3]))
    with tempfile.NamedTemporaryFile("w", suffix=".html") as empty:
        empty.write("<html><body></body></html>\n")
        empty.flush()
        base_kb = peak_kb([args.cli, "list", empty.name])
    print(f"{'page':20} {'wc -w s':>8} {'list s':>8} {'ratio':>6} {'peak MB':>8} {'above empty':>12}")
    for page in PAGES:
        path = str(folder / f"{page}.html")
        size = os.path.getsize(path)
        commands = {"wc": ["wc", "-w", path], "list": [args.cli, "list", path]}
        if page == "real-mixed":
            commands["modern"] = [args.cli, "list", "--modern", path]
        found = best(commands, args.runs)
        wc = found["wc"]
        for key in ("list", "modern"):
            if key not in found:
                continue
            seconds, kb = found[key], peak_kb(commands[key])
            name = page if key == "list" else "  the same, modern"
            above = (kb - base_kb) * 1024 / size
            print(f"{name:20} {wc:8.3f} {seconds:8.3f} {seconds / wc:6.2f} {kb / 1024:8.1f} "
                  f"{above:11.2f}x")
        if "modern" in found:
            print(f"{'':20} modern reading against the default: "
                  f"{found['modern'] / found['list']:.2f}")
    print("load average after:", " ".join(open("/proc/loadavg").read().split()[:3]))


if __name__ == "__main__":
    main()
