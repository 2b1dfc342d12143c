#!/usr/bin/env python3
"""Writes the example study: 40 specimens, each digitised at two ages, 12
landmarks, two levels of each grouping factor (10 specimens per G1 x G2 cell).

The shapes carry a clear change between the two ages (T), a moderate
difference between the G1 groups, and no G2 effect; each specimen has its own
deviation from the mean shape, shared by its two measurements, plus a small
digitising error. Every row is then translated, rotated and scaled at random,
as raw digitised coordinates are.

  landmarks.txt  80 rows: x1 y1 ... x12 y12 and the specimen number
  reps.txt       80 codes: 1 for rows 1-40 (first age), 2 for rows 41-80
  groups.txt     40 lines: the G1 code and the G2 code of each specimen

Run it from this folder: python3 make_example.py
"""
import math
import random

K = 12
SPECIMENS = 40
rng = random.Random(20261207)

# A mean outline: 12 points on a lobed closed curve.
mean = []
for j in range(K):
    a = 2 * math.pi * j / K
    r = 1.0 + 0.25 * math.cos(2 * a) + 0.1 * math.sin(3 * a)
    mean.append((r * math.cos(a), r * math.sin(a)))

# Effects as landmark displacements (in units of the outline's radius).
age_shift = [(0.12 * math.cos(2 * math.pi * j / K), 0.06 * (1 if j < K // 2 else -1)) for j in range(K)]
g1_shift = [(0.0, 0.022 * math.sin(4 * math.pi * j / K)) for j in range(K)]


def gauss_config(sd):
    return [(rng.gauss(0, sd), rng.gauss(0, sd)) for _ in range(K)]


codes = []
specimen_dev = []
for s in range(SPECIMENS):
    g1 = 1 if s % 2 == 0 else 2
    g2 = 1 if (s // 2) % 2 == 0 else 2
    codes.append((g1, g2))
    specimen_dev.append(gauss_config(0.02))

rows = []
for age in (0, 1):
    for s in range(SPECIMENS):
        g1, _ = codes[s]
        noise = gauss_config(0.006)
        pts = []
        for j in range(K):
            x = mean[j][0] + specimen_dev[s][j][0] + noise[j][0] + age * age_shift[j][0]
            y = mean[j][1] + specimen_dev[s][j][1] + noise[j][1] + age * age_shift[j][1]
            if g1 == 2:
                x += g1_shift[j][0]
                y += g1_shift[j][1]
            pts.append((x, y))
        # Raw coordinates: random position, orientation and size.
        theta = rng.uniform(-math.pi, math.pi)
        scale = rng.uniform(40, 120)
        dx, dy = rng.uniform(100, 900), rng.uniform(100, 700)
        c, si = math.cos(theta), math.sin(theta)
        row = []
        for x, y in pts:
            row += [scale * (c * x - si * y) + dx, scale * (si * x + c * y) + dy]
        row.append(s + 1)
        rows.append(row)

with open("landmarks.txt", "w") as f:
    for row in rows:
        f.write(" ".join(f"{v:.4f}" for v in row[:-1]) + f" {row[-1]}\n")
with open("reps.txt", "w") as f:
    for age in (1, 2):
        for _ in range(SPECIMENS):
            f.write(f"{age}\n")
with open("groups.txt", "w") as f:
    for g1, g2 in codes:
        f.write(f"{g1} {g2}\n")
