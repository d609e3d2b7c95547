// vqrClass.h - the report model as a whole: the component tree (vqrClassBase.h), data
// sources (vqrClassDataSet.h), views and frames (vqrClassViews.h), the text object
// (vqrClassMemo.h), line and picture objects (vqrClassPicture.h), bands (vqrClassBands.h),
// pages (vqrClassPages.h) and the report object (vqrClassReport.h). The option objects, the
// dataset list and the styles are in vqrClassOptions.h; the abstract engine, page-store,
// preview and export-filter classes in vqrClassAbstract.h.
#pragma once

#include "report/core/vqrClassBase.h"
#include "report/core/vqrClassBands.h"
#include "report/core/vqrClassDataSet.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassPages.h"
#include "report/core/vqrClassPicture.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrClassViews.h"
