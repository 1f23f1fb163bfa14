#!/usr/bin/env python3
"""Point inputs for scripts/diff_builds.sh: seeded jobs for `hechuan-cli gk`.

Two steps, both with the same --seed, --count and --batch:

  gen_points.py seeds OUTDIR
      plans the jobs and writes, for every zone width and ellipsoid that a grid-input
      job needs, OUTDIR/seeds/<width>_<ellipsoid>.in: geographic points (packed d.mmss)
      that the calling script converts with the OLD program into
      OUTDIR/seeds/<width>_<ellipsoid>.out. Prints one line per seed file:
      "<width> <ellipsoid> <file stem>".
  gen_points.py jobs OUTDIR [--part K/N]
      writes the jobs: OUTDIR/jobs/<id>.args (arguments, NUL-separated) and
      OUTDIR/jobs/<id>.in (the data text), and prints "<id> <kind> <rows>" per job.
      Grid-input jobs take their coordinates from the converted seed files, reformatted
      for the job's separator, column order and name setting, and mixed with altered
      and malformed rows.

Kinds: "gk" (compared byte for byte) and "usage" (bad option sets: only the exit code
and whether standard output is empty are compared).
"""

import argparse
import os
import random

CONVERSIONS = [("jw", "1.5"), ("jw", "3"), ("jw", "6"), ("1.5", "jw"), ("3", "jw"), ("6", "jw"),
               ("1.5", "3"), ("3", "6"), ("3", "1.5"), ("6", "3")]
ELLIPSOIDS = ["BJ", "XA", "WGS"]
ELLIPSOID_SPELLINGS = {"BJ": ["BJ", "bj", "Bj"], "XA": ["XA", "xa"], "WGS": ["WGS", "wgs"]}
MERIDIANS = ["117", "117", "117", "118.5", "112.5", "114", "120", "93", "135", "141", "-117",
             "0", "1.5", "180", "-180", "121.5度", "117度-6", "102度", "+117", "117.0"]
SEPARATORS = [","] * 12 + [";", "tab", "Tab", " ", "|", "*", "/", "#", ":", "_", "\\", '"', "'",
                           "(", ")", "<", ">", "[", "]", "{", "}", "$", "%", "&", "!", "?", "@"]
NAME_PATTERNS = ["A{}", "P{:03d}", "点{}", "Ｚ{}", "例{}", "GPS-{}", "K{}+250", "控制点第{}号",
                 "T{} ", "BM{}", "x{}", "N{}a", "甲{}", "Ｐ{}", "pt_{}", "{}号"]
# Lines that are not data, or data that must be skipped or read oddly.
JUNK_LINES = ["示例提示:", "  序号  X纬度(北)  Y经度(东)  Z高程(H)", "备注", "----", "   ",
              "﹌﹌﹌以下为３度带北京系公里网坐标……单位【米】﹌﹌﹌", "●●●以下坐标为经纬度……度.分秒格式●●●",
              "\t", "　", "没有发现坐标数据！", "1", "12", "a,b,c", ",,,", "1,,2"]


def plan(seed, count, batch):
    """The job list: (id, from, to, ellipsoid, rows); the same in both steps."""
    rng = random.Random(f"{seed}/gk-plan")
    jobs = []
    left = count
    i = 0
    batch = max(50, min(batch, count // 60))  # small runs still cover every combination
    while left > 0:
        conv = CONVERSIONS[i % len(CONVERSIONS)]
        ell = ELLIPSOIDS[(i // len(CONVERSIONS)) % len(ELLIPSOIDS)]
        k = rng.random()
        rows = rng.randint(1, 40) if k < 0.15 else rng.randint(batch // 4, batch * 2)
        rows = min(rows, left)
        jobs.append((f"g{i:05d}", conv[0], conv[1], ell, rows))
        left -= rows
        i += 1
    return jobs


def packed(rng, lo, hi, neg=False):
    """A packed d.mmss text in lo..hi degrees, with 0-8 digits after the seconds."""
    d = rng.randint(lo, hi - 1)
    m = rng.randint(0, 59)
    s = rng.randint(0, 59)
    frac = "".join(rng.choice("0123456789") for _ in range(rng.choice([0, 0, 1, 2, 3, 4, 5, 8])))
    k = rng.random()
    if k < 0.05:
        text = str(d)
    elif k < 0.10:
        text = f"{d}.{m:02d}"
    else:
        text = f"{d}.{m:02d}{s:02d}{frac}"
    return ("-" if neg else "") + text


def odd_angle(rng, latitude):
    return rng.choice([
        "0", "90", "-90", "90.0001", "180", "180.0001", "-180", "359.5959", "45.6060",
        "45.9999", "30.3075", "1e1", "3.9e1", "+30.30", "30.30m", "30.3015度", "0.0000001",
        "1e400", "99999999999999999999", "-0", ".5", "5.", "--5", "30..30", "３０.３０",
        "30，30", packed(rng, 0, 90 if latitude else 180), packed(rng, 0, 90, neg=True),
    ])


def height(rng):
    k = rng.random()
    if k < 0.30:
        return None
    if k < 0.35:
        return rng.choice(["0", "0.0", "0.0004", "0.0005", "-0.0004", "-12.5", "abc", "12.5m",
                           "1e3", "99999.9995", "-0", "8848.86", "+3", ""])
    return f"{rng.uniform(-50, 4000):.{rng.randint(0, 4)}f}"


def name(rng, i):
    return rng.choice(NAME_PATTERNS).format(i)


def junk_line(rng, sep):
    k = rng.random()
    if k < 0.5:
        return rng.choice(JUNK_LINES)
    if k < 0.6:
        return "P9" + sep + "12"
    if k < 0.7:
        return "A1" + sep + "x" + sep + "y"
    if k < 0.8:
        return sep * rng.randint(1, 4)
    if k < 0.9:
        return "".join(rng.choice("0123456789.,;+-eE abc北京\t") for _ in range(rng.randint(1, 30)))
    return "".join(chr(rng.choice([rng.randint(0x21, 0x7E), rng.randint(0x4E00, 0x9FFF),
                                   rng.randint(0xFF01, 0xFF5E)])) for _ in range(rng.randint(1, 20)))


def geo_row(rng, i, sep, lat_first, clean=False):
    lat = packed(rng, 18, 54)
    lon = packed(rng, 73, 135)
    if not clean:
        k = rng.random()
        if k < 0.02:
            lat = odd_angle(rng, True)
        elif k < 0.04:
            lon = odd_angle(rng, False)
        elif k < 0.05:
            lat = packed(rng, 0, 90, neg=rng.random() < 0.5)
            lon = packed(rng, 0, 180, neg=rng.random() < 0.5)
    first, second = (lat, lon) if lat_first else (lon, lat)
    return assemble(rng, i, sep, first, second, None if clean else height(rng), clean)


def assemble(rng, i, sep, first, second, h, clean=False):
    cells = []
    if clean or rng.random() < 0.7:
        cells.append(name(rng, i))
    cells += [first, second]
    if h is not None:
        cells.append(h)
    if not clean and rng.random() < 0.02:
        cells.append(rng.choice(["extra", "1", ""]))
    line = sep.join(cells)
    if not clean and rng.random() < 0.03:
        line = rng.choice(["  ", "　", ""]) + line + rng.choice(["  ", "\t", ""])
    return line


def read_seed_rows(path):
    """(x, y, height or None) of each converted row of the OLD program's output."""
    rows = []
    with open(path, "rb") as f:
        for raw in f.read().decode("utf-8").split("\r\n"):
            cells = raw.split(" , ")
            if len(cells) < 3:
                continue
            x, y = cells[1], cells[2]
            if len(cells) > 3:
                h = cells[3].split(" ")[0]
            else:
                y = y.split(" ")[0]
                h = None
            rows.append((x, y, h))
    return rows


def alter_grid(rng, x, y):
    k = rng.random()
    if k < 0.80:
        return x, y
    try:
        xv, yv = float(x), float(y)
    except ValueError:
        return x, y
    if k < 0.90:
        return f"{xv + rng.uniform(-5000, 5000):.3f}", f"{yv + rng.uniform(-5000, 5000):.3f}"
    if k < 0.94:
        return x, f"{yv + rng.choice([-2, -1, 1, 2, 10]) * 1000000:.3f}"
    if k < 0.97:
        return f"{xv:.{rng.randint(0, 6)}f}", f"{yv:.{rng.randint(0, 6)}f}"
    return rng.choice([("0", "0"), ("0", "500000"), ("3000000", "999"), ("3000000", "70000000"),
                       ("10002201", "39500000"), ("-3000000", "-20400000"), ("0", "39500000"),
                       ("3379070.474", "1000999"), ("3379070.474", "20500000"),
                       ("3379070.474", "-39244764.725"), ("1e400", "1"), ("3e6", "3.95e7"),
                       ("4418685.812", "125000000"), ("4418685.812", "-122000000")])


def option_args(rng, frm, to, ell):
    opts = [["--from", frm], ["--to", to]]
    if ell != "BJ" or rng.random() < 0.5:
        opts.append(["--ellipsoid", rng.choice(ELLIPSOID_SPELLINGS[ell])])
    order = rng.choice(["xyz", "yxz", "xyz", "YXZ", None])
    if order:
        opts.append(["--order", order])
    if rng.random() < 0.6:
        opts.append(["--meridian", rng.choice(MERIDIANS)])
    sep = rng.choice(SEPARATORS) if rng.random() < 0.6 else None
    if sep:
        opts.append(["--separator", sep])
    if rng.random() < 0.3:
        opts.append(["--no-names"])
    rng.shuffle(opts)
    args = ["gk"]
    for o in opts:
        if len(o) == 2 and rng.random() < 0.25:
            args.append(o[0] + "=" + o[1])
        else:
            args.extend(o)
    text_sep = {None: ",", "tab": "\t", "Tab": "\t"}.get(sep, sep)
    return args, text_sep, (order or "xyz").lower() == "xyz"


def write_job(outdir, jid, args, text):
    base = os.path.join(outdir, "jobs", jid)
    with open(base + ".args", "wb") as f:
        f.write(b"".join(a.encode("utf-8") + b"\0" for a in args))
    with open(base + ".in", "wb") as f:
        f.write(text.encode("utf-8"))


def make_job(seed, job, seeds, outdir):
    jid, frm, to, ell, rows = job
    rng = random.Random(f"{seed}/{jid}")
    args, sep, lat_first = option_args(rng, frm, to, ell)
    swap_all = rng.random() < 0.1  # columns in the other order than the option says
    lines = []
    pool = seeds.get((frm, ell))
    start = rng.randrange(len(pool)) if pool else 0
    for i in range(rows):
        while rng.random() < 0.04:
            lines.append(junk_line(rng, sep))
        if frm == "jw":
            lines.append(geo_row(rng, i + 1, sep, lat_first != swap_all))
        else:
            x, y, h = pool[(start + i) % len(pool)]
            x, y = alter_grid(rng, x, y)
            if rng.random() < 0.05:
                h = height(rng)
            first, second = (x, y) if lat_first != swap_all else (y, x)
            lines.append(assemble(rng, i + 1, sep, first, second, h))
    # A blank first line means "no data" for the whole text; keep that rare.
    if lines and not lines[0].strip(" ") and rng.random() < 0.8:
        lines[0] = geo_row(rng, 0, sep, lat_first, clean=True) if frm == "jw" else "首行"
    if rng.random() < 0.02:
        lines.insert(0, rng.choice(["", " ", "\ufeff" + (lines[0] if lines else "")]))
    eol = rng.choice(["\n"] * 8 + ["\r\n", "\r"])
    text = eol.join(lines) + ("" if rng.random() < 0.05 else eol)
    write_job(outdir, jid, args, text)
    return f"{jid} gk {rows}"


USAGE_CASES = [
    ["gk", "--help"], ["gk"], ["gk", "--from", "jw"], ["gk", "--to", "3"],
    ["gk", "--from", "jw", "--to", "jw"], ["gk", "--from", "6", "--to", "1.5"],
    ["gk", "--from", "2", "--to", "jw"], ["gk", "--from", "jw", "--to", "3", "--ellipsoid", "CGCS"],
    ["gk", "--from", "jw", "--to", "3", "--order", "zyx"],
    ["gk", "--from", "jw", "--to", "3", "--meridian", "117.7"],
    ["gk", "--from", "jw", "--to", "3", "--meridian", "181"],
    ["gk", "--from", "jw", "--to", "3", "--meridian", "度"],
    ["gk", "--from", "jw", "--to", "3", "--separator", "xx"],
    ["gk", "--from", "jw", "--to", "3", "--separator", "."],
    ["gk", "--from", "jw", "--to", "3", "--no-names=1"],
    ["gk", "--from", "jw", "--to", "3", "--bogus"], ["gk", "--from", "jw", "--to"],
]


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("step", choices=["seeds", "jobs"])
    ap.add_argument("outdir")
    ap.add_argument("--seed", type=int, required=True)
    ap.add_argument("--count", type=int, required=True, help="points in all jobs")
    ap.add_argument("--batch", type=int, default=6000, help="typical rows per job")
    ap.add_argument("--part", default="0/1", help="K/N: write only jobs K, K+N, K+2N, ...")
    a = ap.parse_args()
    jobs = plan(a.seed, a.count, a.batch)
    seeddir = os.path.join(a.outdir, "seeds")
    if a.step == "seeds":
        os.makedirs(seeddir, exist_ok=True)
        need = {}
        for _, frm, _, ell, rows in jobs:
            if frm != "jw":
                need[(frm, ell)] = need.get((frm, ell), 0) + rows
        for (width, ell), rows in sorted(need.items()):
            rng = random.Random(f"{a.seed}/seed-{width}-{ell}")
            stem = f"{width}_{ell}"
            lines = [geo_row(rng, i + 1, ",", True, clean=rng.random() < 0.9)
                     for i in range(min(rows, 200000))]
            with open(os.path.join(seeddir, stem + ".in"), "wb") as f:
                f.write(("\n".join(lines) + "\n").encode("utf-8"))
            print(width, ell, stem)
        return
    k, n = (int(x) for x in a.part.split("/"))
    os.makedirs(os.path.join(a.outdir, "jobs"), exist_ok=True)
    seeds = {}
    for name_ in (os.listdir(seeddir) if os.path.isdir(seeddir) else []):
        if name_.endswith(".out"):
            width, ell = name_[:-4].split("_")
            seeds[(width, ell)] = read_seed_rows(os.path.join(seeddir, name_))
    for j, job in enumerate(jobs):
        if j % n == k:
            if job[1] != "jw" and not seeds.get((job[1], job[3])):
                raise SystemExit(f"no converted seed points for {job[1]} {job[3]}")
            print(make_job(a.seed, job, seeds, a.outdir))
    if k == 0:
        for i, args in enumerate(USAGE_CASES):
            write_job(a.outdir, f"ug{i:03d}", args, "A1,30.3015,114.2030,25.5\n")
            print(f"ug{i:03d} usage 1")


if __name__ == "__main__":
    main()
