#pragma once

// Everything of quelt_base_20u in one include.

#include "quelt/core/config.h"
#include "quelt/core/wstring.h"
#include "quelt/datetime/datetime.h"
#include "quelt/datetime/exceptions.h"
#include "quelt/datetime/parser.h"
