#pragma once
// Systems of linear equations solved exactly: typed as the augmented matrix or as
// equations in x1 ... xn or r ... z, answered with the unique solution, the
// inconsistent combination of equations, or the general solution in free parameters.

#include <QString>
#include <QStringList>
#include <vector>

#include "engine/calc_settings.h"
#include "engine/notice.h"
#include "expr/cancel.h"
#include "tools/rational_matrix.h"

namespace hc {

struct LinearSystem {
    RationalMatrix a;          // coefficients, one row per equation
    std::vector<mpq_class> b;  // right-hand sides
    QStringList names;         // the unknowns, in column order
    bool exact = true;         // no coefficient rests on a rounded value
};

struct SystemReading {
    bool ok = false;
    LinearSystem system;
    QString error;  // the first fault, naming its line (and column)
};

// Reads a system: when a line holds "=", every non-blank line is one equation, a sum of
// terms "coefficient·unknown" and constants on each side (unknowns x1, x2 ... or the
// letters r ... z, coefficients formulas of the calculator: "2x1+3x2=5",
// "(1/3)*y - z = sin(30)"); otherwise each line is a row of the augmented matrix,
// cells separated as in readMatrix, the last cell the right-hand side. Never throws
// but Cancelled.
SystemReading readLinearSystem(const QString& text, const QString& separator,
                               const CalcSettings& settings, const CancelFlag* cancel = nullptr);

enum class SolutionKind { Unique, None, Infinite };

// The answer. For Unique and Infinite: unknown i = constant[i] + sum over k of
// parameter[i][k] * t(k+1), where the free unknowns are `freeColumns` (t1 for the
// first); Unique has no parameters. For None: `combination` (whole numbers without a
// common factor, one per equation) adds the equations' left sides up to 0 and their
// right sides up to `contradiction`, which is not 0.
struct Solution {
    SolutionKind kind = SolutionKind::Unique;
    std::vector<mpq_class> constant;
    std::vector<std::vector<mpq_class>> parameter;
    std::vector<int> freeColumns;
    std::vector<mpz_class> combination;
    mpq_class contradiction;
};

// Solves a x = b exactly (a has b.size() rows). Throws Cancelled once `cancel` is set.
Solution solveLinearSystem(const RationalMatrix& a, const std::vector<mpq_class>& b,
                           const CancelFlag* cancel = nullptr);

struct SolveRun {
    QString output;  // the output box text
    bool failed = false;
    bool cancelled = false;
    Notices notices;
};

// The window's command: reads, solves and writes the answer in `style`. Never throws.
SolveRun runSolve(const QString& text, const QString& separator, const CalcSettings& settings,
                  const ValueStyle& style, const CancelFlag* cancel = nullptr);

}  // namespace hc
