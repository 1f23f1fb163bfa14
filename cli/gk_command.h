#pragma once
// "hechuan-cli gk": coordinate conversion of a data text read from standard input.

namespace hc::cli {

// argv[0] is "gk"; returns the exit status.
int runGk(int argc, char** argv);

}  // namespace hc::cli
