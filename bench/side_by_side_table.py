"""Prints the side-by-side benchmark's one table: for each output, workload and picture size, the
processor time a render of the library and of zint, their ratio beside its target, callgrind's
instructions a render of each, and how the library's time grows from 300 x 200 to 2000 x 600 pixels
against how the pixels do; then the files' sizes, the first render of a fresh process, and one call
of each command-line tool. scripts/bench.sh gathers the figures and runs it."""
import argparse
import glob
import json
import re

SMALL, LARGE = "300x200", "2000x600"


def pixels(size):
    width, height = map(int, size.split("x"))
    return width * height


def read_harness(path):
    """The comparisons in order with their titles and targets, the times, the files' bytes, the
    sizes of zint's pictures and the bytes of both sides' PNGs of zint's picture."""
    comparisons, times, sizes, zint_pictures, same_png = [], {}, {}, {}, {}
    for line in open(path):
        kind, *fields = line.rstrip("\n").split("\t")
        if kind == "comparison":
            key, target, title = fields
            comparisons.append((key, title, float(target)))
        elif kind == "time":
            key, workload, size, ours, zint, ratio = fields
            times[key, workload, size] = (float(ours), float(zint), float(ratio))
        elif kind == "bytes":
            key, workload, size, ours, zint = fields
            sizes[key, workload, size] = (int(ours), int(zint))
        elif kind == "picture":
            workload, size, zint = fields
            zint_pictures[workload, size] = zint
        elif kind == "same-png":
            workload, size, *counts = fields
            same_png[workload, size] = tuple(map(int, counts))
    return comparisons, times, sizes, zint_pictures, same_png


def read_instructions(pattern, renders):
    """Instructions a render, by (side, comparison, workload, size), from callgrind's dumps."""
    counts = {}
    for dump in glob.glob(pattern):
        text = open(dump, errors="replace").read()
        label = re.search(r"^desc: Trigger: Client Request: (.*)$", text, re.M).group(1)
        total = int(re.search(r"^(?:totals|summary): *(\d+)", text, re.M).group(1))
        counts[tuple(label.split("\t"))] = total / renders
    return counts


def main():
    arguments = argparse.ArgumentParser(description=__doc__)
    arguments.add_argument("harness", help="the output of varnel_side_by_side")
    arguments.add_argument("dumps", help="a glob of the callgrind dumps of varnel_side_by_side --instructions")
    arguments.add_argument("renders", type=int, help="renders a dump")
    arguments.add_argument("first_render_ms", type=float, help="the first render of a fresh process")
    arguments.add_argument("command_line", nargs="+", help="hyperfine's JSON exports, varnel's run then zint's")
    options = arguments.parse_args()

    comparisons, times, sizes, zint_pictures, same_png = read_harness(options.harness)
    instructions = read_instructions(options.dumps, options.renders)
    workloads = list(dict.fromkeys(workload for _, workload, _ in times))
    growth_of_pixels = pixels(LARGE) / pixels(SMALL)

    row = "{:<34}{:<6}{:<9}{:<9}{:>9}{:>9}{:>6}{:>8} {:<7}{:>9}{:>9}{:>8}"
    print(row.format("output", "unit", "workload", "picture", "ours", "zint", "ratio", "target", "", "ours Ir",
                     "zint Ir", "growth/"))
    print(row.format("", "", "", "", "", "", "", "", "", "a render", "a render", "pixels"))
    tally = {}

    def judge(what, value, target):
        """'met' or 'MISSED' when there is a target, counted under `what` (the row's kind)."""
        if not target:
            return ""
        met, total = tally.get(what, (0, 0))
        tally[what] = (met + (value <= target), total + 1)
        return "met" if value <= target else "MISSED"

    def line(what, unit, workload, size, ours, zint, ratio, target, *counts):
        mark = judge(f"{what} ({unit})", ratio if ratio is not None else float(ours), target)
        print(row.format(what, unit, workload, size, ours, zint, "" if ratio is None else f"{ratio:.2f}",
                         f"<= {target:.2g}" if target else "", mark, *counts))

    for key, title, target in comparisons:
        for size in (SMALL, LARGE):
            for workload in workloads:
                ours, zint, ratio = times[key, workload, size]
                growth = ""
                if size == LARGE:
                    growth = ours / times[key, workload, SMALL][0] / growth_of_pixels
                    growth = f"{growth:.2f}" + (" !" if judge("growth/pixels", growth, 1) == "MISSED" else "")
                ours_ir, zint_ir = (instructions[side, key, workload, size] for side in ("ours", "zint"))
                line(title, "us", workload, size, f"{ours / 1e3:.1f}", f"{zint / 1e3:.1f}", ratio, target,
                     f"{ours_ir / 1e3:.0f}k", f"{zint_ir / 1e3:.0f}k", growth)
    for key, title, _ in comparisons:
        for size in (SMALL, LARGE):
            for workload in workloads:
                if (key, workload, size) in sizes:
                    ours, zint = sizes[key, workload, size]
                    line(title, "bytes", workload, size, ours, zint, ours / zint, 0, "", "", "")
    # The PNG's size has a target, ours no larger, judged on one picture: zint's, which the library
    # encodes too (the files above are of two pictures). Then the image data alone.
    for size in (SMALL, LARGE):
        for workload in workloads:
            ours, zint, ours_data, zint_data = same_png[workload, size]
            line("PNG of zint's picture", "bytes", workload, size, ours, zint, ours / zint, 1, "", "", "")
            line("  its image data", "bytes", workload, size, ours_data, zint_data, ours_data / zint_data, 0, "", "",
                 "")
    line("first render, fresh process", "ms", workloads[0], SMALL, f"{options.first_render_ms:.3f}", "", None, 1,
         "", "", "")
    # hyperfine's median of the real time, and its mean of the processor time, which the neighbours of
    # a shared machine disturb less.
    clocks = {"real": lambda result: result["median"], "cpu": lambda result: result["user"] + result["system"]}
    for clock, seconds in clocks.items():
        for export in options.command_line:
            ours, zint = (seconds(result) * 1e3 for result in json.load(open(export))["results"])
            workload = export.rsplit("/", 1)[-1].removesuffix(".json")
            line(f"one tool call, PNG, {clock} time", "ms", workload, "default", f"{ours:.2f}", f"{zint:.2f}",
                 ours / zint, 2, "", "", "")

    print()
    print("zint's pictures: " + "; ".join(
        f"{size}: " + ", ".join(f"{workload} {zint_pictures[workload, size]}" for workload in workloads)
        for size in (SMALL, LARGE)))
    print("targets met:")
    for what, (met, total) in tally.items():
        print(f"  {what:<42}{met:>3} of {total}")
    print(f"growth/pixels: the library's time at {LARGE} over its time at {SMALL}, over the {growth_of_pixels:g} "
          "times as many pixels (target <= 1; ! where missed)")
    print("Ir: callgrind's instructions, the process's own: the system's work for a file is in the times alone")


if __name__ == "__main__":
    main()
