#pragma once
// Reaches up into the windows: the check must refuse it.
#include "ui/services.h"
