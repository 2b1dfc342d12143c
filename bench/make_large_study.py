#!/usr/bin/env python3
"""Writes a large study for measuring whole runs of lumivar-batch: N
specimens measured twice, K landmarks, 2 x 2 groups, each row a noisy copy of
one outline moved, turned and scaled at random, as digitised data are.

  python3 bench/make_large_study.py SPECIMENS FOLDER [LANDMARKS [FORMAT]]

writes FOLDER/landmarks.txt (2 N rows), FOLDER/reps.txt and
FOLDER/groups.txt. FORMAT tps or csv writes the same rows instead as
FOLDER/landmarks.tps or FOLDER/landmarks.csv (one entry per row, ids r1,
r2, ...) with the specimen sheet FOLDER/sheet.csv, for measuring the study
readers (`--landmarks ... --sheet ...`). The same arguments always give the
same files.
"""
import math
import os
import random
import sys


def main():
    n = int(sys.argv[1])
    folder = sys.argv[2]
    k = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    form = sys.argv[4] if len(sys.argv) > 4 else "plain"
    rng = random.Random(n * 1000 + k)
    os.makedirs(folder, exist_ok=True)
    mean = []
    for j in range(k):
        a = 2 * math.pi * j / k
        r = 1.0 + 0.25 * math.cos(2 * a)
        mean.append((r * math.cos(a), r * math.sin(a)))
    groups = [(1 + s % 2, 1 + (s // 2) % 2) for s in range(n)]
    deviation = [[(rng.gauss(0, 0.02), rng.gauss(0, 0.02)) for _ in range(k)] for _ in range(n)]
    names = {"plain": "landmarks.txt", "tps": "landmarks.tps", "csv": "landmarks.csv"}
    with open(os.path.join(folder, names[form]), "w") as out:
        if form == "csv":
            out.write(",".join(["id"] + ["%s%d" % (a, j + 1) for j in range(k) for a in "xy"]) + "\n")
        row = 0
        for age in (0, 1):
            for s in range(n):
                angle = rng.uniform(-math.pi, math.pi)
                scale = rng.uniform(50, 150)
                dx, dy = rng.uniform(0, 1000), rng.uniform(0, 1000)
                c, sn = math.cos(angle), math.sin(angle)
                values = []
                for j in range(k):
                    x = mean[j][0] + deviation[s][j][0] + rng.gauss(0, 0.006) + 0.05 * age * (j % 3 == 0)
                    y = mean[j][1] + deviation[s][j][1] + rng.gauss(0, 0.006) + 0.01 * (groups[s][0] == 2) * (j % 4 == 0)
                    values.append("%.4f" % (scale * (c * x - sn * y) + dx))
                    values.append("%.4f" % (scale * (sn * x + c * y) + dy))
                row += 1
                if form == "tps":
                    out.write("LM=%d\n" % k)
                    out.write("".join("%s %s\n" % (values[2 * j], values[2 * j + 1]) for j in range(k)))
                    out.write("ID=r%d\n" % row)
                elif form == "csv":
                    out.write(",".join(["r%d" % row] + values) + "\n")
                else:
                    values.append(str(s + 1))
                    out.write(" ".join(values) + "\n")
    if form != "plain":
        with open(os.path.join(folder, "sheet.csv"), "w") as out:
            out.write("id,specimen,measurement,G1,G2\n")
            for r in range(2 * n):
                s = r % n
                out.write("r%d,s%d,%d,%d,%d\n" % (r + 1, s + 1, 1 + (r >= n), groups[s][0], groups[s][1]))
        return
    with open(os.path.join(folder, "reps.txt"), "w") as out:
        out.write("".join("%d\n" % (1 + (r >= n)) for r in range(2 * n)))
    with open(os.path.join(folder, "groups.txt"), "w") as out:
        out.write("".join("%d %d\n" % g for g in groups))


if __name__ == "__main__":
    main()
