#!/usr/bin/env bash
# What users pay: CPU time (user + sys) and peak memory of whole hechuan-cli processes
# on generated inputs, next to the tools people would otherwise use (PROJ's cct,
# GNU datamash, bc; each only when installed) and the in-process benchmark figures.
# Runs are interleaved (program, reference, program, ...) and the medians shown; gk on
# the default threads is compared by wall time.
#
#   bench/cli_processes.sh [--runs N] [--points N] [--rows N] [--formula-bytes N]
#                          [--only TEXT] [CLI]
#
# --only runs the comparisons whose name holds TEXT ("eval", "gk", "stats", "base").
# CLI defaults to build/cli/hechuan-cli. Defaults: 5 runs, 1,000,000 points,
# 1,000,000 statistics rows, a 1 MB "1+1+...+1" and nested brackets of the same size,
# and a 10 MB "1+1+...+1" next to bc.
# Inputs go to a temporary folder that is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=5 points=1000000 rows=1000000 formula=1000000 only=
cli=build/cli/hechuan-cli
while (($#)); do
    case $1 in
    --runs) runs=$2; shift ;;
    --points) points=$2; shift ;;
    --rows) rows=$2; shift ;;
    --formula-bytes) formula=$2; shift ;;
    --only) only=$2; shift ;;
    -h | --help) sed -n '2,16s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) cli=$1 ;;
    esac
    shift
done
[[ -x $cli ]] || { echo "no program at $cli (build it first)" >&2; exit 2; }
cli=$(realpath "$cli")
work=$(mktemp -d "${TMPDIR:-/tmp}/cli_processes.XXXXXX")
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$points" "$rows" "$formula" <<'EOF'
import random, sys
work, points, rows, formula = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
rnd = random.Random(1)
def packed(v):
    d = int(v); m = (v - d) * 60; mi = int(m); s = (m - mi) * 60
    return d, mi, s
with open(f"{work}/points.txt", "w") as jw, open(f"{work}/cct.txt", "w") as cct:
    for i in range(points):
        lat, lon = rnd.uniform(20, 50), rnd.uniform(115.6, 118.4)
        (a, b, c), (x, y, z) = packed(lat), packed(lon)
        h = rnd.uniform(0, 500)
        jw.write("P%d,%d.%02d%07d,%d.%02d%07d,%.3f\n" % (i, a, b, int(c * 100000), x, y, int(z * 100000), h))
        cct.write("%.10f %.10f %.3f\n" % (x + y / 60 + int(z * 100000) / 360000000,
                                          a + b / 60 + int(c * 100000) / 360000000, h))
with open(f"{work}/stats.txt", "w") as st, open(f"{work}/stats.tsv", "w") as tsv:
    for i in range(rows):
        v = ["%.3f" % rnd.uniform(-1000, 100000) for _ in range(5)]
        st.write("P%d*%s\n" % (i, "*".join(v)))
        tsv.write("P%d\t%s\n" % (i, "\t".join(v)))
with open(f"{work}/ones.txt", "w") as f:
    f.write("1" + "+1" * ((formula - 1) // 2) + "\n")
with open(f"{work}/ones_10mb.txt", "w") as f:
    f.write("1" + "+1" * ((10_000_000 - 1) // 2) + "\n")
with open(f"{work}/nested.txt", "w") as f:
    f.write("(1+" * (formula // 4) + "1" + ")" * (formula // 4) + "\n")
with open(f"{work}/bracketed.txt", "w") as f:
    f.write("(" * ((formula - 1) // 2) + "1" + ")" * ((formula - 1) // 2) + "\n")
with open(f"{work}/base.txt", "w") as f:
    for i in range(rows // 10):
        f.write("%d.%d\n" % (rnd.randrange(10**12), rnd.randrange(1000)))
EOF

# "cpu_seconds peak_kB wall_seconds" of one run of the command line given ($1 input
# file, rest argv).
measure() {
    local input=$1
    shift
    /usr/bin/time -o "$work/time" -f "%U %S %M %e" "$@" <"$input" >/dev/null 2>&1 || true
    awk '{printf "%.2f %d %.2f\n", $1 + $2, $3, $4}' "$work/time"
}
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

# compare NAME INPUT_A "CMD_A..." [INPUT_B "CMD_B..."]: interleaved runs and medians,
# the ratio of CPU times. With COMPARE_WALL=1 in the environment the wall times are
# shown and compared instead (for runs on several threads).
compare() {
    local name=$1 in_a=$2 cmd_a=$3 in_b=${4:-} cmd_b=${5:-}
    [[ $name == *"$only"* ]] || return 0
    local -a ta=() ma=() wa=() tb=() mb=() wb=()
    for _ in $(seq "$runs"); do
        read -r t m w < <(measure "$in_a" bash -c "$cmd_a")
        ta+=("$t") ma+=("$m") wa+=("$w")
        if [[ -n $cmd_b ]]; then
            read -r t m w < <(measure "$in_b" bash -c "$cmd_b")
            tb+=("$t") mb+=("$m") wb+=("$w")
        fi
    done
    local a b what="CPU"
    if [[ ${COMPARE_WALL:-0} = 1 ]]; then
        what="wall"
        ta=("${wa[@]}") tb=("${wb[@]+"${wb[@]}"}")
    fi
    a=$(median "${ta[@]}")
    printf '%-34s hechuan-cli %6.2f s %s, %7d kB peak' "$name" "$a" "$what" "$(median "${ma[@]}")"
    if [[ -n $cmd_b ]]; then
        b=$(median "${tb[@]}")
        printf ' | %s %6.2f s, %7d kB | ratio %.2f' "${cmd_b%% *}" "$b" "$(median "${mb[@]}")" \
            "$(awk -v a="$a" -v b="$b" 'BEGIN {print (b > 0 ? a / b : 0)}')"
    fi
    echo
}

have() { command -v "$1" >/dev/null 2>&1; }
tm="+proj=tmerc +lon_0=117 +ellps=WGS84 +x_0=500000"
echo "runs: $runs, points: $points, statistics rows: $rows, formula: $formula bytes"
[[ gk == *"$only"* ]] &&
    "$cli" gk --from jw --to 3 --ellipsoid WGS --meridian 117 --jobs 1 <"$work/points.txt" \
        >"$work/grid.txt" 2>/dev/null || true
if have cct; then
    cct $tm <"$work/cct.txt" >"$work/cct_grid.txt"
    compare "gk jw->3 --jobs 1" "$work/points.txt" \
        "$cli gk --from jw --to 3 --ellipsoid WGS --meridian 117 --jobs 1" \
        "$work/cct.txt" "cct $tm"
    compare "gk 3->jw --jobs 1" "$work/grid.txt" \
        "$cli gk --from 3 --to jw --ellipsoid WGS --jobs 1" \
        "$work/cct_grid.txt" "cct -I $tm"
else
    compare "gk jw->3 --jobs 1" "$work/points.txt" \
        "$cli gk --from jw --to 3 --ellipsoid WGS --meridian 117 --jobs 1"
    compare "gk 3->jw --jobs 1" "$work/grid.txt" "$cli gk --from 3 --to jw --ellipsoid WGS --jobs 1"
fi
if have cct; then
    COMPARE_WALL=1 compare "gk jw->3 default jobs (wall)" "$work/points.txt" \
        "$cli gk --from jw --to 3 --ellipsoid WGS --meridian 117" "$work/cct.txt" "cct $tm"
else
    COMPARE_WALL=1 compare "gk jw->3 default jobs (wall)" "$work/points.txt" \
        "$cli gk --from jw --to 3 --ellipsoid WGS --meridian 117"
fi
dm="count 2 min 2 max 2 mean 2 sum 2 sstdev 2 svar 2 pvar 2"
for c in 3 4 5 6; do dm+=" count $c min $c max $c mean $c sum $c sstdev $c svar $c pvar $c"; done
if have datamash; then
    compare "stats, $rows rows" "$work/stats.txt" "$cli stats" "$work/stats.tsv" "datamash $dm"
else
    compare "stats, $rows rows" "$work/stats.txt" "$cli stats"
fi
if have bc; then
    compare "eval 1+1+... ($formula bytes)" "$work/ones.txt" "$cli eval" "$work/ones.txt" "bc"
else
    compare "eval 1+1+... ($formula bytes)" "$work/ones.txt" "$cli eval"
fi
compare "eval (1+(1+...)) ($formula bytes)" "$work/nested.txt" "$cli eval"
compare "eval ((...(1)...)) ($formula bytes)" "$work/bracketed.txt" "$cli eval"
bench_dir=$(dirname "$(dirname "$cli")")/bench
if have bc; then
    compare "eval 1+1+... (10 MB)" "$work/ones_10mb.txt" "$cli eval" "$work/ones_10mb.txt" "bc"
fi
compare "base 10->16, $((rows / 10)) lines" "$work/base.txt" "$cli base --from 10 --to 16"

# The in-process figures of the same work, when the benchmarks are built.
for b in survey_bench:Fast stats_bench:. long_formula_bench:SumOfOnes base_bench:.; do
    exe=$bench_dir/${b%%:*}
    [[ -x $exe && -z $only ]] || continue
    echo "in process: ${b%%:*}"
    "$exe" --benchmark_filter="${b#*:}" --benchmark_min_time=0.2 2>/dev/null |
        grep -E ' (ns|us|ms) ' | head -n 12 || true
done
