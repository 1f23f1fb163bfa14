#!/usr/bin/env python3
"""Prints the 40-digit reference values kept in tests/tools/calculus_test.cpp.

Needs python3-mpmath. Each row is computed independently of the program, by mpmath's
own quadrature, differentiation and root finding at 60 digits (or in closed form where
there is one), and printed to 40 significant digits.
"""
from mpmath import mp, mpf, quad, diff, findroot, sin, cos, tan, exp, log, sqrt, pi, sinh, cosh, atan, asin, log10, inf, fresnelc, nsum, factorial, gamma

mp.dps = 60

INTEGRALS = [
    ("x^2", 0, 1, lambda x: x**2),
    ("x^5-3*x^2+1", -1, 2, lambda x: x**5 - 3 * x**2 + 1),
    ("x^10", 0, 1, lambda x: x**10),
    ("ε^x", 0, 1, exp),
    ("sin(x)", 0, pi, sin),
    ("cos(x)", 0, 1, cos),
    ("x*sin(x)", 0, pi, lambda x: x * sin(x)),
    ("sin(x)^2", 0, pi, lambda x: sin(x)**2),
    ("x^2*cos(x)", 0, 1, lambda x: x**2 * cos(x)),
    ("tan(x)", 0, 1, tan),
    ("1/(2+cos(x))", 0, 2 * pi, lambda x: 1 / (2 + cos(x))),
    ("ε^sin(x)", 0, 1, lambda x: exp(sin(x))),
    ("sh(x)", 0, 1, sinh),
    ("ch(x)", -1, 1, cosh),
    ("1/(1+x^2)", 0, 1, lambda x: 1 / (1 + x**2)),
    ("1/(1+x)", 0, 1, lambda x: 1 / (1 + x)),
    ("1/x", 1, 2, lambda x: 1 / x),
    ("1/(x^2+4)", -2, 2, lambda x: 1 / (x**2 + 4)),
    ("1/(1+x^4)", 0, 1, lambda x: 1 / (1 + x**4)),
    ("x/(1+x^2)^2", 0, 2, lambda x: x / (1 + x**2)**2),
    ("x^3*ε^x", 0, 2, lambda x: x**3 * exp(x)),
    ("2^x", 0, 3, lambda x: 2**x),
    ("ε^(0-x^2)", 0, 1, lambda x: exp(-x**2)),
    ("x^0.5", 0, 1, sqrt),
    ("(1-x^2)^0.5", -1, 1, lambda x: sqrt(1 - x**2)),
    ("ε^(0-x)", 0, inf, lambda x: exp(-x)),
    ("x^3*ε^(0-x)", 0, inf, lambda x: x**3 * exp(-x)),
    ("ε^(0-x^2)", -inf, inf, lambda x: exp(-x**2)),
    ("ε^x", -inf, 0, exp),
    ("1/x^0.5", 0, 1, lambda x: 1 / sqrt(x), mpf(2)),
    ("x^-0.3", 0, 1, lambda x: x**mpf("-0.3"), 1 / mpf("0.7")),
    ("1/(x-1)^0.5", 1, 2, lambda x: 1 / sqrt(x - 1), mpf(2)),
    ("(2-x)^-0.5", 1, 2, lambda x: 1 / sqrt(2 - x), mpf(2)),
    ("(1-x^2)^-0.5", -1, 1, lambda x: 1 / sqrt(1 - x**2), pi),
    # ∫ cos x / √x = √(2π) C(√(2/π)) with mpmath's Fresnel integral C.
    ("x^-0.5*cos(x)", 0, 1, lambda x: cos(x) / sqrt(x), sqrt(2 * pi) * fresnelc(sqrt(2 / pi))),
    ("ε^(0-x)/x^0.5", 0, inf, lambda x: exp(-x) / sqrt(x), sqrt(pi)),
    ("x^-1.5", 1, inf, lambda x: x**mpf("-1.5"), mpf(2)),
    ("x^-2", 1, inf, lambda x: x**-2, mpf(1)),
    # Σ 1/(n!(n + 0.3)), the series of x^-0.7 e^x taken term by term.
    ("x^-0.7*ε^x", 0, 1, lambda x: x**mpf("-0.7") * exp(x),
     nsum(lambda n: 1 / (factorial(n) * (n + mpf("0.3"))), [0, inf])),
    ("1/(1+x^2)", 0, inf, lambda x: 1 / (1 + x**2), pi / 2),
    ("(1+x^2)^-0.75", -inf, inf, lambda x: (1 + x**2)**mpf("-0.75"),
     sqrt(pi) * gamma(mpf("0.25")) / gamma(mpf("0.75"))),
    ("1/(1+x)^1.5", 0, inf, lambda x: (1 + x)**mpf("-1.5"), mpf(2)),
    ("ln(x)", 0, 1, log),
    ("x*ln(x)", 0, 1, lambda x: x * log(x)),
    ("ln(1+x)", 0, 1, lambda x: log(1 + x)),
    ("arctan(x)", 0, 1, atan),
    ("arcsin(x)", 0, 1, asin),
    ("lg(x)", 1, 10, log10),
    ("1/x^0.999", 0, 1, lambda x: x**mpf("-0.999"), 1 / (1 - mpf("0.999"))),
    ("1/x^0.9995", 0, 1, lambda x: x**mpf("-0.9995"), 1 / (1 - mpf("0.9995"))),
]

DERIVATIVES = [
    ("sin(x)", "1", 1, lambda x: sin(x)),
    ("cos(x)", "0.5", 1, cos),
    ("ε^x", "1", 1, exp),
    ("ε^x", "1", 2, exp),
    ("x^3", "2", 2, lambda x: x**3),
    ("1/(1+x^2)", "0.5", 1, lambda x: 1 / (1 + x**2)),
    ("tan(x)", "0.3", 1, tan),
    ("x^0.5", "2", 1, sqrt),
    ("sh(x)", "1", 2, sinh),
    ("x*ε^sin(x)", "-0.7", 1, lambda x: x * exp(sin(x))),
    ("sin(x)", "1000", 1, sin),
    ("ln(x)", "2", 1, log),
]

ROOTS = [
    ("x^2-2", 0, 2, lambda x: x**2 - 2),
    ("cos(x)-x", 0, 1, lambda x: cos(x) - x),
    ("x^3-x-1", 1, 2, lambda x: x**3 - x - 1),
    ("ε^x-3", 0, 2, lambda x: exp(x) - 3),
    ("sin(x)", 3, 4, sin),
    ("x^5+x-1", 0, 1, lambda x: x**5 + x - 1),
    ("ln(x)-1", 1, 4, lambda x: log(x) - 1),
]


def show(v):
    return mp.nstr(v, 40, strip_zeros=False)


print("integrals")
for text, a, b, f, *exact in INTEGRALS:
    # Where mpmath's quadrature falls short at an endpoint singularity, the closed form.
    value = exact[0] if exact else quad(f, [a, 0, b] if (a, b) == (-inf, inf) else [a, b])
    print(f'{text}\t{a}\t{b}\t{show(value)}')
print("derivatives")
for text, x0, order, f in DERIVATIVES:
    print(f'{text}\t{x0}\t{order}\t{show(diff(f, mpf(x0), order))}')
print("roots")
for text, a, b, f in ROOTS:
    print(f'{text}\t{a}\t{b}\t{show(findroot(f, (a, b), solver="anderson"))}')
