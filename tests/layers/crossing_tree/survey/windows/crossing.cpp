// A window reaching into the command line: the check must refuse it.
#include "cli/command_line.h"
#include "survey/windows/form213.h"
