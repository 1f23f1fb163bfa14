#!/usr/bin/env bash
# Times "hechuan-cli area" on one parcel of N vertices (default 1000000): grid input,
# and geographic input against GeographicLib's Planimeter on the same vertices and
# ellipsoid, printing both results to compare. Times are processor seconds (user +
# system), which other work on the machine disturbs less than the elapsed time.
# Usage: scripts/area_timing.sh [build folder] [vertices]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
n=${2:-1000000}
cli="$build/cli/hechuan-cli"
command -v Planimeter >/dev/null || { echo "Planimeter (geographiclib-tools) is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A smooth simple parcel of about 5 km radius.
python3 - "$n" "$work" <<'PY'
import math, sys
n, work = int(sys.argv[1]), sys.argv[2]
with open(f"{work}/grid.txt", "w") as g, open(f"{work}/geo.txt", "w") as p, \
        open(f"{work}/planimeter.txt", "w") as q:
    for i in range(n):
        t = 2 * math.pi * i / n
        r = 1 + 0.05 * math.sin(7 * t)
        g.write("%d,%.3f,%.3f\n" % (i, 3527402.118 + 5000 * r * math.cos(t),
                                     39476233.512 + 5000 * r * math.sin(t)))
        # Latitude and longitude in whole 1/10000 seconds, packed and as d m s.
        lat = round((31.8 + 0.045 * r * math.sin(t)) * 36000000)
        lon = round((117.3 + 0.053 * r * math.cos(t)) * 36000000)
        def packed(v):
            return "%d.%02d%06d" % (v // 36000000, v % 36000000 // 600000, v % 600000)
        def dms(v):
            return "%dd%02d'%02d.%04d\"" % (v // 36000000, v % 36000000 // 600000,
                                            v % 600000 // 10000, v % 10000)
        p.write("%d,%s,%s\n" % (i, packed(lat), packed(lon)))
        q.write("%s %s\n" % (dms(lat), dms(lon)))
PY

# Runs a command on the files; prints its processor time (user + system), seconds.
seconds() {
  /usr/bin/time -f "%U %S" -o "$work/time" "$@" >"$work/out" 2>"$work/err" || true
  awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}
echo "vertices: $n"
echo "hechuan-cli area (grid):          $(seconds "$cli" area < "$work/grid.txt") s"
sed -n 2p "$work/out"
t_cli=$(seconds "$cli" area --geographic --ellipsoid 2000 --decimals 1 < "$work/geo.txt")
cli_row=$(sed -n 2p "$work/out")
t_pl=$(seconds Planimeter -e 6378137 1/298.257222101 < "$work/planimeter.txt")
pl_row=$(cat "$work/out")
echo "hechuan-cli area --geographic:    $t_cli s"
echo "Planimeter:                       $t_pl s"
echo "ratio:                            $(awk -v a="$t_cli" -v b="$t_pl" 'BEGIN { printf "%.2f", a / b }')"
echo "hechuan-cli: $cli_row"
echo "Planimeter:  $pl_row"
