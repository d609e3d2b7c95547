// ADOQueryUpdate.cpp - TADOQuery: writing posted rows to the base table, Refresh, Locate and
// Lookup over the rows read.
//
// An edit writes the changed base-table columns by the row's key as it was read; an insert
// writes the assigned columns and reads the whole row back by its rowid, so the key the
// database gave it and the column defaults are in the record at once; a delete removes the
// row by its key. A statement that finds no row to change is an error: the row was changed
// or deleted by someone else since it was read.
#include "platform/sqlite/ADODB.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "platform/sqlite/ADOQuery_p.h"

using namespace SqliteImpl;

namespace {

const char16_t* const RowNotFoundForUpdate =
    u"Row cannot be located for updating. Some values may have been changed since it was last "
    u"read";
const char16_t* const RowNotFoundForDelete =
    u"Row cannot be located for deleting. Some values may have been changed since it was last "
    u"read";

std::string Quoted(const std::string& Name) {
  std::string Out = "\"";
  for (char C : Name) {
    if (C == '"') Out += '"';
    Out += C;
  }
  return Out + "\"";
}

bool SameValue(const Variant& A, const Variant& B) {
  const bool NullA = A.IsNull() || A.IsEmpty(), NullB = B.IsNull() || B.IsEmpty();
  if (NullA || NullB) return NullA == NullB;
  if (A.VType() != B.VType()) return false;
  return A == B;
}

// Runs Sql with Values bound in order (the columns in Binary as BLOBs); returns the rows changed.
int RunWrite(sqlite3* Db, const std::string& Sql, const std::vector<const Variant*>& Values,
             const std::vector<String>& Names, const std::vector<bool>& Binary = {}) {
  TStatement Stmt;
  Stmt.Prepare(Db, Sql, 0, false);
  for (size_t I = 0; I < Values.size(); ++I)
    BindVariant(Stmt.Handle(), static_cast<int>(I) + 1, *Values[I], Names[I],
                I < Binary.size() && Binary[I]);
  return RunToEnd(Db, Stmt.Handle());
}

// " WHERE k1=? AND k2=?" with the key values of Row added to the bindings.
std::string KeyCondition(const TADOQuery::Impl& Q, const Variant* Row,
                         std::vector<const Variant*>& Values, std::vector<String>& Names) {
  std::string Where;
  for (int Col : Q.KeyColumns) {
    Where += Where.empty() ? " WHERE " : " AND ";
    Where += Quoted(Q.Columns[Col].Origin) + "=?";
    Values.push_back(&Row[Col]);
    Names.push_back(Q.Columns[Col].Name);
  }
  return Where;
}

// A match of one stored value with a key value under the Locate options.
bool Matches(const Variant& Stored, const Variant& Key, TLocateOptions Options) {
  const bool KeyNull = Key.IsNull() || Key.IsEmpty();
  if (KeyNull || Stored.IsNull() || Stored.IsEmpty()) return KeyNull && (Stored.IsNull() || Stored.IsEmpty());
  if (!Options.Empty() || Stored.IsString() || Key.IsString()) {
    if (Stored.IsString() != Key.IsString() && Options.Empty()) {
      try {
        return Stored == Key;
      } catch (const EVariantError&) {
        return false;  // text that is no number cannot equal a number
      }
    }
    String A = Stored.AsString();
    const String B = Key.AsString();
    if (Options.Contains(loPartialKey) && A.size() > B.size()) A.resize(B.size());
    return Options.Contains(loCaseInsensitive) ? AnsiSameText(A, B) : A == B;
  }
  try {
    return Stored == Key;
  } catch (const EVariantError&) {
    return false;  // values of kinds that do not compare do not match
  }
}

}  // namespace

bool TADOQuery::GetCanModify() const {
  return !FImpl->BaseTable.empty() && !FImpl->KeyColumns.empty();
}

void TADOQuery::InternalPost() {
  TDataSet::InternalPost();  // required fields
  StampDataVersion();
  TRecBuf* B = Buf(ActiveBuffer());
  if (State() == dsInsert) {
    InternalAddRecord(ActiveBuffer(), B->Flag == bfEOF);
    return;
  }
  Impl& Q = *FImpl;
  if (!B->Owned || B->Slot < 0 || B->Slot >= Q.SlotCount()) return;  // nothing written
  Variant* Row = Q.Row(B->Slot);
  std::vector<const Variant*> Values;
  std::vector<String> Names;
  std::vector<bool> Binary;
  std::string Set;
  for (int I = 0; I < Q.ColCount; ++I) {
    if (!Q.Columns[I].Updatable || SameValue(B->Values[I], Row[I])) continue;
    Set += Set.empty() ? " SET " : ", ";
    Set += Quoted(Q.Columns[I].Origin) + "=?";
    Values.push_back(&B->Values[I]);
    Names.push_back(Q.Columns[I].Name);
    Binary.push_back(IsBinaryType(Q.Columns[I].DataType));
  }
  if (!Set.empty()) {
    const std::string Sql = "UPDATE " + Quoted(Q.BaseTable) + Set + KeyCondition(Q, Row, Values, Names);
    if (RunWrite(FConnection->Core().Db, Sql, Values, Names, Binary) == 0)
      DatabaseError(RowNotFoundForUpdate, this);
  }
  std::copy(B->Values.begin(), B->Values.end(), Row);
  B->Owned = false;
  B->Values.clear();
  LeaveViewIfRejected(B->Slot);
}

// A posted row the filter no longer accepts leaves the view; the cursor stands on the next.
void TADOQuery::LeaveViewIfRejected(int Slot) {
  Impl& Q = *FImpl;
  if (!Q.FilterView || FilterAccepts(Slot)) return;
  const int Pos = Q.PositionOf(Slot);
  if (Pos < 0) return;
  Q.Order.erase(Q.Order.begin() + Pos);
  Q.PosDirty = true;
  Q.Cursor = Pos;
}

void TADOQuery::InternalAddRecord(TRecordBuffer Buffer, bool Append) {
  CheckCanModify();
  Impl& Q = *FImpl;
  TRecBuf* B = Buf(Buffer);
  sqlite3* Db = FConnection->Core().Db;
  std::vector<const Variant*> Values;
  std::vector<String> Names;
  std::vector<bool> Binary;
  std::string Columns, Marks;
  for (int I = 0; I < Q.ColCount; ++I) {
    const Variant& V = B->Values[I];
    if (!Q.Columns[I].Updatable || V.IsNull() || V.IsEmpty()) continue;  // defaults apply
    Columns += (Columns.empty() ? "" : ", ") + Quoted(Q.Columns[I].Origin);
    Marks += Marks.empty() ? "?" : ", ?";
    Values.push_back(&V);
    Names.push_back(Q.Columns[I].Name);
    Binary.push_back(IsBinaryType(Q.Columns[I].DataType));
  }
  const std::string Table = Quoted(Q.BaseTable);
  const std::string Sql = Columns.empty()
                              ? "INSERT INTO " + Table + " DEFAULT VALUES"
                              : "INSERT INTO " + Table + " (" + Columns + ") VALUES (" + Marks + ")";
  std::vector<Variant> Stored = B->Values;
  InSavepoint(Db, [&] {
    RunWrite(Db, Sql, Values, Names, Binary);
    // Read the row back: its key and the defaults of the columns not assigned.
    std::string Select;
    for (int I = 0; I < Q.ColCount; ++I)
      if (Q.Columns[I].Updatable) Select += (Select.empty() ? "" : ", ") + Quoted(Q.Columns[I].Origin);
    TStatement Read;
    Read.Prepare(Db, "SELECT " + Select + " FROM " + Table + " WHERE rowid=?", 0, false);
    sqlite3_bind_int64(Read.Handle(), 1, sqlite3_last_insert_rowid(Db));
    if (sqlite3_step(Read.Handle()) == SQLITE_ROW) {
      int Out = 0;
      for (int I = 0; I < Q.ColCount; ++I)
        if (Q.Columns[I].Updatable) Stored[I] = ReadColumnValue(Read.Handle(), Out++, Q.Columns[I]);
    }
  });
  const int Slot = Q.SlotCount();
  StampDataVersion();
  Q.Data.insert(Q.Data.end(), Stored.begin(), Stored.end());
  int Pos = Append ? Q.RowCount() : Q.PositionOf(B->Slot);
  if (Pos < 0) Pos = std::clamp(Q.Cursor, 0, Q.RowCount());
  if (Q.FilterView) {
    // Among all the rows, next to its neighbour in the view.
    auto At = Q.AllOrder.end();
    if (Pos > 0)
      At = std::find(Q.AllOrder.begin(), Q.AllOrder.end(), Q.Order[Pos - 1]) + 1;
    else if (!Q.Order.empty())
      At = std::find(Q.AllOrder.begin(), Q.AllOrder.end(), Q.Order[0]);
    Q.AllOrder.insert(At, Slot);
  }
  Q.Order.insert(Q.Order.begin() + Pos, Slot);
  Q.PosDirty = true;
  Q.Cursor = Pos;
  B->Slot = Slot;
  B->Flag = bfCurrent;
  B->Owned = false;
  B->Values.clear();
  LeaveViewIfRejected(Slot);
}

void TADOQuery::InternalCancel() {
  TRecBuf* B = Buf(ActiveBuffer());
  B->Owned = false;
  B->Values.clear();
}

void TADOQuery::InternalDelete() {
  CheckCanModify();
  Impl& Q = *FImpl;
  const TRecBuf* B = Buf(ActiveBuffer());
  const int Pos = Q.PositionOf(B->Slot);
  if (Pos < 0) DatabaseError(DBText::RecordNotFound, this);
  std::vector<const Variant*> Values;
  std::vector<String> Names;
  const std::string Sql =
      "DELETE FROM " + Quoted(Q.BaseTable) + KeyCondition(Q, Q.Row(B->Slot), Values, Names);
  if (RunWrite(FConnection->Core().Db, Sql, Values, Names) == 0)
    DatabaseError(RowNotFoundForDelete, this);
  StampDataVersion();
  Q.Order.erase(Q.Order.begin() + Pos);
  if (Q.FilterView) {
    auto It = std::find(Q.AllOrder.begin(), Q.AllOrder.end(), B->Slot);
    if (It != Q.AllOrder.end()) Q.AllOrder.erase(It);
  }
  Q.PosDirty = true;
  Q.Cursor = std::min(Pos, Q.RowCount() - 1);
}

void TADOQuery::InternalRefresh() {
  Impl& Q = *FImpl;
  // Come back to the same row by its key, else to the same position.
  std::vector<Variant> Key;
  const int OldPos = Q.Cursor;
  if (OldPos >= 0 && OldPos < Q.RowCount())
    for (int Col : Q.KeyColumns) Key.push_back(Q.Row(Q.Order[OldPos])[Col]);
  Execute();
  int Pos = -1;
  if (!Key.empty())
    for (int P = 0; P < Q.RowCount() && Pos < 0; ++P) {
      const Variant* Row = Q.Row(Q.Order[P]);
      bool Same = true;
      for (size_t K = 0; K < Key.size() && Same; ++K) Same = SameValue(Row[Q.KeyColumns[K]], Key[K]);
      if (Same) Pos = P;
    }
  Q.Cursor = Pos >= 0 ? Pos : std::min(std::max(OldPos, 0), Q.RowCount() - 1);
}

// ===== searching ===============================================================================

namespace {

// The row position matching KeyValues in the given data fields, or -1.
int FindRow(const TADOQuery::Impl& Q, const std::vector<TField*>& Fields,
            const Variant& KeyValues, TLocateOptions Options) {
  std::vector<Variant> Keys;
  if (Fields.size() == 1 && !KeyValues.IsArray()) {
    Keys.push_back(KeyValues);
  } else {
    for (int I = KeyValues.ArrayLowBound(); I <= KeyValues.ArrayHighBound(); ++I)
      Keys.push_back(KeyValues[I]);
  }
  if (Keys.size() != Fields.size()) return -1;
  for (int P = 0; P < Q.RowCount(); ++P) {
    const Variant* Row = Q.Row(Q.Order[P]);
    bool All = true;
    for (size_t K = 0; K < Fields.size() && All; ++K)
      All = Matches(Row[Fields[K]->FieldNo() - 1], Keys[K], Options);
    if (All) return P;
  }
  return -1;
}

bool AllDataFields(const std::vector<TField*>& Fields) {
  return std::all_of(Fields.begin(), Fields.end(), [](const TField* F) {
    return F->FieldKind() == fkData && F->FieldNo() > 0;
  });
}

}  // namespace

bool TADOQuery::Locate(const String& KeyFields, const Variant& KeyValues,
                       TLocateOptions Options) {
  CheckBrowseMode();
  std::vector<TField*> Fields;
  GetFieldList(Fields, KeyFields);
  if (!AllDataFields(Fields)) return TDataSet::Locate(KeyFields, KeyValues, Options);
  const int Pos = FindRow(*FImpl, Fields, KeyValues, Options);
  if (Pos < 0) return false;
  DoBeforeScroll();
  FImpl->Cursor = Pos;
  Resync({rmExact, rmCenter});
  DoAfterScroll();
  return true;
}

Variant TADOQuery::Lookup(const String& KeyFields, const Variant& KeyValues,
                          const String& ResultFields) {
  CheckActive();
  std::vector<TField*> Fields, Results;
  GetFieldList(Fields, KeyFields);
  GetFieldList(Results, ResultFields);
  if (!AllDataFields(Fields) || !AllDataFields(Results))
    return TDataSet::Lookup(KeyFields, KeyValues, ResultFields);
  const int Pos = FindRow(*FImpl, Fields, KeyValues, {});
  if (Pos < 0) return Variant::MakeNull();
  const Variant* Row = FImpl->Row(FImpl->Order[Pos]);
  if (Results.size() == 1) return Row[Results[0]->FieldNo() - 1];
  std::vector<Variant> Values;
  for (TField* F : Results) Values.push_back(Row[F->FieldNo() - 1]);
  return VarArrayOf(Values);
}
