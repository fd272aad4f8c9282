#!/usr/bin/env python3
"""The closing table of scripts/bench.sh: each figure, what it measured, its goal, ok/over.

usage: report.py --exe EXE --dlls DLL_LIST_FILE --repro A.exe B.exe [--host-json FILE]
                 [--wine-json FILE]
A missing or partial JSON file makes its figures "not measured" (over).
"""
import argparse
import json
import os
import statistics
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_diff  # noqa: E402

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll",
               "advapi32.dll", "shell32.dll", "comctl32.dll", "uuid.dll"}


def load(path):
    if not path or not os.path.exists(path):
        return {}
    try:
        with open(path) as f:
            return json.load(f)
    except ValueError:
        return {}


def host_median_ms(host):
    for run in host.get("benchmarks", []):
        if run.get("aggregate_name") == "median" and not run.get("error_occurred"):
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run.get("time_unit", "ns")]
            return run["real_time"] * scale
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--dlls", required=True)
    parser.add_argument("--repro", nargs=2, required=True)
    parser.add_argument("--host-json")
    parser.add_argument("--wine-json")
    args = parser.parse_args()
    host, wine = load(args.host_json), load(args.wine_json)
    rows = []

    def median(name):
        return wine.get(name, {}).get("median")

    def ratio_row(figure, top, bottom, goal):
        # Runs of the same index ran in the same round, next to each other: the median of
        # their ratios stands up better to a load that changes during the run.
        a, b = wine.get(top, {}).get("runs"), wine.get(bottom, {}).get("runs")
        if not a or not b:
            rows.append((figure, "not measured", "<= %.2f" % goal, False))
            return
        ratio = statistics.median(x / y for x, y in zip(a, b))
        rows.append((figure, "%.2f (medians %.1f / %.1f ms)" % (ratio, 1000 * median(top), 1000 * median(bottom)),
                     "<= %.2f" % goal, ratio <= goal))

    ratio_row("start-up to painted chooser / bare", "startup_program", "startup_bare", 1.10)
    ratio_row("click 接口1 to player / bare", "click_program", "click_bare", 1.10)

    sizes = wine.get("paste_sizes", {})
    short = median("play_10B")
    rows.append(("播放 to request, 10 B", "%.1f ms" % (1000 * short) if short else "not measured", "-",
                 short is not None))
    for name in ("64KB", "1MB"):
        label = "播放 to request, %s / 10 B" % name.replace("KB", " KB").replace("MB", " MB")
        size_ratio = sizes[name] / sizes["10B"] if sizes else None
        goal = "<= %.0f (sizes)" % size_ratio if size_ratio else "linear"
        value = median("play_" + name)
        if value is None or short is None:
            why = wine.get("play_" + name, {}).get("error", "not measured")
            rows.append((label, why, goal, False))
        else:
            rows.append((label, "%.1f (%.1f ms)" % (value / short, 1000 * value), goal, value / short <= size_ratio))

    decode = host_median_ms(host)
    rows.append(("27 pictures decoded (host)", "%.2f ms" % decode if decode is not None else "not measured",
                 "<= 2 ms", decode is not None and decode <= 2.0))

    size = os.path.getsize(args.exe)
    rows.append(("exe size", "%.0f KB (%d bytes)" % (size / 1024, size), "<= 600 KB", size <= 600 * 1024))

    dlls = [line.split("DLL Name:")[1].strip() for line in open(args.dlls) if "DLL Name:" in line]
    foreign = [d for d in dlls if d.lower() not in SYSTEM_DLLS]
    shown = " ".join(d[:-4] if d.lower().endswith(".dll") else d for d in dlls)
    rows.append(("imported DLLs", shown or "none found", "system DLLs only", bool(dlls) and not foreign))

    a, b = (open(path, "rb").read() for path in args.repro)
    if a == b:
        rows.append(("two clean builds byte-identical", "yes", "identical", True))
    else:
        where = sorted({pe_diff.describe(a, start, end) for start, end in pe_diff.ranges(a, b)})
        rows.append(("two clean builds byte-identical", "no: " + ", ".join(where[:4]), "identical", False))

    table = [("figure", "measured", "goal", "")] + [(f, m, g, "ok" if ok else "over") for f, m, g, ok in rows]
    widths = [max(width(row[i]) for row in table) for i in range(3)]
    for row in table:
        print("  ".join(cell + " " * (widths[i] - width(cell)) for i, cell in enumerate(row[:3])) + "  " + row[3])
    return 0


def width(text):
    """Columns on a terminal: Chinese characters take two."""
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


if __name__ == "__main__":
    sys.exit(main())
