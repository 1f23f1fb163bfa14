// The base window's calculation on any operands: the data is split at its first two
// line breaks into operand, operation and operand; the command gives the result or one
// of the window's failure texts (status 0 or 1), or a usage error for an unknown
// operation (2), never a crash.

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "cli/command_line.h"
#include "cli/logic_command.h"
#include "fuzz/fuzz_io.h"

namespace {
const char* const kBases[] = {"2", "8", "10", "16"};
const char* const kOperations[] = {"add", "sub", "mul", "div", "pow",  "mod",
                                   "and", "or",  "not", "xor", "nand", "nor"};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t pick = data[0];
    const QStringList parts =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1))
            .split(u'\n');
    QStringList args = hc_fuzz::words({"logic", "--base", kBases[pick % 4], "--"});
    const QString op = QString::fromLatin1(kOperations[(pick / 4) % 12]);
    if (op == u"not")
        args << op << parts.value(0);
    else
        args << parts.value(0) << op << parts.value(1);
    std::FILE* in = std::fopen("/dev/null", "r");
    hc_fuzz::Capture out;
    hc_fuzz::Capture err;
    const int status = hc::cli::runLogic(args, hc::cli::Streams{in, out.file(), err.file()});
    std::fclose(in);
    if (status != 0 && status != 1) std::abort();
    if (status == 0 && out.close().empty()) std::abort();
    return 0;
}
