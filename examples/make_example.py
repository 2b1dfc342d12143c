#!/usr/bin/env python3
"""Writes the example studies.

In this folder, the 2-D study: 40 specimens, each digitised at two ages, 12
landmarks, two levels of each grouping factor (10 specimens per G1 x G2 cell).
The shapes carry a clear change between the two ages (T), a moderate
difference between the G1 groups, and no G2 effect; each specimen has its own
deviation from the mean shape, shared by its two measurements, plus a small
digitising error. Every row is then translated, rotated and scaled at random,
as raw digitised coordinates are.

  landmarks.txt  80 rows: x1 y1 ... x12 y12 and the specimen number
  reps.txt       80 codes: 1 for rows 1-40 (first age), 2 for rows 41-80
  groups.txt     40 lines: the G1 code and the G2 code of each specimen

In 3d/, the three-dimensional study: 24 specimens at two ages, 10 landmarks
in space (x, y, z), 6 specimens per G1 x G2 cell, built the same way (the
front of the shape lengthens and its top flattens with age), every row moved,
turned in space and scaled at random, as landmarks placed on scans are. Its
landmarks.txt has 48 rows of x1 y1 z1 ... x10 y10 z10 and the specimen number,
then an empty line and "dimensions: 3", which tells Lumivar that the 31
columns are 10 landmarks in three dimensions.

Run it from this folder: python3 make_example.py
"""
import math
import os
import random


def cell_codes(specimens):
    """The G1 and G2 code of each specimen: a 2 x 2 design, cells filled in turn."""
    return [(1 if s % 2 == 0 else 2, 1 if (s // 2) % 2 == 0 else 2) for s in range(specimens)]


def measured_rows(codes, noise, shape_of, place):
    """Rows 1-n the specimens at the first age, n+1-2n at the second: each the
    specimen's shape (`shape_of(s, age, g1, noise())`) placed at random by
    `place`, then the specimen's number."""
    rows = []
    for age in (0, 1):
        for s in range(len(codes)):
            row = place(shape_of(s, age, codes[s][0], noise()))
            row.append(s + 1)
            rows.append(row)
    return rows


def write_study(folder, rows, codes, note=""):
    """The three plain files; rows end with the specimen number, `note` follows the data."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "landmarks.txt"), "w") as f:
        for row in rows:
            f.write(" ".join(f"{v:.4f}" for v in row[:-1]) + f" {row[-1]}\n")
        f.write(note)
    with open(os.path.join(folder, "reps.txt"), "w") as f:
        for age in (1, 2):
            for _ in codes:
                f.write(f"{age}\n")
    with open(os.path.join(folder, "groups.txt"), "w") as f:
        for g1, g2 in codes:
            f.write(f"{g1} {g2}\n")


def plane_study():
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

    codes = cell_codes(SPECIMENS)
    specimen_dev = [gauss_config(0.02) for _ in range(SPECIMENS)]

    def shape_of(s, age, g1, noise):
        pts = []
        for j in range(K):
            x = mean[j][0] + specimen_dev[s][j][0] + noise[j][0] + age * age_shift[j][0]
            y = mean[j][1] + specimen_dev[s][j][1] + noise[j][1] + age * age_shift[j][1]
            if g1 == 2:
                x += g1_shift[j][0]
                y += g1_shift[j][1]
            pts.append((x, y))
        return pts

    def place(pts):
        # Raw coordinates: random position, orientation and size.
        theta = rng.uniform(-math.pi, math.pi)
        scale = rng.uniform(40, 120)
        dx, dy = rng.uniform(100, 900), rng.uniform(100, 700)
        c, si = math.cos(theta), math.sin(theta)
        row = []
        for x, y in pts:
            row += [scale * (c * x - si * y) + dx, scale * (si * x + c * y) + dy]
        return row

    write_study(".", measured_rows(codes, lambda: gauss_config(0.006), shape_of, place), codes)


def space_study():
    K = 10
    SPECIMENS = 24
    rng = random.Random(20261208)

    # A mean shape: a ring of six landmarks around a dome, two on the dome's
    # top, one at the front and one below: no three on a line, no plane holds all.
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

    codes = cell_codes(SPECIMENS)
    specimen_dev = [gauss_config(0.025) for _ in range(SPECIMENS)]

    def shape_of(s, age, g1, noise):
        pts = []
        for j in range(K):
            p = [mean[j][a] + specimen_dev[s][j][a] + noise[j][a] + age * age_shift[j][a] for a in range(3)]
            if g1 == 2:
                p = [p[a] + g1_shift[j][a] for a in range(3)]
            pts.append(p)
        return pts

    def place(pts):
        # Raw coordinates: random position, orientation and size (millimetres).
        r = random_rotation()
        scale = rng.uniform(20, 40)
        shift = [rng.uniform(-50, 50) for _ in range(3)]
        row = []
        for p in pts:
            row += [scale * sum(r[a][b] * p[b] for b in range(3)) + shift[a] for a in range(3)]
        return row

    rows = measured_rows(codes, lambda: gauss_config(0.006), shape_of, place)
    write_study("3d", rows, codes, "\ndimensions: 3\n")


plane_study()
space_study()
