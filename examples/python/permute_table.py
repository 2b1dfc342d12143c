#!/usr/bin/env python3
"""A permutation test and the tests by strata on the example study, from Python.

Runs lumivar-batch, reads its table (one row per term) and prints it as a
pandas data frame; without pandas, the csv module reads the same text. Then
repeats the run from the seed that its JSON report names, as a script does
to reproduce a run whose seed came from the system.

    python3 examples/python/permute_table.py

The tool is build/src/batch/lumivar-batch of this repository, or the one
named by the environment variable LUMIVAR_BATCH.
"""
import csv
import io
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOL = os.environ.get("LUMIVAR_BATCH", os.path.join(ROOT, "build", "src", "batch", "lumivar-batch"))
STUDY = ["--data", os.path.join(ROOT, "examples", "landmarks.txt"),
         "--reps", os.path.join(ROOT, "examples", "reps.txt"),
         "--groups", os.path.join(ROOT, "examples", "groups.txt")]


def lumivar_batch(*words):
    """Standard output of one run; its one-line error ends the script."""
    run = subprocess.run([TOOL, *words, "--quiet"], capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(run.stderr.strip())
    return run.stdout


# A run without --seed: the JSON names the seed drawn, also as text, which
# no JSON reader rounds.
report = json.loads(lumivar_batch("permute", *STUDY, "--permutations", "999", "--strata",
                                  "--format", "json"))
seed = report["seed_text"]

# The same run again from that seed, as a table.
text = lumivar_batch("permute", *STUDY, "--permutations", "999", "--strata", "--seed", seed,
                     "--format", "csv")
try:
    import pandas
except ImportError:
    pandas = None

if pandas is not None:
    table = pandas.read_csv(io.StringIO(text))
    print(table[["stratum", "term", "ss", "df", "f", "p", "z", "partial_r2"]].to_string(index=False))
    repeated = table["p"].tolist()
else:
    rows = list(csv.DictReader(io.StringIO(text)))
    print("{:8} {:10} {:>22} {:>3} {:>20} {:>8} {:>20}".format("stratum", "term", "ss", "df", "f", "p", "z"))
    for row in rows:
        print("{stratum:8} {term:10} {ss:>22} {df:>3} {f:>20} {p:>8} {z:>20}".format(**row))
    repeated = [float(row["p"]) if row["p"] not in ("", "NaN") else float("nan") for row in rows]

first = [float("nan") if row["p"] is None else row["p"] for row in report["table"]]
same = all(a == b or (a != a and b != b) for a, b in zip(first, repeated))
print(f"\nseed {seed}: the run repeated from it gives the same P values: {same}")
sys.exit(0 if same else 1)
