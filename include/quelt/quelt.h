#pragma once

// Everything of quelt_base_20u in one include.

#include "quelt/core/base.h"
#include "quelt/core/config.h"
#include "quelt/core/dynlib.h"
#include "quelt/core/events.h"
#include "quelt/core/exceptions.h"
#include "quelt/core/format.h"
#include "quelt/core/pool.h"
#include "quelt/core/pool_alloc.h"
#include "quelt/core/wstring.h"
#include "quelt/dataset/comparers.h"
#include "quelt/dataset/fastwriter.h"
#include "quelt/dataset/fields.h"
#include "quelt/dataset/idataset.h"
#include "quelt/dataset/keydataset.h"
#include "quelt/dataset/memdataset.h"
#include "quelt/dataset/providers.h"
#include "quelt/dataset/variant.h"
#include "quelt/datetime/datetime.h"
#include "quelt/datetime/exceptions.h"
#include "quelt/datetime/parser.h"
