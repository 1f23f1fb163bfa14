#!/usr/bin/env python3
"""Formula inputs for scripts/diff_builds.sh: seeded jobs for `hechuan-cli eval`.

Writes into OUTDIR/jobs/ one file pair per job: <id>.args (the arguments after the
program, NUL-separated) and <id>.in (standard input, absent when the formulas travel
as arguments), and prints one line per job to standard output: "<id> <kind> <count>".

Kinds:
  eval    a batch of formulas on standard input, one per line, one process
  single  one formula (sometimes two or three) per process, on standard input or as
          arguments after "--", so that exit codes are compared per formula
  usage   a bad or odd option set; only the exit code and whether anything was
          written to standard output are compared, since the option texts are free

Every job draws from its own generator seeded by (seed, job id), so one job can be
re-created alone and the work can be split with --part K/N.
"""

import argparse
import os
import random

# --- formula pieces --------------------------------------------------------------

FUNCTIONS = [
    "sin", "cos", "tan", "cot", "sec", "csc",
    "arcsin", "arccos", "arctan", "arccot", "arcsec", "arccsc",
    "sh", "ch", "th", "cth", "lg", "ln",
]
# Names the formula language does not have, and spellings the keypad or users write.
NON_FUNCTIONS = ["log", "exp", "sqrt", "abs", "e", "b", "ab", "arc", "si", "co", "sinh",
                 "Sin", "COS", "Tan", "ARCSIN", "Ln", "LG", "d", "k", "q"]
KEYPAD_TEXTS = ["^(1/2)", "^(1/3)", "^(1/)", "^(1/8)", "^2", "1/", "( lg()/lg() )", "sin()",
                "cos()", "tan()", "cot()", "arcsin()", "arccos()", "arctan()", "arccot()",
                "sh()", "ch()", "th()", "cth()", "sec()", "csc()", "arcsec()", "arccsc()",
                "ln()", "lg()", " r ", " s ", " z ", "π", "ε", "E", "n!", "空格", "随机数"]
VARIABLES = list("rstuvwxyz")
VARIABLE_FORMS = VARIABLES + list("RSTUVWXYZ") + [chr(0xFF52 + i) for i in range(9)]
CONSTANTS = ["π", "pi", "PI", "Pi", "ε", "∏", "Π"]

OPERATORS = {
    "+": ["+"] * 8 + ["＋", "加", "正", "╋", "┼"],
    "-": ["-"] * 8 + ["－", "减", "负", "—", "_", "＿", "±", "─", "━", "―"],
    "*": ["*"] * 8 + ["×", "＊", "乘", "χ", "乘以"],
    "/": ["/"] * 8 + ["÷", "／", "除", ":", "：", "|", "｜", "除以"],
    "\\": ["\\"] * 4 + ["余", "＼"],
    "^": ["^"] * 6 + ["＾", "^^", "**"],
}
POSTFIX = {"!": ["!", "!", "！"], "%": ["%", "%", "％"]}
POINTS = ["."] * 12 + ["．", "。", "·", "、", "点"]
BRACKETS = [("(", ")")] * 12 + [
    ("（", "）"), ("[", "]"), ("【", "】"), ("{", "}"), ("<", ">"), ("《", "》"),
    ("「", "」"), ("〔", "〕"), ("［", "］"), ("｛", "｝"), ("『", "』"), ("〖", "〗"),
    ("〈", "〉"), ("＜", "＞"), ("(", "]"), ("【", ")"),
]
FULL_DIGITS = "０１２３４５６７８９"
CHINESE_DIGITS = ["零另", "壹一", "贰二", "叁三", "肆四", "伍五", "陆六", "柒七", "捌八", "玖九"]
SPACES = [" "] * 6 + ["　", "  ", "\t"]
WORDS = ["以", "等于", "＝", "=", "≈", "≠", "?", "？", "示例", "计算", "，", "、", "；",
         "十", "百", "的", "直角三角型的弦长", "米", "度", "≡"]
SPECIAL_NUMBERS = [
    "0", "1", "0.1", "2", "10", "100", "1000", "0.5", ".5", "5.", "00012", "000",
    "79228162514264337593543950335", "79228162514264337593543950336",
    "7922816251426433759354395033.5", "1E-28", "1E-29", "0.0000000000000000000000000001",
    "0.00000000000000000000000000005", "3.1415926535897932384626433833",
    "2.7182818284590452353602874714", "1E+28", "1e+15", "1E15", "9.99999999999999E+14",
    "1E-4", "1E-5", "1.5e-3", "2e5", "1e3", "1E+30", "1e-30", "1e308", "1e309", "1e-324",
    "4.94e-324", "1.7976931348623157e308", "26", "27", "170", "171", "45.595999", "30",
    "45", "60", "90", "180", "270", "360", "57.295779513082320876798154814",
    "1.5707963267948966192313216916", "0.7853981633974483", "123456789012345678901234567890",
]
ANGLES = ["0", "30", "45", "60", "90", "120", "135", "150", "180", "270", "360", "720",
          "-30", "-90", "45.3", "30.3015", "89.5959", "0.0001", "1.5707963267948966",
          "3.1415926535897932384626433833"]


def digits(rng, n, lead_zero_ok=True):
    s = "".join(rng.choice("0123456789") for _ in range(n))
    if not lead_zero_ok and s and s[0] == "0":
        s = rng.choice("123456789") + s[1:]
    return s


def plain_number(rng):
    """A number text in ASCII: integers, decimals up to 30 digits, exponents."""
    k = rng.random()
    if k < 0.15:
        return rng.choice(SPECIAL_NUMBERS)
    if k < 0.40:
        return digits(rng, rng.choice([1, 1, 1, 2, 2, 3, 4, 6, 10, 15, 20, 28, 29, 30]),
                      lead_zero_ok=rng.random() < 0.05)
    if k < 0.75:
        total = rng.choice([2, 3, 4, 5, 8, 12, 15, 16, 20, 28, 29, 30])
        ip = rng.randint(0, total - 1)
        s = digits(rng, ip, lead_zero_ok=False) + "." + digits(rng, total - ip)
        if ip == 0 and rng.random() < 0.6:
            s = "0" + s
        return s
    if k < 0.93:
        mant = plain_number_simple(rng)
        e = rng.choice(["e", "E"])
        sign = rng.choice(["", "+", "-", "+", "-"])
        exp = str(rng.choice([0, 1, 2, 3, 5, 10, 14, 15, 16, 20, 27, 28, 29, 30, 31, 40, 100,
                              300, 308, 309, 320, 400, rng.randint(0, 60)]))
        return mant + e + sign + exp
    return rng.choice(ANGLES)


def plain_number_simple(rng):
    if rng.random() < 0.5:
        return digits(rng, rng.randint(1, 3), lead_zero_ok=False)
    return digits(rng, rng.randint(1, 2), lead_zero_ok=False) + "." + digits(rng, rng.randint(1, 6))


def dress_number(rng, s):
    """Writes a number as users do: full-width or Chinese digits, other decimal points."""
    k = rng.random()
    if k < 0.80:
        return s
    out = []
    for c in s:
        if c.isdigit():
            if k < 0.90:
                out.append(FULL_DIGITS[int(c)])
            else:
                out.append(rng.choice(CHINESE_DIGITS[int(c)]))
        elif c == ".":
            out.append(rng.choice(POINTS))
        elif c == "+" and rng.random() < 0.5:
            out.append("＋")
        elif c == "-" and rng.random() < 0.5:
            out.append("－")
        else:
            out.append(c)
    return "".join(out)


def number(rng):
    return dress_number(rng, plain_number(rng))


def op(rng, sym):
    return rng.choice(OPERATORS[sym])


def sp(rng):
    return rng.choice(SPACES) if rng.random() < 0.15 else ""


def bracket(rng, inner):
    o, c = rng.choice(BRACKETS)
    return o + sp(rng) + inner + sp(rng) + c


def function_call(rng, depth):
    name = rng.choice(FUNCTIONS)
    if rng.random() < 0.1:
        name = name.upper() if rng.random() < 0.5 else name.capitalize()
    k = rng.random()
    if k < 0.55:
        return name + bracket(rng, expr(rng, depth + 1))
    if k < 0.75:
        return name + rng.choice(ANGLES + ["1", "0.5", "2", "-1", "100", "1e3"])
    if k < 0.85:
        return name + sp(rng) + number(rng)
    if k < 0.92:
        return name + "()"
    return name + op(rng, "-") + rng.choice(FUNCTIONS) + rng.choice(ANGLES)


def atom(rng, depth):
    k = rng.random()
    if k < 0.50:
        return number(rng)
    if k < 0.62:
        return rng.choice(VARIABLE_FORMS)
    if k < 0.68:
        return rng.choice(CONSTANTS)
    if k < 0.90:
        return function_call(rng, depth)
    if k < 0.95:
        return rng.choice(NON_FUNCTIONS) + bracket(rng, number(rng))
    # implicit multiplication: 2r, 2π, 2(3), (1)(2), r2, 5!2
    forms = [
        lambda: plain_number_simple(rng) + rng.choice(VARIABLES),
        lambda: plain_number_simple(rng) + rng.choice(["π", "ε", "pi"]),
        lambda: plain_number_simple(rng) + bracket(rng, expr(rng, depth + 1)),
        lambda: bracket(rng, expr(rng, depth + 1)) + bracket(rng, expr(rng, depth + 1)),
        lambda: rng.choice(VARIABLES) + plain_number_simple(rng),
        lambda: plain_number_simple(rng) + "!" + plain_number_simple(rng),
        lambda: "π" + plain_number_simple(rng),
        lambda: rng.choice(VARIABLES) + rng.choice(VARIABLES),
        lambda: plain_number_simple(rng) + rng.choice(FUNCTIONS) + bracket(rng, number(rng)),
    ]
    return rng.choice(forms)()


def expr(rng, depth=0):
    if depth > 4 or rng.random() < 0.30 + 0.12 * depth:
        return atom(rng, depth)
    k = rng.random()
    if k < 0.55:
        sym = rng.choice(["+", "-", "*", "/", "+", "-", "*", "/", "\\", "^"])
        return expr(rng, depth + 1) + sp(rng) + op(rng, sym) + sp(rng) + expr(rng, depth + 1)
    if k < 0.70:
        return bracket(rng, expr(rng, depth + 1))
    if k < 0.80:
        return op(rng, rng.choice(["-", "+", "-"])) + expr(rng, depth + 1)
    if k < 0.90:
        sym = rng.choice(["!", "%"])
        return atom(rng, depth + 1) + rng.choice(POSTFIX[sym])
    if k < 0.95:
        return expr(rng, depth + 1) + op(rng, "^") + op(rng, "-") + atom(rng, depth + 1)
    return expr(rng, depth + 1) + rng.choice(OPERATORS["*"] + OPERATORS["/"]) + op(rng, "-") + \
        atom(rng, depth + 1)


def realistic(rng):
    f = expr(rng)
    k = rng.random()
    if k < 0.05:
        f = rng.choice(WORDS) + f
    elif k < 0.10:
        f = f + rng.choice(WORDS + ["=", "＝", "=?", "。"])
    elif k < 0.13:
        f = rng.choice(KEYPAD_TEXTS) + f
    elif k < 0.16:
        f = f + rng.choice(KEYPAD_TEXTS)
    if rng.random() < 0.05:
        f = rng.choice(SPACES) + f + rng.choice(SPACES)
    return f


FORMULA_ALPHABET = ("0123456789.+-*/\\^!%()eErstuvwxyzabcdfghijklmnopq πε"
                    "（）＋－×÷加减乘除余、。，：！％＾点一二三零［］【】{}<>|_=?")


def random_valid_utf8(rng, n, allow_nul):
    out = []
    for _ in range(n):
        k = rng.random()
        if k < 0.3:
            cp = rng.randint(0x20, 0x7E)
        elif k < 0.5:
            cp = rng.randint(0x80, 0x7FF)
        elif k < 0.8:
            cp = rng.randint(0x800, 0xFFFF)
        elif k < 0.9:
            cp = rng.randint(0x10000, 0x10FFFF)
        else:
            cp = rng.choice([0x09, 0x0B, 0x0C, 0x1B, 0x7F, 0x85, 0xA0, 0xAD, 0x200B, 0x2028,
                             0x2029, 0xFEFF, 0xFFFD, 0xFFFE, 0xFFFF, 0x3000, 0x1F600,
                             0x00 if allow_nul else 0x01])
        if 0xD800 <= cp <= 0xDFFF or cp in (0x0A, 0x0D):
            cp = 0xFFFD
        out.append(chr(cp))
    return "".join(out)


def mutate(rng, f):
    """Breaks a formula: unbalanced brackets, doubled or dropped characters, junk."""
    for _ in range(rng.randint(1, 3)):
        k = rng.random()
        pos = rng.randint(0, len(f))
        if k < 0.2:
            f = f[:pos] + rng.choice("()（）[]") + f[pos:]
        elif k < 0.35 and f:
            idx = [i for i, c in enumerate(f) if c in "()（）[]【】{}<>"]
            if idx:
                i = rng.choice(idx)
                f = f[:i] + f[i + 1:]
        elif k < 0.5 and f:
            f = f[:pos] + f[pos + 1:]
        elif k < 0.65:
            f = f[:pos] + rng.choice(FORMULA_ALPHABET) + f[pos:]
        elif k < 0.75:
            f = f[:pos] + rng.choice(["+*", "*/", "^^", "--", "+-", "-+", "(*", "*)", "()", "..",
                                      "e", "e-", "E+", "!!", "%%", "\\\\", ")(", "1e"]) + f[pos:]
        elif k < 0.85:
            f = f[:pos]
        else:
            f = f[:pos] + random_valid_utf8(rng, rng.randint(1, 4), False) + f[pos:]
    return f


def long_formula(rng):
    k = rng.random()
    target = rng.choice([500, 1000, 2000, 3000, 4000])
    if k < 0.35:
        parts = []
        n = 0
        while n < target:
            p = realistic(rng)
            parts.append(p)
            n += len(p) + 1
        return op(rng, rng.choice(["+", "*", "-"])).join(parts)
    if k < 0.55:
        d = rng.randint(50, min(target // 2, 1500))
        o, c = rng.choice(BRACKETS[:14])
        return o * d + number(rng) + c * (d - rng.choice([0, 0, 0, 1, -1]))
    if k < 0.70:
        return digits(rng, target) if rng.random() < 0.5 else \
            "0." + digits(rng, target) + rng.choice(["", "e-5", "*2"])
    if k < 0.85:
        name = rng.choice(FUNCTIONS)
        d = target // (len(name) + 2)
        return (name + "(") * d + "1" + ")" * d
    return "".join(rng.choice(FORMULA_ALPHABET) for _ in range(target))


def odd_line(rng, allow_nul):
    return rng.choice([
        "", "", " ", "   ", "　", "\t", "\t1+1", " \t1", "\x0b2", "==", "？", "示例", "﹌", "\ufeff1+2",
        "空算式错误", " 空算式错误 ", "e", "E", "2e", "2ex", ".", "-", "+", "(", ")", "()", "%",
        "!", "π", "ε", "pi", "rs", "sinsin30", "1/0", "0/0", "0^0", "0^-1", "-8^(1/3)", "27!",
        "26!", "0!", "-5!", "1e-5!", "sec(π/2)", "csc(0)", "cth(0)", "tan(π/2)", "cot(0)",
        "sh(100)", "th(100)", "lg(0)", "ln(-1)", "arcsin(2)", "arccos(-1)", "arctan(1)",
        "4\\-3", "-5.12\\3", "5\\0", "1e3+1", "2e-5-3", "2e+3", "(1+2", "1)+(2", "2^3^2", "-2^2",
        "-3^-2", "50%", "200*50%", "((2))", "sin(cos(30))", "r*s*t*u*v*w*x*y*z", "(r^2+s^2)^0.5",
        "3-r", "r^2", "2*b", "123.45_____", "-。11加[2.2-3。3]乘以-2",
        "示例  计算直角三角型的弦长  （r^2 + s^2) ^ 0.5",
        "\x00" if allow_nul else "\x01",
    ])


def formula(rng, allow_nul=True):
    k = rng.random()
    if k < 0.60:
        return realistic(rng)
    if k < 0.85:
        return mutate(rng, realistic(rng))
    if k < 0.91:
        return "".join(rng.choice(FORMULA_ALPHABET) for _ in range(rng.randint(1, 40)))
    if k < 0.95:
        return random_valid_utf8(rng, rng.randint(1, 30), allow_nul)
    if k < 0.995:
        return odd_line(rng, allow_nul)
    return long_formula(rng)


# --- option sets -----------------------------------------------------------------

VAR_VALUES = ["-2", "-2.5", "0", "1", "3.14159", "1E+30", "1e-30", "-0.0001", "1/3", "５",
              " 5", ".5", "-.5e3", "1,000", "123456789012345678901234567890",
              "79228162514264337593543950335", "0.0000000000000000000000000001", "45.3015",
              "90", "-1", "1.5707963267948966192313216916", "100", "1e15", "-7"]


def option_set(rng):
    args = ["eval"]
    opts = []
    if rng.random() < 0.9:
        opts.append(["--angle", rng.choice(["rad", "deg", "dms"])])
    if rng.random() < 0.9:
        opts.append(["--decimals", str(rng.choice([0, 2, 15, 28, 0, 2, 15, 28, rng.randint(0, 28)]))])
    if rng.random() < 0.6:
        opts.append(["--status"])
    if rng.random() < 0.2:
        opts.append(["--display"])
    if rng.random() < 0.3:
        for v in rng.sample(VARIABLES, rng.randint(1, 4)):
            opts.append(["--var", v + "=" + rng.choice(VAR_VALUES)])
    rng.shuffle(opts)
    for o in opts:
        if len(o) == 2 and rng.random() < 0.3:
            args.append(o[0] + "=" + o[1])
        else:
            args.extend(o)
    return args


# Odd and bad option sets: the exit code (0, 1 or 2) must agree.
USAGE_CASES = [
    ["eval", "--help"], ["eval", "--decimals", "29"], ["eval", "--decimals", "-1"],
    ["eval", "--decimals", "x"], ["eval", "--decimals"], ["eval", "--angle", "grad"],
    ["eval", "--angle"], ["eval", "--var", "a=1"], ["eval", "--var", "r=abc"],
    ["eval", "--var", "r=1e400"], ["eval", "--var", "r"], ["eval", "--var", "rr=1"],
    ["eval", "--bogus"], ["eval", "--decimals=3", "1/3"], ["eval", "--", "--5"],
    ["eval", "1+1", "1/0"], ["eval", "1+1", "2"], [], ["--help"], ["nope"],
]


def write_job(outdir, jid, args, stdin_text):
    base = os.path.join(outdir, "jobs", jid)
    with open(base + ".args", "wb") as f:
        f.write(b"".join(a.encode("utf-8") + b"\0" for a in args))
    if stdin_text is not None:
        with open(base + ".in", "wb") as f:
            f.write(stdin_text.encode("utf-8"))


def batch_job(seed, i, size, outdir):
    rng = random.Random(f"{seed}/e{i}")
    args = option_set(rng)
    lines = [formula(rng) for _ in range(size)]
    eol = "\r\n" if rng.random() < 0.05 else "\n"
    text = eol.join(lines) + ("" if rng.random() < 0.05 else eol)
    write_job(outdir, f"e{i:05d}", args, text)
    return f"e{i:05d} eval {size}"


def single_job(seed, i, outdir):
    rng = random.Random(f"{seed}/s{i}")
    args = option_set(rng)
    k = rng.random()
    if k < 0.6:
        f = formula(rng)
        write_job(outdir, f"s{i:05d}", args, f + "\n")
        return f"s{i:05d} single 1"
    # As arguments after "--" so that a formula starting with "-" is not an option.
    n = 1 if k < 0.9 else rng.randint(2, 3)
    fs = [formula(rng, allow_nul=False) for _ in range(n)]
    write_job(outdir, f"s{i:05d}", args + ["--"] + fs, None)
    return f"s{i:05d} single {n}"


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--seed", type=int, required=True)
    ap.add_argument("--count", type=int, required=True, help="formulas in batches")
    ap.add_argument("--singles", type=int, required=True, help="one-process formula jobs")
    ap.add_argument("--batch", type=int, default=4000, help="formulas per batch")
    ap.add_argument("--part", default="0/1", help="K/N: write only jobs K, K+N, K+2N, ...")
    ap.add_argument("outdir")
    a = ap.parse_args()
    k, n = (int(x) for x in a.part.split("/"))
    os.makedirs(os.path.join(a.outdir, "jobs"), exist_ok=True)
    sizes = []
    left = a.count
    a.batch = max(100, min(a.batch, a.count // 20))  # small runs still vary the options
    while left > 0:
        sizes.append(min(a.batch, left))
        left -= sizes[-1]
    jobs = [("e", i) for i in range(len(sizes))] + [("s", i) for i in range(a.singles)]
    if k == 0:
        jobs += [("u", i) for i in range(len(USAGE_CASES))]
    for j, (kind, i) in enumerate(jobs):
        if kind != "u" and j % n != k:
            continue
        if kind == "e":
            print(batch_job(a.seed, i, sizes[i], a.outdir))
        elif kind == "s":
            print(single_job(a.seed, i, a.outdir))
        else:
            write_job(a.outdir, f"ue{i:03d}", USAGE_CASES[i], "1+1\n")
            print(f"ue{i:03d} usage 1")


if __name__ == "__main__":
    main()
