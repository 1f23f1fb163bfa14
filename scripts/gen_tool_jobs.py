#!/usr/bin/env python3
"""Tool subcommand inputs for scripts/diff_builds.sh: seeded jobs for `hechuan-cli`
angle, split, base, logic and stats.

  gen_tool_jobs.py OUTDIR --seed N --count N

Writes OUTDIR/jobs/<id>.args (the arguments after the program, NUL-separated) and
OUTDIR/jobs/<id>.in (standard input, absent when the values travel as arguments), and
prints "<id> tools <count>" per job. About COUNT values go through angle, split and base
in batches on standard input; logic gets one calculation per process and stats one
table per process (a few hundred of each). Numbers are ordinary, packed angles with
minutes or seconds above 60, digits of a wrong base, several points or signs, exponent
forms, huge magnitudes, blanks and stray text.
"""

import argparse
import os
import random

ANGLE_UNITS = ["rad", "deg", "dms"]
BASES = ["2", "8", "10", "16"]
LOGIC_OPS = ["add", "sub", "mul", "div", "pow", "mod", "and", "or", "xor", "nand", "nor",
             "加", "减", "乘", "除", "幂", "余", "与", "或", "异或", "与非", "或非"]
STRAY = ["", " ", "abc", "--1", "1..2", "1e400", "-1E-30", "1,5", "１２", "0x1F", "∞", "-",
         ".", "1 2", "\t3"]


def digits(rng, alphabet, n):
    return "".join(rng.choice(alphabet) for _ in range(n))


def decimal_number(rng):
    k = rng.random()
    if k < 0.5:
        s = digits(rng, "0123456789", rng.randint(1, 6))
        if rng.random() < 0.7:
            s += "." + digits(rng, "0123456789", rng.randint(1, 10))
    elif k < 0.7:  # packed angles near the minute and second limits
        s = f"{rng.randint(0, 359)}.{rng.randint(0, 99):02d}{rng.randint(0, 99):02d}"
        s += digits(rng, "0123456789", rng.randint(0, 6))
    elif k < 0.8:
        s = digits(rng, "123456789", 1) + digits(rng, "0123456789", rng.randint(20, 32))
    elif k < 0.9:
        s = f"{rng.uniform(-10, 10):.6f}E{rng.randint(-40, 40)}"
    else:
        return rng.choice(STRAY)
    return ("-" if rng.random() < 0.3 else "") + s


def base_number(rng, base):
    alphabet = {"2": "01", "8": "01234567", "10": "0123456789",
                "16": "0123456789ABCDEFabcdef"}[base]
    k = rng.random()
    if k < 0.75:
        s = digits(rng, alphabet, rng.randint(1, 40 if base == "2" else 14))
        if rng.random() < 0.4:
            s += "." + digits(rng, alphabet, rng.randint(1, 30))
        return ("-" if rng.random() < 0.3 else "") + s
    if k < 0.85:  # digits of a larger base, or a second point
        return digits(rng, "0123456789ABCDEF.", rng.randint(1, 12))
    if k < 0.9:
        return "1" * rng.randint(90, 130)
    return rng.choice(STRAY)


def write_job(outdir, jid, args, stdin_text):
    base = os.path.join(outdir, "jobs", jid)
    with open(base + ".args", "wb") as f:
        f.write(b"".join(a.encode("utf-8") + b"\0" for a in args))
    if stdin_text is not None:
        with open(base + ".in", "wb") as f:
            f.write(stdin_text.encode("utf-8"))


def lines_text(rng, values):
    eol = "\r\n" if rng.random() < 0.1 else "\n"
    return eol.join(values) + ("" if rng.random() < 0.1 else eol)


def stats_table(rng):
    sep = rng.choice(["*", ",", "\t", " ", ";"])
    labels = rng.randint(0, 3)
    rows = []
    for r in range(rng.randint(0, 60)):
        cells = [f"P{r}" for _ in range(labels)]
        cells += [decimal_number(rng) for _ in range(rng.randint(1, 6))]
        rows.append(sep.join(cells))
    args = ["stats", "--labels", str(labels)]
    if rng.random() < 0.8:
        args += ["--separator", sep]
    return args, lines_text(rng, rows)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--seed", type=int, required=True)
    ap.add_argument("--count", type=int, required=True)
    ap.add_argument("outdir")
    a = ap.parse_args()
    os.makedirs(os.path.join(a.outdir, "jobs"), exist_ok=True)
    rng = random.Random(f"{a.seed}/tools")
    batch = 2000
    per_tool = max(1, a.count // 3)
    n = 0
    for tool in ("angle", "split", "base"):
        left = per_tool
        while left > 0:
            size = min(batch, left)
            left -= size
            if tool == "angle":
                src, dst = rng.sample(ANGLE_UNITS, 2)
                args = ["angle", "--from", src, "--to", dst]
                values = [decimal_number(rng) for _ in range(size)]
            elif tool == "split":
                args = ["split"]
                values = [decimal_number(rng) for _ in range(size)]
            else:
                src, dst = rng.choice(BASES), rng.choice(BASES)
                args = ["base", "--from", src, "--to", dst]
                values = [base_number(rng, src) for _ in range(size)]
            jid = f"t{n:05d}"
            n += 1
            write_job(a.outdir, jid, args, lines_text(rng, values))
            print(f"{jid} tools {size}")
    for _ in range(min(600, max(50, a.count // 1000))):
        base = rng.choice(BASES)
        op = rng.choice(LOGIC_OPS)
        args = ["logic", "--base", base]
        if op in ("not", "非"):
            args += ["--", op, base_number(rng, base)]
        else:
            args += ["--", base_number(rng, base), op, base_number(rng, base)]
        jid = f"t{n:05d}"
        n += 1
        write_job(a.outdir, jid, args, None)
        print(f"{jid} tools 1")
    for _ in range(min(300, max(30, a.count // 2000))):
        args, text = stats_table(rng)
        jid = f"t{n:05d}"
        n += 1
        write_job(a.outdir, jid, args, text)
        print(f"{jid} tools 1")


if __name__ == "__main__":
    main()
