#pragma once
// Everything about number values in one include: the value type, its text, the
// readers, the log of an evaluation and the calculation settings.

#include "engine/calc_log.h"
#include "engine/calc_settings.h"
#include "engine/double_text.h"
#include "engine/mixed_arithmetic.h"
#include "engine/num.h"
#include "engine/number_reader.h"
#include "engine/number_routines.h"
#include "engine/text_trim.h"
