#include "cli/gk_command.h"

#include <cstdio>

#include "survey/gk_batch.h"

namespace hc::cli {

int runGk(int argc, char** argv) { return gkMain(argc, argv, stdin, stdout, stderr); }

}  // namespace hc::cli
