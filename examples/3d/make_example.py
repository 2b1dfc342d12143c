#!/usr/bin/env python3
"""Writes the three-dimensional example study: 24 specimens, each measured at
two ages, 10 landmarks in space (x, y, z), two levels of each grouping factor
(6 specimens per G1 x G2 cell).

The shapes carry a clear change between the two ages (T: the front of the
shape lengthens and the top flattens), a moderate difference between the G1
groups and no G2 effect; each specimen has its own deviation from the mean
shape, shared by its two measurements, plus a small digitising error. Every
row is then moved, turned in space and scaled at random, as landmarks placed
on scans are.

  landmarks.txt  48 rows: x1 y1 z1 ... x10 y10 z10 and the specimen number,
                 then an empty line and "dimensions: 3", which tells Lumivar
                 that the 31 columns are 10 landmarks in three dimensions
  reps.txt       48 codes: 1 for rows 1-24 (first age), 2 for rows 25-48
  groups.txt     24 lines: the G1 code and the G2 code of each specimen

Run it from this folder: python3 make_example.py
"""
import math
import random

K = 10
SPECIMENS = 24
rng = random.Random(20261208)

# A mean shape: a ring of six landmarks around a dome, two on the dome's top,
# one at the front and one below: no three on a line, no plane holds all.
mean = []
for j in range(6):
    a = 2 * math.pi * j / 6
    mean.append((1.2 * math.cos(a), 0.8 * math.sin(a), 0.0))
mean += [(0.3, 0.0, 0.7), (-0.4, 0.1, 0.6), (1.6, 0.0, 0.2), (0.0, -0.2, -0.5)]

# Effects as landmark displacements (in units of the shape's radius).
age_shift = [(0.15 * p[0] if p[0] > 0 else 0.0, 0.0, -0.12 * p[2]) for p in mean]
g1_shift = [(0.0, 0.03 * math.sin(j), 0.02 * math.cos(2 * j)) for j in range(K)]


def gauss_config(sd):
    return [tuple(rng.gauss(0, sd) for _ in range(3)) for _ in range(K)]


def random_rotation():
    # A unit quaternion of four normal draws is uniform over all rotations.
    w, x, y, z = (rng.gauss(0, 1) for _ in range(4))
    n = math.sqrt(w * w + x * x + y * y + z * z)
    w, x, y, z = w / n, x / n, y / n, z / n
    return [[1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)],
            [2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)],
            [2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)]]


codes = []
specimen_dev = []
for s in range(SPECIMENS):
    g1 = 1 if s % 2 == 0 else 2
    g2 = 1 if (s // 2) % 2 == 0 else 2
    codes.append((g1, g2))
    specimen_dev.append(gauss_config(0.025))

rows = []
for age in (0, 1):
    for s in range(SPECIMENS):
        g1, _ = codes[s]
        noise = gauss_config(0.006)
        pts = []
        for j in range(K):
            p = [mean[j][a] + specimen_dev[s][j][a] + noise[j][a] + age * age_shift[j][a] for a in range(3)]
            if g1 == 2:
                p = [p[a] + g1_shift[j][a] for a in range(3)]
            pts.append(p)
        # Raw coordinates: random position, orientation and size (millimetres).
        r = random_rotation()
        scale = rng.uniform(20, 40)
        shift = [rng.uniform(-50, 50) for _ in range(3)]
        row = []
        for p in pts:
            row += [scale * sum(r[a][b] * p[b] for b in range(3)) + shift[a] for a in range(3)]
        row.append(s + 1)
        rows.append(row)

with open("landmarks.txt", "w") as f:
    for row in rows:
        f.write(" ".join(f"{v:.4f}" for v in row[:-1]) + f" {row[-1]}\n")
    f.write("\ndimensions: 3\n")
with open("reps.txt", "w") as f:
    for age in (1, 2):
        for _ in range(SPECIMENS):
            f.write(f"{age}\n")
with open("groups.txt", "w") as f:
    for g1, g2 in codes:
        f.write(f"{g1} {g2}\n")
