#pragma once
// The matrix window's operations: exact sums, products, powers, determinant, inverse,
// rank, trace, transpose and reduced row echelon form of typed matrices, and the
// result text of the window's output box.

#include <QString>
#include <optional>

#include "engine/calc_settings.h"
#include "engine/notice.h"
#include "expr/cancel.h"
#include "tools/rational_matrix.h"

namespace hc {

enum class MatrixOp { Add, Sub, Mul, Scale, Transpose, Det, Inverse, Rank, Trace, Power, Rref };

// "add" "sub" "mul" "scale" "transpose" "det" "inverse" "rank" "trace" "power" "rref".
std::optional<MatrixOp> matrixOpOfName(const QString& name);
QString matrixOpName(MatrixOp op);
// True for the operations that read a second matrix B, and for those that read the
// number k or n.
bool matrixOpTakesB(MatrixOp op);
bool matrixOpTakesNumber(MatrixOp op);

// Largest |n| of a power: beyond it the entries outgrow any window.
inline constexpr long kMaxMatrixPower = 10000;

// The exact result of one operation: a matrix, or a single value (det, rank, trace).
struct MatrixOutcome {
    bool ok = false;
    bool scalar = false;
    RationalMatrix matrix;
    mpq_class value;
    QString error;  // the reason when !ok
};

// `a`, `b` as read; `k` the factor of Scale or the exponent of Power (a whole number).
// Throws Cancelled once `cancel` is set.
MatrixOutcome computeMatrixOp(MatrixOp op, const RationalMatrix& a, const RationalMatrix& b,
                              const mpq_class& k, const CancelFlag* cancel = nullptr);

// Exact determinant and inverse of a square matrix (inverse: nothing when singular).
mpq_class determinant(const RationalMatrix& a, const CancelFlag* cancel = nullptr);
std::optional<RationalMatrix> inverse(const RationalMatrix& a, const CancelFlag* cancel = nullptr);
RationalMatrix multiply(const RationalMatrix& a, const RationalMatrix& b,
                        const CancelFlag* cancel = nullptr);
RationalMatrix reducedRowEchelon(const RationalMatrix& a, const CancelFlag* cancel = nullptr);

struct MatrixRun {
    QString output;  // the output box text (the result, or the reason it failed)
    bool failed = false;
    bool cancelled = false;  // stopped by the cancel flag: output says so
    Notices notices;
};

// The window's command: reads A (and B, or the number text `number` for k or n) with
// the cell separator (see readMatrix) and the angle unit and memory of `settings`,
// computes exactly and writes the result in `style`. A result that rests on rounded
// inputs, or shows rounded decimals, says so below it. Never throws.
MatrixRun runMatrixOperation(MatrixOp op, const QString& a, const QString& b, const QString& number,
                             const QString& separator, const CalcSettings& settings,
                             const ValueStyle& style, const CancelFlag* cancel = nullptr);

// A matrix as lines of cells in `style`, aligned in columns (decimals on their points),
// each line ended by "\n". `rounded` is set when a text is not its exact value.
QString matrixText(const RationalMatrix& m, const ValueStyle& style, bool* rounded = nullptr);

// The notes below a result.
QString roundedInputsNote();
QString roundedDecimalsNote(int decimals);
QString cancelledMatrixText();

}  // namespace hc
