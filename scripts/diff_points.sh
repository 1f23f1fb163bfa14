#!/usr/bin/env bash
# Differential check of the point commands of two hechuan-cli builds: both programs
# get the same generated point lists through "bearing" and "attitude" and must give
# the same standard output, standard error and exit code, byte for byte.
#
#   scripts/diff_points.sh [--seed N] OLD_CLI NEW_CLI [COUNT]
#
# COUNT jobs (default 400) from scripts/gen_point_lists.py; the inputs depend only on
# the seed (default 1). Exit status: 0 no difference, 1 a difference (the first one is
# printed and the work folder kept), 2 usage error.

set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
usage() {
    sed -n '2,10s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2
    exit 2
}

seed=1
positional=()
while (($#)); do
    case $1 in
    --seed) [[ $# -ge 2 ]] || usage; seed=$2; shift ;;
    -h | --help) usage ;;
    -*) usage ;;
    *) positional+=("$1") ;;
    esac
    shift
done
((${#positional[@]} == 2 || ${#positional[@]} == 3)) || usage
count=${positional[2]:-400}
old=$(realpath "${positional[0]}") new=$(realpath "${positional[1]}")

work=$(mktemp -d "${TMPDIR:-/tmp}/diff_points.XXXXXX")
python3 "$here/gen_point_lists.py" --seed "$seed" --count "$count" "$work/jobs" >"$work/ids" || exit 2
jobs=0
points=0
while read -r id rows; do
    mapfile -t args <"$work/jobs/$id.args"
    for side in old new; do
        bin=$old
        [[ $side == new ]] && bin=$new
        "$bin" "${args[@]}" <"$work/jobs/$id.in" >"$work/$side.out" 2>"$work/$side.err"
        echo $? >"$work/$side.rc"
    done
    for part in out err rc; do
        if ! cmp -s "$work/old.$part" "$work/new.$part"; then
            echo "diff_points: job $id (${args[*]}) differs in $part; work folder $work"
            diff <(head -c 2000 "$work/old.$part") <(head -c 2000 "$work/new.$part") | head -20
            exit 1
        fi
    done
    jobs=$((jobs + 1))
    points=$((points + rows))
done <"$work/ids"
rm -rf "$work"
echo "diff_points: seed $seed, $jobs jobs, $points point rows, no difference"
