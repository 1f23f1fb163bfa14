#!/usr/bin/env python3
"""Point lists for scripts/diff_points.sh: seeded jobs for `hechuan-cli bearing` and
`hechuan-cli attitude`.

  gen_point_lists.py --seed S --count N OUTDIR

writes N jobs: OUTDIR/<id>.args (arguments, one per line) and OUTDIR/<id>.in (the
point list text), and prints "<id> <rows>" per job. The lists mix survey-like grid points, packed
geographic points, huge and tiny values, repeated and missing names, blank and short
lines, text in number fields, full-width punctuation, Chinese names and the line
endings CR LF, LF and CR.
"""

import argparse
import os
import random


def number(rng):
    kind = rng.random()
    if kind < 0.55:
        return "%.3f" % rng.uniform(-5e6, 4.5e6)
    if kind < 0.7:
        return "%.6f" % rng.uniform(70, 140)
    if kind < 0.78:
        return str(rng.randint(-20, 20))
    if kind < 0.82:
        return rng.choice(["1E+28", "-7.9E+28", "1e-30", "0.0000001", "123456789012345678901234567"])
    if kind < 0.86:
        return rng.choice(["", " ", "abc", "1.2.3", "--5", "+7", "１２", "3．5", "1e5"])
    return "%.4f" % rng.uniform(-1000, 1000)


def name(rng, i):
    kind = rng.random()
    if kind < 0.75:
        return "P%d" % i
    if kind < 0.85:
        return rng.choice(["A001", "0", "测点1", "G4", "K1+200", ""])
    return "P%d" % rng.randint(0, max(1, i))  # repeated names


def line(rng, i, geographic):
    fields = [number(rng) for _ in range(rng.choice([3, 3, 3, 3, 2, 4, 1]))]
    if not geographic:
        fields.insert(0, name(rng, i))
    sep = rng.choice([",", ",", ",", "，", "；", " , ", "/", "\t"])
    text = sep.join(fields)
    if rng.random() < 0.05:
        text = rng.choice(["", "   ", "——", "汉字", ",,,", text + ",", "　" + text])
    return text


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=400)
    ap.add_argument("outdir")
    a = ap.parse_args()
    rng = random.Random(a.seed)
    os.makedirs(a.outdir, exist_ok=True)
    for job in range(a.count):
        geographic = rng.random() < 0.2
        rows = rng.choice([0, 1, 2, 3, 4, 7, 20, 100, 1000, 3000])
        eol = rng.choice(["\r\n", "\r\n", "\n", "\r"])
        lines = [line(rng, i, geographic) for i in range(rows)]
        text = eol.join(lines) + rng.choice([eol, "", eol + eol])
        command = rng.choice(["bearing", "bearing", "attitude"])
        args = [command]
        if rng.random() < 0.8:
            pick = rng.choice(["P0", "P1", "P5", "0", "A001", "G4", "none"])
            if rows and rng.random() < 0.5:
                pick = "P%d" % rng.randrange(rows)
            args += ["--origin" if command == "bearing" else "--start", pick]
        if command == "bearing" and geographic:
            args.append("--geographic")
        ident = "%05d" % job
        with open(os.path.join(a.outdir, ident + ".args"), "w", encoding="utf-8") as f:
            f.write("\n".join(args) + "\n")
        with open(os.path.join(a.outdir, ident + ".in"), "w", encoding="utf-8", newline="") as f:
            f.write(text)
        print(ident, rows)


if __name__ == "__main__":
    main()
