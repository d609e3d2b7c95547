// DBConsts.h - enumerations, small types and error helpers of the dataset framework.
//
// Every enumeration keeps the class library's order: tables elsewhere are indexed by ordinal
// (the filter parser's field map, field-type ranges, state tests), so never reorder them.
// Record buffers are opaque tokens handed out by the dataset (AllocRecordBuffer); the
// framework never dereferences them. Bookmarks are byte arrays of the dataset's BookmarkSize.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/classes/Alignment.h"
#include "platform/classes/TypeInfo.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

class TComponent;

// ORDER FIELDTYPE: ordinals 0..51 as the class library numbers them.
VORENTA_ENUM(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant, ftInterface, ftIDispatch, ftGuid, ftTimeStamp, ftFMTBcd, ftFixedWideChar, ftWideMemo, ftOraTimeStamp, ftOraInterval, ftLongWord, ftShortint, ftByte, ftExtended, ftConnection, ftParams, ftStream, ftTimeStampOffset, ftObject, ftSingle);
constexpr int FieldTypeCount = ftSingle + 1;
// The type's name as the class library spells it ("ftString"), for messages.
const char16_t* FieldTypeName(TFieldType Type);

VORENTA_ENUM(TDataSetState, dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter, dsNewValue, dsOldValue, dsCurValue, dsBlockRead, dsInternalCalc, dsOpening);

// ORDER DATAEVENT: as the class library numbers them. deDisconnect is our own addition at the
// end: a data source sends it to its links when its dataset is detached or freed.
VORENTA_ENUM(TDataEvent, deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange, deUpdateRecord, deUpdateState, deCheckBrowseMode, dePropertyChange, deFieldListChange, deFocusControl, deParentScroll, deConnectChange, deReconcileError, deDisabledStateChange, deDisconnect);

VORENTA_ENUM(TGetMode, gmCurrent, gmNext, gmPrior);
VORENTA_ENUM(TGetResult, grOK, grBOF, grEOF, grError);
VORENTA_ENUM(TBookmarkFlag, bfCurrent, bfBOF, bfEOF, bfInserted);
VORENTA_ENUM(TResyncModeItem, rmExact, rmCenter);
VORENTA_SET(TResyncMode, TResyncModeItem);

VORENTA_ENUM(TFieldKind, fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate);
VORENTA_SET(TFieldKinds, TFieldKind);

VORENTA_ENUM(TUpdateStatus, usUnmodified, usModified, usInserted, usDeleted);
VORENTA_SET(TUpdateStatusSet, TUpdateStatus);

VORENTA_ENUM(TLocateOption, loCaseInsensitive, loPartialKey);
VORENTA_SET(TLocateOptions, TLocateOption);

VORENTA_ENUM(TFilterOption, foCaseInsensitive, foNoPartialCompare);
VORENTA_SET(TFilterOptions, TFilterOption);

VORENTA_ENUM(TBlobStreamMode, bmRead, bmWrite, bmReadWrite);
VORENTA_ENUM(TAutoRefreshFlag, arNone, arAutoInc, arDefault);

VORENTA_ENUM(TProviderFlag, pfInUpdate, pfInWhere, pfInKey, pfHidden);
VORENTA_SET(TProviderFlags, TProviderFlag);

VORENTA_ENUM(TIndexOption, ixPrimary, ixUnique, ixDescending, ixCaseInsensitive, ixExpression, ixNonMaintained);
VORENTA_SET(TIndexOptions, TIndexOption);

VORENTA_ENUM(TFieldAttribute, faHiddenCol, faReadonly, faRequired, faLink, faUnNamed, faFixed);
VORENTA_SET(TFieldAttributes, TFieldAttribute);

VORENTA_ENUM(TDataAction, daFail, daAbort, daRetry);

VORENTA_ENUM(TParamType, ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult);

VORENTA_ENUM(TParserOption, poExtSyntax, poAggregate, poDefaultExpr, poUseOrigNames, poFieldNameGiven, poFieldDepend);
VORENTA_SET(TParserOptions, TParserOption);


// An opaque record-buffer token; 0 is no buffer.
using TRecordBuffer = std::intptr_t;
// A bookmark: the dataset's BookmarkSize bytes; empty is no bookmark.
using TBookmark = std::vector<Byte>;

// True for the numeric field types (small/integer/word/float/currency/BCD/FMTBcd).
bool IsNumberFieldType(TFieldType Type);

// Raises EDatabaseError; the message is prefixed "Name: " when Component has a name.
[[noreturn]] void DatabaseError(const String& Message, const TComponent* Component = nullptr);

// Splits a ';'-separated name list: returns the name starting at Pos (trimmed) and moves Pos
// past the separator. Pos beyond the end gives "".
String ExtractFieldName(const String& Fields, std::size_t& Pos);

// The framework's message texts, defined once. ORDER DBTEXTS: DBConsts.cpp formats the
// texts that take a name.
namespace DBText {
inline constexpr const char16_t* DataSetClosed = u"Cannot perform this operation on a closed dataset";
inline constexpr const char16_t* DataSetOpen = u"Cannot perform this operation on an open dataset";
inline constexpr const char16_t* DataSetReadOnly = u"Cannot modify a read-only dataset";
inline constexpr const char16_t* DataSetEmpty = u"Cannot perform this operation on an empty dataset";
inline constexpr const char16_t* NotEditing = u"Dataset not in edit or insert mode";
inline constexpr const char16_t* RecordNotFound = u"Record not found";
inline constexpr const char16_t* NoDataFound = u"No data found";
inline constexpr const char16_t* CircularDataLink = u"Circular datalinks are not allowed";
inline constexpr const char16_t* NotArray = u"Field value is not an array of values";
inline constexpr const char16_t* BookmarkNotValid = u"Bookmark not valid";
inline constexpr const char16_t* NoFieldsDefined = u"No fields defined. Cannot create dataset.";
inline constexpr const char16_t* DeleteRecordQuestion = u"Delete record?";
inline constexpr const char16_t* DeleteMultipleRecordsQuestion = u"Delete all selected records?";
}  // namespace DBText

// "Field 'X' not found", "Field 'X' must have a value", ... (the name filled in).
String FieldNotFoundText(const String& Name);
String FieldRequiredText(const String& DisplayName);
String FieldReadOnlyText(const String& DisplayName);
String DuplicateFieldText(const String& Name);
String ParamNotFoundText(const String& Name);
String InvalidFieldValueText(const String& Value, const String& DisplayName);
String FieldRangeText(const String& Value, const String& DisplayName, const String& Min,
                      const String& Max);
String FieldTypeMismatchText(const String& Name, TFieldType Expected, TFieldType Actual);
String LookupInfoText(const String& DisplayName);
