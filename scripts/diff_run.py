#!/usr/bin/env python3
"""Runs the jobs of scripts/diff_builds.sh on two hechuan-cli programs and compares them.

  diff_run.py WORKDIR OLD NEW [--workers 2]

Reads WORKDIR/jobs.list ("<id> <kind> <count>" per line) and the job files
WORKDIR/jobs/<id>.args and .in, runs every job on both programs, two at a time, and
writes one line per job to standard output: "same <id>" or "diff <id>". For a differing
job both programs' outputs are kept as WORKDIR/out/<id>.{old,new}.{out,err,rc}.
Processes are started directly rather than through a shell: most jobs are one formula
each, and their start-up is most of the work.
"""

import argparse
import os
import sys
import threading
from concurrent.futures import ThreadPoolExecutor

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
from diff_isolate import differs, run  # noqa: E402


def load(work, jid):
    base = os.path.join(work, "jobs", jid)
    with open(base + ".args", "rb") as f:
        args = [a.decode("utf-8") for a in f.read().split(b"\0")[:-1]]
    data = None
    if os.path.exists(base + ".in"):
        with open(base + ".in", "rb") as f:
            data = f.read()
    return args, data


def keep(work, jid, side, result):
    base = os.path.join(work, "out", f"{jid}.{side}")
    with open(base + ".out", "wb") as f:
        f.write(result[1])
    with open(base + ".err", "wb") as f:
        f.write(result[2])
    with open(base + ".rc", "w") as f:
        f.write(f"{result[0]}\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("work")
    ap.add_argument("old")
    ap.add_argument("new")
    ap.add_argument("--workers", type=int, default=2)
    a = ap.parse_args()
    jobs = []
    with open(os.path.join(a.work, "jobs.list")) as f:
        for line in f:
            jid, kind, count = line.split()
            jobs.append((int(count), jid, kind))
    jobs.sort(key=lambda j: -j[0])  # largest first, so that the workers finish together
    os.makedirs(os.path.join(a.work, "out"), exist_ok=True)
    lock = threading.Lock()

    def one(job):
        _, jid, kind = job
        args, data = load(a.work, jid)
        old = run(a.old, args, data)
        new = run(a.new, args, data)
        same = not differs(kind, old, new)
        if not same:
            keep(a.work, jid, "old", old)
            keep(a.work, jid, "new", new)
        with lock:
            print(("same " if same else "diff ") + jid, flush=True)

    with ThreadPoolExecutor(max_workers=a.workers) as pool:
        for f in [pool.submit(one, j) for j in jobs]:
            f.result()
    return 0


if __name__ == "__main__":
    sys.exit(main())
