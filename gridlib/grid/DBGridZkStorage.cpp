// DBGridZkStorage.cpp - the data grid's stored layouts (registry and ini files) and the fitting
// of column widths to titles, cell texts and footers.
#include "gridlib/grid/DBGridZkStorage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "platform/classes/IniFiles.h"
#include "platform/classes/Registry.h"
#include "platform/controls/Forms.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

// --- names and words ------------------------------------------------------------------------------

String StorageSectionName(TComponent* Component) {
  if (!Component) return String();
  if (dynamic_cast<TCustomForm*>(Component)) return Component->ClassName();
  String Result = Component->Name();
  for (TComponent* Owner = Component->Owner(); Owner; Owner = Owner->Owner()) {
    if (dynamic_cast<TCustomForm*>(Owner)) return Owner->ClassName() + Result;
    Result = Owner->Name() + u"." + Result;
  }
  return Result;
}

String NthWordAndStart(int N, const String& S, const String& Delimiters, int& Position) {
  Position = 0;
  const auto IsDelimiter = [&](Char C) { return Delimiters.find(C) != String::npos; };
  std::size_t I = 0;
  for (int Word = 1; I < S.size(); ++Word) {
    while (I < S.size() && IsDelimiter(S[I])) ++I;
    if (I == S.size()) break;
    const std::size_t Start = I;
    while (I < S.size() && !IsDelimiter(S[I])) ++I;
    if (Word == N) {
      Position = static_cast<int>(Start) + 1;
      return S.substr(Start, I - Start);
    }
  }
  return String();
}

int NthWordStart(int N, const String& S, const String& Delimiters) {
  int Position = 0;
  NthWordAndStart(N, S, Delimiters, Position);
  return Position;
}

String NthWord(int N, const String& S, const String& Delimiters) {
  int Position = 0;
  return NthWordAndStart(N, S, Delimiters, Position);
}

// --- storage --------------------------------------------------------------------------------------

namespace {

constexpr int ColumnItemCount = 9;

// The registry and ini objects seen alike: read, write and erase; where the grid value goes.
class TLayoutStore {
public:
  virtual ~TLayoutStore() = default;
  virtual String Read(const String& Section, const String& Name) = 0;
  virtual void Write(const String& Section, const String& Name, const String& Value) = 0;
  virtual void Erase(const String& Section) = 0;
  virtual String GridValueName() const = 0;
};

class TRegLayoutStore : public TLayoutStore {
public:
  explicit TRegLayoutStore(TRegIniFile* Reg) : FReg(Reg) {}
  String Read(const String& Section, const String& Name) override {
    return FReg->ReadString(Section, Name, String());
  }
  void Write(const String& Section, const String& Name, const String& Value) override {
    FReg->WriteString(Section, Name, Value);
  }
  void Erase(const String& Section) override { FReg->EraseSection(Section); }
  String GridValueName() const override { return String(); }   // the key's default value

private:
  TRegIniFile* FReg;
};

class TIniLayoutStore : public TLayoutStore {
public:
  explicit TIniLayoutStore(TCustomIniFile* Ini) : FIni(Ini) {}
  String Read(const String& Section, const String& Name) override {
    return FIni->ReadString(Section, Name, String());
  }
  void Write(const String& Section, const String& Name, const String& Value) override {
    FIni->WriteString(Section, Name, Value);
  }
  void Erase(const String& Section) override { FIni->EraseSection(Section); }
  String GridValueName() const override { return u"(Default)"; }

private:
  TCustomIniFile* FIni;
};

String ColumnValueName(TCustomDBGridZk* Grid, TColumnZk* Column) {
  return Grid->Name() + u"." + Column->FieldName();
}

String ColumnValue(TColumnZk* C) {
  const std::array<int, ColumnItemCount> Items = {
      C->Index(), C->Width(), static_cast<int>(C->Title()->SortMarker()), C->Visible() ? 1 : 0,
      C->Title()->SortIndex(), C->DropDownRows(), C->DropDownWidth(), C->InRowLinePos(),
      C->InRowLineHeight()};
  String Result;
  for (int Item : Items) Result += (Result.empty() ? String() : String(u",")) + IntToStr(Item);
  return Result;
}

// Stored pixels and counts beyond what a screen can show are not read: the value is outside
// data, and such a width or row count would only break the layout's arithmetic.
constexpr int MaxStoredItem = 32767;

// The items of a stored value; an item that is missing, not a number or out of its range is
// unset.
struct TStoredItems {
  explicit TStoredItems(const String& Value) : FValue(Value) {}
  bool Get(int N, int& Item, int Min = -MaxStoredItem, int Max = MaxStoredItem) const {
    Integer V = 0;
    if (!TryStrToInt(NthWord(N, FValue, u" ,"), V) || V < Min || V > Max) return false;
    Item = V;
    return true;
  }
  String FValue;
};

struct TColumnInfo {
  TColumnZk* Column;
  int EndIndex;
  int SortIndex = 0;
};

void SaveColumnsLayoutTo(TCustomDBGridZk* Grid, TLayoutStore& Store, const String& Section,
                         bool Erase) {
  if (Erase) Store.Erase(Section);
  TDBGridColumnsZk* Cols = Grid->Columns();
  for (int I = 0; I < Cols->Count(); ++I)
    Store.Write(Section, ColumnValueName(Grid, Cols->Items(I)), ColumnValue(Cols->Items(I)));
}

void SaveGridLayoutTo(TCustomDBGridZk* Grid, TLayoutStore& Store, const String& Section,
                      bool Erase) {
  SaveColumnsLayoutTo(Grid, Store, Section, Erase);
  Store.Write(Section, Store.GridValueName(),
              IntToStr(Grid->RowHeight()) + u"," + IntToStr(Grid->RowLines()));
}

void RestoreColumn(TColumnInfo& Info, const TStoredItems& Items, TColumnZkRestoreParams P) {
  TColumnZk* C = Info.Column;
  int V = 0;
  if (Items.Get(1, V, INT32_MIN, INT32_MAX)) Info.EndIndex = V;
  if (P.Contains(crpColWidthsZk) && Items.Get(2, V, 0)) C->SetWidth(V);
  if (P.Contains(crpSortMarkerZk) && Items.Get(3, V, smNoneZk, smUpZk))
    C->Title()->SetSortMarker(static_cast<TSortMarkerZk>(V));
  if (P.Contains(crpColVisibleZk) && Items.Get(4, V, INT32_MIN, INT32_MAX)) C->SetVisible(V != 0);
  if (P.Contains(crpSortMarkerZk) && Items.Get(5, V, 0)) Info.SortIndex = V;
  if (P.Contains(crpDropDownRowsZk) && Items.Get(6, V, 0)) C->SetDropDownRows(V);
  if (P.Contains(crpDropDownWidthZk) && Items.Get(7, V, -1)) C->SetDropDownWidth(V);
  if (P.Contains(crpRowPanelColPlacementZk)) {
    if (Items.Get(8, V, 0)) C->SetInRowLinePos(V);
    if (Items.Get(9, V, 1)) C->SetInRowLineHeight(V);
  }
}

void RestoreColumnsLayoutFrom(TCustomDBGridZk* Grid, TLayoutStore& Store, const String& Section,
                              TColumnZkRestoreParams Params) {
  Grid->BeginUpdate();
  const bool AutoFit = Grid->AutoFitColWidths();
  auto Finish = [&] {
    Grid->EndUpdate();
    if (AutoFit) Grid->SetAutoFitColWidths(true);
    else Grid->LayoutChanged();
  };
  try {
    if (AutoFit) Grid->SetAutoFitColWidths(false);
    TDBGridColumnsZk* Cols = Grid->Columns();
    std::vector<TColumnInfo> Infos;
    for (int I = 0; I < Cols->Count(); ++I) Infos.push_back({Cols->Items(I), I});
    for (TColumnInfo& Info : Infos) {
      const String Value = Store.Read(Section, ColumnValueName(Grid, Info.Column));
      if (!Value.empty()) RestoreColumn(Info, TStoredItems(Value), Params);
    }
    if (Params.Contains(crpSortMarkerZk))
      for (TColumnInfo& Info : Infos) Info.Column->Title()->SetSortIndex(Info.SortIndex);
    if (Params.Contains(crpColIndexZk))
      for (int P = 0; P < static_cast<int>(Infos.size()); ++P)
        for (TColumnInfo& Info : Infos)
          if (Info.EndIndex == P) {
            Info.Column->SetIndex(P);
            break;
          }
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
}

TColumnZkRestoreParams ColumnParams(TDBGridZkRestoreParams P) {
  TColumnZkRestoreParams Result;
  const std::pair<TDBGridZkRestoreParam, TColumnZkRestoreParam> Map[] = {
      {grpColIndexZk, crpColIndexZk},         {grpColWidthsZk, crpColWidthsZk},
      {grpSortMarkerZk, crpSortMarkerZk},     {grpColVisibleZk, crpColVisibleZk},
      {grpDropDownRowsZk, crpDropDownRowsZk}, {grpDropDownWidthZk, crpDropDownWidthZk},
      {grpRowPanelColPlacementZk, crpRowPanelColPlacementZk}};
  for (const auto& [Grid, Column] : Map)
    if (P.Contains(Grid)) Result << Column;
  return Result;
}

void RestoreGridLayoutFrom(TCustomDBGridZk* Grid, TLayoutStore& Store, const String& Section,
                           TDBGridZkRestoreParams Params) {
  RestoreColumnsLayoutFrom(Grid, Store, Section, ColumnParams(Params));
  if (!Params.Contains(grpRowHeightZk)) return;
  const TStoredItems Items(Store.Read(Section, Store.GridValueName()));
  int Height = 0, Lines = 0;
  if (!Items.Get(1, Height, 0)) Height = 0;
  if (!Items.Get(2, Lines, 0)) Lines = 0;
  Grid->SetRowHeight(Height);
  Grid->SetRowLines(Lines);
}

}  // namespace

void TCustomDBGridZk::SaveColumnsLayout(TRegIniFile* ARegIni) {
  TRegLayoutStore S(ARegIni);
  SaveColumnsLayoutTo(this, S, StorageSectionName(this), true);
}
void TCustomDBGridZk::SaveColumnsLayout(TCustomIniFile* ACustIni, const String& Section) {
  TIniLayoutStore S(ACustIni);
  SaveColumnsLayoutTo(this, S, Section, false);
}
void TCustomDBGridZk::SaveColumnsLayoutIni(const String& IniFileName, const String& Section,
                                           bool DeleteSection) {
  TIniFile Ini(IniFileName);
  TIniLayoutStore S(&Ini);
  SaveColumnsLayoutTo(this, S, Section, DeleteSection);
}
void TCustomDBGridZk::RestoreColumnsLayout(TRegIniFile* ARegIni,
                                           TColumnZkRestoreParams RestoreParams) {
  TRegLayoutStore S(ARegIni);
  RestoreColumnsLayoutFrom(this, S, StorageSectionName(this), RestoreParams);
}
void TCustomDBGridZk::RestoreColumnsLayout(TCustomIniFile* ACustIni, const String& Section,
                                           TColumnZkRestoreParams RestoreParams) {
  TIniLayoutStore S(ACustIni);
  RestoreColumnsLayoutFrom(this, S, Section, RestoreParams);
}
void TCustomDBGridZk::RestoreColumnsLayoutIni(const String& IniFileName, const String& Section,
                                              TColumnZkRestoreParams RestoreParams) {
  TIniFile Ini(IniFileName);
  TIniLayoutStore S(&Ini);
  RestoreColumnsLayoutFrom(this, S, Section, RestoreParams);
}
void TCustomDBGridZk::SaveGridLayout(TRegIniFile* ARegIni) {
  TRegLayoutStore S(ARegIni);
  SaveGridLayoutTo(this, S, StorageSectionName(this), true);
}
void TCustomDBGridZk::SaveGridLayout(TCustomIniFile* ACustIni, const String& Section) {
  TIniLayoutStore S(ACustIni);
  SaveGridLayoutTo(this, S, Section, false);
}
void TCustomDBGridZk::SaveGridLayoutIni(const String& IniFileName, const String& Section,
                                        bool DeleteSection) {
  TIniFile Ini(IniFileName);
  TIniLayoutStore S(&Ini);
  SaveGridLayoutTo(this, S, Section, DeleteSection);
}
void TCustomDBGridZk::RestoreGridLayout(TRegIniFile* ARegIni, TDBGridZkRestoreParams RestoreParams) {
  TRegLayoutStore S(ARegIni);
  RestoreGridLayoutFrom(this, S, StorageSectionName(this), RestoreParams);
}
void TCustomDBGridZk::RestoreGridLayout(TCustomIniFile* ACustIni, const String& Section,
                                        TDBGridZkRestoreParams RestoreParams) {
  TIniLayoutStore S(ACustIni);
  RestoreGridLayoutFrom(this, S, Section, RestoreParams);
}
void TCustomDBGridZk::RestoreGridLayoutIni(const String& IniFileName, const String& Section,
                                           TDBGridZkRestoreParams RestoreParams) {
  TIniFile Ini(IniFileName);
  TIniLayoutStore S(&Ini);
  RestoreGridLayoutFrom(this, S, Section, RestoreParams);
}

// --- width fitting --------------------------------------------------------------------------------

namespace {

// The width a title's sort marker (and its sort number) takes, as the title painter draws it.
int SortMarkingWidth(TCustomDBGridZk* Grid, TColumnZk* Column, TCanvas* C) {
  if (Column->Title()->SortMarker() == smNoneZk) return 0;
  int W = 2 * 4 + 6;
  const TColumnsZkList& Marked = Grid->SortMarkedColumns();
  const auto It = std::find(Marked.begin(), Marked.end(), Column);
  if (Marked.size() > 1 && It != Marked.end()) {
    C->Font()->SetSize(6);
    W += C->TextWidth(IntToStr(static_cast<int>(It - Marked.begin()) + 1)) + 1;
  }
  return W;
}

int TitleWidth(TCustomDBGridZk* Grid, TColumnZk* Column, TCanvas* C) {
  const int Marking = SortMarkingWidth(Grid, Column, C);
  const int M = Marking >= 3 ? Marking + 2 : 4;
  TColumnTitleZk* T = Column->Title();
  // A title that shows an image is as wide as the image; its caption is not drawn.
  if (Grid->TitleImages() && T->ImageIndex() != -1) return M + Grid->TitleImages()->Width();
  C->Font()->Assign(T->Font());
  const String Text = Grid->IsUseMultiTitle() ? T->LeafCaption() : T->Caption();
  if (T->Orientation() == tohVertical) return M + C->TextHeight(Text);
  const bool Wrap = Grid->IsUseMultiTitle() || Grid->TitleHeight() != 0 || Grid->TitleLines() != 0;
  if (!Wrap) return C->TextWidth(Text) + M;
  TRect R = Rect(0, 0, std::max(0, Column->Width() - M - 4), Grid->TitleRowHeight());
  DrawText(C, Text, R, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return R.Right - R.Left + M;
}

int CellWidth(TCustomDBGridZk* Grid, TColumnZk* Column, TCanvas* C, TColCellParamsZk& P) {
  // A column that always shows its edit buttons keeps room for their strip beside the text.
  int B = Column->AlwaysShowEditButton() ? Column->EditButtonsWidth() + 4 : 4;
  // The first visible column starts after the tree outline of the record's node.
  const TColumnsZkList& Visible = Grid->VisibleColumns();
  if (!Visible.empty() && Visible.front() == Column) B += Grid->GetCellTreeElmentsAreaWidth();
  TCustomImageList* Images = Column->ImageList();
  if (Images && Column->ShowImageAndText()) B += Images->Width() + 4;
  if (Column->GetColumnType() == ctKeyImageList && Images) return B + Images->Width();
  if (Column->GetColumnType() == ctCheckboxes) return B + CheckBoxSize().cx;
  P.Row = 0;
  P.Col = Column->Grid() ? Grid->ColumnIndexToGridCol(Column->Index()) : -1;
  P.State = TGridDrawState();
  P.Font()->Assign(Column->Font());
  P.Alignment = Column->Alignment();
  P.Text = Column->DisplayText();
  TColor Back = Column->Color();
  Grid->DoGetCellParams(Column, P.Font(), Back, TGridDrawState());
  P.Background = Back;
  if (Column->OnGetCellParams()) Column->OnGetCellParams()(Column, false, &P);
  C->Font()->Assign(P.Font());
  String Line = P.Text;
  for (Char& Ch : Line)
    if (Ch == u'\t' || Ch == u'\r' || Ch == u'\n') Ch = u' ';
  return B + C->TextWidth(Line);
}

int FooterWidth(TCustomDBGridZk* Grid, TColumnZk* Column, TCanvas* C) {
  const bool AllowWrap = Grid->AllowWordWrap();
  int W = 0;
  for (int Row = 0; Row < Grid->FooterRowCount(); ++Row) {
    TColumnFooterZk* F = Column->UsedFooter(Row);
    C->Font()->Assign(F->Font());
    TColor Back = F->Color();
    TAlignment Align = F->Alignment();
    String Text = Grid->GetFooterValue(Row, Column);
    Grid->DoGetFooterParams(Column->Index(), Row, Column, C->Font(), Back, Align,
                            TGridDrawState(), Text);
    TRect R = Rect(0, 0, 0, Grid->StdDefaultRowHeight());
    unsigned Format = DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE;
    if (F->WordWrap() && AllowWrap) Format = DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK;
    DrawText(C, Text, R, Format);
    W = std::max(W, 5 + R.Right - R.Left);
  }
  return W;
}

}  // namespace

void TCustomDBGridZk::FitColumnsToContents(const TColumnsZkList& Columns) {
  TBitmap Scratch;
  TCanvas* C = Scratch.Canvas();
  std::vector<int> Widths;
  for (TColumnZk* Col : Columns) Widths.push_back(TitleWidth(this, Col, C));
  if (!FDataLink->Active()) return;
  TDataSet* D = DataSet();
  TColCellParamsZk Params;
  D->DisableControls();
  // The grid's saved position brings the current record back to its screen row.
  SaveBookmark();
  auto Restore = [&] {
    RestoreBookmark();
    D->EnableControls();
  };
  try {
    D->First();
    const bool Sequenced = D->IsSequenced();
    const int Count = D->RecordCount();
    while (!D->Eof()) {
      for (std::size_t I = 0; I < Columns.size(); ++I)
        Widths[I] = std::max(Widths[I], CellWidth(this, Columns[I], C, Params));
      const int Before = D->RecNo();
      D->Next();
      if (Sequenced && Before >= Count) break;
    }
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
  const bool Lock = !FAutoFitColWidths;
  if (Lock) BeginLayout();
  try {
    for (std::size_t I = 0; I < Columns.size(); ++I)
      Columns[I]->SetWidth(std::max(Widths[I], FooterWidth(this, Columns[I], C)));
  } catch (...) {
    if (Lock) EndLayout();
    throw;
  }
  if (Lock) EndLayout();
}

void TCustomDBGridZk::FitColumnsAfterSizingClick(TColumnZk* Column) {
  TColumnsZkList List;
  if (FSelection->SelectionType() == gstColumns)
    List.assign(FSelection->Columns()->begin(), FSelection->Columns()->end());
  else if (FSelection->SelectionType() == gstAll)
    for (int I = 0; I < FColumns->Count(); ++I) List.push_back(FColumns->Items(I));
  if (std::find(List.begin(), List.end(), Column) == List.end()) List.push_back(Column);
  FitColumnsToContents(List);
}

void TColumnZk::OptimizeWidth() {
  if (TCustomDBGridZk* G = Grid()) G->FitColumnsToContents({this});
}

// --- the footer's font and colour -----------------------------------------------------------------

// A footer font of its own ends following the parent's font.
void TCustomDBGridZk::FooterFontChanged(TObject*) {
  if (!ComponentState().Contains(csLoading) && !FSelfChangingFonts) SetParentFont(false);
  if (FFooterRowCount > 0) LayoutChanged();
}

// A footer colour of its own ends following the grid's colour.
void TCustomDBGridZk::SetFooterColor(TColor Value) {
  if (!ComponentState().Contains(csLoading)) SetParentColor(false);
  if (Value == FFooterColor) return;
  FFooterColor = Value;
  if (FFooterRowCount > 0) Invalidate();
}

void TCustomDBGridZk::ParentFontChanged() {
  TCustomGridZk::ParentFontChanged();
  if (!ParentFont()) return;
  FSelfChangingFonts = true;
  try {
    TitleFont()->Assign(Font());
    FFooterFont->Assign(Font());
  } catch (...) {
    FSelfChangingFonts = false;
    throw;
  }
  FSelfChangingFonts = false;
  LayoutChanged();
}

void TCustomDBGridZk::ParentColorChanged() {
  TCustomGridZk::ParentColorChanged();
  if (!ParentColor()) return;
  FFooterColor = Color();
  Invalidate();
}
