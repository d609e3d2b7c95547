// Alignment.h - TAlignment, the text alignment shared by the dataset framework (field
// alignment) and the controls; declared once here so that both can be included together.
#pragma once

#include "platform/classes/TypeInfo.h"

VORENTA_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter);
