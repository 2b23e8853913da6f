#!/usr/bin/env python3
"""Turns one run of the benchmarks into the table of targets.

Reads the JSON that Google Benchmark wrote for grid_bench, lex_bench, search_bench and
host_bench, and the lines open_bench printed, all from one folder; prints a
table (figure, baseline from the same run, ratio, target, met or not), and
writes results.csv and latency.dat (edit latency against text size, for the
plot) beside them. Every figure is compared only with a baseline measured in
the same run, since the machine is shared and its speed varies.
"""
import csv
import json
import re
import statistics
import sys
from pathlib import Path

MB = 1e6


def load(folder, name):
    path = folder / f"{name}.json"
    if not path.exists():
        return {}
    runs = json.loads(path.read_text())["benchmarks"]
    # A program run with repetitions gives the median over them, counters too.
    medians = {run["run_name"]: run for run in runs if run.get("aggregate_name") == "median"}
    return medians or {run["run_name"]: run for run in runs if run.get("run_type", "iteration") == "iteration"}


def find(runs, prefix):
    """The run whose name, without its /iterations:N suffix, is `prefix`."""
    for name, run in runs.items():
        if name.split("/iterations:")[0] == prefix:
            return run
    return None


def median_us(runs, name):
    run = find(runs, name)
    return None if run is None else run["median_us"]


def rate(runs, name, counter="bytes_per_second"):
    run = find(runs, name)
    return None if run is None else run[counter]


def instruction_counts(folder):
    """Inclusive instruction counts by function from callgrind_annotate --inclusive=yes, in millions; empty when
    the profile was not made (no valgrind)."""
    path = folder / "settext_profile.txt"
    counts = {}
    if not path.exists():
        return counts
    for line in path.read_text().splitlines():
        match = re.match(r"\s*([\d,]+) \(\s*[\d.]+%\)\s+\S*?:(.+?)\(", line)
        if match:
            counts.setdefault(match.group(2).split("::")[-1], int(match.group(1).replace(",", "")) / 1e6)
    return counts


def millis(runs, name):
    run = find(runs, name)
    if run is None:
        return None
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
    return run["real_time"] * scale


class Table:
    def __init__(self):
        self.rows = []

    def add(self, work, figure, unit, baseline_name, baseline, target_text, met):
        ratio = figure / baseline if figure is not None and baseline else None
        self.rows.append({
            "work": work,
            "figure": figure,
            "unit": unit,
            "baseline": baseline_name,
            "baseline_figure": baseline,
            "ratio": ratio,
            "target": target_text,
            "met": None if figure is None else met(figure, ratio),
        })

    def print(self):
        def number(value):
            if value is None:
                return "-"
            return f"{value:.3g}" if abs(value) < 1000 else f"{value:,.0f}"

        header = f"{'work':44} {'figure':>12}  {'unit':8} {'baseline (same run)':34} {'ratio':>8}  {'target':30} met"
        print(header)
        print("-" * len(header))
        for row in self.rows:
            baseline = f"{row['baseline']} {number(row['baseline_figure'])}"
            met = {True: "yes", False: "NO", None: "-"}[row["met"]]
            print(f"{row['work']:44} {number(row['figure']):>12}  {row['unit']:8} {baseline:34} "
                  f"{number(row['ratio']):>8}  {row['target']:30} {met}")

    def write_csv(self, path):
        with path.open("w", newline="") as out:
            writer = csv.DictWriter(out, fieldnames=list(self.rows[0].keys()))
            writer.writeheader()
            writer.writerows(self.rows)


def main(folder):
    folder = Path(folder)
    grid = load(folder, "grid")
    lex = load(folder, "lex")
    search = load(folder, "search")
    host = load(folder, "host")
    opens = [json.loads(line) for line in (folder / "open.jsonl").read_text().splitlines() if line.strip()] \
        if (folder / "open.jsonl").exists() else []

    table = Table()
    at_most = lambda limit: (lambda figure, ratio: figure <= limit)
    at_least = lambda limit: (lambda figure, ratio: figure >= limit)
    # A target on the ratio is undecided ("-") when its baseline is missing.
    with_ratio = lambda test: (lambda figure, ratio: None if ratio is None else test(figure, ratio))

    rebuild_2mb = millis(host, "BM_Rebuild/2000")
    rebuild_20mb = millis(host, "BM_Rebuild/20000")
    table.add("keystroke inside a row, 2 MB", median_us(host, "BM_Keystroke/2000"), "us",
              "rebuild 2 MB (us)", rebuild_2mb and rebuild_2mb * 1e3, "<= 5 us", at_most(5))
    table.add("keystroke inside a row, 20 MB", median_us(host, "BM_Keystroke/20000"), "us",
              "rebuild 20 MB (us)", rebuild_20mb and rebuild_20mb * 1e3, "<= 5 us", at_most(5))
    table.add("keystroke, every style alike, 20 MB", median_us(host, "BM_KeystrokeOneStyle/20000"), "us",
              "rebuild 20 MB (us)", rebuild_20mb and rebuild_20mb * 1e3, "<= 5 us", at_most(5))
    table.add("keystroke after a full token walk", median_us(host, "BM_KeystrokeAfterWalk"), "us",
              "same keystroke, no walk (us)", median_us(host, "BM_KeystrokeNearTheTop"), "<= 5 us", at_most(5))
    for edit, label in (("BM_Enter", "Enter"), ("BM_JoinRows", "joining two rows")):
        table.add(f"{label} mid-text, 2 MB", median_us(host, f"{edit}/2000"), "us",
                  "rebuild 2 MB (us)", rebuild_2mb and rebuild_2mb * 1e3, "<= 100 us", at_most(100))
        table.add(f"{label} mid-text, 20 MB", median_us(host, f"{edit}/20000"), "us",
                  "rebuild 20 MB (us)", rebuild_20mb and rebuild_20mb * 1e3, "<= 1000 us", at_most(1000))

    set_text = rate(grid, "BM_SetText")
    classify = rate(grid, "BM_ClassifyBytesBaseline")
    table.add("SetText with full rebuild, grid reused", set_text and set_text / MB, "MB/s",
              "classifying pass (MB/s)", classify and classify / MB, ">= 400 MB/s and >= 0.5x",
              with_ratio(lambda figure, ratio: figure >= 400 and ratio >= 0.5))
    # Context, not targets: how much of that rate the scan alone leaves, and
    # the scan with the token lists written (lex_bench, its own baseline).
    lex_classify = rate(lex, "BM_ClassifyBytesBaseline")
    for name, label in (("BM_ScanToEnd", "  of which the scan alone"),
                        ("BM_ScanIntoTokenLists", "  the scan and the token lists")):
        figure = rate(lex, name)
        table.add(label, figure and figure / MB, "MB/s", "classifying pass (MB/s)",
                  lex_classify and lex_classify / MB, "(context)", lambda figure, ratio: None)
    # Context, not targets: the same SetText counted by callgrind, which the machine's load does not move, beside
    # the classifying pass, and split into its parts.
    counts = instruction_counts(folder)
    if "ProfiledSetText" in counts and "ProfiledClassify" in counts:
        total = counts["ProfiledSetText"]
        table.add("SetText of big.st, instructions", total, "M instr", "classifying pass (M instr)",
                  counts["ProfiledClassify"], "(context)", lambda figure, ratio: None)
        scan, lists, rows = counts.get("ScanTokens"), counts.get("AssignTiling"), counts.get("ReadRows")
        rebuild = counts.get("RebuildTokens")
        gathering = rebuild - scan - lists if None not in (rebuild, scan, lists) else None
        for label, part in (("  cutting the text into rows", rows), ("  the scan", scan),
                            ("  writing the token lists", lists),
                            ("  gathering tokens, attribute changes", gathering)):
            table.add(label, part, "M instr", "SetText (M instr)", total, "(context)", lambda figure, ratio: None)
    if opens:
        open_ms = statistics.median(run["open_ms"] for run in opens)
        warm_ms = statistics.median(run["warm_ms"] for run in opens)
        table.add(f"open: CreateGrid + SetText, fresh process (median of {len(opens)})", open_ms, "ms",
                  "warm SetText (ms)", warm_ms, "<= 15 ms and <= 1.5x",
                  with_ratio(lambda figure, ratio: figure <= 15 and ratio <= 1.5))
        # Context, not a target: what the system alone charges for as much
        # fresh memory as the open takes, so the library's share can be told.
        if all("touch_ms" in run for run in opens):
            touch_ms = statistics.median(run["touch_ms"] for run in opens)
            heap_mb = statistics.median(run["heap_bytes"] for run in opens) / MB
            table.add(f"  of which fresh memory alone ({heap_mb:.1f} MB)", touch_ms, "ms",
                      "open (ms)", open_ms, "(context)", lambda figure, ratio: None)
            table.add("  open less that", open_ms - touch_ms, "ms",
                      "warm SetText (ms)", warm_ms, "(context)", lambda figure, ratio: None)
    memory = find(grid, "BM_GridMemory")
    table.add("memory held after SetText", memory and memory["bytes_per_text_byte"], "B/byte",
              "text (bytes per byte)", 1.0, "<= 6", at_most(6))

    big_rate = rate(host, "BM_Rebuild/2000")
    keystroke_2mb = median_us(host, "BM_Keystroke/2000")
    for kind, label in ((0, "byte-array items"), (1, "identifiers"), (2, "a string")):
        long_rate = rate(host, f"BM_LongRowSetText/{kind}/1000")
        table.add(f"SetText, 1 MB row of {label}", long_rate and long_rate / MB, "MB/s",
                  "SetText big.st (MB/s)", big_rate and big_rate / MB, ">= 0.9x big.st's rate",
                  with_ratio(lambda figure, ratio: ratio >= 0.9))
        table.add(f"keystroke in a 500 KB row of {label}", median_us(host, f"BM_LongRowKeystroke/{kind}/500"),
                  "us", "keystroke, 2 MB (us)", keystroke_2mb, "<= 1000 us", at_most(1000))
        table.add(f"  a tab before its first character", median_us(host, f"BM_LongRowIndent/{kind}/500"),
                  "us", "keystroke, 2 MB (us)", keystroke_2mb, "<= 1000 us", at_most(1000))

    # Context, not a target: a window over a long row, painted through its end.
    long_paint, screen_paint = millis(grid, "BM_DisplayLongRow"), millis(grid, "BM_DisplayScreen")
    table.add("painting a window over a 500 KB row", long_paint and long_paint * 1e3, "us",
              "a 60-row screen of big.st (us)", screen_paint and screen_paint * 1e3, "(context)",
              lambda figure, ratio: None)

    # Context, not a target: a host registering 50,000 keywords and deleting them.
    table.add("adding and deleting 50,000 keywords", millis(lex, "BM_KeywordTableAddAndDelete"), "ms",
              "SetText of big.st (ms)", millis(grid, "BM_SetText"), "(context)", lambda figure, ratio: None)

    tokens = rate(grid, "BM_NextToken", "items_per_second")
    table.add("token walk (NextToken)", tokens and tokens / MB, "M tok/s",
              "classifying pass (MB/s)", classify and classify / MB, ">= 150 M tokens/s", at_least(150))
    memmem = rate(search, "BM_PlainMemmem")
    for name, label in (("BM_PlainFindPatternCase", "plain search, match case"),
                        ("BM_PlainFindPatternNoCase", "plain search, ignore case")):
        found = rate(search, name)
        table.add(label, found and found / MB, "MB/s", "memmem (MB/s)", memmem and memmem / MB,
                  ">= 1x memmem", with_ratio(lambda figure, ratio: ratio >= 1))
    for k in range(3):
        found = rate(search, f"BM_RegexScan/{k}")
        pcre = rate(search, f"BM_RegexPcre2/{k}")
        table.add(f"regex search, pattern {k}", found and found / MB, "MB/s", "PCRE2 interpreter (MB/s)",
                  pcre and pcre / MB, ">= 1x PCRE2", with_ratio(lambda figure, ratio: ratio >= 1))
    # Context, not a target: the same scans backward, which PCRE2 cannot do.
    for k in range(3):
        found = rate(search, f"BM_RegexScanBackward/{k}")
        pcre = rate(search, f"BM_RegexPcre2/{k}")
        table.add(f"  backward, pattern {k}", found and found / MB, "MB/s", "PCRE2 interpreter, forward (MB/s)",
                  pcre and pcre / MB, "(context)", lambda figure, ratio: None)

    table.print()
    table.write_csv(folder / "results.csv")
    with (folder / "latency.dat").open("w") as out:
        out.write("# MB keystroke_us enter_us join_us rebuild_us\n")
        sizes = sorted({int(name.split("/")[1]) for name in (r["run_name"].split("/iterations:")[0] for r in host.values())
                        if name.startswith("BM_Keystroke/")})
        for size in sizes:
            values = [median_us(host, f"{edit}/{size}") for edit in ("BM_Keystroke", "BM_Enter", "BM_JoinRows")]
            rebuild = millis(host, f"BM_Rebuild/{size}")
            values.append(rebuild and rebuild * 1e3)
            out.write(" ".join([str(size / 1000)] + ["NaN" if v is None else f"{v:.3f}" for v in values]) + "\n")
    print(f"\nfigures: {folder / 'results.csv'}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build/bench")
