// ADOQuery.cpp - TADOQuery: running the statement, reading every row, fields from the
// result's columns, the record buffers, navigation and master values.
//
// Writing rows back and searching are in ADOQueryUpdate.cpp.
#include "platform/sqlite/ADODB.h"

#include <algorithm>
#include <cstring>

#include "platform/classes/Strings.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADOQuery_p.h"

using namespace SqliteImpl;

// Follows the master's current row for a query with a DataSource.
class TADOMasterLink : public TDetailDataLink {
public:
  explicit TADOMasterLink(TADOQuery* Query) : FQuery(Query) {}

protected:
  void ActiveChanged() override {
    if (Active()) FQuery->MasterChanged();
  }
  void RecordChanged(TField* Field) override {
    if (!Active()) return;
    if (!Field || FQuery->Parameters()->FindParam(Field->FieldName())) FQuery->MasterChanged();
  }
  void CheckBrowseMode() override {
    if (FQuery->Active()) FQuery->CheckBrowseMode();
  }
  TDataSet* GetDetailDataSet() const override { return FQuery; }

private:
  TADOQuery* FQuery;
};

namespace {

bool Has(const String& S, const char16_t* Part) { return S.find(Part) != String::npos; }

// The field type a declared column type names, as the old provider reported its columns.
void ReadDeclaredType(const char* Decl, TColumnInfo& Col) {
  const String T = UpperCase(Utf8ToString(Decl ? Decl : ""));
  Col.DataType = ftUnknown;
  Col.Read = TReadKind::Native;
  if (T.empty()) return;
  auto Set = [&Col](TFieldType Type, TReadKind Read) {
    Col.DataType = Type;
    Col.Read = Read;
  };
  if (Has(T, u"BOOL") || T == u"BIT" || T == u"YESNO") return Set(ftBoolean, TReadKind::Boolean);
  if (Has(T, u"DATETIME") || Has(T, u"TIMESTAMP") || T == u"DATE")
    return Set(ftDateTime, TReadKind::Date);
  if (T == u"TIME") return Set(ftTime, TReadKind::Date);
  if (Has(T, u"SMALLINT")) return Set(ftSmallint, TReadKind::Integer);
  if (Has(T, u"BIGINT")) return Set(ftLargeint, TReadKind::Integer);
  if (Has(T, u"INT")) return Set(ftInteger, TReadKind::Integer);
  if (Has(T, u"MEMO")) return Set(ftWideMemo, TReadKind::Text);
  if (Has(T, u"CHAR") || Has(T, u"CLOB") || Has(T, u"TEXT")) {
    Set(ftWideString, TReadKind::Text);
    const size_t Open = T.find(u'(');
    if (Open != String::npos) Col.Size = std::max(0, StrToIntDef(T.substr(Open + 1,
                                                    T.find(u')') - Open - 1), 0));
    return;
  }
  if (Has(T, u"CURRENCY") || Has(T, u"MONEY")) return Set(ftCurrency, TReadKind::Float);
  if (Has(T, u"REAL") || Has(T, u"FLOA") || Has(T, u"DOUB") || Has(T, u"NUMERIC") ||
      Has(T, u"DECIMAL"))
    return Set(ftFloat, TReadKind::Float);
  if (Has(T, u"BLOB")) return Set(ftBlob, TReadKind::Native);
}

Variant IntegerValue(sqlite3_int64 V) {
  if (V >= INT32_MIN && V <= INT32_MAX) return Variant(static_cast<int>(V));
  return Variant(static_cast<long long>(V));
}

}  // namespace

// One value of the current row of Stmt, read as the column's kind asks.
Variant SqliteImpl::ReadColumnValue(sqlite3_stmt* Stmt, int I, TColumnInfo& Col) {
  switch (sqlite3_column_type(Stmt, I)) {
    case SQLITE_NULL:
      return Variant::MakeNull();
    case SQLITE_INTEGER: {
      const sqlite3_int64 V = sqlite3_column_int64(Stmt, I);
      switch (Col.Read) {
        case TReadKind::Boolean: return Variant(V != 0);
        case TReadKind::Float: return Variant(static_cast<double>(V));
        case TReadKind::Date: return Variant::FromDateTime(static_cast<double>(V));
        default:
          Col.SawInteger = true;
          if (V < INT32_MIN || V > INT32_MAX) Col.SawBigInteger = true;
          return IntegerValue(V);
      }
    }
    case SQLITE_FLOAT: {
      const double V = sqlite3_column_double(Stmt, I);
      if (Col.Read == TReadKind::Boolean) return Variant(V != 0);
      if (Col.Read == TReadKind::Date) return Variant::FromDateTime(V);
      Col.SawFloat = true;
      return Variant(V);
    }
    case SQLITE_TEXT: {
      if (Col.Read == TReadKind::Date) {
        TDateTime D;
        const auto* Text = reinterpret_cast<const char*>(sqlite3_column_text(Stmt, I));
        if (IsoToDateTime(Text, sqlite3_column_bytes(Stmt, I), D)) return Variant::FromDateTime(D);
      }
      // Converted here from the stored UTF-8: one allocation instead of SQLite's UTF-16 copy
      // and ours.
      const auto* Text = reinterpret_cast<const char*>(sqlite3_column_text(Stmt, I));
      String Value = Utf8ToString(std::string_view(Text, sqlite3_column_bytes(Stmt, I)));
      Col.SawText = true;
      Col.MaxLength = std::max(Col.MaxLength, static_cast<int>(Value.size()));
      return Variant(std::move(Value));
    }
    default: {
      // A blob's bytes travel as characters 0..255, as blob fields hold them.
      const auto* Bytes = static_cast<const char*>(sqlite3_column_blob(Stmt, I));
      const int Length = sqlite3_column_bytes(Stmt, I);
      return Variant(BlobBytesToText(std::string_view(Bytes, Length)));
    }
  }
}

namespace {

// The field type of a column without a declared type, from the values read.
void InferType(TColumnInfo& Col) {
  if (Col.DataType == ftWideString && Col.Size == 0) Col.Size = std::max(255, Col.MaxLength);
  if (Col.DataType != ftUnknown) return;
  if (Col.SawText) {
    Col.DataType = ftWideString;
    Col.Size = std::max(255, Col.MaxLength);
  } else if (Col.SawFloat) {
    Col.DataType = ftFloat;
  } else if (Col.SawInteger) {
    Col.DataType = Col.SawBigInteger ? ftLargeint : ftInteger;
  } else {
    Col.DataType = ftFloat;  // only nulls: aggregates over no rows
  }
}

}  // namespace

namespace {

bool IsNumberKind(TFieldType T) {
  switch (T) {
    case ftSmallint: case ftInteger: case ftWord: case ftBoolean: case ftFloat: case ftCurrency:
    case ftBCD: case ftAutoInc: case ftLargeint: case ftFMTBcd: case ftLongWord: case ftShortint:
    case ftByte: case ftExtended: case ftSingle:
      return true;
    default:
      return false;
  }
}

bool IsDateKind(TFieldType T) {
  return T == ftDate || T == ftTime || T == ftDateTime || T == ftTimeStamp;
}

// A persistent number or date field over a column that held text it cannot read as its kind
// (letters in a number column, a text that is no ISO date under a date field) fails the open
// with the type mismatch instead of a conversion error on some later read.
void CheckColumnsFeedFields(TDataSet* Set, const std::vector<TColumnInfo>& Columns) {
  for (const TColumnInfo& Col : Columns) {
    if (!Col.SawText) continue;
    TField* Field = Set->FindField(Col.Name);
    if (!Field || Field->FieldKind() != fkData) continue;
    const TFieldType Kind = Field->DataType();
    if (IsNumberKind(Kind) || IsDateKind(Kind))
      DatabaseError(FieldTypeMismatchText(Field->FieldName(), Kind, ftWideString), Set);
  }
}

}  // namespace

REGISTER_CLASS(TADOQuery) {
  Class.Property("Connection", &TADOQuery::Connection, &TADOQuery::SetConnection)
      .Property("DataSource", &TADOQuery::DataSource, &TADOQuery::SetDataSource)
      .Property("ParamCheck", &TADOQuery::ParamCheck, &TADOQuery::SetParamCheck, true)
      .Property("SQL", &TADOQuery::SQL, nullptr);
}

TADOQuery::TADOQuery(TComponent* AOwner)
    : TDataSet(AOwner),
      FSQL(std::make_unique<TStringList>()),
      FParameters(std::make_unique<TParameters>()),
      FImpl(std::make_unique<Impl>()) {
  SetBookmarkSize(sizeof(int));
  FSQL->SetOnChange([this](TObject*) { SQLChanged(); });
}

TADOQuery::~TADOQuery() {
  Close();
  FMasterLink.reset();
  SetConnection(nullptr);
}

// ===== properties ==============================================================================

void TADOQuery::SetConnection(TADOConnection* Value) {
  if (Value == FConnection) return;
  if (Active()) Close();
  FImpl->DropStatement();
  TADOConnection::Rebind(this, FConnection, Value);
}

TStrings* TADOQuery::SQL() const { return FSQL.get(); }

void TADOQuery::SQLChanged() {
  if (Active()) Close();
  FImpl->DropStatement();
  FImpl->HasMasterValues = false;
  if (!FParamCheck) return;
  FParameters->ParseSQLKeepingValues(FSQL->Text());
}

void TADOQuery::SetDataSource(TDataSource* Value) {
  if (Value && Value->IsLinkedTo(this)) DatabaseError(DBText::CircularDataLink, this);
  if (!FMasterLink) FMasterLink = std::make_unique<TADOMasterLink>(this);
  FImpl->HasMasterValues = false;
  FMasterLink->SetDataSource(Value);
}

TDataSource* TADOQuery::GetDataSource() const {
  return FMasterLink ? FMasterLink->DataSource() : nullptr;
}

bool TADOQuery::Prepared() const { return FImpl->Prepared; }

void TADOQuery::SetPrepared(bool Value) {
  if (!Value) {
    if (Active()) Close();
    FImpl->DropStatement();
    return;
  }
  if (FImpl->Prepared) return;
  if (!FConnection) DatabaseError(Text::NoConnection, this);
  sqlite3* Db = FConnection->Core().Db;
  const std::string Sql = StringToUtf8(FSQL->Text());
  const size_t Next = FImpl->Stmt.Prepare(Db, Sql, 0, true);
  if (!FImpl->Stmt) DatabaseError(Text::EmptyCommand, this);
  if (Next != std::string::npos && !OnlyBlanks(Sql, Next)) {
    FImpl->Stmt.Finalize();
    DatabaseError(Text::OneStatement, this);
  }
  if (sqlite3_column_count(FImpl->Stmt.Handle()) == 0) {
    FImpl->Stmt.Finalize();
    DatabaseError(Text::NoResultSet, this);
  }
  FImpl->Prepared = true;
}

void TADOQuery::ConnectionClosing() {
  if (Active()) Close();
  FImpl->DropStatement();
}

void TADOQuery::Notification(TComponent* AComponent, TOperation Operation) {
  TDataSet::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FConnection) {
    ConnectionClosing();
    FConnection = nullptr;
  }
  if (FMasterLink && AComponent == FMasterLink->DataSource()) FMasterLink->SetDataSource(nullptr);
}

// ===== running the statement ===================================================================

namespace {

// The base table of the result and its key columns, from the columns' origin metadata; a
// result that is not one table's rows with their key stays read-only.
void AnalyseOrigins(sqlite3* Db, sqlite3_stmt* Stmt, TADOQuery::Impl& Q) {
  Q.BaseTable.clear();
  Q.KeyColumns.clear();
  Q.RowidKey = false;
  std::vector<std::string> Seen;
  for (int I = 0; I < Q.ColCount; ++I) {
    TColumnInfo& Col = Q.Columns[I];
    const char* Table = sqlite3_column_table_name(Stmt, I);
    const char* Origin = sqlite3_column_origin_name(Stmt, I);
    if (!Table || !Origin) continue;
    if (Q.BaseTable.empty()) Q.BaseTable = Table;
    if (Q.BaseTable != Table) continue;
    // A second column from the same base column (a self-join's other side) is not written.
    if (std::find(Seen.begin(), Seen.end(), Origin) != Seen.end()) continue;
    Seen.push_back(Origin);
    Col.Origin = Origin;
    Col.Updatable = true;
  }
  if (Q.BaseTable.empty()) return;
  // The declared key: every primary-key column must be in the result.
  std::vector<std::string> KeyNames;
  sqlite3_stmt* Info = nullptr;
  const std::string Pragma = "SELECT name, type, pk FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk";
  if (sqlite3_prepare_v2(Db, Pragma.c_str(), -1, &Info, nullptr) != SQLITE_OK) return;
  sqlite3_bind_text(Info, 1, Q.BaseTable.c_str(), -1, SQLITE_TRANSIENT);
  std::string KeyType;
  while (sqlite3_step(Info) == SQLITE_ROW) {
    KeyNames.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(Info, 0)));
    const auto* Type = sqlite3_column_text(Info, 1);
    KeyType = Type ? reinterpret_cast<const char*>(Type) : "";
  }
  sqlite3_finalize(Info);
  for (const std::string& Name : KeyNames) {
    int Found = -1;
    for (int I = 0; I < Q.ColCount && Found < 0; ++I)
      if (Q.Columns[I].Updatable && SameText(Utf8ToString(Q.Columns[I].Origin), Utf8ToString(Name)))
        Found = I;
    if (Found < 0) {
      Q.KeyColumns.clear();
      return;
    }
    Q.KeyColumns.push_back(Found);
  }
  Q.RowidKey = KeyNames.size() == 1 && SameText(Utf8ToString(KeyType), u"INTEGER");
  if (Q.RowidKey) {
    TColumnInfo& Key = Q.Columns[Q.KeyColumns[0]];
    Key.DataType = ftAutoInc;
    Key.Read = TReadKind::Integer;
  }
}

}  // namespace

void TADOQuery::Execute() {
  SetPrepared(true);
  sqlite3* Db = FConnection->Core().Db;
  sqlite3_stmt* Stmt = FImpl->Stmt.Handle();
  Impl& Q = *FImpl;
  FImpl->Stmt.Reset();
  BindParams(Stmt, *FParameters);
  if (Q.Columns.empty()) {
    Q.ColCount = sqlite3_column_count(Stmt);
    Q.Columns.assign(Q.ColCount, TColumnInfo());
    for (int I = 0; I < Q.ColCount; ++I) {
      Q.Columns[I].Name = Utf8ToString(sqlite3_column_name(Stmt, I));
      ReadDeclaredType(sqlite3_column_decltype(Stmt, I), Q.Columns[I]);
    }
    AnalyseOrigins(Db, Stmt, Q);
  }
  ReadDatesForDateFields();
  Q.Data.clear();
  Q.Order.clear();
  int Rc;
  while ((Rc = sqlite3_step(Stmt)) == SQLITE_ROW) {
    for (int I = 0; I < Q.ColCount; ++I) Q.Data.push_back(ReadColumnValue(Stmt, I, Q.Columns[I]));
  }
  if (Rc != SQLITE_DONE) {
    FImpl->Stmt.Reset();
    Q.Data.clear();
    RaiseSqliteError(Db);
  }
  FImpl->Stmt.Reset();
  const int Rows = Q.SlotCount();
  Q.FilterView = false;
  Q.AllOrder.clear();
  Q.Order.resize(Rows);
  for (int I = 0; I < Rows; ++I) Q.Order[I] = I;
  Q.PosDirty = true;
  Q.Cursor = -1;
  StampDataVersion();
  ++FExecutionCount;
  if (Q.Open) ApplyFilter();  // on opening, once the fields exist
}

// Rows are read before the fields bind: a persistent date or time field makes its column read
// as dates even where the column declares text (dates kept as ISO text), so the field gets a
// date, not the text.
void TADOQuery::ReadDatesForDateFields() {
  if (DefaultFields()) return;
  for (TColumnInfo& Col : FImpl->Columns) {
    const TField* Field = FindField(Col.Name);
    if (!Field || Field->FieldKind() != fkData) continue;
    const TFieldType Kind = Field->DataType();
    if (Kind == ftDate || Kind == ftTime || Kind == ftDateTime) Col.Read = TReadKind::Date;
  }
}

void TADOQuery::InternalOpen() {
  if (!FConnection) DatabaseError(Text::NoConnection, this);
  // A detail starts from its master's current row.
  if (FMasterLink && FMasterLink->Active()) {
    TDataSet* Master = FMasterLink->DataSet();
    FImpl->LastMasterValues.clear();
    for (int I = 0; I < FParameters->Count(); ++I) {
      TParam* Param = FParameters->Items(I);
      TField* Field = Master->FindField(Param->Name());
      FImpl->LastMasterValues.push_back(Field ? Field->Value() : Variant());
      if (Field) Param->SetValue(Field->Value());
    }
    FImpl->HasMasterValues = true;
  }
  Execute();
  FImpl->Open = true;
  try {
    InitFieldDefs();
    if (DefaultFields()) CreateFields();
    BindFields(true);
    if (!DefaultFields()) CheckColumnsFeedFields(this, FImpl->Columns);
    BuildFilter();
    ApplyFilter();
  } catch (...) {
    FImpl->Open = false;
    FImpl->FilterExpr.reset();
    FImpl->FilterView = false;
    FImpl->AllOrder.clear();
    FImpl->Data.clear();
    FImpl->Order.clear();
    throw;
  }
}

void TADOQuery::InternalClose() {
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  FImpl->Open = false;
  FImpl->FilterExpr.reset();
  FImpl->FilterView = false;
  FImpl->AllOrder.clear();
  FImpl->Data.clear();
  FImpl->Order.clear();
  FImpl->PosDirty = true;
  FImpl->Cursor = -1;
  StampDataVersion();
}

bool TADOQuery::IsCursorOpen() const { return FImpl->Open; }

void TADOQuery::InternalInitFieldDefs() {
  if (!FImpl->Open) {
    // Definitions without opening: the declared types; expression columns as floats.
    SetPrepared(true);
    if (FImpl->Columns.empty()) {
      Execute();
      FImpl->Data.clear();
      FImpl->Order.clear();
    }
  }
  TFieldDefs* Defs = FieldDefs();
  Defs->BeginUpdate();
  try {
    Defs->Clear();
    for (TColumnInfo& Col : FImpl->Columns) {
      InferType(Col);
      String Name = Col.Name;
      for (int N = 1; Defs->IndexOf(Name) >= 0; ++N) Name = Col.Name + u"_" + IntToStr(N);
      const int Size = Col.DataType == ftWideString ? Col.Size : 0;
      TFieldDef* Def = Defs->Add(Name, Col.DataType, Size, false);
      if (!Col.Updatable && !FImpl->KeyColumns.empty())
        Def->SetAttributes(Def->Attributes() + TFieldAttributes{faReadonly});
    }
  } catch (...) {
    Defs->EndUpdate();
    throw;
  }
  Defs->EndUpdate();
}

int TADOQuery::ExecSQL() {
  if (!FConnection) DatabaseError(Text::NoConnection, this);
  TADOCommand Command(nullptr);
  Command.SetParamCheck(false);
  Command.SetConnection(FConnection);
  Command.SetCommandText(FSQL->Text());
  Command.Parameters()->Assign(*FParameters);
  FRowsAffected = Command.Execute();
  return FRowsAffected;
}

void TADOQuery::Requery() {
  CheckActive();
  CheckBrowseMode();
  Execute();
  First();
}

void TADOQuery::MasterChanged() {
  if (!Active() || !FMasterLink) return;
  TDataSet* Master = FMasterLink->DataSet();
  std::vector<Variant> Values;
  Values.reserve(FParameters->Count());
  for (int I = 0; I < FParameters->Count(); ++I) {
    TField* Field = Master->FindField(FParameters->Items(I)->Name());
    Values.push_back(Field ? Field->Value() : Variant());
  }
  auto Same = [](const Variant& A, const Variant& B) {
    if (A.VType() != B.VType()) return false;
    if (A.IsEmpty() || A.IsNull()) return true;
    return A == B;
  };
  if (FImpl->HasMasterValues && Values.size() == FImpl->LastMasterValues.size() &&
      std::equal(Values.begin(), Values.end(), FImpl->LastMasterValues.begin(), Same))
    return;
  CheckBrowseMode();
  for (int I = 0; I < FParameters->Count(); ++I)
    if (Master->FindField(FParameters->Items(I)->Name()))
      FParameters->Items(I)->SetValue(Values[I]);
  FImpl->LastMasterValues = std::move(Values);
  FImpl->HasMasterValues = true;
  Execute();
  First();
}

// ===== record buffers ==========================================================================

TRecordBuffer TADOQuery::AllocRecordBuffer() {
  return reinterpret_cast<TRecordBuffer>(new TRecBuf());
}

void TADOQuery::FreeRecordBuffer(TRecordBuffer& Buffer) {
  delete Buf(Buffer);
  Buffer = 0;
}

void TADOQuery::InternalInitRecord(TRecordBuffer Buffer) {
  TRecBuf* B = Buf(Buffer);
  B->Slot = -1;
  B->Owned = true;
  B->Values.assign(FImpl->ColCount, Variant::MakeNull());
  B->Calc.clear();
}

void TADOQuery::ClearCalcFields(TRecordBuffer Buffer) { Buf(Buffer)->Calc.clear(); }

TGetResult TADOQuery::GetRecord(TRecordBuffer Buffer, TGetMode GetMode, bool DoCheck) {
  (void)DoCheck;
  Impl& Q = *FImpl;
  const int Count = Q.RowCount();
  switch (GetMode) {
    case gmNext:
      if (Q.Cursor >= Count - 1) {
        Q.Cursor = Count;
        return grEOF;
      }
      ++Q.Cursor;
      break;
    case gmPrior:
      if (Q.Cursor <= 0) {
        Q.Cursor = -1;
        return grBOF;
      }
      --Q.Cursor;
      break;
    case gmCurrent:
      if (Q.Cursor < 0 || Q.Cursor >= Count) return grError;
      break;
  }
  TRecBuf* B = Buf(Buffer);
  B->Slot = Q.Order[Q.Cursor];
  B->Flag = bfCurrent;
  B->Owned = false;
  B->Values.clear();
  B->Calc.clear();
  GetCalcFields(Buffer);
  return grOK;
}

void TADOQuery::GetBookmarkData(TRecordBuffer Buffer, TBookmark& Data) const {
  const int Slot = Buf(Buffer)->Slot;
  Data.resize(sizeof Slot);
  std::memcpy(Data.data(), &Slot, sizeof Slot);
}

void TADOQuery::SetBookmarkData(TRecordBuffer Buffer, const TBookmark& Data) {
  int Slot = -1;
  if (Data.size() == sizeof Slot) std::memcpy(&Slot, Data.data(), sizeof Slot);
  Buf(Buffer)->Slot = Slot;
}

TBookmarkFlag TADOQuery::GetBookmarkFlag(TRecordBuffer Buffer) const { return Buf(Buffer)->Flag; }

void TADOQuery::SetBookmarkFlag(TRecordBuffer Buffer, TBookmarkFlag Value) {
  Buf(Buffer)->Flag = Value;
}

// ===== navigation ==============================================================================

void TADOQuery::InternalGotoBookmark(const TBookmark& Bookmark) {
  int Slot = -1;
  if (Bookmark.size() == sizeof Slot) std::memcpy(&Slot, Bookmark.data(), sizeof Slot);
  const int Pos = FImpl->PositionOf(Slot);
  if (Pos < 0) DatabaseError(DBText::RecordNotFound, this);
  FImpl->Cursor = Pos;
}

void TADOQuery::InternalSetToRecord(TRecordBuffer Buffer) {
  const int Pos = FImpl->PositionOf(Buf(Buffer)->Slot);
  if (Pos >= 0) FImpl->Cursor = Pos;
}

void TADOQuery::InternalFirst() { FImpl->Cursor = -1; }

void TADOQuery::InternalLast() { FImpl->Cursor = FImpl->RowCount(); }

int TADOQuery::GetRecordCount() const {
  CheckActive();
  return FImpl->RowCount();
}

int TADOQuery::GetRecNo() const {
  if (!Active() || IsEmpty()) return -1;
  const TRecBuf* B = Buf(State() == dsCalcFields ? CalcBuffer() : ActiveBuffer());
  if (!B || B->Flag != bfCurrent) return -1;
  const int Pos = FImpl->PositionOf(B->Slot);
  return Pos < 0 ? -1 : Pos + 1;
}

void TADOQuery::SetRecNoValue(int Value) {
  CheckBrowseMode();
  const int Count = FImpl->RowCount();
  if (Count == 0) return;
  Value = std::clamp(Value, 1, Count);
  if (Value == RecNo()) return;
  DoBeforeScroll();
  FImpl->Cursor = Value - 1;
  Resync({rmCenter});
  DoAfterScroll();
}

bool TADOQuery::BookmarkValid(const TBookmark& Bookmark) const {
  int Slot = -1;
  if (!Active() || Bookmark.size() != sizeof Slot) return false;
  std::memcpy(&Slot, Bookmark.data(), sizeof Slot);
  return FImpl->PositionOf(Slot) >= 0;
}

int TADOQuery::CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const {
  auto Position = [this](const TBookmark& B) {
    int Slot = -1;
    if (B.size() != sizeof Slot) return -2;
    std::memcpy(&Slot, B.data(), sizeof Slot);
    return FImpl->PositionOf(Slot);
  };
  const int P1 = Position(Bookmark1), P2 = Position(Bookmark2);
  return P1 < P2 ? -1 : P1 > P2 ? 1 : 0;
}

// ===== field values ============================================================================

namespace {

TRecBuf* StateBuffer(TDataSetState State, bool Empty, TRecordBuffer Active, TRecordBuffer Calc,
                     TRecBuf* Filter) {
  switch (State) {
    case dsBrowse:
      return Empty ? nullptr : Buf(Active);
    case dsEdit: case dsInsert: case dsNewValue: case dsCurValue: case dsOldValue:
      return Buf(Active);
    case dsCalcFields: case dsInternalCalc:
      return Buf(Calc);
    case dsFilter:
      return Filter;
    default:
      return nullptr;
  }
}

bool IsDataField(const TField* Field) {
  return (Field->FieldKind() == fkData || Field->FieldKind() == fkInternalCalc) &&
         Field->FieldNo() > 0;
}

}  // namespace

bool TADOQuery::GetFieldData(TField* Field, Variant* Value) const {
  if (!FImpl->Open) return false;
  const TRecBuf* B = StateBuffer(State(), IsEmpty(), ActiveBuffer(), CalcBuffer(), &FImpl->FilterBuf);
  if (!B) return false;
  const Variant* V = nullptr;
  if (IsDataField(Field)) {
    const int Col = Field->FieldNo() - 1;
    if (Col >= FImpl->ColCount) return false;
    if (B->Owned && State() != dsOldValue)
      V = &B->Values[Col];
    else if (B->Slot >= 0 && B->Slot < FImpl->SlotCount() && B->Flag != bfInserted)
      V = &FImpl->Row(B->Slot)[Col];
  } else {
    for (const auto& [Key, Stored] : B->Calc)
      if (Key == Field) V = &Stored;
  }
  if (!V || V->IsNull() || V->IsEmpty()) return false;
  if (Value) *Value = *V;
  return true;
}

bool TADOQuery::GetFieldColumn(TField* Field, std::vector<Variant>& Values) const {
  // A record in edit keeps its values in its buffer: only a browsing query reads its rows.
  if (!FImpl->Open || State() != dsBrowse || !IsDataField(Field)) return false;
  const int Col = Field->FieldNo() - 1;
  if (Col >= FImpl->ColCount) return false;
  Values.clear();
  Values.reserve(FImpl->Order.size());
  for (int Slot : FImpl->Order) {
    const Variant& V = FImpl->Row(Slot)[Col];
    Values.push_back(V.IsEmpty() ? Variant::MakeNull() : V);
  }
  return true;
}

void TADOQuery::SetFieldData(TField* Field, const Variant* Value) {
  const TDataSetState S = State();
  const bool CalcState = S == dsCalcFields || S == dsInternalCalc;
  if (!CalcState && S != dsEdit && S != dsInsert && S != dsNewValue)
    DatabaseError(DBText::NotEditing, this);
  TRecBuf* B = StateBuffer(S, IsEmpty(), ActiveBuffer(), CalcBuffer(), &FImpl->FilterBuf);
  if (!B) DatabaseError(DBText::NotEditing, this);
  const Variant NewValue = Value ? *Value : Variant::MakeNull();
  if (IsDataField(Field)) {
    if (!CalcState) Field->Validate(Value);
    if (!B->Owned) {
      if (B->Slot < 0 || B->Slot >= FImpl->SlotCount()) DatabaseError(DBText::NotEditing, this);
      B->Values.assign(FImpl->Row(B->Slot), FImpl->Row(B->Slot) + FImpl->ColCount);
      B->Owned = true;
    }
    B->Values[Field->FieldNo() - 1] = NewValue;
  } else {
    auto It = std::find_if(B->Calc.begin(), B->Calc.end(),
                           [Field](const auto& Item) { return Item.first == Field; });
    if (It == B->Calc.end())
      B->Calc.emplace_back(Field, NewValue);
    else
      It->second = NewValue;
  }
  if (!CalcState && S != dsNewValue)
    DataEvent(deFieldChange, reinterpret_cast<std::intptr_t>(Field));
}
