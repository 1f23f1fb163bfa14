#include "cli/solve_command.h"

#include "cli/matrix_command.h"
#include "tools/linear_system.h"

namespace hc::cli {

int runSolve(const QStringList& args, const Streams& io) {
    CommandLine cl(solveHelp(), io);
    declareOptions(cl);
    if (const auto done = cl.parse(args)) return *done;
    CalcSettings settings;
    ValueStyle style;
    QString separator;
    if (const auto bad = readOptions(cl, settings, style, separator)) return *bad;
    const std::optional<QString> text = readText(io.in, cl.encoding(), io.err);
    if (!text) return cl.finish(kExitFailure);
    const SolveRun run = hc::runSolve(*text, separator, settings, style);
    if (run.failed) {
        writeText(io.err, run.output + u'\n');
        return cl.finish(kExitFailure);
    }
    writeText(io.out, run.output);
    return cl.finish(kExitSuccess);
}

}  // namespace hc::cli
