// DBGridZkColumns.cpp - columns, their titles and footers, the column defaults and the column
// collection. A property that follows a default (the field's, the grid's or ColumnDefValues)
// is stored only once it was set.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>
#include <cmath>

#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "gridlib/toolkit/LookupExtraRowZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Math.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Menus.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

namespace {
TCustomDBGridZk* GridOf(const TColumnZk* C) { return C ? C->Grid() : nullptr; }
void LayoutOf(TColumnZk* C) { if (C) C->ColumnChanged(false); }
}  // namespace

// --- titles ---------------------------------------------------------------------------------------

TColumnTitleZk::TColumnTitleZk(TColumnZk* Column) : FColumn(Column) {}
TColumnTitleZk::~TColumnTitleZk() = default;

void TColumnTitleZk::Changed() { LayoutOf(FColumn); }

void TColumnTitleZk::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TColumnTitleZk*>(Source);
  if (!S) return TPersistent::Assign(Source);
  if (S->FAssignedAlignment) SetAlignment(S->FAlignment);
  if (S->FAssignedCaption) SetCaption(S->FCaption);
  if (S->FAssignedColor) SetColor(S->FColor);
  if (S->FAssignedFont) SetFont(S->Font());
  FHint = S->FHint;
  FImageIndex = S->FImageIndex;
  FOrientation = S->FOrientation;
  FSortMarker = S->FSortMarker;
  FSortIndex = S->FSortIndex;
  FTitleButton = S->FTitleButton;
  FEndEllipsis = S->FEndEllipsis;
  FToolTips = S->FToolTips;
}

TAlignment TColumnTitleZk::Alignment() const {
  if (FAssignedAlignment) return FAlignment;
  TCustomDBGridZk* G = GridOf(FColumn);
  if (!G) return taLeftJustify;
  return G->ColumnDefValues()->Title()->Alignment();
}
void TColumnTitleZk::SetAlignment(TAlignment Value) {
  if (FAssignedAlignment && Value == FAlignment) return;
  FAlignment = Value;
  FAssignedAlignment = true;
  Changed();
}

String TColumnTitleZk::Caption() const {
  if (FAssignedCaption) return FCaption;
  if (FColumn && FColumn->Field()) return FColumn->Field()->DisplayName();
  return FColumn ? FColumn->FieldName() : String();
}
void TColumnTitleZk::SetCaption(const String& Value) {
  if (FAssignedCaption && Value == FCaption) return;
  FCaption = Value;
  FAssignedCaption = true;
  Changed();
}

String TColumnTitleZk::LeafCaption() const {
  const String C = Caption();
  const size_t P = C.rfind(u'|');
  return P == String::npos ? C : C.substr(P + 1);
}

TColor TColumnTitleZk::Color() const {
  if (FAssignedColor) return FColor;
  TCustomDBGridZk* G = GridOf(FColumn);
  return G ? G->ColumnDefValues()->Title()->Color() : clBtnFace;
}
void TColumnTitleZk::SetColor(TColor Value) {
  if (FAssignedColor && Value == FColor) return;
  FColor = Value;
  FAssignedColor = true;
  Changed();
}

namespace {
// Set while a font takes its default's value, so that its change handler does not take the
// copy for a change of its own.
bool GFollowingDefaultFont = false;

// A column, title or footer font: any change made to it marks it as set (a form's "Font.Size"
// or Font()->SetStyle), so that the default is no longer copied over it.
TFont* FollowingFont(std::unique_ptr<TFont>& Font, bool& Assigned, const TFont* Default) {
  if (!Font) {
    Font = std::make_unique<TFont>();
    Font->SetOnChange([&Assigned](TObject*) {
      if (!GFollowingDefaultFont) Assigned = true;
    });
  }
  if (!Assigned && Default) {
    GFollowingDefaultFont = true;
    struct TDone { ~TDone() { GFollowingDefaultFont = false; } } Done;
    Font->Assign(const_cast<TFont*>(Default));
  }
  return Font.get();
}
}  // namespace

TFont* TColumnTitleZk::Font() const {
  TCustomDBGridZk* G = GridOf(FColumn);
  return FollowingFont(FFont, const_cast<bool&>(FAssignedFont),
                       G ? G->TitleFont() : FColumn ? FColumn->Font() : nullptr);
}
void TColumnTitleZk::SetFont(TFont* Value) {
  if (!FFont) FFont = std::make_unique<TFont>();
  FFont->Assign(Value);
  FAssignedFont = true;
  Changed();
}

void TColumnTitleZk::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Changed();
}
void TColumnTitleZk::SetOrientation(TTextOrientationZk Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Changed();
}
void TColumnTitleZk::SetSortMarker(TSortMarkerZk Value) {
  if (Value == FSortMarker) return;
  FSortMarker = Value;
  if (TCustomDBGridZk* G = GridOf(FColumn)) G->Invalidate();
}
void TColumnTitleZk::SetSortIndex(int Value) { FSortIndex = std::max(0, Value); }
void TColumnTitleZk::SetEndEllipsis(bool Value) {
  if (Value == FEndEllipsis) return;
  FEndEllipsis = Value;
  Changed();
}

void TColumnTitleZk::RestoreDefaults() {
  FAssignedAlignment = FAssignedCaption = FAssignedColor = FAssignedFont = false;
  Changed();
}

// --- footers --------------------------------------------------------------------------------------

TColumnFooterZk::TColumnFooterZk(TCollection* ACollection) : TCollectionItem(ACollection) {
  if (auto* F = dynamic_cast<TColumnFootersZk*>(ACollection)) FColumn = F->Column();
}
TColumnFooterZk::TColumnFooterZk(TColumnZk* Column, std::nullptr_t)
    : TCollectionItem(nullptr), FColumn(Column) {}

TColumnFooterZk::~TColumnFooterZk() {
  TCustomDBGridZk* G = GridOf(FColumn);
  if (FDBSum && G && G->SumList() && !G->ComponentState().Contains(csDestroying)) delete FDBSum;
}

void TColumnFooterZk::Changed() {
  if (TCustomDBGridZk* G = GridOf(FColumn)) G->InvalidateFooter();
}

void TColumnFooterZk::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TColumnFooterZk*>(Source);
  if (!S) return TCollectionItem::Assign(Source);
  if (S->FAssignedAlignment) SetAlignment(S->FAlignment);
  if (S->FAssignedColor) SetColor(S->FColor);
  if (S->FAssignedFont) SetFont(S->Font());
  FDisplayFormat = S->FDisplayFormat;
  FEndEllipsis = S->FEndEllipsis;
  FFieldName = S->FFieldName;
  FValue = S->FValue;
  FWordWrap = S->FWordWrap;
  SetValueType(S->FValueType);
  UpdateSumItem();
}

TAlignment TColumnFooterZk::Alignment() const {
  if (FAssignedAlignment) return FAlignment;
  return FColumn ? FColumn->Alignment() : taLeftJustify;
}
void TColumnFooterZk::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  FAssignedAlignment = true;
  Changed();
}
TColor TColumnFooterZk::Color() const {
  if (FAssignedColor) return FColor;
  TCustomDBGridZk* G = GridOf(FColumn);
  return G ? G->FooterColor() : clWindow;
}
void TColumnFooterZk::SetColor(TColor Value) {
  FColor = Value;
  FAssignedColor = true;
  Changed();
}
void TColumnFooterZk::SetDisplayFormat(const String& Value) {
  FDisplayFormat = Value;
  Changed();
}
void TColumnFooterZk::SetEndEllipsis(bool Value) {
  FEndEllipsis = Value;
  Changed();
}
void TColumnFooterZk::SetFieldName(const String& Value) {
  if (Value == FFieldName) return;
  FFieldName = Value;
  UpdateSumItem();
  Changed();
}
TFont* TColumnFooterZk::Font() const {
  TCustomDBGridZk* G = GridOf(FColumn);
  return FollowingFont(FFont, const_cast<bool&>(FAssignedFont), G ? G->FooterFont() : nullptr);
}
void TColumnFooterZk::SetFont(TFont* Value) {
  if (!FFont) FFont = std::make_unique<TFont>();
  FFont->Assign(Value);
  FAssignedFont = true;
  Changed();
}
void TColumnFooterZk::SetValue(const String& Value) {
  FValue = Value;
  Changed();
}
void TColumnFooterZk::SetValueType(TFooterValueType Value) {
  if (Value == FValueType) return;
  FValueType = Value;
  UpdateSumItem();
  Changed();
}
void TColumnFooterZk::SetWordWrap(bool Value) {
  FWordWrap = Value;
  Changed();
}

String TColumnFooterZk::SumFieldName() const {
  if (!FFieldName.empty()) return FFieldName;
  return FColumn ? FColumn->FieldName() : String();
}

void TColumnFooterZk::UpdateSumItem() {
  TCustomDBGridZk* G = GridOf(FColumn);
  if (!G || !G->SumList()) return;
  TDBSumCollection* Sums = G->SumList()->SumCollection();
  const bool Wanted = FValueType == fvtSum || FValueType == fvtAvg || FValueType == fvtCount;
  if (!Wanted) {
    delete FDBSum;
    FDBSum = nullptr;
    return;
  }
  if (!FDBSum) FDBSum = Sums->Add();
  Sums->BeginUpdate();
  FDBSum->SetGroupOperation(FValueType == fvtSum ? goSum : FValueType == fvtAvg ? goAvg : goCount);
  FDBSum->SetFieldName(FValueType == fvtCount ? String() : SumFieldName());
  Sums->EndUpdate();
  G->SumList()->RecalcAll();
}

TColumnFootersZk::TColumnFootersZk(TColumnZk* Column)
    : TCollection(TColumnFooterZk::ClassInfo()), FColumn(Column) {}
TPersistent* TColumnFootersZk::GetOwner() const { return FColumn; }
void TColumnFootersZk::Update(TCollectionItem*) {
  if (TCustomDBGridZk* G = GridOf(FColumn)) G->InvalidateFooter();
}

// --- columns --------------------------------------------------------------------------------------

TColumnZk::TColumnZk(TCollection* ACollection)
    : TCollectionItem(nullptr),
      FFooter(std::make_unique<TColumnFooterZk>(this, nullptr)),
      FFooters(std::make_unique<TColumnFootersZk>(this)),
      FTitle(std::make_unique<TColumnTitleZk>(this)),
      FMRUList(std::make_unique<TMRUListZk>(this)) {
  CreateButtonsAndDropDown();
  // Joined after the sub-objects exist: joining announces the new item to the grid.
  SetCollection(ACollection);
}

TColumnZk::~TColumnZk() {
  FFooters->Clear();
  FFooter.reset();
}

TCustomDBGridZk* TColumnZk::Grid() const {
  auto* C = dynamic_cast<TDBGridColumnsZk*>(Collection());
  return C ? C->Grid() : nullptr;
}

String TColumnZk::DisplayName() const {
  return FFieldName.empty() ? TCollectionItem::DisplayName() : FFieldName;
}

void TColumnZk::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TColumnZk*>(Source);
  if (!S) return TCollectionItem::Assign(Source);
  if (Collection()) Collection()->BeginUpdate();
  SetFieldName(S->FFieldName);
  if (S->FAssignedAlignment) SetAlignment(S->FAlignment);
  if (S->FAssignedCheckboxes) SetCheckboxes(S->FCheckboxes);
  if (S->FAssignedColor) SetColor(S->FColor);
  if (S->FAssignedFont) SetFont(S->Font());
  if (S->FAssignedReadOnly) SetReadOnly(S->FReadOnly);
  if (S->FAssignedWidth) SetWidth(S->FWidth);
  if (S->FAssignedWordWrap) SetWordWrap(S->FWordWrap);
  if (S->FAssignedLayout) SetLayout(S->FLayout);
  FAutoFitColWidth = S->FAutoFitColWidth;
  FDisplayFormat = S->FDisplayFormat;
  FEditMask = S->FEditMask;
  FEndEllipsis = S->FEndEllipsis;
  FHideDuplicates = S->FHideDuplicates;
  FMaxWidth = S->FMaxWidth;
  FMinWidth = S->FMinWidth;
  FTag = S->FTag;
  FVisible = S->FVisible;
  FDropDownRows = S->FDropDownRows;
  SetDropDownWidth(S->FDropDownWidth);
  FMRUList->Assign(S->FMRUList.get());
  FTitle->Assign(S->FTitle.get());
  FFooter->Assign(S->FFooter.get());
  FFooters->Assign(S->FFooters.get());
  STFilter()->Assign(S->STFilter());
  FOnGetCellParams = S->FOnGetCellParams;
  FOnAdvDrawDataCell = S->FOnAdvDrawDataCell;
  SetPopupMenu(S->FPopupMenu);
  SetImageList(S->FImageList);
  SetShowImageAndText(S->FShowImageAndText);
  AssignButtonsAndDropDown(S);
  if (Collection()) Collection()->EndUpdate();
}

TField* TColumnZk::Field() const {
  TCustomDBGridZk* G = Grid();
  if (!FField && G && !FFieldName.empty() && G->DataSet() && G->DataSet()->Active()) {
    auto* Self = const_cast<TColumnZk*>(this);
    Self->FField = G->DataSet()->FindField(FFieldName);
    BindDesignTimeDataList(Self, FField);
  }
  return FField;
}

void TColumnZk::SetField(TField* Value) {
  if (Value == FField) return;
  FField = Value;
  if (Value) FFieldName = Value->FieldName();
  BindDesignTimeDataList(this, Value);
}

void TColumnZk::SetFieldName(const String& Value) {
  if (Value == FFieldName) return;
  FFieldName = Value;
  FField = nullptr;
  FFooter->UpdateSumItem();
  Changed(false);
}

TAlignment TColumnZk::Alignment() const {
  if (FAssignedAlignment) return FAlignment;
  return Field() ? Field()->Alignment() : taLeftJustify;
}
void TColumnZk::SetAlignment(TAlignment Value) {
  if (FAssignedAlignment && Value == FAlignment) return;
  FAlignment = Value;
  FAssignedAlignment = true;
  Changed(false);
}
void TColumnZk::SetAutoFitColWidth(bool Value) {
  if (Value == FAutoFitColWidth) return;
  FAutoFitColWidth = Value;
  Changed(false);
}

bool TColumnZk::Checkboxes() const {
  if (FAssignedCheckboxes) return FCheckboxes;
  return Field() && Field()->DataType() == ftBoolean;
}
void TColumnZk::SetCheckboxes(bool Value) {
  FCheckboxes = Value;
  FAssignedCheckboxes = true;
  Changed(false);
}

TColor TColumnZk::Color() const {
  if (FAssignedColor) return FColor;
  TCustomDBGridZk* G = Grid();
  return G ? G->Color() : clWindow;
}
void TColumnZk::SetColor(TColor Value) {
  if (FAssignedColor && Value == FColor) return;
  FColor = Value;
  FAssignedColor = true;
  Changed(false);
}

void TColumnZk::SetDisplayFormat(const String& Value) {
  if (Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  Changed(false);
}
void TColumnZk::SetEndEllipsis(bool Value) {
  if (Value == FEndEllipsis) return;
  FEndEllipsis = Value;
  Changed(false);
}

TFont* TColumnZk::Font() const {
  TCustomDBGridZk* G = Grid();
  return FollowingFont(FFont, const_cast<bool&>(FAssignedFont), G ? G->Font() : nullptr);
}
void TColumnZk::SetFont(TFont* Value) {
  if (!FFont) FFont = std::make_unique<TFont>();
  FFont->Assign(Value);
  FAssignedFont = true;
  Changed(false);
}

void TColumnZk::SetHideDuplicates(bool Value) {
  FHideDuplicates = Value;
  Changed(false);
}
void TColumnZk::SetMaxWidth(int Value) {
  FMaxWidth = std::max(0, Value);
  Changed(false);
}
void TColumnZk::SetMinWidth(int Value) {
  FMinWidth = std::max(0, Value);
  Changed(false);
}

bool TColumnZk::ReadOnly() const {
  if (FAssignedReadOnly) return FReadOnly;
  TCustomDBGridZk* G = Grid();
  return (G && G->ReadOnly()) || (Field() && Field()->ReadOnly());
}
void TColumnZk::SetReadOnly(bool Value) {
  FReadOnly = Value;
  FAssignedReadOnly = true;
  Changed(false);
}

void TColumnZk::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Changed(true);
}

void TColumnZk::SetMRUList(TMRUListZk* Value) { FMRUList->Assign(Value); }

void TColumnZk::SetDropDownWidth(int Value) {
  if (Value == FDropDownWidth) return;
  FDropDownWidth = Value;
  Changed(false);
}

void TColumnZk::SetInRowLinePos(int Value) {
  if (Value == FRowLine) return;
  FRowLine = Value;
  Changed(true);
}

void TColumnZk::SetInRowLineHeight(int Value) {
  if (Value == FRowLineCount) return;
  FRowLineCount = Value;
  Changed(true);
}

void TColumnZk::DefineProperties(TFiler* Filer) {
  TCollectionItem::DefineProperties(Filer);
  Filer->DefineProperty(
      u"InRowLinePos", [this](TReader* R) { SetInRowLinePos(R->ReadInteger()); },
      [this](TWriter* W) { W->WriteInteger(InRowLinePos()); }, InRowLinePos() != 0);
  Filer->DefineProperty(
      u"InRowLineHeight", [this](TReader* R) { SetInRowLineHeight(R->ReadInteger()); },
      [this](TWriter* W) { W->WriteInteger(InRowLineHeight()); }, InRowLineHeight() != 1);
}

namespace {
// A field the grid may not write: its own ReadOnly, or a lookup whose key fields are all
// read-only (or that belongs to no dataset).
bool IsFieldReadOnlyForGrid(TField* F) {
  if (F->ReadOnly()) return true;
  if (!F->Lookup() || F->KeyFields().empty()) return false;
  if (!F->DataSet()) return true;
  std::size_t Pos = 0;
  while (Pos < F->KeyFields().size()) {
    TField* Key = F->DataSet()->FindField(ExtractFieldName(F->KeyFields(), Pos));
    if (Key && !Key->ReadOnly()) return false;
  }
  return true;
}
}  // namespace

bool TColumnZk::IsTabStop() const {
  TCustomDBGridZk* G = Grid();
  TField* F = Field();
  return FVisible && !ReadOnly() && G && G->DataLink()->Active() && F &&
         F->FieldKind() != fkCalculated && !IsFieldReadOnlyForGrid(F);
}

TColumnZk* TDBGridColumnsZk::GetNextTabColumn(TColumnZk* ForColumn, bool GoForward) const {
  if (FGrid && FGrid->RowPanel()->Active() &&
      FGrid->RowPanel()->TabNavigationType() == rpntLeftToRightPriorityZk)
    return GetNextHorzColumn(ForColumn, GoForward, true, true);
  const int Step = GoForward ? 1 : -1;
  for (int I = ForColumn->Index() + Step; I >= 0 && I < Count(); I += Step)
    if (Items(I)->IsTabStop()) return Items(I);
  return ForColumn;
}

TColumnZk* TDBGridColumnsZk::GetFirstTabColumn() const {
  for (int I = 0; I < Count(); ++I)
    if (Items(I)->IsTabStop()) return Items(I);
  return nullptr;
}

TColumnZk* TDBGridColumnsZk::GetLastTabColumn() const {
  for (int I = Count() - 1; I >= 0; --I)
    if (Items(I)->IsTabStop()) return Items(I);
  return nullptr;
}

int TColumnZk::DefaultWidth() const {
  TCustomDBGridZk* G = Grid();
  if (!G) return 64;
  TField* F = Field();
  if (!F) return G->DefaultColWidth();
  TBitmap Scratch;
  TCanvas* C = Scratch.Canvas();
  C->Font()->Assign(Font());
  int W = F->DisplayWidth() * C->TextWidth(u"0") + 4;
  if (G->Options().Contains(dgTitles)) {
    C->Font()->Assign(G->TitleFont());
    W = std::max(W, C->TextWidth(FTitle->LeafCaption()) + 4);
  }
  return W;
}

int TColumnZk::Width() const { return FAssignedWidth ? FWidth : DefaultWidth(); }
void TColumnZk::SetWidth(int Value) {
  if (FMinWidth > 0) Value = std::max(Value, FMinWidth);
  if (FMaxWidth > 0) Value = std::min(Value, FMaxWidth);
  if (FAssignedWidth && Value == FWidth) return;
  FWidth = Value;
  FAssignedWidth = true;
  Changed(false);
}

bool TColumnZk::WordWrap() const {
  if (FAssignedWordWrap) return FWordWrap;
  TField* F = Field();
  if (!F) return false;
  switch (F->DataType()) {
    case ftString: case ftMemo: case ftFmtMemo: case ftWideString: case ftWideMemo: return true;
    default: return false;
  }
}
void TColumnZk::SetWordWrap(bool Value) {
  FWordWrap = Value;
  FAssignedWordWrap = true;
  Changed(false);
}

bool TColumnZk::CurLineWordWrap(int RowHeight) const {
  TBitmap Scratch;
  Scratch.Canvas()->Font()->Assign(Font());
  const TTextMetric M = Scratch.Canvas()->TextMetrics();
  const int Interlinear = Grid() ? Grid()->Interlinear() : 4;
  return Interlinear + M.tmExternalLeading + M.tmHeight + M.tmInternalLeading < RowHeight;
}

TColumnFooterZk* TColumnZk::UsedFooter(int Index) {
  if (Index <= 0) return FFooter.get();
  while (FFooters->Count() < Index) FFooters->Add();
  return FFooters->Items(Index - 1);
}

void TColumnZk::RestoreDefaults() {
  FAssignedAlignment = FAssignedCheckboxes = FAssignedColor = FAssignedFont = FAssignedReadOnly =
      FAssignedWidth = FAssignedWordWrap = false;
  FAssignedAlwaysShowEditButton = FAssignedAutoDropDown = FAssignedDblClickNextVal =
      FAssignedDropDownShowTitles = FAssignedDropDownSizing = FAssignedLayout = false;
  FButtonStyle = cbsAuto;
  FTitle->RestoreDefaults();
  Changed(false);
}

// --- the collection -------------------------------------------------------------------------------

TDBGridColumnsZk::TDBGridColumnsZk(TCustomDBGridZk* Grid, TClass ColumnClass)
    : TCollection(ColumnClass ? ColumnClass : TDBGridColumnZk::ClassInfo()), FGrid(Grid) {}

TPersistent* TDBGridColumnsZk::GetOwner() const { return FGrid; }

bool TDBGridColumnsZk::State() const {
  for (int I = 0; I < Count(); ++I)
    if (Items(I)->Stored()) return false;
  return Count() > 0;
}

void TDBGridColumnsZk::Update(TCollectionItem* Item) {
  if (!FGrid || FGrid->ComponentState().Contains(csDestroying)) return;
  if (auto* C = dynamic_cast<TColumnZk*>(Item)) KeepFittedProportions(C);
  FGrid->LayoutChanged();
}

// The fitting's own width settings run under the layout lock; any other width given to a fitted
// column scales its InitWidth to it, and the next column gives up the difference, so the new
// width survives the fitting that follows.
void TDBGridColumnsZk::KeepFittedProportions(TColumnZk* Column) {
  TCustomDBGridZk* G = FGrid;
  if (!G->AutoFitColWidths() || G->LayoutLock() > 0 || G->RowPanel()->Active() ||
      G->ComponentState().Contains(csDesigning) || G->ComponentState().Contains(csLoading))
    return;
  const TColumnsZkList& Visible = G->VisibleColumns();
  const auto It = std::find(Visible.begin(), Visible.end(), Column);
  if (It == Visible.end()) return;
  const int Col = G->IndicatorOffset() + static_cast<int>(It - Visible.begin());
  if (Col >= G->ColCount()) return;
  const int Shown = G->SubExtraWidth(Column, G->ColWidth(Col));
  if (Shown <= 0 || Shown == Column->Width()) return;
  const int OldInit = Column->InitWidth();
  Column->SetInitWidth(MulDiv(OldInit, Column->Width(), Shown));
  if (Column->Index() + 1 < Count()) {
    TColumnZk* Next = Items(Column->Index() + 1);
    Next->SetInitWidth(std::max(0, Next->InitWidth() + OldInit - Column->InitWidth()));
  }
}

void TDBGridColumnsZk::RebuildColumns() {
  if (!FGrid || !FGrid->DataSet()) return;
  BeginUpdate();
  Clear();
  for (int I = 0; I < FGrid->DataSet()->FieldCount(); ++I) {
    TField* F = FGrid->DataSet()->Fields()->Fields(I);
    if (!F->Visible()) continue;
    Add()->SetFieldName(F->FieldName());
  }
  EndUpdate();
}

void TDBGridColumnsZk::RestoreDefaults() {
  BeginUpdate();
  for (int I = 0; I < Count(); ++I) Items(I)->RestoreDefaults();
  EndUpdate();
}

namespace {
// The wrapper that streams a column collection alone.
class TColumnsWrapperZk : public TComponent {
  VORENTA_CLASS(TColumnsWrapperZk, TComponent)
public:
  explicit TColumnsWrapperZk(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  TDBGridColumnsZk* Columns = nullptr;
  void DefineProperties(TFiler* Filer) override {
    Filer->DefineProperty(
        u"Columns", [this](TReader* R) { Columns->Clear(); R->ReadCollection(Columns); },
        [this](TWriter* W) { W->WriteCollection(Columns); }, true);
  }
};
}  // namespace
REGISTER_CLASS(TColumnsWrapperZk) {}

void TDBGridColumnsZk::SaveToStream(TStream* S) {
  TColumnsWrapperZk W;
  W.Columns = this;
  WriteComponentToStream(&W, S);
}

void TDBGridColumnsZk::LoadFromStream(TStream* S) {
  TColumnsWrapperZk W;
  W.Columns = this;
  BeginUpdate();
  try {
    ReadComponentFromStream(S, &W);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// --- column defaults ------------------------------------------------------------------------------

TAlignment TColumnDefValuesTitleZk::Alignment() const {
  if (FAssignedAlignment) return FAlignment;
  return FGrid && FGrid->UseMultiTitle() ? taCenter : taLeftJustify;
}
void TColumnDefValuesTitleZk::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  FAssignedAlignment = true;
  if (FGrid) FGrid->LayoutChanged();
}
TColor TColumnDefValuesTitleZk::Color() const {
  if (FAssignedColor) return FColor;
  return FGrid ? FGrid->FixedColor() : clBtnFace;
}
void TColumnDefValuesTitleZk::SetColor(TColor Value) {
  FColor = Value;
  FAssignedColor = true;
  if (FGrid) FGrid->Invalidate();
}

TColumnDefValuesZk::TColumnDefValuesZk(TCustomDBGridZk* Grid)
    : FGrid(Grid), FTitle(std::make_unique<TColumnDefValuesTitleZk>(Grid)) {}
TColumnDefValuesZk::~TColumnDefValuesZk() = default;
void TColumnDefValuesZk::SetEndEllipsis(bool Value) {
  FEndEllipsis = Value;
  if (FGrid) FGrid->Invalidate();
}

// --- registration ---------------------------------------------------------------------------------

REGISTER_CLASS(TColumnTitleZk) {
  Class.Property("Alignment", &TColumnTitleZk::Alignment, &TColumnTitleZk::SetAlignment)
      .Stored(&TColumnTitleZk::IsAlignmentStored)
      .Property("Caption", &TColumnTitleZk::Caption, &TColumnTitleZk::SetCaption)
      .Stored(&TColumnTitleZk::IsCaptionStored)
      .Property("Color", &TColumnTitleZk::Color, &TColumnTitleZk::SetColor)
      .Stored(&TColumnTitleZk::IsColorStored)
      .Property("EndEllipsis", &TColumnTitleZk::EndEllipsis, &TColumnTitleZk::SetEndEllipsis, false)
      .Property("Font", &TColumnTitleZk::Font, &TColumnTitleZk::SetFont)
      .Stored(&TColumnTitleZk::IsFontStored)
      .Property("Hint", &TColumnTitleZk::Hint, &TColumnTitleZk::SetHint)
      .Property("ImageIndex", &TColumnTitleZk::ImageIndex, &TColumnTitleZk::SetImageIndex, -1)
      .Property("Orientation", &TColumnTitleZk::Orientation, &TColumnTitleZk::SetOrientation,
                tohHorizontal)
      .Property("SortIndex", &TColumnTitleZk::SortIndex, &TColumnTitleZk::SetSortIndex, 0)
      .Property("SortMarker", &TColumnTitleZk::SortMarker, &TColumnTitleZk::SetSortMarker, smNoneZk)
      .Property("TitleButton", &TColumnTitleZk::TitleButton, &TColumnTitleZk::SetTitleButton, false)
      .Property("ToolTips", &TColumnTitleZk::ToolTips, &TColumnTitleZk::SetToolTips, false);
}

REGISTER_CLASS(TColumnFooterZk) {
  Class.Property("Alignment", &TColumnFooterZk::Alignment, &TColumnFooterZk::SetAlignment)
      .Stored(&TColumnFooterZk::IsAlignmentStored)
      .Property("Color", &TColumnFooterZk::Color, &TColumnFooterZk::SetColor)
      .Stored(&TColumnFooterZk::IsColorStored)
      .Property("DisplayFormat", &TColumnFooterZk::DisplayFormat, &TColumnFooterZk::SetDisplayFormat)
      .Property("EndEllipsis", &TColumnFooterZk::EndEllipsis, &TColumnFooterZk::SetEndEllipsis, false)
      .Property("FieldName", &TColumnFooterZk::FieldName, &TColumnFooterZk::SetFieldName)
      .Property("Font", &TColumnFooterZk::Font, &TColumnFooterZk::SetFont)
      .Stored(&TColumnFooterZk::IsFontStored)
      .Property("Value", &TColumnFooterZk::Value, &TColumnFooterZk::SetValue)
      .Property("ValueType", &TColumnFooterZk::ValueType, &TColumnFooterZk::SetValueType, fvtNon)
      .Property("WordWrap", &TColumnFooterZk::WordWrap, &TColumnFooterZk::SetWordWrap, false);
}
REGISTER_CLASS(TColumnFootersZk) {}

REGISTER_CLASS(TColumnZk) {
  Class.Property("Alignment", &TColumnZk::Alignment, &TColumnZk::SetAlignment)
      .Stored(&TColumnZk::IsAlignmentStored)
      .Property("AlwaysShowEditButton", &TColumnZk::AlwaysShowEditButton,
                &TColumnZk::SetAlwaysShowEditButton)
      .Stored(&TColumnZk::IsAlwaysShowEditButtonStored)
      .Property("AutoDropDown", &TColumnZk::AutoDropDown, &TColumnZk::SetAutoDropDown)
      .Stored(&TColumnZk::IsAutoDropDownStored)
      .Property("AutoFitColWidth", &TColumnZk::AutoFitColWidth, &TColumnZk::SetAutoFitColWidth, true)
      .Property("ButtonStyle", &TColumnZk::ButtonStyle, &TColumnZk::SetButtonStyle, cbsAuto)
      .Property("Checkboxes", &TColumnZk::Checkboxes, &TColumnZk::SetCheckboxes)
      .Stored(&TColumnZk::IsCheckboxesStored)
      .Property("Color", &TColumnZk::Color, &TColumnZk::SetColor)
      .Stored(&TColumnZk::IsColorStored)
      .Property("DblClickNextVal", &TColumnZk::DblClickNextVal, &TColumnZk::SetDblClickNextVal)
      .Stored(&TColumnZk::IsDblClickNextValStored)
      .Property("DisplayFormat", &TColumnZk::DisplayFormat, &TColumnZk::SetDisplayFormat)
      .Property("DropDownBox", &TColumnZk::DropDownBox, &TColumnZk::SetDropDownBox)
      .Property("DropDownRows", &TColumnZk::DropDownRows, &TColumnZk::SetDropDownRows, 7)
      .Property("DropDownShowTitles", &TColumnZk::DropDownShowTitles,
                &TColumnZk::SetDropDownShowTitles)
      .Stored(&TColumnZk::IsDropDownShowTitlesStored)
      .Property("DropDownSizing", &TColumnZk::DropDownSizing, &TColumnZk::SetDropDownSizing)
      .Stored(&TColumnZk::IsDropDownSizingStored)
      .Property("DropDownSpecRow", &TColumnZk::DropDownSpecRow, &TColumnZk::SetDropDownSpecRow)
      .Property("DropDownWidth", &TColumnZk::DropDownWidth, &TColumnZk::SetDropDownWidth, 0)
      .Property("EditButtons", &TColumnZk::EditButtons, &TColumnZk::SetEditButtons)
      .Stored(&TColumnZk::IsEditButtonsStored)
      .Property("EditMask", &TColumnZk::EditMask, &TColumnZk::SetEditMask)
      .Property("EndEllipsis", &TColumnZk::EndEllipsis, &TColumnZk::SetEndEllipsis, false)
      .Property("FieldName", &TColumnZk::FieldName, &TColumnZk::SetFieldName)
      .Property("Font", &TColumnZk::Font, &TColumnZk::SetFont)
      .Stored(&TColumnZk::IsFontStored)
      .Property("Footer", &TColumnZk::Footer, &TColumnZk::SetFooter)
      .Property("Footers", &TColumnZk::Footers, &TColumnZk::SetFooters)
      .Stored(&TColumnZk::IsFootersStored)
      .Property("HideDuplicates", &TColumnZk::HideDuplicates, &TColumnZk::SetHideDuplicates, false)
      .Property("ImageList", &TColumnZk::ImageList, &TColumnZk::SetImageList)
      .Property("HighlightRequired", &TColumnZk::HighlightRequired, &TColumnZk::SetHighlightRequired)
      .Stored(&TColumnZk::IsHighlightRequiredStored)
      .Property("Increment", &TColumnZk::Increment, &TColumnZk::SetIncrement)
      .Stored(&TColumnZk::IsIncrementStored)
      .Property("Layout", &TColumnZk::Layout, &TColumnZk::SetLayout)
      .Stored(&TColumnZk::IsLayoutStored)
      .Property("MaxWidth", &TColumnZk::MaxWidth, &TColumnZk::SetMaxWidth, 0)
      .Property("MinWidth", &TColumnZk::MinWidth, &TColumnZk::SetMinWidth, 0)
      .Property("MRUList", &TColumnZk::MRUList, &TColumnZk::SetMRUList)
      .Property("ReadOnly", &TColumnZk::ReadOnly, &TColumnZk::SetReadOnly)
      .Stored(&TColumnZk::IsReadOnlyStored)
      .Property("STFilter", &TColumnZk::STFilter, &TColumnZk::SetSTFilter)
      .Property("Tag", &TColumnZk::Tag, &TColumnZk::SetTag, 0)
      .Property("Title", &TColumnZk::Title, &TColumnZk::SetTitle)
      .Property("Visible", &TColumnZk::Visible, &TColumnZk::SetVisible, true)
      .Property("Width", &TColumnZk::Width, &TColumnZk::SetWidth)
      .Stored(&TColumnZk::IsWidthStored)
      .Property("WordWrap", &TColumnZk::WordWrap, &TColumnZk::SetWordWrap)
      .Stored(&TColumnZk::IsWordWrapStored)
      .Property("KeyList", &TColumnZk::KeyList, &TColumnZk::SetKeyList)
      .Stored(&TColumnZk::IsKeyListStored)
      .Property("NotInKeyListIndex", &TColumnZk::NotInKeyListIndex,
                &TColumnZk::SetNotInKeyListIndex, -1)
      .Property("PickList", &TColumnZk::PickList, &TColumnZk::SetPickList)
      .Stored(&TColumnZk::IsPickListStored)
      .Property("PopupMenu", &TColumnZk::PopupMenu, &TColumnZk::SetPopupMenu)
      .Property("ShowImageAndText", &TColumnZk::ShowImageAndText, &TColumnZk::SetShowImageAndText,
                false)
      .Property("OnGetCellParams", &TColumnZk::OnGetCellParams, &TColumnZk::SetOnGetCellParams)
      .Property("OnAdvDrawDataCell", &TColumnZk::OnAdvDrawDataCell, &TColumnZk::SetOnAdvDrawDataCell)
      .Property("OnUpdateData", &TColumnZk::OnUpdateData, &TColumnZk::SetOnUpdateData)
      .Property("OnEditButtonClick", &TColumnZk::OnEditButtonClick,
                &TColumnZk::SetOnEditButtonClick)
      .Property("OnEditButtonDown", &TColumnZk::OnEditButtonDown, &TColumnZk::SetOnEditButtonDown)
      .Property("OnNotInList", &TColumnZk::OnNotInList, &TColumnZk::SetOnNotInList)
      .Property("OnCheckDrawRequiredState", &TColumnZk::OnCheckDrawRequiredState,
                &TColumnZk::SetOnCheckDrawRequiredState)
      .Property("OnDropDownBoxCheckButton", &TColumnZk::OnDropDownBoxCheckButton,
                &TColumnZk::SetOnDropDownBoxCheckButton)
      .Property("OnDropDownBoxDrawColumnCell", &TColumnZk::OnDropDownBoxDrawColumnCell,
                &TColumnZk::SetOnDropDownBoxDrawColumnCell)
      .Property("OnDropDownBoxGetCellParams", &TColumnZk::OnDropDownBoxGetCellParams,
                &TColumnZk::SetOnDropDownBoxGetCellParams)
      .Property("OnDropDownBoxSortMarkingChanged", &TColumnZk::OnDropDownBoxSortMarkingChanged,
                &TColumnZk::SetOnDropDownBoxSortMarkingChanged)
      .Property("OnDropDownBoxTitleBtnClick", &TColumnZk::OnDropDownBoxTitleBtnClick,
                &TColumnZk::SetOnDropDownBoxTitleBtnClick);
}
REGISTER_CLASS(TDBGridColumnZk) {}
REGISTER_CLASS(TDBGridColumnsZk) {}

REGISTER_CLASS(TColumnDefValuesTitleZk) {
  Class.Property("Alignment", &TColumnDefValuesTitleZk::Alignment, &TColumnDefValuesTitleZk::SetAlignment)
      .Stored(&TColumnDefValuesTitleZk::IsAlignmentStored)
      .Property("Color", &TColumnDefValuesTitleZk::Color, &TColumnDefValuesTitleZk::SetColor)
      .Stored(&TColumnDefValuesTitleZk::IsColorStored)
      .Property("EndEllipsis", &TColumnDefValuesTitleZk::EndEllipsis,
                &TColumnDefValuesTitleZk::SetEndEllipsis, false)
      .Property("TitleButton", &TColumnDefValuesTitleZk::TitleButton,
                &TColumnDefValuesTitleZk::SetTitleButton, false);
}
REGISTER_CLASS(TColumnDefValuesZk) {
  using D = TColumnDefValuesZk;
  Class.Property("AlwaysShowEditButton", &D::AlwaysShowEditButton, &D::SetAlwaysShowEditButton, false)
      .Property("AutoDropDown", &D::AutoDropDown, &D::SetAutoDropDown, false)
      .Property("DblClickNextVal", &D::DblClickNextVal, &D::SetDblClickNextVal, false)
      .Property("DropDownShowTitles", &D::DropDownShowTitles, &D::SetDropDownShowTitles, false)
      .Property("DropDownSizing", &D::DropDownSizing, &D::SetDropDownSizing, false)
      .Property("EndEllipsis", &TColumnDefValuesZk::EndEllipsis, &TColumnDefValuesZk::SetEndEllipsis, false)
      .Property("HighlightRequired", &D::HighlightRequired, &D::SetHighlightRequired, false)
      .Property("Layout", &D::Layout, &D::SetLayout, tlTop)
      .Property("Title", &TColumnDefValuesZk::Title, nullptr)
      .Property("ToolTips", &TColumnDefValuesZk::ToolTips, &TColumnDefValuesZk::SetToolTips, false);
}
REGISTER_CLASS(TDBGridZkColumnDefValuesZk) {}
