// Allowed: the command line over the window-free code.
#include "engine/decimal.h"
#include "survey/zones.h"
