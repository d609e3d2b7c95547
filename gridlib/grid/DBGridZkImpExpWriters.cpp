// DBGridZkImpExpWriters.cpp - the tab-separated text writers (ANSI and UTF-16), the CSV writer
// and the binary "VCLDBIF" writer.
#include "gridlib/grid/DBGridZkImpExp.h"

#include <cstring>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/db/Fields.h"
#include "platform/rtl/CodePage.h"

void WriteAnsiTextToStream(TStream* Stream, const String& Text) {
  const std::string Bytes = StringToAnsi(Text);
  Stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
}

void WriteWideTextToStream(TStream* Stream, const String& Text) {
  Stream->WriteBuffer(Text.data(), static_cast<Int64>(Text.size() * sizeof(char16_t)));
}

// --- tab-separated text ---------------------------------------------------------------------------

void TDBGridZkExportAsText::ExportToStream(TStream* AStream, bool IsExportAll) {
  FirstRec = true;
  FPending.clear();
  TDBGridZkExport::ExportToStream(AStream, IsExportAll);
  Flush();
}

// The text is collected and written in pieces of some 32,000 characters: one conversion and one
// stream write per piece instead of per cell.
void TDBGridZkExportAsText::PutText(const String& Text) {
  FPending += Text;
  if (FPending.size() > 32768) Flush();
}

void TDBGridZkExportAsText::Flush() {
  WritePending(FPending);
  FPending.clear();
}

void TDBGridZkExportAsText::WritePending(const String& Text) { WriteAnsiTextToStream(FStream, Text); }

void TDBGridZkExportAsText::SeparateRow() {
  if (FirstRec) FirstRec = false;
  else PutText(u"\r\n");
}

void TDBGridZkExportAsText::SeparateCell() {
  if (FirstCell) FirstCell = false;
  else PutText(u"\t");
}

void TDBGridZkExportAsText::WriteTitle(const TColumnsZkList& Columns) {
  SeparateRow();
  FirstCell = true;
  for (TColumnZk* Column : Columns) {
    SeparateCell();
    PutText(Column->Title()->Caption());
  }
}

void TDBGridZkExportAsText::WriteRecord(const TColumnsZkList& Columns) {
  SeparateRow();
  FirstCell = true;
  TDBGridZkExport::WriteRecord(Columns);
}

void TDBGridZkExportAsText::WriteDataCell(TColumnZk* Column, TColCellParamsZk* CellParams) {
  SeparateCell();
  TField* Field = Column->Field();
  TDBGridZkCenter* Center = FDBGridZk->Center();
  if (Field && IsNumberFieldType(Field->DataType()) && Center &&
      Center->PreferEditFormatForNumberFields())
    PutText(Column->EditText());
  else
    PutText(CellParams->Text);
}

void TDBGridZkExportAsText::WriteFooter(const TColumnsZkList& Columns, int FooterNo) {
  SeparateRow();
  FirstCell = true;
  TDBGridZkExport::WriteFooter(Columns, FooterNo);
}

void TDBGridZkExportAsText::WriteFooterCell(int, int, const String& Value, TAlignment, TColor,
                                            TFont*, TColumnZk*) {
  SeparateCell();
  PutText(Value);
}

void TDBGridZkExportAsUnicodeText::WritePending(const String& Text) {
  WriteWideTextToStream(FStream, Text);
}

// --- CSV ------------------------------------------------------------------------------------------

namespace {

String CsvQuoted(const String& Text) {
  String Out;
  Out.reserve(Text.size() + 2);
  Out += u'"';
  for (char16_t C : Text) {
    if (C == u'"') Out += u'"';
    Out += C;
  }
  Out += u'"';
  return Out;
}

}  // namespace

TDBGridZkExportAsCSV::TDBGridZkExportAsCSV() = default;

void TDBGridZkExportAsCSV::SeparateCell() {
  if (FirstCell) FirstCell = false;
  else PutText(AnsiToString(std::string(1, FSeparator)));
}

void TDBGridZkExportAsCSV::WriteTitle(const TColumnsZkList& Columns) {
  SeparateRow();
  FirstCell = true;
  for (TColumnZk* Column : Columns) {
    SeparateCell();
    PutText(CsvQuoted(Column->Title()->Caption()));
  }
}

void TDBGridZkExportAsCSV::WriteDataCell(TColumnZk*, TColCellParamsZk* CellParams) {
  SeparateCell();
  PutText(CsvQuoted(CellParams->Text));
}

void TDBGridZkExportAsCSV::WriteFooterCell(int, int, const String& Value, TAlignment, TColor,
                                           TFont*, TColumnZk*) {
  SeparateCell();
  PutText(CsvQuoted(Value));
}

// --- VCLDBIF --------------------------------------------------------------------------------------

namespace {

void PutByte(TStream* S, unsigned char B) { S->WriteBuffer(&B, 1); }

void PutInt32(TStream* S, std::int32_t V) {
  unsigned char B[4];
  for (int I = 0; I < 4; ++I) B[I] = static_cast<unsigned char>((static_cast<std::uint32_t>(V) >> (8 * I)) & 0xFF);
  S->WriteBuffer(B, 4);
}

void PutBytes(TStream* S, TVCLDBIFTag Tag, const void* Data, std::size_t Size) {
  PutByte(S, Tag);
  PutInt32(S, static_cast<std::int32_t>(Size));
  if (Size) S->WriteBuffer(Data, static_cast<Int64>(Size));
}

void PutWide(TStream* S, const String& Text) {
  PutBytes(S, vtWideString, Text.data(), Text.size() * sizeof(char16_t));
}

void PutAnsi(TStream* S, TVCLDBIFTag Tag, const std::string& Bytes) {
  PutBytes(S, Tag, Bytes.data(), Bytes.size());
}

// The comma text of a lookup field's key values.
String LookupKeysCommaText(TField* Field) {
  TFieldsArrZk Keys;
  FieldsArrayByNames(Field->DataSet(), nullptr, Field->KeyFields(), Keys);
  TStringList List;
  for (TField* Key : Keys) List.Add(Key->AsString());
  return List.CommaText();
}

}  // namespace

void TDBGridZkExportAsVCLDBIF::WritePrefix() {
  // The header is built for each export: nothing shared is rewritten.
  FStream->WriteBuffer("VCLDBIF", 7);
  PutByte(FStream, 1);
  PutInt32(FStream, static_cast<std::int32_t>(FExpCols.size()));
  for (TColumnZk* Column : FExpCols) {
    PutByte(FStream, Column->Visible() ? 1 : 0);
    PutByte(FStream, 0);   // the empty name
  }
}

void TDBGridZkExportAsVCLDBIF::WriteSuffix() { PutByte(FStream, vtEnd); }

void TDBGridZkExportAsVCLDBIF::WriteDataCell(TColumnZk* Column, TColCellParamsZk*) {
  TField* Field = Column->Field();
  if (!Field) return PutByte(FStream, vtEmpty);
  if (Field->Lookup()) return PutWide(FStream, LookupKeysCommaText(Field));
  if (Field->IsNull()) return PutByte(FStream, vtNull);
  switch (Field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftShortint: case ftByte:
      PutByte(FStream, vtInteger);
      PutInt32(FStream, Field->AsInteger());
      return;
    case ftFloat: case ftCurrency: case ftBCD: case ftDate: case ftTime: case ftDateTime:
    case ftTimeStamp: case ftFMTBcd: {
      const double V = Field->AsFloat();
      unsigned char B[8];
      std::memcpy(B, &V, 8);   // little-endian hosts only, as the format
      PutByte(FStream, vtFloat);
      FStream->WriteBuffer(B, 8);
      return;
    }
    case ftBytes: case ftVarBytes: case ftBlob: case ftGraphic: case ftFmtMemo: case ftParadoxOle:
    case ftDBaseOle: case ftTypedBinary: case ftOraBlob: {
      auto* Blob = dynamic_cast<TBlobField*>(Field);
      PutAnsi(FStream, vtBinary, Blob ? Blob->AsBytes() : StringToAnsi(Field->AsString()));
      return;
    }
    case ftWideString: case ftFixedWideChar: case ftWideMemo:
      PutWide(FStream, Field->AsString());
      return;
    case ftString: case ftBoolean: case ftMemo: case ftFixedChar: case ftLargeint: case ftOraClob:
    case ftGuid: case ftOraTimeStamp: case ftOraInterval: case ftLongWord: case ftExtended:
      PutAnsi(FStream, vtAnsiString, StringToAnsi(Field->AsString()));
      return;
    default: PutByte(FStream, vtEmpty); return;
  }
}
