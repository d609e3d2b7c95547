// DBGridZkGroupView.cpp - the data grid's grouping view: the grid as the grouping engine's
// host, its settings and level classes, the group panel above the titles (layout, painting,
// drops), group rows and level bands, and navigation over group rows.
#include "gridlib/grid/DBGridZkGroupView.h"

#include <algorithm>

#include "gridlib/grid/DBGridZkDraw.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/GridMarkersZk.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "platform/graphics/WinDraw.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

const Char* const GroupPanelHint = u"Перетащите сюда заголовок чтобы группировать по столбцу";

// The canvas clipped to a rectangle for the scope's lifetime.
class TClipScope {
public:
  TClipScope(TCanvas* Canvas, const TRect& R) : FCanvas(Canvas), FSaved(Canvas->GetClipRegion()) {
    Canvas->IntersectClipRect(R);
  }
  ~TClipScope() { FCanvas->SelectClipRegion(FSaved); }
  TClipScope(const TClipScope&) = delete;
  TClipScope& operator=(const TClipScope&) = delete;

private:
  TCanvas* FCanvas;
  TClipRegion FSaved;
};

// The memory table's fields on one view row for the scope's lifetime.
class TInstantRead {
public:
  TInstantRead(IMemTableZk* Table, int Row) : FTable(Table) { FTable->InstantReadEnter(Row); }
  ~TInstantRead() { FTable->InstantReadLeave(); }
  TInstantRead(const TInstantRead&) = delete;
  TInstantRead& operator=(const TInstantRead&) = delete;

private:
  IMemTableZk* FTable;
};

void Line(TCanvas* C, TColor Color, int X1, int Y1, int X2, int Y2) {
  C->Pen()->SetColor(Color);
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

}  // namespace

// --- TDBGridZkDataGroupsZk ------------------------------------------------------------------------

TDBGridZkDataGroupsZk::TDBGridZkDataGroupsZk(TCustomDBGridZk* AGrid)
    : TGridDataGroupsZk(AGrid, AGrid, TDBGridZkDataGroupLevelZk::ClassInfo()), FDBGrid(AGrid) {}

bool TDBGridZkDataGroupsZk::IsGroupingWorks() {
  return Active() && FDBGrid && FDBGrid->GroupingMemTable() && FDBGrid->GroupingLinkActive() &&
         ActiveGroupLevelsCount() > 0;
}

void TDBGridZkDataGroupsZk::RefreshTree(bool KeepGroups) {
  if (!FDBGrid) return;
  if (!IsGroupingWorks()) {
    GroupDataTree()->Clear();
    GroupDataTree()->RebuildFlatVisibleList();
    FDBGrid->GroupingFlatListChanged();
    return;
  }
  IMemTableZk* Table = FDBGrid->GroupingMemTable();
  if (KeepGroups)
    GroupDataTree()->RebuildDataTreeEx(Table);
  else
    GroupDataTree()->RebuildDataTree(Table);
  FDBGrid->SyncGroupNodeToRecord(Table->GetInstantReadCurRow(), false);
}

void TDBGridZkDataGroupsZk::ActiveChanged() {
  // Switched on in the designer over a dataset that cannot be grouped: say so at once.
  if (FDBGrid && Active() && FDBGrid->ComponentState().Contains(csDesigning) &&
      !FDBGrid->ComponentState().Contains(csLoading) && FDBGrid->GroupingLinkActive() &&
      !FDBGrid->GroupingMemTable())
    ShowMessage(u"DataSet doesn't support IMemTableZk interface. Groupoing won't work.");
  RefreshTree(false);
  if (!FDBGrid) return;
  FDBGrid->GroupPanelChanged();
  if (FDBGrid->OnActiveGroupingStructChanged()) FDBGrid->OnActiveGroupingStructChanged()(FDBGrid);
}

void TDBGridZkDataGroupsZk::GroupStructureChanged() {
  RefreshTree(true);
  if (!FDBGrid) return;
  FDBGrid->GroupPanelChanged();
  if (FDBGrid->OnActiveGroupingStructChanged()) FDBGrid->OnActiveGroupingStructChanged()(FDBGrid);
}

void TDBGridZkDataGroupsZk::AppearanceChanged() {
  TGridDataGroupsZk::AppearanceChanged();
  if (FDBGrid) FDBGrid->GroupingUpdateAllRowHeights();
}

// The grouping order reaches the dataset through the grid's sort marking.
void TDBGridZkDataGroupsZk::RebuildActiveGroupLevels() {
  TGridDataGroupsZk::RebuildActiveGroupLevels();
  FHotTrackEditButton = -1;
  FHotTrackGroupLevelIdx = -1;
  if (FDBGrid && FDBGrid->GroupingLinkActive()) FDBGrid->SortMarkingChanged();
}

void TDBGridZkDataGroupsZk::ResortLevel(int LevelIndex, TSortOrderZk SortOrder) {
  TGridDataGroupsZk::ResortLevel(LevelIndex, SortOrder);
  if (!FDBGrid) return;
  if (FDBGrid->GroupingLinkActive()) FDBGrid->SortMarkingChanged();
  FDBGrid->Invalidate();
}

// --- TDBGridZkDataGroupLevelZk --------------------------------------------------------------------

TDBGridZkDataGroupLevelZk::TDBGridZkDataGroupLevelZk(TCollection* Collection)
    : TGridDataGroupLevelZk(Collection) {}

TCustomDBGridZk* TDBGridZkDataGroupLevelZk::DBGrid() const {
  auto* Groups = dynamic_cast<TDBGridZkDataGroupsZk*>(DataGroups());
  return Groups ? Groups->DBGrid() : nullptr;
}

String TDBGridZkDataGroupLevelZk::ColumnName() const {
  TColumnZk* C = GridColumn();
  return C ? C->FieldName() : FLoadingColumnName;
}

void TDBGridZkDataGroupLevelZk::SetColumnName(const String& Value) {
  TCustomDBGridZk* G = DBGrid();
  if (!G || G->ComponentState().Contains(csLoading)) {
    FLoadingColumnName = Value;
    return;
  }
  SetColumn(Value.empty() ? nullptr : G->FindColumnByName(Value));
}

void TDBGridZkDataGroupLevelZk::ResolveLoadedColumnName() {
  if (!FLoadingColumnName.empty()) SetColumnName(FLoadingColumnName);
}

// The column's handler first, then the level's.
void TDBGridZkDataGroupLevelZk::GetKeyValue(Variant& KeyValue) {
  TGridDataGroupLevelZk::GetKeyValue(KeyValue);
  TColumnZk* C = GridColumn();
  if (!C) return;
  if (C->OnGroupGetKeyValue()) C->OnGroupGetKeyValue()(DBGrid(), C, KeyValue);
  if (FOnGetKeyValue) FOnGetKeyValue(DBGrid(), this, KeyValue);
}

String TDBGridZkDataGroupLevelZk::GetKeyValueAsText(TGroupDataTreeNodeZk* Node) {
  String Text = VarToStr(Node->KeyValue());
  TColumnZk* C = GridColumn();
  if (C && C->OnGroupGetKeyValueAsText())
    C->OnGroupGetKeyValueAsText()(DBGrid(), Node, Node->KeyValue(), Text);
  if (FOnGetKeyValueAsText) FOnGetKeyValueAsText(DBGrid(), Node, Node->KeyValue(), Text);
  return Text;
}

String TDBGridZkDataGroupLevelZk::GetGroupRowText(TGroupDataTreeNodeZk* Node) {
  TColumnZk* C = GridColumn();
  String Text = C ? C->Title()->Caption() + u": " : String();
  Text += GetKeyValueAsText(Node) + u" (" + IntToStr(Node->Count()) + u")";
  if (C) {
    TCustomDBGridZk* G = DBGrid();
    if (G && G->OnDataGroupGetRowText()) G->OnDataGroupGetRowText()(G, Node, Text);
    if (FOnGetGroupRowText) FOnGetGroupRowText(G, Node, Text);
  }
  return Text;
}

void TDBGridZkDataGroupLevelZk::LevelChanged() {
  TCustomDBGridZk* G = DBGrid();
  if (!G || !GridColumn()) return;
  G->Invalidate();
  G->GroupingUpdateAllRowHeights();
}

// --- the grid as the engine's host ----------------------------------------------------------------

void TCustomDBGridZk::SetDataGrouping(TDBGridZkDataGroupsZk* Value) { FDataGrouping->Assign(Value); }

bool TCustomDBGridZk::GroupingWorks() const {
  return FDataGrouping && FDataGrouping->IsGroupingWorks();
}

IMemTableZk* TCustomDBGridZk::GroupingMemTable() { return FDataLink->MemTable(); }
TDataSet* TCustomDBGridZk::GroupingDataSet() { return DataSet(); }
bool TCustomDBGridZk::GroupingLinkActive() { return FDataLink->Active(); }

TField* TCustomDBGridZk::GroupingColumnField(TPersistent* Column) {
  auto* C = dynamic_cast<TColumnZk*>(Column);
  return C ? C->Field() : nullptr;
}

TColor TCustomDBGridZk::GroupingGridColor() { return Color(); }
TFont* TCustomDBGridZk::GroupingGridFont() { return Font(); }
void TCustomDBGridZk::GroupingInvalidate() { Invalidate(); }

// The current node may have been freed with the old rows: it is looked up by address only,
// and when gone the current record's row (or its nearest visible group) becomes current.
void TCustomDBGridZk::GroupingFlatListChanged() {
  if (!GroupingWorks()) return;
  TGridGroupDataTreeZk* Tree = FDataGrouping->GroupDataTree();
  if (Tree->IndexOfVisibleNode(FCurGroupDataNode) < 0) {
    FCurGroupDataNode = nullptr;
    if (FDataLink->MemTable() && !FInternalUpdatingDatasetPos && Tree->UpdateCount() == 0)
      SyncGroupNodeToRecord(FDataLink->MemTable()->GetInstantReadCurRow(), false);
  }
  UpdateGroupRowCount();
  UpdateScrollBar();
  Invalidate();
}

void TCustomDBGridZk::GroupingInvalidateRow(int FlatIndex) { InvalidateRow(FTitleOffset + FlatIndex); }
int TCustomDBGridZk::GroupingGroupRowHeight(TGroupDataTreeNodeZk* Node) { return GroupRowHeight(Node); }
int TCustomDBGridZk::GroupingDataRowHeight() { return FStdDefaultRowHeight; }

void TCustomDBGridZk::GroupingUpdateAllRowHeights() {
  if (!GroupingWorks()) return;
  FDataGrouping->GroupDataTree()->UpdateAllDataRowHeights();
  UpdateGroupRowCount();
}

void TCustomDBGridZk::GroupingPanelChanged() { GroupPanelChanged(); }

void TCustomDBGridZk::GroupingViewDataEvent(int RowNum, TMTViewEventTypeZk Event) {
  TGridGroupDataTreeZk* Tree = FDataGrouping->GroupDataTree();
  switch (Event) {
    case mtRowInsertedZk: Tree->RecordInserted(RowNum); break;
    case mtRowChangedZk: Tree->RecordChanged(RowNum); break;
    case mtRowDeletedZk: Tree->RecordDeleted(RowNum); break;
    default: FDataGrouping->RefreshTree(true); break;
  }
}

int TCustomDBGridZk::GroupRowHeight(TGroupDataTreeNodeZk* Node) {
  TGridDataGroupLevelZk* Level = Node->DataGroup();
  TCanvas* C = Canvas();
  C->Font()->Assign(Level ? Level->Font() : Font());
  const int TextH = C->TextHeight(u"Wg");
  if (Level && HandleAllocated() && (Level->RowHeight() > 0 || Level->RowLines() > 0))
    return (Level->RowLines() > 0 ? Level->RowLines() * TextH : 0) + Level->RowHeight();
  return TextH + (Flat() ? 1 : 3) + (FOptions.Contains(dgRowLines) ? GridLineWidth() : 0);
}

TGroupDataTreeNodeZk* TCustomDBGridZk::GroupNodeOfDataRow(int DataRow) const {
  if (!GroupingWorks()) return nullptr;
  TGridGroupDataTreeZk* Tree = FDataGrouping->GroupDataTree();
  return DataRow >= 0 && DataRow < Tree->FlatVisibleCount() ? Tree->FlatVisibleItem(DataRow)
                                                            : nullptr;
}

// Under grouping the grid shows every visible row of the tree and scrolls them itself.
void TCustomDBGridZk::UpdateGroupRowCount() {
  if (!GroupingWorks() || FUpdatingRows) return;
  FUpdatingRows = true;
  try {
    TGridGroupDataTreeZk* Tree = FDataGrouping->GroupDataTree();
    const int Rows = std::max(1, Tree->FlatVisibleCount());
    if (RowCount() != FTitleOffset + Rows) SetRowCount(FTitleOffset + Rows);
    const int Detail = RowDetailPanelShown() ? Row() - FTitleOffset : -1;
    for (int D = 0; D < Tree->FlatVisibleCount(); ++D) {
      const int H = Tree->FlatVisibleItem(D)->RowHeight() + (D == Detail ? FRowDetailPanel->Height() : 0);
      if (RowHeight(FTitleOffset + D) != H) SetRowHeight(FTitleOffset + D, H);
    }
    const int Cur = Tree->IndexOfVisibleNode(FCurGroupDataNode);
    if (Cur >= 0 && Row() != FTitleOffset + Cur)
      SetCurrentCell(std::max(Col(), FixedCols()), FTitleOffset + Cur, true, false, true);
  } catch (...) {
    FUpdatingRows = false;
    throw;
  }
  FUpdatingRows = false;
}

// --- group panel ----------------------------------------------------------------------------------

void TCustomDBGridZk::LayoutGroupPanelTitles() {
  TCanvas* C = Canvas();
  C->Font()->Assign(Font());
  const int O = C->TextWidth(u"o");
  const int H = C->TextHeight(u"Wg") + FInterlinear + 3;
  int X = O, Y = 2 * O / 3;
  for (int I = 0; I < FDataGrouping->ActiveGroupLevelsCount(); ++I) {
    auto* Level = static_cast<TDBGridZkDataGroupLevelZk*>(FDataGrouping->ActiveGroupLevels(I));
    TColumnZk* Column = Level->GridColumn();
    C->Font()->Assign(Column ? Column->Title()->Font() : Font());
    const String Caption = Column ? Column->Title()->Caption() : String();
    const int Button = HasTitleFilterButton(this, Column) ? 16 : 0;
    const int W = C->TextWidth(Caption) + FInterlinear + 3 + 16 + Button;
    Level->SetGroupPanelRect(Rect(X, Y, X + W, Y + H));
    X += W + 2 * O / 3;
    Y += H / 2;
  }
}

void TCustomDBGridZk::GroupPanelChanged() {
  int Indent = 0;
  if (FDataGrouping->GroupPanelVisible()) {
    LayoutGroupPanelTitles();
    const int N = FDataGrouping->ActiveGroupLevelsCount();
    Indent = N > 0 ? FDataGrouping->ActiveGroupLevels(N - 1)->GroupPanelRect().Bottom + 5 : 30;
  }
  OutBoundaryData()->SetTopIndent(Indent);
  ExtraFirstColumnWidth();
  LayoutChanged();
}

void TCustomDBGridZk::DrawOutBoundaryArea(TGridCellBorderTypeZk Side, const TRect& ARect) {
  if (Side == cbtTopZk && FDataGrouping->GroupPanelVisible()) return DrawGroupPanel(ARect);
  TCustomGridZk::DrawOutBoundaryArea(Side, ARect);
}

void TCustomDBGridZk::DrawGroupPanel(const TRect& ARect) {
  TCanvas* C = Canvas();
  const TColor Dark = GridLineColors()->GetDarkColor();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(ApproachColor(FixedColor(), Dark, 85));
  C->FillRect(ARect);
  Line(C, Dark, ARect.Left, ARect.Bottom - 1, ARect.Right, ARect.Bottom - 1);
  C->Font()->Assign(Font());
  const int O = C->TextWidth(u"o");
  const int N = FDataGrouping->ActiveGroupLevelsCount();
  if (N == 0) {
    const int H = ARect.Bottom;
    C->Font()->SetColor(cl3DDkShadow);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(H / 6, H / 6, GroupPanelHint);
    C->Brush()->SetStyle(bsSolid);
    return;
  }
  for (int I = 0; I < N; ++I) {
    TGridDataGroupLevelZk* Level = FDataGrouping->ActiveGroupLevels(I);
    DrawGroupPanelTitle(Level);
    if (I + 1 == N) continue;
    const TRect& B = Level->GroupPanelRect();
    const int Down = B.Bottom + 2 * O / 3;
    Line(C, Dark, B.Right - O, B.Bottom, B.Right - O, Down);
    C->LineTo(B.Right + 2 * O / 3, Down);
  }
}

// A box painted like a column title: the caption, the sort order's marker, pressed while held.
void TCustomDBGridZk::DrawGroupPanelTitle(TGridDataGroupLevelZk* Level) {
  auto* L = static_cast<TDBGridZkDataGroupLevelZk*>(Level);
  TColumnZk* Column = L->GridColumn();
  if (!Column) return;
  TCanvas* C = Canvas();
  TRect R = L->GroupPanelRect();
  C->Brush()->SetColor(GridLineColors()->GetDarkColor());
  C->FillRect(R);
  InflateRect(R, -1, -1);
  // The box under the mouse is lit a little.
  const int Position = FDataGrouping->IndexOfActiveLevel(Level);
  const bool Hot = Position >= 0 && Position == FDataGrouping->HotTrackGroupLevelIdx();
  const TColor Back = Hot ? MixColorsPercent(Column->Title()->Color(), clHighlight, 20)
                          : Column->Title()->Color();
  C->Brush()->SetColor(Back);
  C->FillRect(R);
  const bool Down = FDBGridZkState == dgsGroupPanelTitleDown && FPressed &&
                    FPressedDataGroupLevelIdx == Position;
  if (FOptionsZk.Contains(dghFixed3D)) DrawEdges(R, !Down);
  C->Font()->Assign(Column->Title()->Font());
  TRect Text = R;
  if (HasTitleFilterButton(this, Column)) {
    // As on a column title: opaque and hot under the mouse or while its list is open, 30 %
    // see-through while the mouse is over the box, else 80 %.
    const bool Open = STFilter()->InTitleColumn == Column && InTitleFilterListVisible(this);
    const bool HotButton = Open || (Hot && FDataGrouping->HotTrackEditButton() == 0);
    const int Transparency = HotButton ? 0 : Hot ? 30 : 80;
    const TEditButtonStyleZk Style = FStyle ? FStyle->InTitleFitlerButtonStyle() : ebsDropDownZk;
    DrawCellButton(Column, C, Style, TitleFilterButtonRect(R), R, Open, HotButton, Flat(),
                   DataLink()->Active(), Back, nullptr, Transparency);
    Text.Right = TitleFilterButtonRect(R).Left;
  }
  const int TextRight = Text.Right - 16;
  DrawSortMarker(Text, Level->SortOrder() == soAscZk ? smDownZk : smUpZk, 0);
  Text.Right = TextRight;
  if (Down) OffsetRect(Text, 1, 1);
  DrawCellText(Text, Column->Title()->Caption(), taLeftJustify, true);
}

int TCustomDBGridZk::GroupPanelDropPosition(int X, TPoint& MarkerPos) {
  TCanvas* C = Canvas();
  C->Font()->Assign(Font());
  const int O = C->TextWidth(u"o"), H = O / 2;
  int Index = 0;
  MarkerPos = Point(O - H, 2 * O / 3);
  const int N = FDataGrouping->ActiveGroupLevelsCount();
  for (int I = 0; I < N; ++I) {
    const TRect& B = FDataGrouping->ActiveGroupLevels(I)->GroupPanelRect();
    if (X < (B.Left + B.Right) / 2) break;
    Index = I + 1;
    if (I + 1 < N) {
      const TRect& Next = FDataGrouping->ActiveGroupLevels(I + 1)->GroupPanelRect();
      MarkerPos = Point(Next.Left - H, Next.Top);
    } else {
      MarkerPos = Point(B.Right + H, B.Top);
    }
  }
  return Index;
}

void TCustomDBGridZk::StartGroupPanelTitleMove(int X) {
  CancelMode();
  TPoint Pos;
  GroupPanelDropPosition(X, Pos);
  Canvas()->Font()->Assign(Font());
  if (HandleAllocated())
    GridMoveLineWindow()->StartShow(this, Pos, true, Canvas()->TextHeight(u"Wg") + FInterlinear + 3);
  FDBGridZkState = dgsGroupPanelTitleMoving;
}

void TCustomDBGridZk::GroupPanelTitleMoving(int X, int Y) {
  if (Y < OutBoundaryData()->TopIndent()) {
    TPoint Pos;
    GroupPanelDropPosition(X, Pos);
    if (HandleAllocated()) GridMoveLineWindow()->MoveToFor(this, Pos);
    return;
  }
  // Leaving the panel downwards drops nothing there: a dragged level leaves the grouping, its
  // column shows again, and the drag goes on as a move of that column among the columns.
  const int Moving = FGroupDataMovingIndex;
  EndGroupPanelTitleMove(X, Y, false);
  TColumnZk* Column = nullptr;
  if (Moving >= 0 && Moving < FDataGrouping->ActiveGroupLevelsCount()) {
    auto* Level = static_cast<TDBGridZkDataGroupLevelZk*>(FDataGrouping->ActiveGroupLevels(Moving));
    Column = Level->GridColumn();
    delete Level;
    if (Column) Column->SetVisible(true);
  } else if (FPressedDataCol >= 0 && FPressedDataCol < FColumns->Count()) {
    Column = FColumns->Items(FPressedDataCol);
  }
  if (!Column || !Column->Visible() || !MouseCapture()) return;
  if (FGridRowPanel->Active()) {
    // The drag box is centred on the pointer.
    const TRect Cell = RowPanelCellRect(0);
    const auto& P = Column->RowPlacement();
    const int L = X - Cell.Left - P.Width / 2, T = Y - Cell.Top - P.Height / 2;
    FDownMousePos = {X, Y};
    FPressedDataCol = Column->Index();
    StartRowPanelColumnDrag({}, X, Rect(L, T, L + P.Width, T + P.Height), Column->Index(), Y);
    return;
  }
  const auto It = std::find(FVisibleColumns.begin(), FVisibleColumns.end(), Column);
  if (It == FVisibleColumns.end()) return;
  StartColumnMove(ColumnIndexToGridCol(static_cast<int>(It - FVisibleColumns.begin())), X, Y,
                  CalcMetrics());
}

void TCustomDBGridZk::EndGroupPanelTitleMove(int X, int, bool Drop) {
  if (HandleAllocated()) GridMoveLineWindow()->Hide();
  FDBGridZkState = dgsNormal;
  const int Moving = FGroupDataMovingIndex;
  FGroupDataMovingIndex = -1;
  if (!Drop) return;
  TPoint Pos;
  int Index = GroupPanelDropPosition(X, Pos);
  TGridDataGroupLevelsZk* Levels = FDataGrouping->GroupLevels();
  if (Moving < 0) {
    TColumnZk* Column = FPressedDataCol >= 0 && FPressedDataCol < FColumns->Count()
                            ? FColumns->Items(FPressedDataCol) : nullptr;
    if (!Column) return;
    // Placed among the active levels: before the level now at the drop index.
    const int At = Index < FDataGrouping->ActiveGroupLevelsCount()
                       ? FDataGrouping->ActiveGroupLevels(Index)->Index() : Levels->Count();
    Levels->BeginUpdate();
    TGridDataGroupLevelZk* Level = Levels->Add();
    Level->SetIndex(At);
    Level->SetColumn(Column);
    Levels->EndUpdate();
    Column->SetVisible(false);
    return;
  }
  if (Moving < Index) --Index;
  if (Index == Moving || Index >= FDataGrouping->ActiveGroupLevelsCount()) return;
  FDataGrouping->ActiveGroupLevels(Moving)->SetIndex(FDataGrouping->ActiveGroupLevels(Index)->Index());
}

// The box under a press (1 pixel in): a title button is held and clicked, any other box is
// dragged.
void TCustomDBGridZk::GroupPanelMouseDown(int X, int Y) {
  for (int I = 0; I < FDataGrouping->ActiveGroupLevelsCount(); ++I) {
    auto* Level = static_cast<TDBGridZkDataGroupLevelZk*>(FDataGrouping->ActiveGroupLevels(I));
    TRect R = Level->GroupPanelRect();
    InflateRect(R, -1, -1);
    if (!PtInRect(R, Point(X, Y)) || !Level->GridColumn()) continue;
    if (HasTitleFilterButton(this, Level->GridColumn()) &&
        PtInRect(TitleFilterButtonRect(R), Point(X, Y))) {
      if (InTitleFilterListVisible(this)) {
        CloseInTitleFilterList(this, false);
      } else {
        DropDownInTitleFilter(this, Level->GridColumn(), Level->GroupPanelRect());
        STFilter()->InTitleGroupLevel = Level;
      }
      Invalidate();
      return;
    }
    bool IsButton = FOptionsZk.Contains(dghAutoSortMarking) ||
                    Level->GridColumn()->Title()->TitleButton();
    CheckTitleButton(Level->GridColumn()->Index(), IsButton);
    if (!IsButton || ComponentState().Contains(csDesigning)) {
      FGroupDataMovingIndex = I;
      StartGroupPanelTitleMove(X);
    } else {
      FTracking = true;
      FPressed = true;
      FPressedCol = -1;
      FPressedDataCol = Level->GridColumn()->Index();
      FPressedDataGroupLevelIdx = I;
      FDBGridZkState = dgsGroupPanelTitleDown;
      Invalidate();
    }
    return;
  }
}

// The box under the mouse (1 pixel in), lit while the grid is in its normal state, and whether
// the mouse is on its filter button; the boxes that change are repainted.
void TCustomDBGridZk::GroupPanelHotTrack(int X, int Y) {
  int Hot = -1, Button = -1;
  if (FDataGrouping->GroupPanelVisible() && Y >= 0 && Y < OutBoundaryData()->TopIndent() &&
      FDBGridZkState == dgsNormal && FGridState == gsNormal)
    for (int I = 0; I < FDataGrouping->ActiveGroupLevelsCount() && Hot < 0; ++I) {
      auto* Level = static_cast<TDBGridZkDataGroupLevelZk*>(FDataGrouping->ActiveGroupLevels(I));
      TRect R = Level->GroupPanelRect();
      InflateRect(R, -1, -1);
      if (!PtInRect(R, Point(X, Y))) continue;
      Hot = I;
      if (HasTitleFilterButton(this, Level->GridColumn()) &&
          PtInRect(TitleFilterButtonRect(R), Point(X, Y)))
        Button = 0;
    }
  const int Old = FDataGrouping->HotTrackGroupLevelIdx();
  if (Hot == Old && Button == FDataGrouping->HotTrackEditButton()) return;
  FDataGrouping->SetHotTrackGroupLevelIdx(Hot);
  FDataGrouping->SetHotTrackEditButton(Button);
  for (const int I : {Old, Hot})
    if (I >= 0 && I < FDataGrouping->ActiveGroupLevelsCount() && HandleAllocated()) {
      const TRect R = FDataGrouping->ActiveGroupLevels(I)->GroupPanelRect();
      InvalidateRect(&R, false);
    }
}

void TCustomDBGridZk::GroupPanelTitleMouseUp(int X, int Y) {
  const int Idx = FPressedDataGroupLevelIdx;
  bool WasPressed = false;
  if (Idx >= 0 && Idx < FDataGrouping->ActiveGroupLevelsCount()) {
    TRect R = FDataGrouping->ActiveGroupLevels(Idx)->GroupPanelRect();
    InflateRect(R, -1, -1);
    WasPressed = FPressed && PtInRect(R, Point(X, Y));
  }
  StopTracking();
  FDBGridZkState = dgsNormal;
  FPressedDataGroupLevelIdx = -1;
  if (WasPressed) {
    auto* Level = static_cast<TDBGridZkDataGroupLevelZk*>(FDataGrouping->ActiveGroupLevels(Idx));
    if (TColumnZk* Column = Level->GridColumn()) TitleBtnClick(Column->Index(), Column);
    Level->SetSortOrder(Level->SortOrder() == soAscZk ? soDescZk : soAscZk);
    SelectNearestVisibleGroupNode(FCurGroupDataNode, false);
  }
  Invalidate();
}

// --- group rows -----------------------------------------------------------------------------------

bool TCustomDBGridZk::HighlightGroupDataCellColor(int, int DataRow, const String&,
                                                  TGridDrawState AState, TColor& AColor,
                                                  TFont* AFont) {
  bool F = Focused() && FOptionsZk.Contains(dghHighlightFocus);
  const bool Current = DataRow + FTitleOffset == Row();
  if (Current) {
    F = true;
    AState << gdSelected;
  }
  if (!AState.Contains(gdSelected) || !(FOptions.Contains(dgAlwaysShowSelection) || F) ||
      FUpdateLock > 0)
    return false;
  if (GridActive()) {
    AColor = clHighlight;
    AFont->SetColor(clHighlightText);
  } else if (Current && (FOptions.Contains(dgAlwaysShowSelection) || F)) {
    AColor = clBtnShadow;
    AFont->SetColor(clHighlightText);
  } else {
    AColor = clBtnFace;
  }
  return true;
}

// The level bands at the left of a row: box d (right to left) in the colour of its level,
// with a bottom line where the next row leaves that level.
void TCustomDBGridZk::DrawGroupIndent(int AreaRow, int Level, TRect ARect) {
  TCanvas* C = Canvas();
  const TColor Bright = GridLineColors()->GetBrightColor();
  TGroupDataTreeNodeZk* Next = GroupNodeOfDataRow(AreaRow + 1);
  const int NextLevel = Next ? Next->Level() : 0;
  const int Right = ARect.Left + FExtraFirstColumnWidth;
  C->Brush()->SetColor(Color());
  C->FillRect(Rect(ARect.Left, ARect.Top, Right, ARect.Bottom));
  Line(C, Bright, Right, ARect.Bottom - 1, ARect.Right, ARect.Bottom - 1);
  for (int D = 0; D <= Level - 2; ++D) {
    const int BoxRight = Right - GroupLevelIndentZk * D;
    const TRect Box = Rect(BoxRight - GroupLevelIndentZk, ARect.Top, BoxRight, ARect.Bottom);
    C->Brush()->SetColor(FDataGrouping->ActiveGroupLevels(Level - 2 - D)->Color());
    C->FillRect(Box);
    Line(C, Bright, Box.Right - 1, Box.Top, Box.Right - 1, Box.Bottom);
    if (D + NextLevel < Level) Line(C, Bright, Box.Left, Box.Bottom - 1, Box.Right, Box.Bottom - 1);
  }
}

// A group row is one wide cell: each of its cells paints the whole row clipped to itself.
void TCustomDBGridZk::DrawGroupDataRow(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TGroupDataTreeNodeZk* Node = FDrawGroupDataNode;
  if (!Node || !Node->DataGroup()) return;
  TCanvas* C = Canvas();
  TClipScope Clip(C, ARect);
  const int DataRow = ARow - FTitleOffset;
  const String Text = Node->DataGroup()->GetGroupRowText(Node);
  // Widened over every visible data column.
  TRect Wide = ARect;
  for (int Col = ACol - 1; Col >= FIndicatorOffset && Col >= LeftCol(); --Col)
    Wide.Left -= ColWidth(Col) + GridLineWidth();
  if (LeftCol() > FixedCols()) Wide.Left = std::min(Wide.Left, CellRect(FixedCols() - 1, ARow).Right + GridLineWidth());
  for (int Col = ACol + 1; Col < ColCount(); ++Col) Wide.Right += ColWidth(Col) + GridLineWidth();
  // Bands of the upper levels.
  const TColor Bright = GridLineColors()->GetBrightColor();
  TGroupDataTreeNodeZk* Next = GroupNodeOfDataRow(DataRow + 1);
  const int NextLevel = Next ? Next->Level() : 0;
  const int L = Node->Level();
  int X = Wide.Left;
  for (int T = L - 2; T >= 0; --T) {
    const TRect Box = Rect(X, Wide.Top, X + GroupLevelIndentZk, Wide.Bottom);
    C->Brush()->SetColor(FDataGrouping->ActiveGroupLevels(L - T - 2)->Color());
    C->FillRect(Box);
    Line(C, Bright, Box.Right - 1, Box.Top, Box.Right - 1, Box.Bottom);
    if (T + NextLevel < L) Line(C, Bright, Box.Left, Box.Bottom - 1, Box.Right, Box.Bottom - 1);
    X += GroupLevelIndentZk;
  }
  // The button.
  TGridDataGroupLevelZk* Level = Node->DataGroup();
  TColor Back = Level->Color();
  C->Font()->Assign(Level->Font());
  // Record selections never cover a group row; the base grid's cell range does not count.
  TGridDrawState State = AState;
  State >> gdSelected;
  HighlightGroupDataCellColor(ACol - FIndicatorOffset, DataRow, Text, State, Back, C->Font());
  const TRect Button = Rect(X, Wide.Top, X + GroupLevelIndentZk, Wide.Bottom - 1);
  C->Brush()->SetColor(Back);
  C->FillRect(Button);
  PaintTreeLineElement(C, Button, Node->Expanded() ? 0 : 4, false, 1.0, 1.0, false);
  Line(C, Node->Expanded() ? Level->Color() : Bright, Button.Left, Wide.Bottom - 1, Button.Right,
       Wide.Bottom - 1);
  // The text, kept in place while the columns scroll.
  TRect TextRect = Rect(Button.Right, Wide.Top, Wide.Right, Wide.Bottom - 1);
  C->Brush()->SetColor(Back);
  C->FillRect(TextRect);
  const int Inset = Flat() ? 1 : 2;
  C->Brush()->SetStyle(bsClear);
  C->TextRect(TextRect, TextRect.Left + 2, TextRect.Top + Inset, Text);
  C->Brush()->SetStyle(bsSolid);
  Line(C, Bright, TextRect.Left, Wide.Bottom - 1, Wide.Right, Wide.Bottom - 1);
  if (DataRow + FTitleOffset == Row() && Focused() && !FOptions.Contains(dgRowSelect) &&
      FUpdateLock == 0)
    DrawFocusRect(C, Rect(Button.Left, Wide.Top, Wide.Right, Wide.Bottom - 1));
}

void TCustomDBGridZk::DrawGroupedDataCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  TGroupDataTreeNodeZk* Node = GroupNodeOfDataRow(ARow - FTitleOffset);
  TColumnZk* Col = ColumnAtGridCol(ACol);
  if (!Node || !Col) {
    C->Brush()->SetColor(Color());
    C->FillRect(ARect);
    return;
  }
  if (Node->NodeType() == dntDataGroupZk) {
    FDrawGroupDataNode = Node;
    DrawGroupDataRow(ACol, ARow, ARect, AState);
    FDrawGroupDataNode = nullptr;
    return;
  }
  if (ARow - FTitleOffset == RowDetailDataRow()) {
    // The detail panel's band under the row: every active level's band runs through it.
    const TRect Band = Rect(ARect.Left, ARect.Top + Node->RowHeight(), ARect.Right, ARect.Bottom);
    C->Brush()->SetColor(Color());
    C->FillRect(Band);
    if (ACol == FIndicatorOffset)
      DrawGroupIndent(ARow - FTitleOffset, FDataGrouping->ActiveGroupLevelsCount() + 1, Band);
    ARect.Bottom = Band.Top;
  }
  if (ACol == FIndicatorOffset) {
    DrawGroupIndent(ARow - FTitleOffset, Node->Level(), ARect);
    ARect.Left = std::min(ARect.Right, ARect.Left + FExtraFirstColumnWidth);
  }
  TInstantRead Read(FDataLink->MemTable(), Node->DataSetRecordViewNo());
  PaintDataCellContent(ACol, ARow, ARect, AState, Col);
}

// No vertical lines cross a group row.
void TCustomDBGridZk::GetCellBorder(int ACol, int ARow, TGridCellBorderTypeZk Border, bool& Draw,
                                    TColor& Color, bool& ExtendBorder) {
  TCustomGridZk::GetCellBorder(ACol, ARow, Border, Draw, Color, ExtendBorder);
  if (Border != cbtRightZk || ACol < FIndicatorOffset || ACol + 1 >= ColCount()) return;
  TGroupDataTreeNodeZk* Node = ARow >= FTitleOffset ? GroupNodeOfDataRow(ARow - FTitleOffset) : nullptr;
  if (Node && Node->NodeType() == dntDataGroupZk) Draw = false;
}

// --- navigation -----------------------------------------------------------------------------------

void TCustomDBGridZk::GroupRowMouseDown(const TGridCoord& Cell, int X) {
  TGroupDataTreeNodeZk* Node = GroupNodeOfDataRow(Cell.Y - FTitleOffset);
  if (!Node) return;
  FDataLink->UpdateRecord();
  if (Node->NodeType() == dntDataGroupZk) {
    const int ButtonLeft =
        CellRect(FIndicatorOffset, Cell.Y).Left + GroupLevelIndentZk * (Node->Level() - 1);
    if (X >= ButtonLeft && X < ButtonLeft + GroupLevelIndentZk) {
      SelectGroupNode(Node, false);
      Node->SetExpanded(!Node->Expanded());
      return;
    }
  }
  SelectGroupNode(Node, true);
  if (Cell.X >= FIndicatorOffset && Cell.X != Col()) SetCurrentCell(Cell.X, Row(), true, true, false);
}

void TCustomDBGridZk::SelectGroupNode(TGroupDataTreeNodeZk* Node, bool ShowCell) {
  if (!Node || !GroupingWorks()) return;
  TGridGroupDataTreeZk* Tree = FDataGrouping->GroupDataTree();
  Tree->BeginUpdate();
  for (TGroupDataTreeNodeZk* P = Node->ParentNode(); P && P != Tree->RootNode(); P = P->ParentNode())
    P->SetExpanded(true);
  Tree->EndUpdate();
  FCurGroupDataNode = Node;
  if (Tree->IndexOfVisibleNode(Node) < 0) Tree->RebuildFlatVisibleList();
  int Target = Tree->IndexOfVisibleNode(Node) + FTitleOffset;
  if (Target >= RowCount()) Target = FixedRows();
  if (Target != Row()) {
    InvalidateGridRow(Row());
    FUpdatingRows = true;
    try {
      SetCurrentCell(std::max(Col(), FixedCols()), Target, true, false,
                     ShowCell || Node->NodeType() == dntDataGroupZk);
    } catch (...) {
      FUpdatingRows = false;
      throw;
    }
    FUpdatingRows = false;
    InvalidateGridRow(Target);
  }
  SyncDataSetToGroupNode();
  UpdateScrollBar();
}

void TCustomDBGridZk::SelectNearestVisibleGroupNode(TGroupDataTreeNodeZk* Node, bool ShowCell) {
  if (!Node || !GroupingWorks()) return;
  TGridGroupDataTreeZk* Tree = FDataGrouping->GroupDataTree();
  while (Node->ParentNode() != Tree->RootNode() && !Tree->GetPathVisible(Node, true))
    Node = Node->ParentNode();
  SelectGroupNode(Node, ShowCell);
}

void TCustomDBGridZk::SyncGroupNodeToRecord(int ViewRecNo, bool ShowCell) {
  if (!GroupingWorks() || FInternalUpdatingDatasetPos) return;
  TGroupDataTreeNodeZk* Node = FDataGrouping->GroupDataTree()->GetNodeByRecordViewNo(ViewRecNo);
  if (!Node) return;
  FInternalUpdatingDatasetPos = true;
  try {
    if (ShowCell)
      SelectGroupNode(Node, true);
    else
      SelectNearestVisibleGroupNode(Node, false);
  } catch (...) {
    FInternalUpdatingDatasetPos = false;
    throw;
  }
  FInternalUpdatingDatasetPos = false;
}

void TCustomDBGridZk::SyncDataSetToGroupNode() {
  if (!FDataLink->Active() || FInternalUpdatingDatasetPos || !GroupingWorks() || !FCurGroupDataNode)
    return;
  TGroupDataTreeNodeZk* Node = FCurGroupDataNode;
  while (Node->NodeType() == dntDataGroupZk && Node->Count() > 0) Node = Node->Items(0);
  if (Node->NodeType() != dntDataSetRecordZk) return;
  const int V = Node->DataSetRecordViewNo() + 1;
  FInternalUpdatingDatasetPos = true;
  try {
    TDataSet* D = DataSet();
    if (D->RecNo() <= 0)
      D->SetRecNo(V);
    else if (V != D->RecNo())
      D->MoveBy(V - D->RecNo());
  } catch (...) {
    FInternalUpdatingDatasetPos = false;
    throw;
  }
  FInternalUpdatingDatasetPos = false;
}

int TCustomDBGridZk::MoveByGroupRows(int Distance) {
  TDataSet* D = DataSet();
  if (!D || !GroupingWorks()) return 0;
  FDataLink->UpdateRecord();
  if (Distance != 0 && (D->State() == dsEdit || D->State() == dsInsert || D->State() == dsSetKey)) {
    if (D->Modified())
      D->Post();
    else
      D->Cancel();
  }
  TGridGroupDataTreeZk* Tree = FDataGrouping->GroupDataTree();
  const int Count = Tree->FlatVisibleCount();
  if (Count == 0) return 0;
  const int From = std::max(0, Tree->IndexOfVisibleNode(FCurGroupDataNode));
  const int To = std::clamp(From + Distance, 0, Count - 1);
  SelectGroupNode(Tree->FlatVisibleItem(To), true);
  return To - From;
}

void TCustomDBGridZk::GroupRowKeyDown(Word& Key, TShiftState Shift) {
  TGroupDataTreeNodeZk* Node = FCurGroupDataNode;
  if (!Node || Node->NodeType() != dntDataGroupZk) return;
  if (Shift.Contains(ssShift) || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return;
  if (UseRightToLeftAlignment() && (Key == VK_LEFT || Key == VK_RIGHT))
    Key = Key == VK_LEFT ? VK_RIGHT : VK_LEFT;
  const int Page = std::max(1, VisibleRowCount());
  switch (Key) {
    case VK_ESCAPE:
      FDataLink->Reset();
      FSelection->Clear();
      if (!FOptions.Contains(dgAlwaysShowEditor)) SetEditorMode(false);
      if (FDBGridZkState == dgsGroupPanelTitleMoving) EndGroupPanelTitleMove(0, 0, false);
      break;
    case VK_PRIOR: MoveByGroupRows(-Page); break;
    case VK_NEXT: MoveByGroupRows(Page); break;
    case VK_UP: MoveByGroupRows(-1); break;
    case VK_DOWN: MoveByGroupRows(1); break;
    case VK_LEFT:
      if (Node->Expanded())
        Node->SetExpanded(false);
      else if (LeftCol() > FixedCols())
        SetLeftCol(LeftCol() - 1);
      break;
    case VK_RIGHT:
      if (!Node->Expanded())
        Node->SetExpanded(true);
      else if (LeftCol() + 1 < ColCount())
        SetLeftCol(LeftCol() + 1);
      break;
    case VK_MULTIPLY: Node->SetExpanded(!Node->Expanded()); break;
    case VK_ADD: Node->SetExpanded(true); break;
    case VK_SUBTRACT: Node->SetExpanded(false); break;
    default: return;
  }
  Key = 0;
}

void TCustomDBGridZk::DataInsert() {
  TDataSet* D = DataSet();
  if (!D) return;
  if (GroupingWorks() && FDataLink->MemTable())
    FDataGrouping->SetInsertingKeyValue(
        FDataGrouping->GetKeyValueForViewRecNo(FDataLink->MemTable()->GetInstantReadCurRow()));
  D->Insert();
}

void TCustomDBGridZk::DataAppend() {
  if (TDataSet* D = DataSet()) D->Append();
}

// --- registration ---------------------------------------------------------------------------------

REGISTER_CLASS(TDBGridZkDataGroupLevelZk) {
  using L = TDBGridZkDataGroupLevelZk;
  Class.Property("ColumnName", &L::ColumnName, &L::SetColumnName);
}

REGISTER_CLASS(TDBGridZkDataGroupsZk) {}

// --- the vertical scroll bar under grouping --------------------------------------------------------

void TCustomDBGridZk::GroupScrollInfo(SCROLLINFO& SI) {
  TGridGroupDataTreeZk* Tree = FDataGrouping->GroupDataTree();
  const int Page = std::max(1, VisibleRowCount());
  SI.nMin = 1;
  SI.nPage = Page;
  SI.nMax = std::max(1, Tree->FlatVisibleCount() + Page - 1);
  SI.nPos = std::max(1, Tree->IndexOfVisibleNode(FCurGroupDataNode) + 1);
}

void TCustomDBGridZk::GroupVScroll(unsigned Code, int TrackPos) {
  TGridGroupDataTreeZk* Tree = FDataGrouping->GroupDataTree();
  const int Count = Tree->FlatVisibleCount();
  if (Count == 0) return;
  const int Page = std::max(1, VisibleRowCount());
  switch (Code) {
    case SB_LINEUP: MoveByGroupRows(-1); break;
    case SB_LINEDOWN: MoveByGroupRows(1); break;
    case SB_PAGEUP: MoveByGroupRows(-Page); break;
    case SB_PAGEDOWN: MoveByGroupRows(Page); break;
    case SB_TOP: SelectGroupNode(Tree->FlatVisibleItem(0), true); break;
    case SB_BOTTOM: SelectGroupNode(Tree->FlatVisibleItem(Count - 1), true); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      if (Code == SB_THUMBTRACK && !FVertScrollBar->Tracking()) break;
      SelectGroupNode(Tree->FlatVisibleItem(std::clamp(TrackPos - 1, 0, Count - 1)), true);
      break;
    default: break;
  }
  UpdateScrollBar();
}
