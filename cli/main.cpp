// hechuan-cli: the calculator's command-line companion.
//   hechuan-cli eval [options] [FORMULA...]   formulas as the calculate command does them
//   hechuan-cli gk ...                        coordinate conversion (see gk_command.h)

#include <cstdio>
#include <cstring>

#include "cli/eval_command.h"
#include "cli/gk_command.h"

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "eval") == 0) return hc::cli::runEval(argc - 1, argv + 1);
    if (argc >= 2 && std::strcmp(argv[1], "gk") == 0) return hc::cli::runGk(argc - 1, argv + 1);
    const bool help =
        argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
    std::FILE* out = help ? stdout : stderr;
    std::fputs(
        "用法 / usage:\n"
        "  hechuan-cli eval [--decimals N] [--angle rad|deg|dms] [--var r=值]... [--display] "
        "[--status] "
        "[算式...]\n"
        "  hechuan-cli gk ...\n"
        "hechuan-cli eval --help 查看算式计算的选项 / shows the options of formula evaluation.\n",
        out);
    return help ? 0 : 2;
}
