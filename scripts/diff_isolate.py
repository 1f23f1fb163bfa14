#!/usr/bin/env python3
"""Narrows a job on which two hechuan-cli builds differ to its first differing input.

  diff_isolate.py WORKDIR OLD NEW JOB_ID KIND

Reads WORKDIR/jobs/<id>.args and .in as scripts/diff_builds.sh wrote them, halves the
input lines while one half alone still shows the difference, and prints a short
report: the option set, the input line(s), and both programs' exit code, standard
output and standard error. The narrowed input is saved as WORKDIR/isolated/<id>.in.
"""

import os
import shlex
import subprocess
import sys

TIMEOUT = 300
SHOWN_LINES = 4
SHOWN_CHARS = 220


def run(binary, args, data):
    """(exit code or "timeout", stdout, stderr); stdin is empty when data is None."""
    stdin = {"input": data} if data is not None else {"stdin": subprocess.DEVNULL}
    try:
        p = subprocess.run([binary] + args, capture_output=True, timeout=TIMEOUT, **stdin)
        return p.returncode, p.stdout, p.stderr
    except subprocess.TimeoutExpired:
        return "timeout", b"", b""


def differs(kind, old, new):
    if kind == "usage":
        return old[0] != new[0] or (old[1] == b"") != (new[1] == b"")
    return old != new


def split_lines(data):
    """Lines with their own line ends, so that joining them gives the text back."""
    lines = []
    start = 0
    i = 0
    while i < len(data):
        c = data[i:i + 1]
        if c == b"\r" and data[i + 1:i + 2] == b"\n":
            i += 1
        if c in (b"\n", b"\r"):
            lines.append(data[start:i + 1])
            start = i + 1
        i += 1
    if start < len(data):
        lines.append(data[start:])
    return lines


def shown(text):
    out = []
    for c in text:
        if c == "\t":
            out.append("\\t")
        elif c == "\r":
            out.append("\\r")
        elif ord(c) < 0x20 or 0x7F <= ord(c) < 0xA0 or c in "\u2028\u2029\ufeff":
            out.append(f"\\u{ord(c):04x}")
        else:
            out.append(c)
    s = "".join(out)
    return s if len(s) <= SHOWN_CHARS else s[:SHOWN_CHARS] + f"… ({len(s)} chars)"


def show_stream(label, mine, other):
    a = mine.decode("utf-8", "replace").removesuffix("\n").split("\n")
    b = other.decode("utf-8", "replace").removesuffix("\n").split("\n")
    first = next((i for i in range(max(len(a), len(b)))
                  if i >= len(a) or i >= len(b) or a[i] != b[i]), None)
    if mine == b"":
        print(f"    {label}: (empty)")
        return
    if first is None:
        print(f"    {label}: same as the other ({len(a)} lines)")
        return
    lo = max(0, min(first, len(a) - 1) - 1)
    print(f"    {label}: {len(a)} lines; from line {lo + 1}:")
    for i in range(lo, min(len(a), lo + SHOWN_LINES)):
        mark = ">" if i == first else " "
        print(f"     {mark}{i + 1:>6} | {shown(a[i])}")


def main():
    work, old_bin, new_bin, jid, kind = sys.argv[1:6]
    base = os.path.join(work, "jobs", jid)
    with open(base + ".args", "rb") as f:
        args = [a.decode("utf-8") for a in f.read().split(b"\0")[:-1]]
    has_input = os.path.exists(base + ".in")
    data = open(base + ".in", "rb").read() if has_input else None

    old = run(old_bin, args, data)
    new = run(new_bin, args, data)
    if not differs(kind, old, new):
        print(f"  job {jid}: no difference on a second run (timing or environment?)")
        return 1
    lines = split_lines(data or b"")
    total = len(lines)
    # A text that starts with a blank line holds no data for gk, so halves keep their
    # own first line; the difference may still need lines from both halves.
    while len(lines) > 1:
        half = len(lines) // 2
        for part in (lines[:half], lines[half:]):
            d = b"".join(part)
            o, n = run(old_bin, args, d), run(new_bin, args, d)
            if differs(kind, o, n):
                lines, old, new = part, o, n
                break
        else:
            break
    if has_input:
        os.makedirs(os.path.join(work, "isolated"), exist_ok=True)
        with open(os.path.join(work, "isolated", jid + ".in"), "wb") as f:
            f.write(b"".join(lines))

    print(f"  job {jid} ({kind}): options: {' '.join(shlex.quote(a) for a in args)}")
    if has_input:
        what = "input line" if len(lines) == 1 else f"{len(lines)} input lines (of {total})"
        print(f"    {what}, from {os.path.join(work, 'isolated', jid + '.in')}:")
        for ln in lines[:SHOWN_LINES]:
            print(f"      | {shown(ln.decode('utf-8', 'replace').rstrip(chr(10)).rstrip(chr(13)))}")
        if len(lines) > SHOWN_LINES:
            print(f"      | … {len(lines) - SHOWN_LINES} more")
    for name, mine, other in (("old", old, new), ("new", new, old)):
        print(f"  {name}: exit {mine[0]}")
        show_stream("stdout", mine[1], other[1])
        show_stream("stderr", mine[2], other[2])
    if has_input:
        print(f"  re-run: <prog> {' '.join(shlex.quote(a) for a in args)} < "
              f"{os.path.join(work, 'isolated', jid + '.in')}")
    else:
        print(f"  re-run: <prog> {' '.join(shlex.quote(a) for a in args)} < /dev/null")
    return 0


if __name__ == "__main__":
    sys.exit(main())
