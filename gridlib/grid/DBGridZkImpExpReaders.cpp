// DBGridZkImpExpReaders.cpp - the readers: tab-separated text (ANSI and UTF-16) through its state
// machine, and the binary "VCLDBIF" form with its read-ahead value.
#include "gridlib/grid/DBGridZkImpExp.h"

#include <cstring>

#include "gridlib/toolkit/GridLibraryStrings.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/classes/Strings.h"
#include "platform/db/Fields.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Variants.h"

namespace {

constexpr char16_t Tab = 9, Lf = 10, Cr = 13;

}  // namespace

// --- text -----------------------------------------------------------------------------------------

void TDBGridZkImportAsText::ImportFromStream(TStream* AStream, bool IsImportAll) {
  FIgnoreAll = false;
  TDBGridZkImport::ImportFromStream(AStream, IsImportAll);
}

void TDBGridZkImportAsText::FormatError() const {
  throw Exception(String(ClassNameText()) + u".CheckState: " +
                  GridLibraryString(SInvalidTextFormat));
}

void TDBGridZkImportAsText::CheckInput() {
  // A CR without its LF anywhere before the end of the text.
  const std::size_t Step = static_cast<std::size_t>(CharSize());
  auto Unit = [&](std::size_t At) {
    return Step == 1 ? static_cast<char16_t>(static_cast<unsigned char>(FData[At]))
                     : static_cast<char16_t>(static_cast<unsigned char>(FData[At]) |
                                             (static_cast<unsigned char>(FData[At + 1]) << 8));
  };
  for (std::size_t At = 0; At + Step <= FData.size(); At += Step) {
    const char16_t C = Unit(At);
    if (C == 0) return;
    if (C == Cr && (At + 2 * Step > FData.size() || Unit(At + Step) != Lf)) FormatError();
  }
}

bool TDBGridZkImportAsText::ReadNextChar() {
  const std::size_t Step = static_cast<std::size_t>(CharSize());
  if (FPos + Step > FData.size()) return false;
  FLastChar = static_cast<unsigned char>(FData[FPos]);
  if (Step == 2) FLastChar |= static_cast<char16_t>(static_cast<unsigned char>(FData[FPos + 1]) << 8);
  FPos += Step;
  return true;
}

TImportTextSreamState TDBGridZkImportAsText::CheckState() {
  const TImportTextSreamState Prev = FLastState;
  const bool AfterSeparator = Prev == itssTab || Prev == itssNewLine;
  const std::size_t Step = static_cast<std::size_t>(CharSize());
  FLastCharEmpty = false;
  // Once the input ended (at a NUL too) nothing after it is read.
  if (Eos || !ReadNextChar()) {
    Eos = true;
    return FLastState = itssEof;
  }
  switch (FLastChar) {
    case Tab:
      if (!AfterSeparator) return FLastState = itssTab;
      FLastCharEmpty = true;   // an empty cell before this TAB: read it again next
      FPos -= Step;
      return FLastState = itssChar;
    case Cr:
      if (!ReadNextChar() || FLastChar != Lf) FormatError();
      if (!AfterSeparator) return FLastState = itssNewLine;
      FLastCharEmpty = true;
      FPos -= 2 * Step;
      return FLastState = itssChar;
    case 0:
      Eos = true;
      return FLastState = itssEof;
    default: return FLastState = itssChar;
  }
}

TImportTextSreamState TDBGridZkImportAsText::ReadCellText() {
  FLastString.clear();
  if (FLastState == itssChar && !FLastCharEmpty) FLastString += FLastChar;
  TImportTextSreamState S;
  while ((S = CheckState()) == itssChar)
    if (!FLastCharEmpty) FLastString += FLastChar;
  return S;
}

void TDBGridZkImportAsText::ReadPrefix() {
  FLastState = itssNewLine;
  CheckState();
}

void TDBGridZkImportAsText::ImportRecord(const TColumnsZkList& Columns) {
  if (FLastState == itssEof) return;
  std::size_t I = 0;
  auto ImportNext = [&] {
    if (I < Columns.size()) ImportCell(Columns[I]);
    ++I;
  };
  if (FLastState == itssChar) {
    ReadCellText();
    ImportNext();
  }
  while (FLastState != itssNewLine && FLastState != itssEof) {
    ReadCellText();
    ImportNext();
  }
  CheckState();
}

String TDBGridZkImportAsText::CellString() const {
  std::string Bytes(FLastString.size(), '\0');
  for (std::size_t I = 0; I < Bytes.size(); ++I) Bytes[I] = static_cast<char>(FLastString[I]);
  return AnsiToString(Bytes);
}

String TDBGridZkImportAsUnicodeText::CellString() const { return FLastString; }

void TDBGridZkImportAsText::ImportCell(TColumnZk* Column) {
  if (!Column->CanModify(false)) return;
  TField* Field = Column->Field();
  if (Field->Lookup() && Field->KeyFields().empty()) return;
  const String Text = CellString();
  AssignImportedValue(Field, [&] {
    if (Field->Lookup()) {
      TDataSet* List = Field->LookupDataSet();
      if (!List || !List->Locate(Field->LookupResultField(), Text,
                                 TLocateOptions{loCaseInsensitive, loPartialKey}))
        return;
      TFieldsArrZk Keys, ListKeys;
      FieldsArrayByNames(Field->DataSet(), nullptr, Field->KeyFields(), Keys);
      FieldsArrayByNames(List, nullptr, Field->LookupKeyFields(), ListKeys);
      for (std::size_t I = 0; I < Keys.size() && I < ListKeys.size(); ++I)
        Keys[I]->SetValue(ListKeys[I]->Value());
    } else if (Column->GetColumnType() == ctKeyPickList) {
      const int Index = Column->PickList()->IndexOf(Text);
      if (Index < 0 || Index >= Column->KeyList()->Count()) Field->Clear();
      else Field->SetAsString(Column->KeyList()->Strings(Index));
    } else {
      Field->SetAsString(Column->GetAcceptableEditText(Text));
    }
  });
}

// --- VCLDBIF --------------------------------------------------------------------------------------

namespace {

// Reads the format's little-endian pieces from a byte string; every shortfall is Fail().
class TVCLDBIFCursor {
public:
  TVCLDBIFCursor(const std::string& Data, std::size_t& Pos, void (*Fail)(const void*),
                 const void* Owner)
      : FData(Data), FPos(Pos), FFail(Fail), FOwner(Owner) {}
  std::size_t Remaining() const { return FData.size() - FPos; }
  void Need(std::size_t Count) const {
    if (Remaining() < Count) FFail(FOwner);
  }
  unsigned char Byte() {
    Need(1);
    return static_cast<unsigned char>(FData[FPos++]);
  }
  std::int32_t Int32() {
    Need(4);
    std::uint32_t V = 0;
    for (int I = 0; I < 4; ++I) V |= std::uint32_t(static_cast<unsigned char>(FData[FPos + I])) << (8 * I);
    FPos += 4;
    return static_cast<std::int32_t>(V);
  }
  double Float() {
    Need(8);
    double V;
    std::memcpy(&V, FData.data() + FPos, 8);
    FPos += 8;
    return V;
  }
  // A length-prefixed payload: 0 <= length <= the bytes left, even for UTF-16.
  std::string Payload(bool Wide) {
    const std::int32_t Length = Int32();
    if (Length < 0 || static_cast<std::size_t>(Length) > Remaining() || (Wide && Length % 2 != 0))
      FFail(FOwner);
    std::string Out = FData.substr(FPos, static_cast<std::size_t>(Length));
    FPos += static_cast<std::size_t>(Length);
    return Out;
  }
  // Skips to the byte after the next 0.
  void SkipName() {
    const std::size_t End = FData.find('\0', FPos);
    if (End == std::string::npos) FFail(FOwner);
    FPos = End + 1;
  }

private:
  const std::string& FData;
  std::size_t& FPos;
  void (*FFail)(const void*);
  const void* FOwner;
};

[[noreturn]] void VCLDBIFFail(const void*) {
  throw Exception(String(u"TDBGridZkImportAsVCLDBIF.ReadPrefix: ") +
                  GridLibraryString(SInvalidVclDbifFormat));
}

// Header and descriptors; returns the column count.
int ReadVCLDBIFHeader(TVCLDBIFCursor& C, const std::string& Data, std::size_t& Pos) {
  C.Need(12);
  if (Data.compare(Pos, 7, "VCLDBIF") != 0) VCLDBIFFail(nullptr);
  Pos += 8;   // the version is not checked
  const std::int32_t Count = C.Int32();
  // Each descriptor takes at least two bytes.
  if (Count < 0 || static_cast<std::size_t>(Count) > C.Remaining() / 2) VCLDBIFFail(nullptr);
  for (std::int32_t I = 0; I < Count; ++I) {
    C.Byte();
    C.SkipName();
  }
  return Count;
}

}  // namespace

void TDBGridZkImportAsVCLDBIF::FormatError() const { VCLDBIFFail(this); }

void TDBGridZkImportAsVCLDBIF::ImportFromStream(TStream* AStream, bool IsImportAll) {
  FIgnoreAll = false;
  TDBGridZkImport::ImportFromStream(AStream, IsImportAll);
}

void TDBGridZkImportAsVCLDBIF::CheckInput() {
  std::size_t Pos = 0;
  TVCLDBIFCursor C(FData, Pos, VCLDBIFFail, this);
  const int Count = ReadVCLDBIFHeader(C, FData, Pos);
  for (bool First = true;; First = false) {
    const unsigned char Tag = C.Byte();
    // Without columns no value is ever consumed: only the end may follow.
    if (Tag == vtEnd) return;
    if (Count == 0 && First) FormatError();
    switch (Tag) {
      case vtEmpty: case vtNull: break;
      case vtInteger: C.Int32(); break;
      case vtFloat: C.Float(); break;
      case vtAnsiString: case vtBinary: C.Payload(false); break;
      case vtWideString: C.Payload(true); break;
      default: FormatError();
    }
  }
}

void TDBGridZkImportAsVCLDBIF::ReadPrefix() {
  TVCLDBIFCursor C(FData, FPos, VCLDBIFFail, this);
  FColCount = ReadVCLDBIFHeader(C, FData, FPos);
  ReadNextValue();
}

void TDBGridZkImportAsVCLDBIF::ReadNextValue() {
  if (Eos) return;
  TVCLDBIFCursor C(FData, FPos, VCLDBIFFail, this);
  const unsigned char Tag = C.Byte();
  LastValue = Unassigned();
  FLastBinary = false;
  switch (Tag) {
    case vtEnd: Eos = true; break;
    case vtEmpty: break;
    case vtNull: LastValue = Null(); break;
    case vtInteger: LastValue = static_cast<int>(C.Int32()); break;
    case vtFloat: LastValue = C.Float(); break;
    case vtAnsiString: case vtBinary:
      FLastBytes = C.Payload(false);
      FLastBinary = Tag == vtBinary;
      LastValue = AnsiToString(FLastBytes);
      break;
    case vtWideString: {
      const std::string Bytes = C.Payload(true);
      String Text(Bytes.size() / 2, u'\0');
      std::memcpy(Text.data(), Bytes.data(), Bytes.size());
      LastValue = Text;
      break;
    }
    default: FormatError();
  }
}

void TDBGridZkImportAsVCLDBIF::ImportRecord(const TColumnsZkList& Columns) {
  for (int I = 0; I < FColCount; ++I)
    ImportCell(static_cast<std::size_t>(I) < Columns.size() ? Columns[static_cast<std::size_t>(I)]
                                                            : nullptr);
}

void TDBGridZkImportAsVCLDBIF::ImportCell(TColumnZk* Column) {
  if (!LastValue.IsEmpty() && Column && Column->CanModify(false)) {
    TField* Field = Column->Field();
    if (Field->Lookup()) {
      TFieldsArrZk Keys;
      FieldsArrayByNames(Field->DataSet(), nullptr, Field->KeyFields(), Keys);
      TStringList Items;
      Items.SetCommaText(VarToStr(LastValue));
      for (std::size_t I = 0; I < Keys.size(); ++I) {
        const String Item = Items.Strings(static_cast<int>(I));   // too few items end the import
        AssignImportedValue(Keys[I], [&] { Keys[I]->SetAsString(Item); });
      }
    } else {
      AssignImportedValue(Field, [&] {
        auto* Blob = dynamic_cast<TBlobField*>(Field);
        if (FLastBinary && Blob) Blob->SetAsBytes(FLastBytes);
        else Field->SetValue(LastValue);
      });
    }
  }
  ReadNextValue();
}
