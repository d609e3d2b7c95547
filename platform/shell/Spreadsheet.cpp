// Spreadsheet.cpp - the spreadsheet stand-in's model: application, workbook, sheet, ranges,
// styles, values and addresses. Saving lives in SpreadsheetSave.cpp.
#include "platform/shell/Spreadsheet.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/shell/ShellOpen.h"

namespace {

[[noreturn]] void Fail(const String& Message) { throw Exception(Message); }

bool IsDigit(Char C) { return C >= u'0' && C <= u'9'; }

// "-12", "0.5", "1234.50": an optional minus, digits, optionally "." and digits.
bool IsPlainNumber(const String& S) {
  std::size_t I = 0;
  if (I < S.size() && S[I] == u'-') ++I;
  const std::size_t IntStart = I;
  while (I < S.size() && IsDigit(S[I])) ++I;
  if (I == IntStart) return false;
  if (I < S.size() && S[I] == u'.') {
    const std::size_t FracStart = ++I;
    while (I < S.size() && IsDigit(S[I])) ++I;
    if (I == FracStart) return false;
  }
  return I == S.size() && I <= 40;
}

void StoreValue(TSheetCell& Cell, const String& Value) {
  Cell.IsNumber = false;
  Cell.Number = 0;
  if (!Value.empty() && Value[0] == u'\'') {
    Cell.Text = Value.substr(1);
    return;
  }
  Cell.Text = Value;
  if (IsPlainNumber(Value)) {
    Cell.IsNumber = true;
    Cell.Number = std::stod(StringToUtf8(Value));
  }
}

}  // namespace

// =============================================================================================
// Addresses and formats
// =============================================================================================

bool ParseCellAddress(const String& Address, int& Row, int& Col) {
  std::size_t I = 0;
  long C = 0;
  while (I < Address.size() && I < 3) {
    Char Ch = Address[I];
    if (Ch >= u'a' && Ch <= u'z') Ch = static_cast<Char>(Ch - u'a' + u'A');
    if (Ch < u'A' || Ch > u'Z') break;
    C = C * 26 + (Ch - u'A' + 1);
    ++I;
  }
  if (I == 0 || I == Address.size()) return false;
  long R = 0;
  for (std::size_t J = I; J < Address.size(); ++J) {
    if (!IsDigit(Address[J]) || J - I >= 7) return false;
    R = R * 10 + (Address[J] - u'0');
  }
  if (R < 1 || C > 16384) return false;
  Row = static_cast<int>(R - 1);
  Col = static_cast<int>(C - 1);
  return true;
}

String InvariantNumberFormat(const String& LocaleFormat) {
  const TFormatSettings& FS = FormatSettings;
  String Out;
  for (Char C : LocaleFormat) {
    if (C == FS.DecimalSeparator)
      Out += u'.';
    else if (C == u' ' || C == u'\u00A0' || C == FS.ThousandSeparator)
      Out += u',';
    else
      Out += C;
  }
  return Out;
}

// =============================================================================================
// Styles and values
// =============================================================================================

TSheetStyle* TSheetStyles::Add(const String& Name) {
  if (TSheetStyle* S = Find(Name)) return S;
  FItems.push_back(std::make_unique<TSheetStyle>());
  FItems.back()->Name = Name;
  return FItems.back().get();
}

TSheetStyle* TSheetStyles::Find(const String& Name) const {
  for (const auto& S : FItems)
    if (S->Name == Name) return S.get();
  return nullptr;
}

TSheetValues::TSheetValues(int Rows, int Cols, int Base)
    : FRows(std::max(Rows, 0)), FCols(std::max(Cols, 0)), FBase(Base),
      FItems(static_cast<std::size_t>(FRows) * static_cast<std::size_t>(FCols)) {}

String& TSheetValues::At(int Row, int Col) {
  const int R = Row - FBase, C = Col - FBase;
  if (R < 0 || C < 0 || R >= FRows || C >= FCols) Fail(u"Array index out of bounds");
  return FItems[static_cast<std::size_t>(R) * static_cast<std::size_t>(FCols) +
                static_cast<std::size_t>(C)];
}

const String& TSheetValues::Item(int Row, int Col) const {
  return FItems[static_cast<std::size_t>(Row) * static_cast<std::size_t>(FCols) +
                static_cast<std::size_t>(Col)];
}

// =============================================================================================
// Ranges
// =============================================================================================

void TSheetRange::SetStyle(const String& Name) {
  const TSheetStyle* S = FSheet->FBook->Styles()->Find(Name);
  if (!S) Fail(u"Unknown style \"" + Name + u"\"");
  for (const TSheetArea& A : FAreas)
    for (int R = A.Row1; R <= A.Row2; ++R)
      for (int C = A.Col1; C <= A.Col2; ++C) FSheet->CellAt(R, C).Style = S;
}

void TSheetRange::SetValue(const TSheetValues& Values) {
  if (FAreas.empty()) return;
  const TSheetArea& A = FAreas.front();
  FSheet->CheckRow(A.Row1 + std::min(Values.Rows(), A.Row2 - A.Row1 + 1) - 1);
  for (int R = 0; R < Values.Rows() && A.Row1 + R <= A.Row2; ++R)
    for (int C = 0; C < Values.Cols() && A.Col1 + C <= A.Col2; ++C) {
      const String& V = Values.Item(R, C);
      if (V.empty() && !FSheet->Cell(A.Row1 + R, A.Col1 + C)) continue;
      StoreValue(FSheet->CellAt(A.Row1 + R, A.Col1 + C), V);
    }
}

void TSheetRange::SetMergeCells(bool Value) {
  auto& M = FSheet->FMerges;
  for (const TSheetArea& A : FAreas) {
    auto Same = std::find(M.begin(), M.end(), A);
    if (!Value) {
      if (Same != M.end()) M.erase(Same);
      continue;
    }
    if (Same != M.end() || (A.Row1 == A.Row2 && A.Col1 == A.Col2)) continue;
    // A merge that overlaps earlier ones replaces them, as the application does.
    std::erase_if(M, [&](const TSheetArea& B) {
      return B.Row1 <= A.Row2 && A.Row1 <= B.Row2 && B.Col1 <= A.Col2 && A.Col1 <= B.Col2;
    });
    M.push_back(A);
  }
}

void TSheetBorder::SetLineStyle(int Value) {
  if (FIndex < xlEdgeLeft || FIndex > xlEdgeRight) Fail(u"Unknown border index");
  const auto Bit = static_cast<std::uint8_t>(1u << (FIndex - xlEdgeLeft));
  TWorksheet* Sheet = FRange->FSheet;
  for (const TSheetArea& A : FRange->FAreas)
    for (int R = A.Row1; R <= A.Row2; ++R)
      for (int C = A.Col1; C <= A.Col2; ++C) {
        const bool OnEdge = FEveryCell || (FIndex == xlEdgeLeft && C == A.Col1) ||
                            (FIndex == xlEdgeRight && C == A.Col2) ||
                            (FIndex == xlEdgeTop && R == A.Row1) ||
                            (FIndex == xlEdgeBottom && R == A.Row2);
        if (!OnEdge) continue;
        TSheetCell& Cell = Sheet->CellAt(R, C);
        if (Value == xlContinuous)
          Cell.Borders |= Bit;
        else
          Cell.Borders &= static_cast<std::uint8_t>(~Bit);
      }
}

void TSheetRange::SetRowHeight(double Points) {
  if (Points < 0 || Points > 409) Fail(u"Unable to set the RowHeight property");
  for (const TSheetArea& A : FAreas) {
    FSheet->CheckRow(A.Row2);
    for (int R = A.Row1; R <= A.Row2; ++R) FSheet->FRowHeights[R] = Points;
  }
}

void TSheetRange::SetNumberFormat(const String& LocaleFormat) {
  const String Format = InvariantNumberFormat(LocaleFormat);
  for (const TSheetArea& A : FAreas)
    for (int R = A.Row1; R <= A.Row2; ++R)
      for (int C = A.Col1; C <= A.Col2; ++C) FSheet->CellAt(R, C).NumberFormat = Format;
}

void TSheetRange::Select() {
  if (!FAreas.empty()) FSheet->FSelection = FAreas.front();
}

void TSheetRange::PastePicture(const std::string& Png) {
  static const char Signature[] = "\x89PNG\r\n\x1a\n";
  if (Png.size() < 24 || Png.compare(0, 8, Signature, 8) != 0 || FAreas.empty())
    Fail(u"The clipboard does not hold a picture");
  auto Be32 = [&](std::size_t At) {
    return static_cast<int>((std::uint32_t(std::uint8_t(Png[At])) << 24) |
                            (std::uint32_t(std::uint8_t(Png[At + 1])) << 16) |
                            (std::uint32_t(std::uint8_t(Png[At + 2])) << 8) |
                            std::uint32_t(std::uint8_t(Png[At + 3])));
  };
  auto P = std::make_unique<TSheetPicture>();
  P->Png = Png;
  P->Row = FAreas.front().Row1;
  P->Col = FAreas.front().Col1;
  P->PixelWidth = Be32(16);
  P->PixelHeight = Be32(20);
  P->Width = P->PixelWidth * 0.75;
  P->Height = P->PixelHeight * 0.75;
  P->FSheet = FSheet;
  FSheet->FPictures.push_back(std::move(P));
}

// =============================================================================================
// Rows, columns, pictures
// =============================================================================================

void TSheetRow::SetPageBreak(int Value) {
  FSheet->CheckRow(FRow - 1);
  auto& B = FSheet->FPageBreaks;
  auto At = std::lower_bound(B.begin(), B.end(), FRow - 1);
  const bool Has = At != B.end() && *At == FRow - 1;
  if (Value == xlPageBreakManual && !Has && FRow > 1)
    B.insert(At, FRow - 1);
  else if (Value != xlPageBreakManual && Has)
    B.erase(At);
}

void TSheetRow::SetRowHeight(double Points) {
  TSheetRange(FSheet, {{FRow - 1, 0, FRow - 1, 0}}).SetRowHeight(Points);
}

void TSheetColumn::SetColumnWidth(double Characters) {
  if (Characters < 0 || Characters > 255 || FCol < 1 || FCol > 16384)
    Fail(u"Unable to set the ColumnWidth property");
  FSheet->FColumnWidths[FCol - 1] = Characters;
}

double TSheetPicture::Left() const { return FSheet->ColumnLeft(Col) + OffsetX; }
double TSheetPicture::Top() const { return FSheet->RowTop(Row) + OffsetY; }
void TSheetPicture::SetLeft(double Points) { OffsetX = Points - FSheet->ColumnLeft(Col); }
void TSheetPicture::SetTop(double Points) { OffsetY = Points - FSheet->RowTop(Row); }

// =============================================================================================
// The sheet
// =============================================================================================

namespace {
constexpr double DefaultRowHeight = 15;
constexpr double DefaultColumnWidth = 8.43;
// A column of W characters is W * 7 + 5 pixels wide in the default font.
double ColumnPoints(double W) { return std::floor(W * 7 + 5) * 0.75; }
}  // namespace

double TWorksheet::ColumnLeft(int Col) const {
  double X = 0;
  for (int C = 0; C < Col; ++C) X += ColumnPoints(ColumnWidth(C).value_or(DefaultColumnWidth));
  return X;
}

double TWorksheet::RowTop(int Row) const {
  double Y = 0;
  for (int R = 0; R < Row; ++R) Y += RowHeight(R).value_or(DefaultRowHeight);
  return Y;
}

void TWorksheet::CheckRow(int Row) const {
  if (Row >= SheetMaxRows)
    Fail(String(u"The sheet holds at most 1,048,576 rows; row ") + Utf8ToString(std::to_string(Row + 1)) +
         u" is beyond it");
}

TSheetRange TWorksheet::Range(const String& Cell1, const String& Cell2) const {
  int R1, C1, R2, C2;
  if (!ParseCellAddress(Cell1, R1, C1) || !ParseCellAddress(Cell2, R2, C2))
    Fail(u"Bad cell address \"" + Cell1 + u"\", \"" + Cell2 + u"\"");
  return TSheetRange(const_cast<TWorksheet*>(this),
                     {{std::min(R1, R2), std::min(C1, C2), std::max(R1, R2), std::max(C1, C2)}});
}

TSheetRange TWorksheet::Range(const String& Addresses) const {
  std::vector<TSheetArea> Areas;
  const Char List = FormatSettings.ListSeparator;
  std::size_t From = 0;
  while (From <= Addresses.size()) {
    std::size_t To = From;
    while (To < Addresses.size() && Addresses[To] != List && Addresses[To] != u';') ++To;
    const String Part = Addresses.substr(From, To - From);
    const std::size_t Colon = Part.find(u':');
    const String A = Part.substr(0, Colon);
    const String B = Colon == String::npos ? A : Part.substr(Colon + 1);
    Areas.push_back(Range(A, B).Areas().front());
    From = To + 1;
  }
  return TSheetRange(const_cast<TWorksheet*>(this), std::move(Areas));
}

TSheetRange TWorksheet::Cells() const {
  return TSheetRange(const_cast<TWorksheet*>(this), {{0, 0, SheetMaxRows - 1, 16383}});
}

TSheetPicture& TWorksheet::Pictures(int Index) {
  if (Index < 1 || Index > static_cast<int>(FPictures.size()))
    Fail(u"Unable to get the Pictures property");
  return *FPictures[static_cast<std::size_t>(Index - 1)];
}

const TSheetCell* TWorksheet::Cell(int Row, int Col) const {
  auto It = FCells.find({Row, Col});
  return It == FCells.end() ? nullptr : &It->second;
}

TSheetCell& TWorksheet::CellAt(int Row, int Col) {
  CheckRow(Row);
  return FCells[{Row, Col}];
}

std::optional<double> TWorksheet::RowHeight(int Row) const {
  auto It = FRowHeights.find(Row);
  return It == FRowHeights.end() ? std::nullopt : std::optional<double>(It->second);
}

std::optional<double> TWorksheet::ColumnWidth(int Col) const {
  auto It = FColumnWidths.find(Col);
  return It == FColumnWidths.end() ? std::nullopt : std::optional<double>(It->second);
}

// =============================================================================================
// Workbook and application
// =============================================================================================

TWorkbook::TWorkbook(TSpreadsheetApplication* App)
    : FApp(App), FSheet(std::make_unique<TWorksheet>(this)) {}

TWorkbook::~TWorkbook() = default;

TWorksheet* TWorkbook::Worksheets(int Index) {
  if (Index != 1) Fail(u"Subscript out of range");
  return FSheet.get();
}

TWorkbook* TWorkbooks::Add() {
  FApp->FBook = std::make_unique<TWorkbook>(FApp);
  return FApp->FBook.get();
}

TSpreadsheetApplication::TSpreadsheetApplication() = default;
TSpreadsheetApplication::~TSpreadsheetApplication() = default;

TWorksheet* TSpreadsheetApplication::ActiveSheet() const {
  return FBook ? FBook->Worksheets(1) : nullptr;
}

void TSpreadsheetApplication::SetVisible(bool Value) {
  FVisible = Value;
  if (Value && FBook && !FBook->FullName().empty()) ShellOpen(FBook->FullName());
}

void TSpreadsheetApplication::Saved(const String& FileName) {
  if (FVisible) ShellOpen(FileName);
}

void TSpreadsheetApplication::Quit() { FBook.reset(); }
