#pragma once
// Exact rational matrices (GMP's mpq_class): reading cells typed as calculator
// formulas, fraction-free elimination, and the decimal and fraction texts of values.

#include <gmpxx.h>

#include <QString>
#include <QStringList>
#include <vector>

#include "engine/calc_settings.h"
#include "expr/cancel.h"

namespace hc {

// A rows x cols matrix of exact rationals, stored row by row.
struct RationalMatrix {
    int rows = 0;
    int cols = 0;
    std::vector<mpq_class> cells;

    RationalMatrix() = default;
    RationalMatrix(int r, int c) : rows(r), cols(c), cells(std::size_t(r) * std::size_t(c)) {}
    static RationalMatrix identity(int n);

    mpq_class& at(int r, int c) {
        return cells[std::size_t(r) * std::size_t(cols) + std::size_t(c)];
    }
    const mpq_class& at(int r, int c) const {
        return cells[std::size_t(r) * std::size_t(cols) + std::size_t(c)];
    }
    bool square() const { return rows == cols; }
};

bool operator==(const RationalMatrix& a, const RationalMatrix& b);

// Largest number of rows and of columns a typed matrix may have: beyond it the exact
// results grow past what a window can show or compute in reasonable time.
inline constexpr int kMaxMatrixOrder = 200;

// The value of one cell.
struct CellValue {
    bool ok = false;
    mpq_class value;
    // The value is the exact value of the formula; false when it rests on a rounded
    // figure (a sine, a root, π), which then enters as the calculator's 28-place value.
    bool exact = true;
    QString error;  // why the cell is no number (when !ok)
};

// Evaluates a cell typed as a formula of the main calculator (numbers, + - * / ^,
// brackets, functions, π, ε, the memory variables r ... z of `settings`, angles in
// its angle unit). Arithmetic on numbers and memory values is exact; anything else
// enters as the calculator's value at 28 decimal places and is marked not exact.
// Never throws but Cancelled.
CellValue evaluateCell(const QString& cell, const CalcSettings& settings,
                       const CancelFlag* cancel = nullptr);

// A matrix read from text: one row per line (blank lines skipped), cells separated by
// `separator` ("" for automatic: tab, comma or semicolon when the line has one, else
// runs of spaces). Full-width commas, semicolons and spaces count as their ASCII forms.
struct MatrixReading {
    bool ok = false;
    RationalMatrix matrix;
    bool exact = true;  // every cell exact
    QString error;      // the first fault, naming its row and column (1-based)
};

// Reads `text` as above. `name` ("A", "B") prefixes the messages. Refuses more than
// kMaxMatrixOrder rows or columns before evaluating anything. Never throws but Cancelled.
MatrixReading readMatrix(const QString& text, const QString& separator,
                         const CalcSettings& settings, const QString& name = QString(),
                         const CancelFlag* cancel = nullptr);

// The cells of one line split by `separator` as readMatrix splits them.
QStringList splitMatrixLine(const QString& line, const QString& separator);

// Fraction-free Gauss-Jordan elimination of an integer matrix, pivots searched in the
// first `pivotColumns` columns, top to bottom. On return the pivot rows come first;
// every pivot row has the value `scale` at its pivot and 0 in the other pivot columns,
// rows below the rank are the eliminated rest, and all entries are integers. The
// matrix is then `scale` times the reduced row echelon form of the input (in the pivot
// columns' part); `scale` is the determinant of the pivot submatrix times `sign`.
struct IntegerElimination {
    int rows = 0;
    int cols = 0;
    std::vector<mpz_class> cells;
    std::vector<int> pivots;  // pivot column of row 0, 1, ...
    mpz_class scale = 1;
    int sign = 1;                // (-1)^(row swaps)
    std::vector<int> rowOrigin;  // the input row each row came from

    mpz_class& at(int r, int c) {
        return cells[std::size_t(r) * std::size_t(cols) + std::size_t(c)];
    }
    const mpz_class& at(int r, int c) const {
        return cells[std::size_t(r) * std::size_t(cols) + std::size_t(c)];
    }
};

// Scales each row of `m` by the least common multiple of its denominators (the factors
// in `rowFactors`) and eliminates as above. Throws Cancelled when `cancel` is set.
IntegerElimination eliminate(const RationalMatrix& m, int pivotColumns,
                             std::vector<mpz_class>* rowFactors = nullptr,
                             const CancelFlag* cancel = nullptr);

// How a value is shown: rounded to `decimals` places (0-28, half away from zero,
// trailing zeros dropped), or as the exact fraction "p/q" ("p" for an integer).
struct ValueStyle {
    int decimals = 15;
    bool fractions = false;
};

// The text of `x` in `style`; `rounded`, when given, is set when the text is not x's
// exact value.
QString valueText(const mpq_class& x, const ValueStyle& style, bool* rounded = nullptr);

}  // namespace hc
