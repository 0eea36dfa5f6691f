#!/usr/bin/env python3
"""Prints bench/run's results as Markdown tables: medians with the range over the rounds.

    table.py RESULTS WINDOW_S
CPU is shown as % of one core over the window (CPU s / window s); the X server's share is shown
apart, since a player that pushes more pixels moves cost there.
"""
import statistics
import sys
from collections import defaultdict

MEDIA = {"flv720": "1280×720 H.264/AAC FLV", "sorenson360": "640×360 Sorenson/MP3 FLV",
         "f4v720": "1280×720 H.264/AAC F4V", "flv1080": "1920×1080 H.264 FLV (no audio)"}


def cell(values, scale=1.0, fmt="%.1f"):
    v = [float(x) * scale for x in values if x != "NA"]
    if not v:
        return "NA"
    text = fmt % statistics.median(v)
    return text + (" (" + fmt % min(v) + "–" + fmt % max(v) + ")" if len(v) > 1 else "")


def main():
    window = float(sys.argv[2])
    rows = defaultdict(list)
    for line in open(sys.argv[1]):
        f = line.split()
        if len(f) >= 8:
            rows[(f[0], f[2], f[1])].append(f[4:])
    order = []
    for key in rows:
        if (key[0], key[1]) not in order:
            order.append((key[0], key[1]))
    for mode, medium in order:
        title = MEDIA.get(medium, medium)
        print("\n### %s%s\n" % ("Paused, " if mode == "pause" else "", title))
        print("| player | first frame ms | CPU %% of a core over %gs | peak RSS MiB | "
              "X server CPU %% | window |" % window)
        print("|---|---|---|---|---|---|")
        players = [k[2] for k in rows if k[:2] == (mode, medium)]
        pct = 100.0 / window
        for p in sorted(players, key=lambda p: statistics.median(
                [float(r[1]) for r in rows[(mode, medium, p)] if r[1] != "NA"] or [1e9])):
            r = rows[(mode, medium, p)]
            col = list(zip(*r))
            print("| %s | %s | %s | %s | %s | %s |" % (
                p, cell(col[0], fmt="%.0f"), cell(col[1], pct, "%.2f" if mode == "pause"
                                                  else "%.1f"),
                cell(col[2]), cell(col[3], pct), statistics.mode(col[4])))


if __name__ == "__main__":
    main()
