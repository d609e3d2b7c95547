// DB.h - the dataset framework in one include: datasets, fields, definitions, parameters,
// data sources and links.
#pragma once

#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/db/IndexDefs.h"
#include "platform/db/Params.h"
