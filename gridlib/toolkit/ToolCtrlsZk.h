// ToolCtrlsZk.h - key values (equality and ordering of single values and variant arrays),
// field-name lists resolved against a dataset, and the theme and keyboard queries every
// control of the grid library asks.
#pragma once

#include <vector>

#include "platform/controls/Controls.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Variants.h"

class TComponent;

// The fields of a ';' list, in list order.
using TFieldsArrZk = std::vector<TField*>;

// --- key values --------------------------------------------------------------------------------
// Equality of two key values (a plain value or a one-dimensional array, one element per key
// field). Never raises: a comparison the variant rules refuse counts as unequal. Arrays must
// have the same bounds; two empty arrays are unequal; Empty equals only Empty; Null = Null.
bool VariantsEqual(const Variant& V1, const Variant& V2);
// Two single values with Null ordered first, else VarCompareValue.
TVariantRelationship CompareVariantsNullsLow(const Variant& V1, const Variant& V2);
// Two key values element by element (the first unequal element decides); an array against a
// single value, arrays of other bounds and two empty arrays are vrNotEqual. The variant rules'
// errors pass through.
TVariantRelationship CompareVariantKeys(const Variant& V1, const Variant& V2);

// --- field-name lists ----------------------------------------------------------------------------
// Appends to List (when given) DataSet's field of each name of FieldNames; an unknown name
// raises EDatabaseError "Field 'X' not found", prefixed with Component's name. Names before the
// bad one are already appended.
void CollectFieldsByNames(std::vector<TField*>* List, const TDataSet* DataSet,
                          const TComponent* Component, const String& FieldNames);
// The same resolution into Fields (replaced, one entry per name).
void FieldsArrayByNames(const TDataSet* DataSet, const TComponent* Control,
                        const String& FieldNames, TFieldsArrZk& Fields);
// Null clears every field of the list; anything else goes through FieldValues (an array for
// several fields).
void AssignKeyFieldValues(TDataSet* DataSet, const String& FieldNames, const Variant& Value);
// IsNumberFieldType (SmallInt, Integer, Word, Float, Currency, BCD, FMTBcd) is the dataset
// framework's, in platform/db/DBConsts.h.

// --- theme and keyboard ---------------------------------------------------------------------------
// Whether painters draw the themed look. Linux has no theme services: the classic look is the
// default and the setting is the program's.
bool ThemesActive();
void SetThemesActive(bool Value);

// The modifier keys held now (GetKeyState of Shift, Control and Alt).
TShiftState KeyboardShiftState();
// Whether a press at NewPos, Interval ms after one at OldPos, makes a double click: within the
// double-click time and the system's double-click distance.
bool IsDoubleClickAt(TPoint OldPos, TPoint NewPos, int Interval);
