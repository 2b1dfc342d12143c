#!/usr/bin/env bash
# Whole runs of lumivar-batch on generated studies (bench/make_large_study.py),
# measured with /usr/bin/time -v: wall seconds, CPU seconds (user + system) and
# peak resident memory, the median of RUNS runs.
#
#   bench/measure_runs.sh BATCH DATA_FOLDER RUNS "ROWS..." "SUMS..." [COMMAND ARGS...]
#
# DATA_FOLDER/mROWS/ holds each study (made when missing). COMMAND defaults to
# varexp. Prints one line per study and way: rows sums wall cpu peak_MiB.
set -euo pipefail
batch=$1; data=$2; runs=$3; rows_list=$4; sums_list=$5; shift 5
command=("${@:-varexp}")
here=$(cd "$(dirname "$0")" && pwd)
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
for rows in $rows_list; do
  study=$data/m$rows
  [ -f "$study/groups.txt" ] || python3 "$here/make_large_study.py" $((rows / 2)) "$study"
  for sums in $sums_list; do
    walls=(); cpus=(); peaks=()
    for ((i = 0; i < runs; i++)); do
      log=$(mktemp)
      /usr/bin/time -v "$batch" "${command[@]}" --data "$study/landmarks.txt" --reps "$study/reps.txt" \
        --groups "$study/groups.txt" --sums "$sums" > /dev/null 2> "$log"
      walls+=("$(awk -F': ' '/Elapsed/ {n = split($2, t, ":"); s = 0; for (k = 1; k <= n; k++) s = s * 60 + t[k]; print s}' "$log")")
      cpus+=("$(awk -F': ' '/User time/ {u = $2} /System time/ {s = $2} END {print u + s}' "$log")")
      peaks+=("$(awk -F': ' '/Maximum resident/ {printf "%.0f", $2 / 1024}' "$log")")
      rm -f "$log"
    done
    echo "$rows $sums $(printf '%s\n' "${walls[@]}" | median) $(printf '%s\n' "${cpus[@]}" | median) $(printf '%s\n' "${peaks[@]}" | median)"
  done
done
