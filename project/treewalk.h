#pragma once

#include "classlib/core/wtreelines.h"
#include "classlib/core/wtreewalk.h"
