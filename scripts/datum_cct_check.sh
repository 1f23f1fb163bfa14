#!/usr/bin/env bash
# Compares `hechuan-cli datum --params` with PROJ's cct running the same seven-parameter
# similarity between geocentric steps, on random points across China, for both rotation
# conventions and several pairs of datums. Prints the largest difference in millimetres
# and exits 1 when it exceeds 0.1 mm.
#
# Usage: scripts/datum_cct_check.sh [BUILD_DIR] [POINTS]   (defaults: build, 100000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
points=${2:-100000}
cli=$PWD/$build/cli/hechuan-cli
[ -x "$cli" ] || { echo "no $cli: build it first" >&2; exit 2; }
command -v cct >/dev/null || { echo "cct not found: install proj-bin (scripts/deps.sh)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$cli" "$points" "$work" <<'PY'
import math, random, subprocess, sys
cli, n, work = sys.argv[1], int(sys.argv[2]), sys.argv[3]
ellipsoids = {"BJ": (6378245.0, 298.3), "XA": (6378140.0, 298.257),
              "WGS": (6378137.0, 298.257223563), "2000": (6378137.0, 298.257222101)}
params = dict(tx=-15.4171, ty=120.2583, tz=60.1229, rx=1.2345, ry=-0.8765, rz=2.5432, s=3.1415)
rng = random.Random(20261211)

def packed(deg):
    # d.mmss with 6 decimals of the seconds, and the degrees that text stands for.
    units = round(deg * 3600 * 10**6)
    d, rest = divmod(units, 3600 * 10**6)
    m, rest = divmod(rest, 60 * 10**6)
    return "%d.%02d%08d" % (d, m, rest), d + m / 60 + rest / 1e6 / 3600

def unpack(text):
    d, f = text.split(".")
    f = f.ljust(10, "0")
    return int(d) + int(f[:2]) / 60 + int(f[2:]) / 1e6 / 3600

rows, geo = [], []
for i in range(n):
    lat_t, lat = packed(rng.uniform(18, 53))
    lon_t, lon = packed(rng.uniform(73.6, 134.9))
    h = round(rng.uniform(-100, 5000), 4)
    rows.append("P%d,%s,%s,%.4f" % (i, lat_t, lon_t, h))
    geo.append("%.12f %.12f %.4f 0" % (lon, lat, h))
text = "\n".join(rows) + "\n"
worst = 0.0
for frm, to, model, convention in [("WGS", "BJ", "7", "position_vector"),
                                    ("2000", "XA", "7cf", "coordinate_frame"),
                                    ("BJ", "2000", "7cf", "coordinate_frame"),
                                    ("XA", "WGS", "7", "position_vector")]:
    line = model + " " + " ".join("%s=%r" % kv for kv in params.items())
    ours = subprocess.run([cli, "datum", "--params", line, "--from", frm + ":jw", "--to", to + ":jw"],
                          input=text.encode(), capture_output=True, check=True).stdout.decode()
    a, rf = ellipsoids[frm]
    b, rg = ellipsoids[to]
    pipeline = ("+proj=pipeline +step +proj=cart +a=%r +rf=%r +step +proj=helmert "
                "+x=%r +y=%r +z=%r +rx=%r +ry=%r +rz=%r +s=%r +convention=%s "
                "+step +inv +proj=cart +a=%r +rf=%r") % (
        a, rf, params["tx"], params["ty"], params["tz"], params["rx"], params["ry"], params["rz"],
        params["s"], convention, b, rg)
    ref = subprocess.run(["cct", "-d", "12"] + pipeline.split(), input=("\n".join(geo) + "\n").encode(),
                         capture_output=True, check=True).stdout.decode().split("\n")
    ours = [l for l in ours.split("\r\n") if l]
    ref = [l.split() for l in ref if l.strip()]
    assert len(ours) == len(ref) == n, (len(ours), len(ref))
    case_worst = 0.0
    for o, r in zip(ours, ref):
        f = o.split(",")
        lat, lon, h = unpack(f[1]), unpack(f[2]), float(f[3])
        rlon, rlat, rh = float(r[0]), float(r[1]), float(r[2])
        k = 6378137 * math.pi / 180
        d = math.sqrt(((lat - rlat) * k) ** 2 + ((lon - rlon) * k * math.cos(math.radians(rlat))) ** 2
                      + (h - rh) ** 2)
        case_worst = max(case_worst, d)
    print("%-5s -> %-5s %-4s %s: largest difference %.4f mm over %d points"
          % (frm, to, model, convention, case_worst * 1000, n))
    worst = max(worst, case_worst)
print("largest difference %.4f mm (output rounded to 1e-6 arc-second and 0.1 mm in height)"
      % (worst * 1000))
sys.exit(0 if worst <= 1e-4 else 1)
PY
