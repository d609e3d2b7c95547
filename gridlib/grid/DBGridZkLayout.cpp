// DBGridZkLayout.cpp - the data link and its field map, the layout recalculation with its
// locks and the deferred message, data rows, moving through records and the vertical bar.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZkGroupView.h"
#include "gridlib/grid/DBGridZkHeadTree.h"
#include "platform/graphics/WinDraw.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Math.h"

// --- data link ------------------------------------------------------------------------------------

TGridDataLinkZk::TGridDataLinkZk(TCustomDBGridZk* Grid) : FGrid(Grid) { SetVisualControl(true); }
TGridDataLinkZk::~TGridDataLinkZk() {
  if (FMemTable) FMemTable->UnregisterEventReceiver(FGrid);
}

namespace {
constexpr int FieldMapLimit = 268435455;   // 2^28 - 1 entries
}  // namespace

bool TGridDataLinkZk::AddMapping(const String& FieldName) {
  if (FFieldCount >= FieldMapLimit)
    throw EInvalidGridOperationZk(u"Too many columns in the field map");
  TField* Field = nullptr;
  if (TDataSet* D = DataSet())
    Field = FSparseMap ? D->FindField(FieldName) : D->FieldByName(FieldName);
  if (FFieldCount == FFieldMapSize) {
    long long Size = FFieldMapSize == 0 ? 8 : 2LL * FFieldMapSize;
    if (Size < FFieldCount) Size = FFieldCount + 1LL;
    FFieldMapSize = static_cast<int>(std::min<long long>(Size, FieldMapLimit));
    FFieldMap.resize(static_cast<std::size_t>(FFieldMapSize));
  }
  int Index = -1;
  if (Field) {
    Index = Field->DataSet()->Fields()->IndexOf(Field);
    Field->FreeNotification(FGrid);
  }
  FFieldMap[static_cast<std::size_t>(FFieldCount++)] = Index;
  return true;
}

void TGridDataLinkZk::ClearMapping() {
  FFieldMap = {};
  FFieldMapSize = 0;
  FFieldCount = 0;
}

int TGridDataLinkZk::GetMappedFieldIndex(int Index) const {
  return Index >= 0 && Index < FFieldCount ? FFieldMap[static_cast<std::size_t>(Index)] : -1;
}

TField* TGridDataLinkZk::GetMappedField(int Index) const {
  const int I = GetMappedFieldIndex(Index);
  TDataSet* D = DataSet();
  return I >= 0 && D && I < D->Fields()->Count() ? D->Fields()->Fields(I) : nullptr;
}

bool TGridDataLinkZk::DefaultFields() const {
  TDataSet* D = DataSet();
  if (!D) return true;
  if (FSparseMap)
    for (int I = 0; I < FFieldCount; ++I)
      if (FFieldMap[static_cast<std::size_t>(I)] < 0) return false;
  return D->DefaultFields();
}

// Esc: a changed editor text goes back to the field's; otherwise the record's edit is cancelled.
void TGridDataLinkZk::Reset() {
  if (FModified) RecordChanged(nullptr);
  else if (DataSet()) DataSet()->Cancel();
}

void TGridDataLinkZk::RefreshMemTable() {
  IMemTableZk* Now = FGrid->TryUseMemTableInt() && Active()
                         ? dynamic_cast<IMemTableZk*>(DataSet()) : nullptr;
  if (Now == FMemTable) return;
  if (FMemTable) FMemTable->UnregisterEventReceiver(FGrid);
  FMemTable = Now;
  if (FMemTable) FMemTable->RegisterEventReceiver(FGrid);
}

void TGridDataLinkZk::ActiveChanged() {
  RefreshMemTable();
  FGrid->LinkActive(Active());
  FModified = false;
}
void TGridDataLinkZk::DataSetChanged() {
  FGrid->DataChanged();
  FModified = false;
}
void TGridDataLinkZk::DataSetScrolled(int Distance) { FGrid->Scroll(Distance); }
void TGridDataLinkZk::LayoutChanged() { FGrid->LayoutChanged(); }
void TGridDataLinkZk::RecordChanged(TField* Field) {
  FGrid->InvalidateRow(FGrid->TopDataOffset() + std::max(0, FGrid->CurrentDataRow()));
  // The editor follows a field text that changed behind it (not while it writes the field).
  TField* Selected = FGrid->SelectedField();
  const int Index = FGrid->SelectedIndex();
  TColumnZk* Column = Index >= 0 && Index < FGrid->Columns()->Count() ? FGrid->Columns()->Items(Index)
                                                                       : nullptr;
  if (!FInUpdateData && FGrid->InplaceEditor() && Selected && Column &&
      (!Field || Field == Selected) && Column->EditText() != FGrid->EditText()) {
    FGrid->InvalidateEditor();
    FGrid->InplaceEditor()->Deselect();
  }
  FModified = false;
}
void TGridDataLinkZk::EditingChanged() {
  FGrid->InvalidateCol(0);
}
// The editor's pending text goes into the field; a refused value raises with the link still
// modified, so the editor keeps its text and the record its edit state.
void TGridDataLinkZk::UpdateData() {
  if (!FModified || FInUpdateData) return;
  FInUpdateData = true;
  try {
    FGrid->UpdateData();
  } catch (...) {
    FInUpdateData = false;
    throw;
  }
  FInUpdateData = false;
  FModified = false;
}

// --- link reactions -------------------------------------------------------------------------------

void TCustomDBGridZk::LinkActive(bool Value) {
  if (!Value) FRowDetailPanel->SetVisible(false);
  if (FDataGrouping->Active()) FDataGrouping->RefreshTree(false);
  FSelection->LinkActive(Value);
  if (FSumList) FSumList->SetDataSet(Value && DataSource() ? DataSource()->DataSet() : nullptr);
  LayoutChanged();
}

void TCustomDBGridZk::DataChanged() {
  // A data source may switch datasets while the link stays active.
  if (FSumList && FDataLink->Active() && FSumList->DataSet() != DataSet()) {
    FSumList->SetDataSet(DataSet());
    FDataLink->RefreshMemTable();
  }
  if (!HandleAllocated()) return;
  UpdateRowCount();
  UpdateScrollBar();
  SyncCurrentRow();
  PlaceRowDetailControl();
  Invalidate();
}

void TCustomDBGridZk::Scroll(int Distance) {
  if (UsesMemTableRows()) return MemTableScroll(Distance);
  if (!HandleAllocated()) return;
  UpdateRowCount();
  UpdateScrollBar();
  SyncCurrentRow();
  PlaceRowDetailControl();
  (void)Distance;
  Invalidate();
}

void TCustomDBGridZk::SyncCurrentRow() {
  if (!FDataLink->Active() || FUpdatingRows) return;
  if (GroupingWorks()) {
    if (IMemTableZk* Table = FDataLink->MemTable())
      SyncGroupNodeToRecord(Table->GetInstantReadCurRow(), false);
    return;
  }
  if (UsesMemTableRows()) return MemTableScroll(0);
  if (!FInplaceSearchLocating) StopInplaceSearch();
  const int R = FTitleOffset + std::max(0, FDataLink->ActiveRecord());
  if (R < RowCount() && R != Row()) {
    FUpdatingRows = true;
    try {
      SetCurrentCell(std::max(Col(), FixedCols()), R, true, false, false);
    } catch (...) {
      FUpdatingRows = false;
      throw;
    }
    FUpdatingRows = false;
  }
}

// --- locks and the recalculation ------------------------------------------------------------------

void TCustomDBGridZk::BeginLayout() { ++FLayoutLock; }
void TCustomDBGridZk::EndLayout() {
  if (FLayoutLock > 0 && --FLayoutLock == 0) LayoutChanged();
}
void TCustomDBGridZk::BeginUpdate() { ++FUpdateLock; }
void TCustomDBGridZk::EndUpdate() {
  if (FUpdateLock > 0) --FUpdateLock;
}

void TCustomDBGridZk::LayoutChanged() {
  if (ComponentState().Contains(csDestroying)) return;
  if (FLayoutLock > 0 || FUpdateLock > 0 || ComponentState().Contains(csLoading)) {
    FLayoutPending = true;
    return;
  }
  FLayoutPending = false;
  InternalLayout();
}

void TCustomDBGridZk::DeferLayoutChanged() {
  if (!HandleAllocated()) return;
  TMsg M;
  if (PeekMessage(M, this, WM_GRID_DEFERLAYOUT, WM_GRID_DEFERLAYOUT, PM_NOREMOVE)) return;
  PostMessage(this, WM_GRID_DEFERLAYOUT, 0, 0);
}

void TCustomDBGridZk::BuildVisibleColumns() {
  FVisibleColumns.clear();
  for (int I = 0; I < FColumns->Count(); ++I)
    if (FColumns->Items(I)->Visible()) FVisibleColumns.push_back(FColumns->Items(I));
}

void TCustomDBGridZk::DefaultColumnsFromDataSet() {
  // Columns are rebuilt from the dataset only while none was customised.
  const bool Default = FColumns->Count() == 0 || FColumns->State();
  if (!Default) {
    // A customised column joined columns built from the dataset: those go.
    bool Mixed = false;
    for (int I = 0; I < FColumns->Count(); ++I) Mixed = Mixed || !FColumns->Items(I)->Stored();
    if (!Mixed) return;
    ++FLayoutLock;
    FColumns->BeginUpdate();
    for (int I = FColumns->Count() - 1; I >= 0; --I)
      if (!FColumns->Items(I)->Stored()) FColumns->Delete(I);
    FColumns->EndUpdate();
    --FLayoutLock;
    return;
  }
  TDataSet* D = DataSet();
  const bool Active = FDataLink->Active() && D;
  // The automatic columns show the visible fields of GetDataSetFields.
  std::vector<TField*> Fields;
  if (Active) GetDataSetFields(Fields);
  std::vector<String> Wanted;
  for (TField* F : Fields)
    if (F->Visible()) Wanted.push_back(F->FieldName());
  // Columns already built for the same fields stay, with whatever was changed on them.
  if (static_cast<int>(Wanted.size()) == FColumns->Count()) {
    bool Same = true;
    for (int I = 0; I < FColumns->Count() && Same; ++I)
      Same = FColumns->Items(I)->FieldName() == Wanted[I];
    if (Same) return;
  }
  ++FLayoutLock;
  FColumns->BeginUpdate();
  try {
    FColumns->Clear();
    for (TField* F : Fields) {
      if (!F->Visible()) continue;
      TColumnZk* C = FColumns->Add();
      C->SetFieldName(F->FieldName());
      C->SetStored(false);
    }
  } catch (...) {
    FColumns->EndUpdate();
    --FLayoutLock;
    throw;
  }
  FColumns->EndUpdate();
  --FLayoutLock;
}

// Customized columns map one entry per column (a missing field leaves a hole); automatic ones
// one entry per visible field of the dataset.
void TCustomDBGridZk::BuildFieldMap() {
  FDataLink->ClearMapping();
  TDataSet* D = FDataLink->Active() ? DataSet() : nullptr;
  if (!D) {
    for (int I = 0; I < FColumns->Count(); ++I) FColumns->Items(I)->SetField(nullptr);
    return;
  }
  const bool Customized = !FColumns->State();
  FDataLink->SetSparseMap(Customized);
  if (Customized) {
    for (int I = 0; I < FColumns->Count(); ++I) {
      FDataLink->AddMapping(FColumns->Items(I)->FieldName());
      FColumns->Items(I)->SetField(FDataLink->GetMappedField(I));
    }
    return;
  }
  for (TField* F : *D->Fields())
    if (F->Visible()) FDataLink->AddMapping(F->FieldName());
  for (int I = 0; I < FColumns->Count(); ++I)
    FColumns->Items(I)->SetField(D->FindField(FColumns->Items(I)->FieldName()));
}

int TCustomDBGridZk::ExtraFirstColumnWidth() {
  FExtraFirstColumnWidth =
      GroupingWorks() ? GroupLevelIndentZk * FDataGrouping->ActiveGroupLevelsCount() : 0;
  return FExtraFirstColumnWidth;
}

int TCustomDBGridZk::AddExtraWidth(TColumnZk* Column, int Width) const {
  return !FVisibleColumns.empty() && Column == FVisibleColumns.front()
             ? Width + FExtraFirstColumnWidth : Width;
}

int TCustomDBGridZk::SubExtraWidth(TColumnZk* Column, int Width) const {
  return !FVisibleColumns.empty() && Column == FVisibleColumns.front()
             ? Width - FExtraFirstColumnWidth : Width;
}

// The glyph's 11 pixels, and with record numbers room for as many digits as the record count
// has, in the grid font one point smaller.
int TCustomDBGridZk::CalcIndicatorColWidth() {
  int W = FOptions.Contains(dgIndicator) ? 11 : 0;
  if (!FOptionsZk.Contains(dghShowRecNo) || !DataSet()) return W;
  int N = FDataLink->Active() ? RecordCountZk() : 0;
  String Digits = u"0";
  for (; N >= 10; N /= 10) Digits += u'0';
  TBitmap Scratch;
  Scratch.Canvas()->Font()->Assign(Font());
  Scratch.Canvas()->Font()->SetSize(Font()->Size() - 1);
  if (W == 0) W = 2;
  return std::max(11, Scratch.Canvas()->TextWidth(Digits) + W + 2);
}

namespace {
// Row and title heights from stored counts stay within what a screen can show.
constexpr long long MaxRowPixels = 32767;
int ClampPixels(long long V) { return static_cast<int>(std::clamp(V, 1LL, MaxRowPixels)); }
}  // namespace

void TCustomDBGridZk::CalcRowHeights() {
  TBitmap Scratch;
  TCanvas* C = Scratch.Canvas();
  C->Font()->Assign(Font());
  const long long TextH = C->TextHeight(u"Wg");
  long long H = FNewRowHeight > 0 ? FNewRowHeight : TextH + FInterlinear;
  if (FRowLines > 0) H = std::max(H, TextH * FRowLines + FInterlinear);
  if (FOptionsZk.Contains(dghFitRowHeightToText) && FNewRowHeight > 0 && TextH > 0) {
    const long long Lines = std::max(1LL, (FNewRowHeight - FInterlinear + TextH / 2) / TextH);
    H = Lines * TextH + FInterlinear;
  }
  FStdDefaultRowHeight = ClampPixels(H);
  C->Font()->Assign(FTitleFont.get());
  const long long TitleTextH = C->TextHeight(u"Wg");
  long long TH = FTitleHeight > 0 ? FTitleHeight : TitleTextH + 4;
  if (FTitleLines > 0) TH = std::max(TH, TitleTextH * FTitleLines + 4);
  FTitleRowHeight = ClampPixels(TH);
}

// --- multi-title header tree ----------------------------------------------------------------------

THeadTreeNode* TCustomDBGridZk::LeafNodeOf(TColumnZk* Column) const {
  for (const TLeafColZk& L : FLeafFieldArr)
    if (L.FColumn == Column) return L.FLeaf;
  return nullptr;
}

int TCustomDBGridZk::HeadTreeLeafWidth(TColumnZk* Column) const {
  const auto It = std::find(FVisibleColumns.begin(), FVisibleColumns.end(), Column);
  const int Col = FIndicatorOffset + static_cast<int>(It - FVisibleColumns.begin());
  if (It == FVisibleColumns.end() || Col >= FullColCount())
    return AddExtraWidth(Column, Column->Width());
  return ColWidth(Col);
}

// The tree from the captions; the title row's height from the tallest stack of captions.
int TCustomDBGridZk::BuildHeadTree() {
  TBitmap Scratch;
  TCanvas* C = Scratch.Canvas();
  C->Font()->Assign(FTitleFont.get());
  FHeadTree->CreateFieldTree(this);
  return HeadTreeHeight(FHeadTree.get(), C) - (FOptionsZk.Contains(dghFixed3D) ? 1 : 3);
}

int TCustomDBGridZk::HeadTreeHeight(THeadTreeNode* Node, TCanvas* Canvas) {
  if (!Node->Child) return Node->Height = 0;
  struct TMeasure { THeadTreeNode* Node; int Subtree; };
  std::vector<TMeasure> Kids;
  int A = 0;
  THeadTreeNode* K = Node->Child;
  do {
    const int S = K->Child ? HeadTreeHeight(K, Canvas) : 0;
    Canvas->Font()->Assign(K->Column ? K->Column->Title()->Font() : FTitleFont.get());
    const String Text = K->Text.empty() ? String(u" ") : K->Text;
    TRect R = Rect(0, 0, std::max(1, K->Width - K->WIndent - 4), 0);
    int E;
    if (K->Column && K->Column->Title()->Orientation() == tohVertical) {
      E = K->Width > 0 ? Canvas->TextWidth(Text) + 6 : 0;
    } else {
      DrawText(Canvas, Text, R, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      E = K->Width > 0 ? R.Bottom - R.Top + FVTitleMargin : FVTitleMargin;
    }
    A = std::max(A, S + std::max(E, R.Bottom));
    Kids.push_back({K, S});
    K = K->Next;
  } while (K != Node->Child);
  for (const TMeasure& M : Kids) M.Node->Height = M.Node->Child ? A - M.Subtree : A;
  return Node->Height = A;
}

int TCustomDBGridZk::TitleRowCount() { return FOptions.Contains(dgTitles) ? 1 : 0; }
bool TCustomDBGridZk::IsUseMultiTitle() { return FUseMultiTitle && !FGridRowPanel->Active(); }

void TCustomDBGridZk::InternalLayout() {
  ++FLayoutCount;
  FIndicatorOffset = IndicatorShown() ? 1 : 0;
  FTitleOffset = TitleRowCount() + FilterRowCount();
  DefaultColumnsFromDataSet();
  BuildVisibleColumns();
  BuildFieldMap();
  CalcRowHeights();
  if (FGridRowPanel->Active()) PrepareRowPanelLayout();
  FRecNoTextWidth = CalcIndicatorColWidth();
  LockPaint();
  try {
    const int Cols = FIndicatorOffset + std::max<int>(1, FVisibleColumns.size());
    SetContraCounts(ContraColCount(), FFooterRowCount);
    SetColCount(Cols);
    // Frozen columns are the last fixed ones: they stay in view while the others scroll. At
    // least one column is left to scroll.
    const int Frozen = std::max(0, std::min(FFrozenCols, Cols - FIndicatorOffset - 1));
    SetFixedCols(FIndicatorOffset + Frozen);
    SetFrozenColCount(Frozen);
    SetDefaultRowHeight(FStdDefaultRowHeight);
    UpdateColWidths();
    if (FGridRowPanel->Active()) ApplyRowPanelColWidths();
    if (IsUseMultiTitle() && FOptions.Contains(dgTitles))
      FTitleRowHeight = ClampPixels(BuildHeadTree());
    else
      FLeafFieldArr.clear();
    UpdateRowCount();
    SetFixedRows(std::min(FTitleOffset, RowCount() - 1));
    // Footer rows and the filter row take the default height, so only the title row needs
    // its own.
    if (TitleRowCount() > 0 && RowCount() > 0) SetRowHeight(0, FTitleRowHeight);
  } catch (...) {
    UnlockPaint();
    throw;
  }
  UnlockPaint();
  UpdateAllDataRowHeights();
  UpdateScrollStyle();
  UpdateScrollBar();
  SyncCurrentRow();
  PlaceRowDetailControl();
  if (HandleAllocated()) {
    UpdateScrollBarRanges();
    Invalidate();
  }
}

void TCustomDBGridZk::UpdateColWidths() {
  // The columns keep their widths while the grid's are set one by one: the widths not yet set
  // must not be copied back into their columns.
  struct TUnlock {
    int& Lock;
    ~TUnlock() { --Lock; }
  } Unlock{++FLayoutLock};
  if (FIndicatorOffset > 0) SetColWidth(0, FRecNoTextWidth);
  const int N = static_cast<int>(FVisibleColumns.size());
  if (N == 0) {
    SetColWidth(FIndicatorOffset, DefaultColWidth());
    return;
  }
  ExtraFirstColumnWidth();
  if (FAutoFitColWidths && !ComponentState().Contains(csDesigning) && !FGridRowPanel->Active())
    FitColumnWidths();
  for (int I = 0; I < N; ++I)
    SetColWidth(FIndicatorOffset + I,
                AddExtraWidth(FVisibleColumns[I], FVisibleColumns[I]->Width()));
}

// Shares the client width among the auto-fitted columns in proportion to their InitWidth; the
// others keep their Width. A column its bounds clamp keeps the clamp and the share is worked out
// again without it; the last free column takes what rounding left over.
void TCustomDBGridZk::FitColumnWidths() {
  const int N = static_cast<int>(FVisibleColumns.size());
  std::vector<bool> OutOfRange(N, false);
  auto Free = [&](int I) { return FVisibleColumns[I]->AutoFitColWidth() && !OutOfRange[I]; };
  int Avail = 0, Sum = 0;
  for (int Pass = 0; Pass < N; ++Pass) {
    int Fixed = 0;
    long long Init = 0;
    int FreeCount = 0;
    for (int I = 0; I < N; ++I) {
      if (Free(I)) {
        Init += FVisibleColumns[I]->InitWidth();
        ++FreeCount;
      } else {
        Fixed += FVisibleColumns[I]->Width();
      }
    }
    Avail = std::max(0, std::max(GridClientSize().cx, FMinAutoFitWidth) - Fixed) -
            (FIndicatorOffset ? FRecNoTextWidth + GridLineWidth() : 0) - N * GridLineWidth() -
            FExtraFirstColumnWidth;
    Sum = 0;
    bool Clamped = false;
    for (int I = 0, K = 0; I < N; ++I) {
      if (!Free(I)) continue;
      TColumnZk* C = FVisibleColumns[I];
      // No InitWidth to go by: the free columns share equally.
      const int Want = Init > 0 ? MulDiv(C->InitWidth(), Avail, static_cast<int>(Init))
                                : Avail / FreeCount + (K++ < Avail % FreeCount ? 1 : 0);
      C->SetWidth(Want);
      if (C->Width() != Want) {
        OutOfRange[I] = true;
        Clamped = true;
      }
      Sum += C->Width();
    }
    if (!Clamped) break;
  }
  if (Sum == Avail) return;
  for (int I = N - 1; I >= 0; --I)
    if (Free(I)) {
      FVisibleColumns[I]->SetWidth(std::max(0, FVisibleColumns[I]->Width() + Avail - Sum));
      return;
    }
}


int TCustomDBGridZk::VisibleDataRowCount() const {
  const int Footer = FFooterRowCount * (FStdDefaultRowHeight + GridLineWidth());
  // The title row has its own height; the rows under it (the filter row) the default one.
  const int Titles = FOptions.Contains(dgTitles) ? 1 : 0;
  const int Title = Titles * (FTitleRowHeight + GridLineWidth()) +
                    (FTitleOffset - Titles) * (FStdDefaultRowHeight + GridLineWidth());
  const int Room = GridClientSize().cy - Title - Footer;
  const int Step = std::max(1, FStdDefaultRowHeight + GridLineWidth());
  return std::max(1, Room / Step);
}

void TCustomDBGridZk::UpdateRowCount() {
  if (GroupingWorks()) return UpdateGroupRowCount();
  if (FUpdatingRows) return;
  if (UsesMemTableRows()) return UpdateMemTableRowCount();
  FUpdatingRows = true;
  try {
    int Rows = 1;
    if (FDataLink->Active()) {
      FDataLink->SetBufferCount(VisibleDataRowCount());
      Rows = std::max(1, FDataLink->RecordCount());
    }
    const int Total = FTitleOffset + Rows;
    if (RowCount() != Total) SetRowCount(Total);
    if (TopRow() != FTitleOffset && Total > FTitleOffset) SetTopRow(FTitleOffset);
  } catch (...) {
    FUpdatingRows = false;
    throw;
  }
  FUpdatingRows = false;
}

int TCustomDBGridZk::CurrentDataRow() const {
  if (UsesMemTableRows()) return FDataLink->MemTable()->GetInstantReadCurRow();
  return FDataLink->Active() ? FDataLink->ActiveRecord() : -1;
}

// --- records: numbers and moving ------------------------------------------------------------------

bool TCustomDBGridZk::IsSequencedZk() const {
  return FDataLink->Active() && FSumList->IsSequenced();
}
int TCustomDBGridZk::RecordCountZk() const {
  if (!FDataLink->Active()) return 0;
  return FSumList->RecordCount();
}
int TCustomDBGridZk::RecNoZk() const {
  if (!FDataLink->Active()) return -1;
  return FSumList->RecNo();
}

// Over a buffer a row outside it is counted from the active record.
int TCustomDBGridZk::DataRowToRecNo(int DataRow) {
  if (!FDataLink->Active()) return 0;
  if (UsesMemTable()) return DataRow + 1;
  if (DataRow < 0 || DataRow >= FDataLink->RecordCount())
    return DataSet()->RecNo() + DataRow - FDataLink->ActiveRecord();
  int RecNo = 0;
  ForDataRow(DataRow, [&] { RecNo = DataSet()->RecNo(); });
  return RecNo;
}

// The neighbour's text goes through the same parameters painting uses, OnGetCellParams included.
bool TCustomDBGridZk::SameTextAsNeighbour(TColumnZk* Column, int DataRow, const String& Text,
                                          bool Previous) {
  if (!FDataLink->Active() || !Column) return false;
  const int Other = Previous ? DataRow - 1 : DataRow + 1;
  const int First = UsesMemTableRows() ? TopDataRow() : 0;
  const int Count = UsesMemTableRows() ? SourceRowCount() : FDataLink->RecordCount();
  if (Other < std::max(0, Previous ? First : 0) || Other >= Count) return false;
  String Shown;
  ForDataRow(Other, [&] {
    // Painting asks this in the middle of its own cell, so the neighbour gets its own parameters.
    TColCellParamsZk Params;
    TColCellParamsZk* P = &Params;
    P->Col = ColumnIndexToGridCol(Column->Index());
    P->Row = FTitleOffset + Other;
    P->State = TGridDrawState();
    P->Font()->Assign(Column->Font());
    P->Alignment = Column->Alignment();
    P->Text = Column->DisplayText();
    P->ImageIndex = Column->GetImageIndex();
    TColor Back = Column->Color();
    DoGetCellParams(Column, P->Font(), Back, P->State);
    P->Background = Back;
    if (Column->OnGetCellParams()) Column->OnGetCellParams()(Column, false, P);
    Shown = P->Text;
  });
  return Shown == Text;
}

int TCustomDBGridZk::MoveBy(int Distance) {
  if (!FDataLink->Active()) return 0;
  if (GroupingWorks()) return MoveByGroupRows(Distance);
  return DataSet()->MoveBy(Distance);
}

void TCustomDBGridZk::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  if (ExtendedScrolling()) return UpdateExtendedVertScrollBar();
  SCROLLINFO Old;
  Old.fMask = SIF_ALL;
  GetScrollInfo(this, SB_VERT, Old);
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  const TScrollBarVisibleModeZk Mode = FVertScrollBar->VisibleMode();
  if (Mode == sbAlwaysShowZk) SI.fMask |= SIF_DISABLENOSCROLL;
  SI.nMin = 0;
  SI.nMax = 2;
  SI.nPage = 1;
  SI.nPos = 0;
  if (FDataLink->Active() && GroupingWorks()) {
    GroupScrollInfo(SI);
  } else if (FDataLink->Active()) {
    TDataSet* D = DataSet();
    if (IsSequencedZk()) {
      // Range 1..RecordCount + page - 1 with the page of visible rows: the thumb's bottom
      // reaches the end at the last record. Inserting keeps the thumb where it was.
      const int Page = VisibleDataRowCount();
      SI.nMin = 1;
      SI.nPage = Page;
      SI.nMax = std::max(1, RecordCountZk() + Page - 1);
      SI.nPos = D->State() > dsEdit ? Old.nPos : std::max(1, RecNoZk());
    } else {
      // Five positions: first, inside, last.
      SI.nMin = 0;
      SI.nPage = 0;
      SI.nMax = 4;
      SI.nPos = D->Bof() ? 0 : D->Eof() ? 4 : 2;
    }
  }
  ApplyVertScrollInfo(this, SI);
}

// An external bar takes the real range and the window's own collapses; a bar always shown is
// disabled while there is nothing to scroll.
void ApplyVertScrollInfo(TCustomDBGridZk* Grid, SCROLLINFO SI) {
  const TScrollBarVisibleModeZk Mode = Grid->VertScrollBar()->VisibleMode();
  if (TScrollBar* Ext = Grid->VertScrollBar()->ExtScrollBar()) {
    Ext->SetPageSize(0);
    Ext->SetParams(SI.nPos, std::min(SI.nMin, SI.nMax), SI.nMax);
    Ext->SetPageSize(static_cast<int>(SI.nPage));
    SI.nMax = SI.nMin;
  }
  if (Mode == sbNeverShowZk) SI.nMax = SI.nMin;
  const bool Empty = SI.nMax <= SI.nMin || static_cast<int>(SI.nPage) > SI.nMax - SI.nMin;
  SetScrollInfo(Grid, SB_VERT, SI, true);
  if (Mode == sbAlwaysShowZk) {
    ShowScrollBar(Grid, SB_VERT, true);
    EnableScrollBar(Grid, SB_VERT, Empty ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
  }
}

void TCustomDBGridZk::UpdateHorzExtScrollBar() {}

void TCustomDBGridZk::WMVScrollZk(TMessage& Message) {
  if (!FDataLink->Active() || !AcquireFocus()) return;
  TDataSet* D = DataSet();
  const unsigned Code = Message.WParam & 0xFFFF;
  const int Page = VisibleDataRowCount();
  // The message carries 16 bits; the bar's own track position has all 32.
  auto TrackPos = [this] {
    SCROLLINFO SI;
    SI.fMask = SIF_TRACKPOS;
    GetScrollInfo(this, SB_VERT, SI);
    return SI.nTrackPos;
  };
  if (GroupingWorks()) return GroupVScroll(Code, TrackPos());
  if (ExtendedScrolling() && FVertScrollBar->SmoothStep()) {
    // The base grid scrolls the pixels; with tracking they follow the thumb.
    if (Code == SB_THUMBTRACK && FVertScrollBar->Tracking())
      Message.WParam = (Message.WParam & ~WPARAM(0xFFFF)) | SB_THUMBPOSITION;
    return TCustomGridZk::Dispatch(Message);
  }
  if (ExtendedScrolling()) return ExtendedVertScroll(Code, TrackPos());
  switch (Code) {
    case SB_LINEUP: MoveBy(-FDataLink->ActiveRecord() - 1); break;
    case SB_LINEDOWN: MoveBy(FDataLink->RecordCount() - FDataLink->ActiveRecord()); break;
    case SB_PAGEUP: MoveBy(-Page); break;
    case SB_PAGEDOWN: MoveBy(Page); break;
    case SB_TOP: D->First(); break;
    case SB_BOTTOM: D->Last(); break;
    case SB_THUMBPOSITION: {
      if (FThumbTracked) {
        FThumbTracked = false;
        break;
      }
      const int Pos = TrackPos();
      if (IsSequencedZk()) {
        if (Pos <= 1) D->First();
        else if (Pos < RecordCountZk()) FSumList->SetRecNo(Pos);
        else D->Last();
      } else {
        switch (Pos) {
          case 0: D->First(); break;
          case 1: MoveBy(-Page); break;
          case 3: MoveBy(Page); break;
          case 4: D->Last(); break;
          default: break;
        }
      }
      break;
    }
    case SB_THUMBTRACK:
      if (FVertScrollBar->Tracking()) {
        MoveBy(TrackPos() - FSumList->RecNo());
        FThumbTracked = true;
      }
      break;
    default: break;
  }
  UpdateScrollBar();
}

void TCustomDBGridZk::WMSizeZk(TMessage& Message) {
  TCustomGridZk::Dispatch(Message);
  LayoutChanged();
}

void TCustomDBGridZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GRID_DEFERLAYOUT: {
      TMsg M;
      while (PeekMessage(M, this, WM_GRID_DEFERLAYOUT, WM_GRID_DEFERLAYOUT, PM_REMOVE)) {}
      LayoutChanged();
      return;
    }
    case WM_VSCROLL: WMVScrollZk(Message); return;
    case WM_CHAR: WMCharZk(Message); return;
    case WM_TIMER:
      if (!WMTimerZk(Message)) TCustomGridZk::Dispatch(Message);
      return;
    case WM_SIZE: WMSizeZk(Message); return;
    case WM_SETCURSOR: WMSetCursorZk(Message); return;
    case WM_CONTEXTMENU:
      if (!ShowColumnPopupMenu(Message)) TCustomGridZk::Dispatch(Message);
      return;
    case CM_MOUSEWHEEL:
      // The editor's open list gets the wheel first; what it handled goes no further. An open
      // filter list keeps every wheel step.
      if ((InplaceEditor() && DBInplaceEdit()->WheelToOpenList(Message)) ||
          WheelToOpenFilterList(this, Message)) {
        Message.Result = 1;
        return;
      }
      TCustomGridZk::Dispatch(Message);
      return;
    default: TCustomGridZk::Dispatch(Message);
  }
}

bool TCustomDBGridZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (MemTableWheel(true, Shift, MousePos)) return true;
  MoveBy(1);
  return true;
}
bool TCustomDBGridZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (MemTableWheel(false, Shift, MousePos)) return true;
  MoveBy(-1);
  return true;
}

// Moving the current cell to another row moves the dataset; columns move in the base grid.
void TCustomDBGridZk::GoToCell(int ACol, int ARow, bool MoveAnchor) {
  if (FDataLink->Active() && !FUpdatingRows && ARow >= FTitleOffset && ARow < RowCount() &&
      ARow != Row()) {
    MoveBy(ARow - FTitleOffset - CurrentDataRow());
    ARow = FTitleOffset + CurrentDataRow();
  }
  TCustomGridZk::GoToCell(ACol, ARow, MoveAnchor);
}

bool TCustomDBGridZk::CellMayBeCurrent(int ACol, int ARow) {
  return ACol >= FIndicatorOffset && ARow >= FTitleOffset && ARow < RowCount();
}

void TCustomDBGridZk::TopLeftChanged() {
  // Titles change look when the first scrolled column leaves the view or comes back.
  const bool TopLeftVisible = LeftCol() == FixedCols();
  if (TopLeftVisible != FTopLeftVisible) {
    for (int R = 0; R < FTitleOffset; ++R) InvalidateRowCells(R);
    FTopLeftVisible = TopLeftVisible;
  }
  TCustomGridZk::TopLeftChanged();
  UpdateHorzExtScrollBar();
  FetchVisibleRecords();
  PlaceFilterEditor(false);
  // Tree lines are dotted in a phase that follows the top row: the row that was cut by the
  // bottom edge is painted whole again, so its lines do not change phase halfway.
  if (MemTableTreeShown() && FOldTopLeft.Y >= 0 && TopRow() > FOldTopLeft.Y) {
    const int Cut = RowCutAtBottom(FOldTopLeft.Y);
    if (Cut >= 0) InvalidateRowCells(Cut);
  }
  if (FOnTopLeftChanged) FOnTopLeftChanged(this);
  PlaceRowDetailControl();
  FOldTopLeft = TGridCoord{LeftCol(), TopRow()};
}

// A column sized by the user: the base grid's widths are kept within each column's bounds and
// reach the columns; with fitted columns the sizing moves the fitting's proportions instead, and
// the layout is recalculated from them.
void TCustomDBGridZk::ColumnWidthsChanged() {
  // In an in-row panel the grid's one data column is the master cell, not a column's width.
  const bool Sized = !FUpdatingRows && FLayoutLock == 0 && !FGridRowPanel->Active() &&
                     (FDataLink->Active() || !FColumns->State());
  if (!Sized) {
    TCustomGridZk::ColumnWidthsChanged();
    PlaceRowDetailControl();
    return;
  }
  TSTDBGridZkFilter* Filter = STFilter();
  Filter->BeginUpdate();
  struct TEndUpdate {
    TSTDBGridZkFilter* F;
    ~TEndUpdate() { F->EndUpdate(); }
  } EndFilterUpdate{Filter};
  BeginLayout();
  bool Refit = false;
  try {
    TCustomGridZk::ColumnWidthsChanged();
    ClampSizedColumns();
    Refit = TakeSizedWidths();
  } catch (...) {
    --FLayoutLock;
    throw;
  }
  // Widths taken as they are need no recalculation; moved proportions are fitted again.
  if (Refit)
    EndLayout();
  else
    --FLayoutLock;
  ColWidthsReachRowHeights();
  if (FOnColWidthsChanged) FOnColWidthsChanged(this);
  UpdateHorzExtScrollBar();
  PlaceFilterEditor(false);
  PlaceRowDetailControl();
}

void TCustomDBGridZk::ClampSizedColumns() {
  const int N = std::min<int>(FVisibleColumns.size(), ColCount() - FIndicatorOffset);
  for (int I = 0; I < N; ++I) {
    TColumnZk* C = FVisibleColumns[I];
    const int W = SubExtraWidth(C, ColWidth(FIndicatorOffset + I));
    int Clamped = W;
    if (C->MaxWidth() > 0) Clamped = std::min(Clamped, C->MaxWidth());
    if (C->MinWidth() > 0) Clamped = std::max(Clamped, C->MinWidth());
    if (Clamped != W) SetColWidth(FIndicatorOffset + I, AddExtraWidth(C, Clamped));
  }
}

bool TCustomDBGridZk::TakeSizedWidths() {
  bool Refit = false;
  const bool Fitted = FAutoFitColWidths && !ComponentState().Contains(csDesigning);
  const int N = std::min<int>(FVisibleColumns.size(), ColCount() - FIndicatorOffset);
  for (int I = 0; I < N; ++I) {
    TColumnZk* C = FVisibleColumns[I];
    const int W = SubExtraWidth(C, ColWidth(FIndicatorOffset + I));
    if (!Fitted) {
      if (W != C->Width()) C->SetWidth(W);
    } else if (W != C->Width()) {
      Refit = true;
      if (FOptionsZk.Contains(dghResizeWholeRightPart)) {
        ResizeWholeRightPart(I, W);
      } else if (C->AutoFitColWidth()) {
        // The next column gives up what this one gains, so the others keep their share.
        const int OldInit = C->InitWidth();
        C->SetInitWidth(ScaledInitWidth(C, W));
        if (I + 1 < N) {
          TColumnZk* Next = FVisibleColumns[I + 1];
          Next->SetInitWidth(std::max(0, Next->InitWidth() + OldInit - C->InitWidth()));
        }
      } else {
        C->SetWidth(W);
      }
    }
  }
  return Refit;
}

// The fitting's base of a column sized to NewWidth keeps its ratio to the width shown.
int TCustomDBGridZk::ScaledInitWidth(TColumnZk* Column, int NewWidth) const {
  return Column->Width() > 0 ? MulDiv(Column->InitWidth(), NewWidth, Column->Width()) : NewWidth;
}

// The columns right of the sized one share what it gained or gave up, in proportion.
void TCustomDBGridZk::ResizeWholeRightPart(int Index, int NewWidth) {
  TColumnZk* Sized = FVisibleColumns[Index];
  const int OldWidth = Sized->Width();
  if (Sized->AutoFitColWidth())
    Sized->SetInitWidth(ScaledInitWidth(Sized, NewWidth));
  else
    Sized->SetWidth(NewWidth);
  int D = 0;
  for (size_t J = Index + 1; J < FVisibleColumns.size(); ++J)
    if (FVisibleColumns[J]->AutoFitColWidth()) D += FVisibleColumns[J]->Width();
  if (D == 0) return;
  for (size_t J = Index + 1; J < FVisibleColumns.size(); ++J) {
    TColumnZk* C = FVisibleColumns[J];
    if (C->AutoFitColWidth())
      C->SetInitWidth(std::max(1, MulDiv(D + OldWidth - NewWidth, C->InitWidth(), D)));
  }
}

void TCustomDBGridZk::AfterColumnMove(int FromIndex, int ToIndex) {
  const int From = GridColToColumnIndex(FromIndex), To = GridColToColumnIndex(ToIndex);
  if (From >= 0 && To >= 0 && From < static_cast<int>(FVisibleColumns.size()) &&
      To < static_cast<int>(FVisibleColumns.size())) {
    ++FLayoutLock;
    FVisibleColumns[From]->SetIndex(FVisibleColumns[To]->Index());
    --FLayoutLock;
    if (FOnColumnMoved) FOnColumnMoved(this, FromIndex, ToIndex);
  }
  TCustomGridZk::AfterColumnMove(FromIndex, ToIndex);
  LayoutChanged();
}

// Rows of the link's window are read by switching its active record, a memory table's view
// rows by its instant read: RecNo, data and lookup fields then report the painted row.
void TCustomDBGridZk::ForDataRow(int DataRow, const std::function<void()>& Fn) {
  if (!FDataLink->Active()) return Fn();
  if (UsesMemTableRows()) {
    TMemTableRowRead Read(FDataLink->MemTable(), DataRow);
    return Fn();
  }
  const int Saved = FDataLink->ActiveRecord();
  FDataLink->SetActiveRecord(DataRow);
  try {
    Fn();
  } catch (...) {
    FDataLink->SetActiveRecord(Saved);
    throw;
  }
  FDataLink->SetActiveRecord(Saved);
}

void TCustomDBGridZk::MTViewDataEvent(int RowNum, TMTViewEventTypeZk Event, int OldRowNum) {
  ++FViewEventCount;
  if (GroupingWorks()) return GroupingViewDataEvent(RowNum, Event);
  if (UsesMemTableRows()) return MemTableViewEvent(RowNum, Event, OldRowNum);
  if (!HandleAllocated()) return;
  if (Event == mtRowChangedZk && RowNum >= 0) {
    InvalidateRow(FTitleOffset + RowNum);
    return;
  }
  UpdateRowCount();
  UpdateScrollBar();
  Invalidate();
}

// --- form scaling ---------------------------------------------------------------------------------

namespace {
void ScaleFont(TFont* F, int M, int D) { F->SetSize(MulDiv(F->Size(), M, D)); }
}  // namespace

void TCustomDBGridZk::ChangeScale(int M, int D) {
  if (M != D && D != 0) {
    if (!ParentFont()) {
      ScaleFont(FTitleFont.get(), M, D);
      ScaleFont(FFooterFont.get(), M, D);
    }
    FColumns->BeginUpdate();
    try {
      // Each width is the scaled running sum less the widths already given out, so the total
      // scales as one and rounding never adds up.
      int Sum = 0, Given = 0;
      for (int I = 0; I < FColumns->Count(); ++I) {
        TColumnZk* C = FColumns->Items(I);
        if (C->IsFontStored()) ScaleFont(C->Font(), M, D);
        if (C->Title()->IsFontStored()) ScaleFont(C->Title()->Font(), M, D);
        if (C->Footer()->IsFontStored()) ScaleFont(C->Footer()->Font(), M, D);
        for (int F = 0; F < C->Footers()->Count(); ++F)
          if (C->Footers()->Items(F)->IsFontStored()) ScaleFont(C->Footers()->Items(F)->Font(), M, D);
        const int Width = C->Width();
        const int Scaled = MulDiv(Sum + Width, M, D) - Given;
        Sum += Width;
        Given += Scaled;
        C->SetWidth(Scaled);
      }
    } catch (...) {
      FColumns->EndUpdate();
      throw;
    }
    FColumns->EndUpdate();
  }
  TCustomGridZk::ChangeScale(M, D);
}
