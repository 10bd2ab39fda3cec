#!/usr/bin/env bash
# Times the program over a sweep of n across three checkpoint gaps (low, middle
# and top of the range) and plots the least of three times it reports against
# n: the walk from the nearer checkpoint makes a sawtooth, longest at each
# midpoint.
# Needs gnuplot (apt-get install gnuplot-nox). Takes about half a minute.
# Usage: bench/plot_sawtooth.sh [PROGRAM] [OUTPUT_PNG]   (from the project root)
set -euo pipefail
program=${1:-build/primepi}
output=${2:-bench/sawtooth.png}
samples=48
data=$(mktemp)
trap 'rm -f "$data"' EXIT

# Each gap: its two checkpoints, and a title.
gaps=(
    "4194300 8388600 low: 4194300 to 8388600"
    "2147483640 2151677940 middle: 2147483640 to 2151677940"
    "4290772980 4294967280 top: 4290772980 to 4294967280"
)
time_of() {
    echo "$1" | "$program" | sed -n 's/.*Time : \(.*\) msec$/\1/p'
}

# Three sweeps, keeping the least time for each n: this is a shared machine,
# where a slow run only says that something else was running, and repeating a
# sweep rather than a run spreads the repeats of each n over time.
declare -A least
for _ in 1 2 3; do
    for gap in "${gaps[@]}"; do
        read -r lo hi _ <<<"$gap"
        for ((i = 0; i <= samples; i++)); do
            n=$((lo + (hi - lo) * i / samples))
            ms=$(time_of "$n")
            if [[ -z ${least[$n]:-} || $ms -lt ${least[$n]} ]]; then
                least[$n]=$ms
            fi
        done
    done
done
for gap in "${gaps[@]}"; do
    read -r lo hi _ <<<"$gap"
    for ((i = 0; i <= samples; i++)); do
        n=$((lo + (hi - lo) * i / samples))
        echo "$n ${least[$n]}"
    done
    printf '\n\n' # a gnuplot data block per gap
done >"$data"

{
    echo "set terminal pngcairo size 1200,420 font ',10'"
    echo "set output '$output'"
    echo "set multiplot layout 1,3 title 'primepi: milliseconds per count against n, with the best trial-division kernel'"
    echo "set ylabel 'ms'; set grid; set format x '%.0f'; set xtics rotate by -30"
    for i in 0 1 2; do
        read -r _ _ title <<<"${gaps[$i]}"
        echo "set title '$title'"
        echo "plot '$data' index $i using 1:2 with linespoints pointtype 7 pointsize 0.5 notitle"
    done
    echo "unset multiplot"
} | gnuplot
echo "wrote $output"
