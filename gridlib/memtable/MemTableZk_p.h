// MemTableZk_p.h - shared by the memory table's own sources: the record buffer behind a
// buffer token and the link to the master source.
#pragma once

#include <vector>

#include "gridlib/memtable/MemTableDataZk.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/db/DataSource.h"

// One record buffer. While UseMemRec is set the data fields read straight from the record
// object and Values holds only calculated and lookup values; writing a data field copies the
// record's values in and detaches the buffer.
class TRecBuf {
public:
  bool InUse = false;
  int Bookmark = 0;
  TBookmarkFlag BookmarkFlag = bfCurrent;
  int RecordNumber = -2;
  bool NewTreeNodeExpanded = false;
  bool NewTreeNodeHasChildren = false;
  TMemRecViewZk* RecView = nullptr;
  TMemoryRecordZk* MemRec = nullptr;
  bool UseMemRec = false;
  std::vector<Variant> Values;

  Variant GetValue(const TField* Field) const {
    if (UseMemRec && MemRec && Field->FieldNo() > 0)
      return MemRec->GetDataValue(Field->FieldNo() - 1, dvvValueZk);
    return At(Field->Index());
  }
  Variant GetOldValue(const TField* Field) const {
    if (UseMemRec && MemRec && Field->FieldNo() > 0)
      return MemRec->GetDataValue(Field->FieldNo() - 1, dvvOldValueZk);
    return At(Field->Index());
  }
  void SetValue(TDataSet* DataSet, const TField* Field, const Variant& Value) {
    if (UseMemRec && Field->FieldKind() != fkCalculated && Field->FieldKind() != fkLookup) {
      if (MemRec)
        for (int I = 0; I < DataSet->FieldCount(); ++I) {
          TField* F = DataSet->Fields()->Fields(I);
          if (F->FieldNo() > 0) Slot(I) = MemRec->GetDataValue(F->FieldNo() - 1, dvvValueZk);
        }
      UseMemRec = false;
    }
    Slot(Field->Index()) = Value;
  }
  void SetLength(int Count) { Values.assign(static_cast<std::size_t>(Count), Variant::MakeNull()); }
  void Clear() { for (Variant& V : Values) V = Variant::MakeNull(); }

private:
  Variant At(int Index) const {
    return Index >= 0 && Index < static_cast<int>(Values.size()) ? Values[static_cast<std::size_t>(Index)]
                                                                 : Variant::MakeNull();
  }
  Variant& Slot(int Index) {
    if (Index >= static_cast<int>(Values.size())) Values.resize(static_cast<std::size_t>(Index) + 1, Variant::MakeNull());
    return Values[static_cast<std::size_t>(Index)];
  }
};

// The detail's link to its master source: the master's fields named by MasterFields, and a
// change of the master record handed to the table.
class TMasterDataLinkZk : public TDetailDataLink {
public:
  explicit TMasterDataLinkZk(TCustomMemTableZk* ATable) : FTable(ATable) {}
  const String& FieldNames() const { return FFieldNames; }
  void SetFieldNames(const String& Value) {
    FFieldNames = Value;
    ActiveChanged();
  }
  const std::vector<TField*>& Fields() const { return FFields; }

protected:
  void ActiveChanged() override;
  void RecordChanged(TField* Field) override;
  void CheckBrowseMode() override;
  TDataSet* GetDetailDataSet() const override { return FTable; }

private:
  TCustomMemTableZk* FTable;
  String FFieldNames;
  std::vector<TField*> FFields;
};

// The texts the memory table raises.
namespace MemTableText {
inline constexpr const char16_t* NoData = u"MemTable don't have data.";
inline constexpr const char16_t* NotInInstantRead = u"TCustomMemTableZk not in instant read mode.";
inline constexpr const char16_t* SortInInstantRead = u"Sort data in InstantReadMode is not allowed.";
inline constexpr const char16_t* NoRecords = u"There are no records.";
inline constexpr const char16_t* DriverWithExternal =
    u"Assigning to DataDriver is not allowed if ExternalMemData is assigned";
inline constexpr const char16_t* ExternalWithDriver =
    u"Assigning to ExternalMemData is not allowed if DataDriver is assigned";
inline constexpr const char16_t* CircularLinks = u"Circular datalinks are not allowed";
inline constexpr const char16_t* UnknownFieldType = u"Field '%s' is of an unknown type";
}  // namespace MemTableText
