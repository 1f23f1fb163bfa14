#!/usr/bin/env bash
# Differential check of two hechuan-cli builds: both programs get the same generated
# formulas (eval), coordinate data texts (gk) and values for the tool subcommands
# (angle, split, base, logic, stats) and must give the same standard output, standard
# error and exit code, byte for byte.
#
#   scripts/diff_builds.sh [--quick] [--seed N] [--keep] OLD_CLI NEW_CLI [COUNT]
#
# COUNT formulas go through "eval" in batches on standard input (one process per
# batch), a few thousand more one per process (exit code per formula), and COUNT points
# through every "gk" conversion and ellipsoid, and COUNT / 10 values through the tool
# subcommands (scripts/gen_tool_jobs.py). Grid inputs are made by converting
# generated geographic points with OLD_CLI first. COUNT defaults to 1000000; --quick
# makes it 25000 (about 50000 inputs in all). The inputs depend only on the seed
# (default 1), so a failing run can be repeated exactly.
#
# Exit status: 0 no difference (the counts are printed), 1 a difference (the first
# differing inputs are printed and the work folder is kept), 2 usage error.

set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

usage() {
    sed -n '2,18s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2
    exit 2
}

seed=1
count=1000000
quick=0
keep=0
positional=()
while (($#)); do
    case $1 in
    --quick) quick=1 ;;
    --keep) keep=1 ;;
    --seed) [[ $# -ge 2 ]] || usage; seed=$2; shift ;;
    --seed=*) seed=${1#--seed=} ;;
    -h | --help) usage ;;
    -*) echo "unknown option $1" >&2; usage ;;
    *) positional+=("$1") ;;
    esac
    shift
done
((${#positional[@]} == 2 || ${#positional[@]} == 3)) || usage
((quick)) && count=25000
[[ ${#positional[@]} == 3 ]] && count=${positional[2]}
[[ $count =~ ^[0-9]+$ && $count -gt 0 && $seed =~ ^[0-9]+$ ]] || usage
old=$(realpath "${positional[0]}") new=$(realpath "${positional[1]}")
for b in "$old" "$new"; do
    [[ -x $b && -f $b ]] || { echo "not an executable file: $b" >&2; exit 2; }
done
singles=$((count / 20))
((singles > 3000)) && singles=3000
((singles < 200)) && singles=200

work=$(mktemp -d "${TMPDIR:-/tmp}/diff_builds.XXXXXX")
start=$SECONDS
echo "diff_builds: seed $seed, $count formulas in batches, $singles one per process," \
    "$count points; work folder $work"

# Inputs, in two halves at once.
fail=0
python3 "$here/gen_formulas.py" --seed "$seed" --count "$count" --singles "$singles" \
    --part 0/2 "$work" >"$work/list.e0" || fail=1 &
python3 "$here/gen_formulas.py" --seed "$seed" --count "$count" --singles "$singles" \
    --part 1/2 "$work" >"$work/list.e1" || fail=1 &
python3 "$here/gen_tool_jobs.py" --seed "$seed" --count $((count / 10)) "$work" \
    >"$work/list.t" || fail=1
python3 "$here/gen_points.py" seeds "$work" --seed "$seed" --count "$count" \
    >"$work/list.seeds" || fail=1
while read -r width ellipsoid stem; do
    "$old" gk --from jw --to "$width" --ellipsoid "$ellipsoid" \
        <"$work/seeds/$stem.in" >"$work/seeds/$stem.out" 2>/dev/null
done <"$work/list.seeds"
wait || fail=1
python3 "$here/gen_points.py" jobs "$work" --seed "$seed" --count "$count" \
    --part 0/2 >"$work/list.g0" || fail=1 &
python3 "$here/gen_points.py" jobs "$work" --seed "$seed" --count "$count" \
    --part 1/2 >"$work/list.g1" || fail=1
wait || fail=1
if ((fail)) || ! cat "$work"/list.e? "$work"/list.g? "$work/list.t" >"$work/jobs.list"; then
    echo "diff_builds: generating the inputs failed" >&2
    exit 2
fi
echo "diff_builds: inputs ready after $((SECONDS - start)) s; comparing on two processes"

python3 "$here/diff_run.py" --workers 2 "$work" "$old" "$new" >"$work/results"

declare -A kind_of count_of
while read -r id kind n; do
    kind_of[$id]=$kind count_of[$id]=$n
done <"$work/jobs.list"
declare -A jobs_same jobs_diff inputs_same inputs_diff
diffs=()
while read -r verdict id; do
    k=${kind_of[$id]}
    if [[ $verdict == same ]]; then
        jobs_same[$k]=$((${jobs_same[$k]:-0} + 1))
        inputs_same[$k]=$((${inputs_same[$k]:-0} + ${count_of[$id]}))
    else
        jobs_diff[$k]=$((${jobs_diff[$k]:-0} + 1))
        inputs_diff[$k]=$((${inputs_diff[$k]:-0} + ${count_of[$id]}))
        diffs+=("$id")
    fi
done < <(sort -k2 "$work/results")
missing=$(($(wc -l <"$work/jobs.list") - $(wc -l <"$work/results")))

describe() {  # kind label unit
    printf '  %-44s %8d %-9s in %5d processes' "$2" \
        $((${inputs_same[$1]:-0} + ${inputs_diff[$1]:-0})) "$3" \
        $((${jobs_same[$1]:-0} + ${jobs_diff[$1]:-0}))
    if ((${jobs_diff[$1]:-0})); then
        printf ': %d processes DIFFER (%d %s)\n' "${jobs_diff[$1]}" "${inputs_diff[$1]}" "$3"
    else
        printf ': identical\n'
    fi
}
echo "diff_builds: compared in $((SECONDS - start)) s (stdout, stderr and exit code of each process)"
describe eval "eval, formulas in batches on stdin" formulas
describe single "eval, formulas one per process" formulas
describe gk "gk, points (10 conversions x 3 ellipsoids)" points
describe tools "angle, split, base, logic, stats" values
describe usage "odd option sets (exit code only)" cases
if ((missing)); then
    echo "diff_builds: $missing jobs gave no result" >&2
    exit 1
fi
if ((${#diffs[@]} == 0)); then
    ((keep)) || rm -rf "$work"
    echo "diff_builds: no difference"
    exit 0
fi

# The first differing process of each kind, then more up to three.
shown=()
declare -A kind_shown
for id in "${diffs[@]}"; do
    [[ -n ${kind_shown[${kind_of[$id]}]:-} ]] && continue
    kind_shown[${kind_of[$id]}]=1
    shown+=("$id")
done
for id in "${diffs[@]}"; do
    ((${#shown[@]} >= 3)) && break
    [[ " ${shown[*]} " == *" $id "* ]] || shown+=("$id")
done
echo "diff_builds: DIFFERENCES in ${#diffs[@]} processes; the first ones narrowed down:"
for id in "${shown[@]}"; do
    python3 "$here/diff_isolate.py" "$work" "$old" "$new" "$id" "${kind_of[$id]}"
done
echo "diff_builds: inputs and outputs kept in $work; the same run again:"
echo "  $0 --seed $seed ${positional[0]} ${positional[1]} $count"
exit 1
