// DBGridZkFilterList.cpp - the filter cell's drop-down list: its entries' objects, filling it,
// and the filter editor's opening and closing of it.
#include "gridlib/grid/DBGridZkFilterList.h"

#include <algorithm>
#include <memory>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZkSimpleFilterDlg.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/controls/WinApi.h"

namespace {

struct TSharedItems {
  TPopupListboxItemZkSort SortUp{smUpZk}, SortDown{smDownZk};
  TPopupListboxItemZkLine Line;
  TPopupListboxItemZkSpec Clear{ptFilterSpecItemClearFilter}, Apply{ptFilterApply},
      Dialog{ptFilterSpecItemDialog}, All{ptFilterSpecItemAll}, NotEmpties{ptFilterSpecItemNotEmties},
      Empties{ptFilterSpecItemEmpties};
  TPopupListboxItemZkData Data;
};
std::unique_ptr<TSharedItems> GItems;

TSharedItems& Items() {
  if (!GItems) GItems = std::make_unique<TSharedItems>();
  return *GItems;
}

const int CheckColumnWidth = 16;

TInplaceFilterEditZk* EditorOf(TPopupListboxZk* List) {
  return List ? dynamic_cast<TInplaceFilterEditZk*>(List->Owner()) : nullptr;
}

void DrawTextAfterColumn(TPopupListboxZk* Sender, int ItemIndex, TRect R) {
  R.Left += CheckColumnWidth + 2;
  TCanvas* C = Sender->Canvas();
  C->FillRect(R);
  C->TextOut(R.Left, R.Top + (R.Height() - C->TextHeight(u"Wg")) / 2,
             Sender->Items()->Strings(ItemIndex));
}

}  // namespace

TColumnZk* FilterListColumn(TPopupListboxZk* List) {
  if (auto* Grid = List ? dynamic_cast<TCustomDBGridZk*>(List->Owner()) : nullptr)
    return Grid->STFilter()->InTitleColumn;
  TInplaceFilterEditZk* E = EditorOf(List);
  return E ? E->Column() : nullptr;
}

// --- the list dropped from a title ----------------------------------------------------------------

namespace {

TPopupListboxZk* InTitleListbox(TCustomDBGridZk* Grid) {
  TSTDBGridZkFilter* F = Grid->STFilter();
  if (F->InTitleListbox) return F->InTitleListbox;
  auto* List = new TPopupListboxZk(Grid);
  List->SetVisible(false);
  List->SetParent(Grid);
  List->SetUseItemObjects(true);
  List->SetOnMouseUp([Grid, List](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button == mbLeft && List->IsMouseUpCloseListbox())
      CloseInTitleFilterList(Grid, List->ClientRect().Contains({X, Y}));
  });
  List->SetOnKeyDown([Grid](TObject*, Word& Key, TShiftState) {
    if (Key == VK_ESCAPE || Key == VK_RETURN) {
      const bool Run = Key == VK_RETURN;
      Key = 0;
      CloseInTitleFilterList(Grid, Run);
    }
  });
  List->SetOnKeyPress([Grid, List](TObject*, Char& Key) {
    if (Key != u' ') return;
    Key = 0;
    const int I = List->ItemIndex();
    TPopupListboxItemZk* Item = I >= 0 ? List->ItemObject(I) : nullptr;
    TColumnZk* Column = Grid->STFilter()->InTitleColumn;
    if (!Item || !Column) return;
    Column->STFilter()->EnterNotClearData = true;
    if (Item->CloseOnExecute(List, I)) CloseInTitleFilterList(Grid, true);
    else Item->Execute(List, I, TPoint{-1, -1}, KeyboardShiftState());
  });
  List->Link().SetOnOutsideClick([Grid](HWND, TPoint) {
    CloseInTitleFilterList(Grid, false);
    return false;
  });
  F->InTitleListbox = List;
  return List;
}

}  // namespace

bool InTitleFilterListVisible(TCustomDBGridZk* Grid) {
  TPopupListboxZk* List = Grid->STFilter()->InTitleListbox;
  return List && List->Link().IsOpen();
}

bool WheelToOpenFilterList(TCustomDBGridZk* Grid, TMessage& Message) {
  TSTDBGridZkFilter* F = Grid->STFilter();
  TWinControl* List = nullptr;
  if (InTitleFilterListVisible(Grid)) List = F->InTitleListbox;
  else if (F->FilterEdit && F->FilterEdit->ListVisible()) List = F->FilterEdit->PopupListbox();
  if (!List) return false;
  List->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  return true;
}

void DropDownInTitleFilter(TCustomDBGridZk* Grid, TColumnZk* Column) {
  if (!Column || !Column->Visible()) return CloseInTitleFilterList(Grid, false);
  DropDownInTitleFilter(Grid, Column, FilterCellClientRect(Grid, Column));
}

void DropDownInTitleFilter(TCustomDBGridZk* Grid, TColumnZk* Column, const TRect& Title) {
  CloseInTitleFilterList(Grid, false);
  if (!Column) return;
  TPopupListboxZk* List = InTitleListbox(Grid);
  TSTColumnFilterZk* Filter = Column->STFilter();
  List->Items()->Clear();
  List->SetColor(Grid->Color());
  List->SetFont(Grid->Font());
  int Width = Filter->DropDownListWidth();
  FillSTFilterListValues(Grid, Column, List->Items(), Width, List);
  List->SetWidth(std::max(Width, Column->Width()));
  Grid->STFilter()->InTitleColumn = Column;
  Filter->UpdateListCheckingState(List->Items());
  List->SetItemHeight(List->GetTextHeight());
  List->SetRowCount(std::min(std::max(Filter->DropDownListRows(), 1), std::max(List->Items()->Count(), 1)));
  List->Link().Open(Grid->ClientToScreen({Title.Left, Title.Bottom}));
  List->SizeGrip()->SetVisible(true);
  List->SetSizeGripResized(false);
  Filter->EnterNotClearData = false;
  Grid->InvalidateRow(0);
}

void CloseInTitleFilterList(TCustomDBGridZk* Grid, bool Execute) {
  TSTDBGridZkFilter* F = Grid->STFilter();
  TPopupListboxZk* List = F->InTitleListbox;
  TColumnZk* Column = F->InTitleColumn;
  if (Column && Column->STFilter()->InFilterListBox) return;
  if (!List || !List->Link().IsOpen()) {
    F->InTitleGroupLevel = nullptr;
    return;
  }
  ReleaseCapture();
  List->Link().Close();
  if (Column && List->SizeGripResized()) {
    Column->STFilter()->SetDropDownListRows(List->RowCount());
    Column->STFilter()->SetDropDownListWidth(List->Width());
  }
  Grid->Invalidate();
  const int I = List->ItemIndex();
  try {
    if (Execute && I >= 0)
      if (TPopupListboxItemZk* Item = List->ItemObject(I)) Item->Execute(List, I, TPoint{-1, -1}, {});
  } catch (...) {
    F->InTitleGroupLevel = nullptr;
    throw;
  }
  F->InTitleGroupLevel = nullptr;
}

// --- the entries ----------------------------------------------------------------------------------

bool TDBGridFilterPopupListboxItemZk::CanShowFocus(TPopupListboxZk*, int) { return false; }

void TPopupListboxItemZkSort::DrawItem(TPopupListboxZk* Sender, int ItemIndex, const TRect& ARect,
                                       TOwnerDrawState) {
  TCanvas* C = Sender->Canvas();
  TRect Mark = ARect;
  Mark.Right = Mark.Left + CheckColumnWidth;
  C->FillRect(Mark);
  // A small triangle pointing the way of the order.
  const int X = (Mark.Left + Mark.Right) / 2, Y = (Mark.Top + Mark.Bottom) / 2;
  const TColor Text = C->Font()->Color();
  C->Pen()->SetColor(Text);
  C->Brush()->SetColor(Text);
  if (FSortState == smUpZk) C->Polygon({{X - 3, Y + 2}, {X + 3, Y + 2}, {X, Y - 2}});
  else C->Polygon({{X - 3, Y - 2}, {X + 3, Y - 2}, {X, Y + 2}});
  C->Brush()->SetColor(Sender->Color());
  DrawTextAfterColumn(Sender, ItemIndex, ARect);
}

void TPopupListboxItemZkSort::Execute(TPopupListboxZk* Sender, int, TPoint, TShiftState) {
  TColumnZk* Column = FilterListColumn(Sender);
  if (!Column || !Column->Grid()) return;
  // A group panel box's list orders its level as the entry's caption reads.
  if (TGridDataGroupLevelZk* Level = Column->Grid()->STFilter()->InTitleGroupLevel) {
    Level->SetSortOrder(this == &Items().SortUp ? soAscZk : soDescZk);
    return;
  }
  Column->Title()->SetSortMarker(FSortState);
  Column->Grid()->SortMarkingChanged();
}

void TPopupListboxItemZkLine::DrawItem(TPopupListboxZk* Sender, int, const TRect& ARect,
                                       TOwnerDrawState) {
  TCanvas* C = Sender->Canvas();
  C->Brush()->SetColor(Sender->Color());
  C->FillRect(ARect);
  C->Pen()->SetColor(clSilver);
  const int Y = (ARect.Top + ARect.Bottom) / 2;
  C->MoveTo(ARect.Left, Y);
  C->LineTo(ARect.Right, Y);
}

void TPopupListboxItemZkLine::MouseUp(TPopupListboxZk*, int, TPoint, TMouseButton, TShiftState,
                                      bool& IsCloseListbox) {
  IsCloseListbox = false;   // the line keeps the list open
}

void TPopupListboxItemZkSpec::DrawItem(TPopupListboxZk* Sender, int ItemIndex, const TRect& ARect,
                                       TOwnerDrawState) {
  TRect Column = ARect;
  Column.Right = Column.Left + CheckColumnWidth;
  TCanvas* C = Sender->Canvas();
  const TColor Text = C->Brush()->Color();
  C->Brush()->SetColor(Sender->Color());
  C->FillRect(Column);
  C->Brush()->SetColor(Text);
  DrawTextAfterColumn(Sender, ItemIndex, ARect);
}

void TPopupListboxItemZkSpec::Execute(TPopupListboxZk* Sender, int, TPoint, TShiftState) {
  TColumnZk* Column = FilterListColumn(Sender);
  TCustomDBGridZk* G = Column ? Column->Grid() : nullptr;
  if (!G) return;
  TSTColumnFilterZk* Filter = Column->STFilter();
  switch (FType) {
    case ptFilterSpecItemClearFilter: G->ClearFilter(); break;
    case ptFilterSpecItemAll: Filter->SetExpressionStr(u""); break;
    case ptFilterSpecItemEmpties: Filter->SetExpressionStr(u"=Null"); break;
    case ptFilterSpecItemNotEmties: Filter->SetExpressionStr(u"<>Null"); break;
    case ptFilterApply: G->ApplyFilterRow(); break;
    case ptFilterSpecItemDialog: {
      TSTDBGridZkFilter* F = G->STFilter();
      if (F->FilterEdit && F->FilterEdit->Visible())
        Filter->ApplyExpressionText(F->FilterEdit->Text());
      if (ShowColumnFilterDialog(Column) && F->InstantApply()) G->ApplyFilterRow();
      return;
    }
  }
  const bool CloseUpApplies = G->Center() && G->Center()->FilterEditCloseUpApplyFilter();
  if (FType == ptFilterSpecItemClearFilter || CloseUpApplies || G->STFilter()->InstantApply())
    G->ApplyFilterRow();
}

void TPopupListboxItemZkData::DrawItem(TPopupListboxZk* Sender, int ItemIndex, const TRect& ARect,
                                       TOwnerDrawState State) {
  TColumnZk* Column = FilterListColumn(Sender);
  bool Checked = false;
  bool Pressed = false;
  if (Column) {
    auto& Checks = Column->STFilter()->ListValuesCheckingState();
    Checked = ItemIndex < static_cast<int>(Checks.size()) && Checks[ItemIndex];
    Pressed = Column->STFilter()->PopupListboxDownIndex == ItemIndex;
  }
  TCanvas* C = Sender->Canvas();
  const TColor Text = C->Brush()->Color();
  TRect Box = ARect;
  Box.Right = Box.Left + CheckColumnWidth;
  C->Brush()->SetColor(Sender->Color());
  C->FillRect(Box);
  PaintEditButtonCached(C, Box, Sender->Color(), Checked ? cbChecked : cbUnchecked, true,
                        State.Contains(odSelected), true, Pressed ? 1 : 0, bcsCheckboxZk);
  C->Brush()->SetColor(Text);
  DrawTextAfterColumn(Sender, ItemIndex, ARect);
}

void TPopupListboxItemZkData::MouseDown(TPopupListboxZk* Sender, int ItemIndex, TPoint,
                                        TMouseButton Button, TShiftState) {
  TColumnZk* Column = FilterListColumn(Sender);
  if (!Column || Button != mbLeft) return;
  Column->STFilter()->PopupListboxDownIndex = ItemIndex;
  Sender->InvalidateIndex(ItemIndex);
}

void TPopupListboxItemZkData::MouseMove(TPopupListboxZk* Sender, int ItemIndex, TPoint,
                                        TShiftState) {
  TColumnZk* Column = FilterListColumn(Sender);
  if (!Column) return;
  int& Down = Column->STFilter()->PopupListboxDownIndex;
  if (Down >= 0 && Down != ItemIndex) {
    Sender->InvalidateIndex(Down);
    Down = -1;
  }
}

void TPopupListboxItemZkData::MouseUp(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos,
                                      TMouseButton, TShiftState Shift, bool& IsCloseListbox) {
  IsCloseListbox = false;
  TColumnZk* Column = FilterListColumn(Sender);
  if (!Column) return;
  TSTColumnFilterZk* Filter = Column->STFilter();
  if (Filter->PopupListboxDownIndex == ItemIndex) {
    Filter->EnterNotClearData = true;
    Execute(Sender, ItemIndex, InItemPos, Shift);
    Sender->SetItemIndex(ItemIndex);
  }
  Filter->PopupListboxDownIndex = -1;
  Sender->InvalidateIndex(ItemIndex);
}

void TPopupListboxItemZkData::Execute(TPopupListboxZk* Sender, int ItemIndex, TPoint,
                                      TShiftState) {
  TColumnZk* Column = FilterListColumn(Sender);
  if (!Column) return;
  TSTColumnFilterZk* Filter = Column->STFilter();
  auto& Checks = Filter->ListValuesCheckingState();
  if (ItemIndex < 0 || ItemIndex >= static_cast<int>(Checks.size())) return;
  struct TInList {
    TSTColumnFilterZk* F;
    ~TInList() { F->InFilterListBox = false; }
  } Guard{Filter};
  Filter->InFilterListBox = true;
  if (!Filter->EnterNotClearData) std::fill(Checks.begin(), Checks.end(), false);
  Checks[ItemIndex] = !Checks[ItemIndex];
  CheckedValuesToFilter(Filter, Sender->Items());
  Sender->Invalidate();
}

// --- filling --------------------------------------------------------------------------------------

namespace {

void AddCommands(TCustomDBGridZk* Grid, TColumnZk* Column, TStrings* List) {
  TSharedItems& S = Items();
  if (Grid->OptionsZk().Contains(dghAutoSortMarking) && Column->Title()->TitleButton()) {
    List->AddObject(u"(Сортировка по возрастанию)", &S.SortUp);
    List->AddObject(u"(Сортировка по убыванию)", &S.SortDown);
    List->AddObject(u"-", &S.Line);
  }
  List->AddObject(u"(Очистить фильтр)", &S.Clear);
  if (!Grid->STFilter()->InstantApply()) List->AddObject(u"(Применить фильтр)", &S.Apply);
  List->AddObject(u"(Условие...)", &S.Dialog);
  List->AddObject(u"(Все)", &S.All);
  List->AddObject(u"(Не пустые)", &S.NotEmpties);
  List->AddObject(u"(Пустые)", &S.Empties);
}

// The column's values that pass the other columns' conditions.
void AddValues(TCustomDBGridZk* Grid, TColumnZk* Column, TStrings* List) {
  IMemTableDataFieldValueListZk* Values = Column->GetCurrentFieldValueList();
  if (Values) {
    TSTColumnFilterZk* Own = Column->STFilter();
    TSTFilterExpressionZk Saved = Own->Expression();
    TSTFilterExpressionZk Off = Saved;
    Off.Operator1 = Off.Relation = foNon;
    String Others;
    Own->SetExpressionQuietly(Off);
    try {
      BuildGridFilterString(Grid, BuildFilterCondition, nullptr, false, true, Others);
    } catch (...) {
      Own->SetExpressionQuietly(Saved);
      throw;
    }
    Own->SetExpressionQuietly(Saved);
    Values->SetFilter(Others);
    TStrings* V = Values->GetValues();
    for (int I = 0; I < V->Count(); ++I) List->AddObject(V->Strings(I), &Items().Data);
  }
  TStrings* Keys = Column->KeyList();
  TStrings* Pick = Column->PickList();
  if (Keys->Count() > 0 && Pick->Count() > 0)
    for (int I = 0; I < List->Count(); ++I) {
      const int K = Keys->IndexOf(List->Strings(I));
      if (K >= 0 && K < Pick->Count()) List->SetStrings(I, Pick->Strings(K));
    }
}

}  // namespace

void FillSTFilterListValues(TCustomDBGridZk* Grid, TColumnZk* Column, TStrings* List, int& Width,
                            TPopupListboxZk* ListControl) {
  // The grid's, the column's and the policy object's events may fill the list; each sees
  // what the earlier set, and the default entries follow unless one of them took it over.
  bool Processed = false;
  if (auto& Event = Grid->OnFillSTFilterListValues()) Event(Grid, Column, List, Processed);
  if (auto& Event = Column->OnFillSTFilterListValues()) Event(Grid, Column, List, Processed);
  TDBGridZkCenter* Center = Grid->Center();
  if (Center && Center->OnFillSTFilterListValues())
    Center->OnFillSTFilterListValues()(Grid, Column, List, Processed);
  List->BeginUpdate();
  try {
    if (!Processed && Center) {
      AddCommands(Grid, Column, List);
      AddValues(Grid, Column, List);
    }
    // Entries the events added without an object are values.
    for (int I = 0; I < List->Count(); ++I)
      if (!List->Objects(I)) List->SetObjects(I, &Items().Data);
  } catch (...) {
    List->EndUpdate();
    throw;
  }
  List->EndUpdate();
  if (ListControl) {
    TCanvas* C = ListControl->Canvas();
    C->Font()->Assign(ListControl->Font());
    for (int I = 0; I < List->Count(); ++I) {
      if (dynamic_cast<TPopupListboxItemZkData*>(List->Objects(I))) continue;
      const int Candidate = C->TextWidth(List->Strings(I)) + CheckColumnWidth + 2 +
                            GetSystemMetrics(SM_CXVSCROLL) + 2 * ListControl->BorderWidth() + 2;
      Width = std::max(Width, Candidate);
    }
  }
  TSTColumnFilterZk* Filter = Column->STFilter();
  Filter->PopupListboxDownIndex = -1;
  Filter->ListValuesCheckingState().assign(List->Count(), false);
}

// --- the unit's start and end ---------------------------------------------------------------------

void DBGridZkFilterListInitialize() {
  IsFilterListDataItem = [](TObject* Item) {
    return dynamic_cast<TPopupListboxItemZkData*>(Item) != nullptr;
  };
}

void DBGridZkFilterListFinalize() { GItems.reset(); }

REGISTER_CLASS(TDBGridFilterPopupListboxItemZk) {}
REGISTER_CLASS(TPopupListboxItemZkSort) {}
REGISTER_CLASS(TPopupListboxItemZkLine) {}
REGISTER_CLASS(TPopupListboxItemZkSpec) {}
REGISTER_CLASS(TPopupListboxItemZkData) {}
