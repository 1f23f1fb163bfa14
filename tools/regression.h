#pragma once
// Linear least squares over the columns of a data text, computed exactly: the cells
// are read as the exact decimal fractions they spell, the sums of products and the
// normal equations are solved in integers and rationals (GMP), and only the square
// roots (standard errors, residual standard deviation, t values) are taken at the
// end, each figure rounded once to the digits shown.
//
// Models: y on one or more x columns (up to kMaxRegressionColumns), or a polynomial
// of degree 1-10 in one x column; with or without the constant term.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "engine/notice.h"
#include "expr/cancel.h"

namespace hc {

constexpr int kMaxRegressionColumns = 16;  // x columns of a multiple regression
constexpr int kMaxRegressionDegree = 10;   // degree of a polynomial
constexpr int kMaxRegressionDigits = 28;   // decimals or significant digits shown

struct RegressionOptions {
    // Columns numbered from 1, counting the cells after the label cells.
    int yColumn = 1;
    QList<int> xColumns{2};
    // Above 1: a polynomial of this degree in xColumns[0] (which must be the only x).
    int degree = 1;
    bool intercept = true;
    // One character of the statistics window's list or "Tab" (any case). A space
    // separates cells by runs of spaces and tabs, as columns pasted from a listing.
    QString separator = QStringLiteral("*");
    int labelCells = 0;       // 0-3 leading cells of each line that are labels
    bool residuals = false;   // also list fitted values and residuals per row
    bool significant = true;  // digits below are significant digits, else decimals
    int digits = 15;          // 1-28 significant digits, or 0-28 decimals
    bool plot = false;        // also give the rows as doubles for drawing (RegressionPlot)
};

// One figure as shown, "—" where it is undefined (a standard error of a fit without
// residual degrees of freedom, a t value over a zero standard error ...).
struct RegressionCoefficient {
    QString name;  // "常数项", "第 2 列", "x^3"
    QString estimate;
    QString standardError;
    QString tValue;
};

struct RegressionAnovaRow {
    QString source;  // "回归", "残差", "总计"
    QString sumOfSquares;
    long long degreesOfFreedom = 0;
    QString meanSquare;  // "" for the total row
    QString f;           // the regression row only
};

struct RegressionResidual {
    int line = 0;  // line of the data text, from 1
    QString y;
    QString fitted;
    QString residual;
};

// The fitted rows as doubles, for drawing; values beyond the double range are
// infinite.
struct RegressionPlot {
    QString model;          // "直线", "2 次多项式", "多元线性（2 个自变量）"
    QString yName;          // "第 1 列"
    QString xName;          // the one x column, "第 2 列"; empty for several
    std::vector<double> x;  // x of every row used (one x column only)
    std::vector<double> y;
    std::vector<double> fitted;
    // One x column: the coefficients of the fitted polynomial, constant first
    // (degree + 1 of them, the constant 0 without the constant term).
    std::vector<double> coefficients;
};

struct RegressionResult {
    bool ok = false;
    bool cancelled = false;  // stopped by the cancel flag; `failure` says so
    QString failure;         // why no fit was made (Chinese), when !ok
    long long n = 0;         // rows used
    QList<RegressionCoefficient> coefficients;
    QString residualStandardDeviation;
    QString rSquared;
    QString adjustedRSquared;
    QList<RegressionAnovaRow> anova;  // regression, residual, total
    QList<RegressionResidual> residuals;
    // The whole output box: the failure, or the model, coefficients, fit figures, the
    // analysis of variance table and (when asked) the residuals; lines end with "\n".
    QString text;
    Notices notices;      // rows left out, a separator switched ...
    RegressionPlot plot;  // with RegressionOptions::plot and a fit
};

// Fits the model to `data` (the statistics window's data text: lines ended by CR,
// LF or CR LF; characters normalised as there; blank lines skipped). A row with a
// blank cell in a used column is left out with a notice; a cell that is no number, a
// column that is constant or depends on others, too few rows or distinct x values
// fail with a message naming the rows and columns. A set `cancel` flag stops the
// work within a few milliseconds. Never throws but std::bad_alloc.
RegressionResult runRegression(const QString& data, const RegressionOptions& options,
                               const CancelFlag* cancel = nullptr);

// The regression window's controls as texts: the column boxes ("1", "2,3"), the
// degree and label-cell lists, the separator list entry; the check boxes and digit
// choice as values.
struct RegressionInput {
    QString data;
    QString yColumn = QStringLiteral("1");
    QString xColumns = QStringLiteral("2");
    QString degree = QStringLiteral("1");
    QString labelCells = QStringLiteral("0");
    QString separator = QStringLiteral("*");
    bool intercept = true;
    bool residuals = false;
    bool significant = true;
    int digits = 15;
    bool plot = false;
};

// Reads the texts (a box that is no column number fails with a message saying which)
// and runs runRegression.
RegressionResult runRegressionInput(const RegressionInput& input,
                                    const CancelFlag* cancel = nullptr);

// The text of the output box after a cancelled run.
QString regressionCancelledText();

// A list of column numbers "2,3,5" (also "2 3 5", Chinese commas) or nothing when
// it holds anything but whole numbers 1-999.
std::optional<QList<int>> parseRegressionColumns(const QString& text);

// The options checked before any data is read: "" when usable, else why not
// (Chinese).
QString regressionOptionsProblem(const RegressionOptions& options);

}  // namespace hc
