#pragma once
// Numerical calculus on a formula of the calculator with x as the variable: definite
// integrals, first and second derivatives, roots and the propagation of standard errors
// (中误差) through a formula in the memory variables r ... z.
//
// Every sample is the calculator's own value of the formula (28 decimal places, the
// angle unit and memory variables of the settings passed in), and the arithmetic on
// the samples is carried in Decimal. Functions that the engine computes in doubles
// (logarithms, inverse functions) are good to 15 significant digits: a result that
// depends on them says so and shows no more digits than that allows.
//
// The operations never throw except Cancelled: once `cancel` is set they stop between
// two samples and return with `cancelled` set.

#include <QList>
#include <QString>

#include "engine/calc_settings.h"
#include "engine/decimal.h"
#include "engine/notice.h"
#include "expr/cancel.h"

namespace hc {

struct CalculusResult {
    QString output;       // the output box text
    Notices notices;      // failures and warnings, in Chinese
    bool failed = false;  // no value could be given: `output` says why
    bool cancelled = false;
    Decimal value;        // the result (root, integral, derivative, propagated value)
    Decimal error;        // its estimated absolute error (standard error for propagation)
    int digits = 28;      // significant digits the samples allowed (15 with double functions)
    int evaluations = 0;  // samples of the formula taken
};

// ∫ f dx from `lower` to `upper`. The bounds are formulas of the calculator, or "∞",
// "inf", "-∞", "-inf" (also "+∞", "+inf"). Tanh-sinh quadrature on a finite range,
// exp-sinh and sinh-sinh on an infinite one. Where f grows towards a finite bound, or
// decays like a power of x towards infinity, the piece closer to the bound than the
// samples can go (or beyond where f drowns in its rounding) comes from C·v^p or
// C·v^p·ln v fitted to samples at whole decades of the distance v, and the error counts
// what the fits disagree by. Fails with the x where f cannot be computed, when the
// range does not read, when f does not decay towards an infinite bound, or when it
// grows like 1/distance at a finite one; warns when the step limit is reached before
// convergence.
CalculusResult integrate(const QString& f, const QString& lower, const QString& upper,
                         const CalcSettings& settings, const CancelFlag* cancel = nullptr);

// f'(x0) (order 1) or f''(x0) (order 2) by Richardson extrapolation of central
// differences, with the error estimate of the extrapolation table. x0 is a formula.
CalculusResult derive(const QString& f, const QString& x0, int order, const CalcSettings& settings,
                      const CancelFlag* cancel = nullptr);

// A root of f(x) = 0 between `a` and `b` (formulas) by Brent's method. Fails with a
// clear message when f(a) and f(b) have the same sign.
CalculusResult findRoot(const QString& f, const QString& a, const QString& b,
                        const CalcSettings& settings, const CancelFlag* cancel = nullptr);

// One input of error propagation: a memory variable r ... z with its value and its
// standard error, both formulas.
struct PropagationInput {
    QChar variable;
    QString value;
    QString standardError;
};

// A correlation coefficient between two inputs.
struct Correlation {
    QChar first;
    QChar second;
    QString coefficient;  // a formula, -1 ... 1
};

// Value of f at the input values and its standard error by first-order propagation,
// m² = Σ (∂f/∂vᵢ·mᵢ)² + 2 Σ ρᵢⱼ (∂f/∂vᵢ·mᵢ)(∂f/∂vⱼ·mⱼ), each partial derivative
// computed as derive() does; the output lists every input's share of m².
// Variables not given keep their value in `settings`.
CalculusResult propagate(const QString& f, const QList<PropagationInput>& inputs,
                         const QList<Correlation>& correlations, const CalcSettings& settings,
                         const CancelFlag* cancel = nullptr);

// propagate() with its inputs as the error window's box holds them, one a line:
// "r=VALUE±SE" ("+-" for "±") or "r,s=RHO"; blank lines are skipped. A line of
// neither form fails, naming its number.
CalculusResult propagateLines(const QString& f, const QString& lines, const CalcSettings& settings,
                              const CancelFlag* cancel = nullptr);

// Reads "r=VALUE±SE" ("+-" for "±"); false when it is not of that form.
bool parsePropagationInput(const QString& text, PropagationInput& out);
// Reads "r,s=RHO"; false when it is not of that form.
bool parseCorrelation(const QString& text, Correlation& out);

}  // namespace hc
