// DBGridZkCenter.cpp - the grids' policy object: event-or-default dispatchers, the fallbacks to
// the neighbours' routines, the shared indicator-title menu and its cached entries.
#include "gridlib/grid/DBGridZkCenter.h"

#include <algorithm>
#include <memory>

#include "gridlib/grid/DBGridZkFeatures.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"

TDBGridZkRoutines& DBGridZkRoutines() {
  static TDBGridZkRoutines Routines;
  return Routines;
}

// --- the built-in text search ---------------------------------------------------------------------

namespace {

bool TextMatches(String Text, String Pattern, TLocateTextOptionsZk Options,
                 TLocateTextMatchingZk Matching) {
  if (Options.Contains(ltoCaseInsensitiveZk)) {
    Text = AnsiUpperCase(Text);
    Pattern = AnsiUpperCase(Pattern);
  }
  switch (Matching) {
    case ltmWholeZk: return Text == Pattern;
    case ltmFromBegingZk: return Text.compare(0, Pattern.size(), Pattern) == 0;
    default: return Text.find(Pattern) != String::npos;
  }
}

}  // namespace

bool BasicLocateGridText(TCustomDBGridZk* Grid, const String& FieldName, const String& Text,
                         TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                         TLocateTextMatchingZk Matching) {
  TDataSet* D = Grid ? Grid->DataSet() : nullptr;
  if (!D || !D->Active()) return false;
  TColumnZk* Column = FieldName.empty() ? Grid->ColumnAtGridCol(Grid->Col())
                                        : Grid->FindColumnByName(FieldName);
  if (!Column) return false;
  const TBookmark Saved = D->GetBookmark();
  bool Found = false;
  D->DisableControls();
  try {
    if (Direction == ltdAllZk) D->First();
    else if (Direction == ltdUpZk) D->Prior();
    else D->Next();
    const bool Up = Direction == ltdUpZk;
    bool Stepped = Direction != ltdAllZk && (Up ? !D->Bof() : !D->Eof());
    if (Direction == ltdAllZk) Stepped = !D->IsEmpty();
    while (Stepped) {
      TField* F = Column->Field();
      const String CellText = Options.Contains(ltoMatchFormatZk) ? Column->DisplayText()
                              : F                                 ? F->Text()
                                                                  : String();
      if (TextMatches(CellText, Text, Options, Matching)) {
        Found = true;
        break;
      }
      if (Up) D->Prior();
      else D->Next();
      Stepped = Up ? !D->Bof() : !D->Eof();
    }
    if (!Found) D->GotoBookmark(Saved);
  } catch (...) {
    D->EnableControls();
    throw;
  }
  D->EnableControls();
  return Found;
}

// --- the policy object ----------------------------------------------------------------------------

TDBGridZkCenter::TDBGridZkCenter() {
  FIndicatorTitleMenus = {itmVisibleColumnsZk, itmCut, itmCopy, itmPaste, itmDelete, itmSelectAll};
}

TDBGridZkCenter::~TDBGridZkCenter() {
  while (!FGrids.empty()) FGrids.back()->SetCenter(nullptr);
}

void TDBGridZkCenter::AddChangeNotification(TCustomDBGridZk* Grid) {
  if (!GridInChangeNotification(Grid)) FGrids.push_back(Grid);
}
void TDBGridZkCenter::RemoveChangeNotification(TCustomDBGridZk* Grid) { std::erase(FGrids, Grid); }
bool TDBGridZkCenter::GridInChangeNotification(TCustomDBGridZk* Grid) const {
  return std::find(FGrids.begin(), FGrids.end(), Grid) != FGrids.end();
}

bool TDBGridZkCenter::DefaultLocateText(TCustomDBGridZk* Grid, const String& FieldName,
                                        const String& Text, TLocateTextOptionsZk Options,
                                        TLocateTextDirectionZk Direction,
                                        TLocateTextMatchingZk Matching,
                                        TLocateTextTreeFindRangeZk TreeFindRange) {
  if (TDataSetFeaturesZk* Features = FindDataSetFeatures(Grid ? Grid->DataSet() : nullptr))
    return Features->LocateText(Grid, FieldName, Text, Options, Direction, Matching,
                                TreeFindRange);
  if (auto& Locate = DBGridZkRoutines().LocateGridText)
    return Locate(Grid, FieldName, Text, Options, Direction, Matching, TreeFindRange);
  return BasicLocateGridText(Grid, FieldName, Text, Options, Direction, Matching);
}

bool TDBGridZkCenter::DefaultMoveDataRows(TCustomDBGridZk* Grid, TBMListZk* BookmarkList,
                                          int ToRecNo, bool CheckOnly) {
  if (TDataSetFeaturesZk* Features = FindDataSetFeatures(Grid ? Grid->DataSet() : nullptr))
    return Features->MoveRecords(Grid, BookmarkList, ToRecNo, CheckOnly);
  return false;
}

bool TDBGridZkCenter::LocateText(TCustomDBGridZk* Grid, const String& FieldName, const String& Text,
                                 TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                                 TLocateTextMatchingZk Matching,
                                 TLocateTextTreeFindRangeZk TreeFindRange) {
  if (FOnLocateText)
    return FOnLocateText(Grid, FieldName, Text, Options, Direction, Matching, TreeFindRange);
  return DefaultLocateText(Grid, FieldName, Text, Options, Direction, Matching, TreeFindRange);
}

bool TDBGridZkCenter::MoveDataRows(TCustomDBGridZk* Grid, TBMListZk* BookmarkList, int ToRecNo,
                                   bool CheckOnly) {
  return DefaultMoveDataRows(Grid, BookmarkList, ToRecNo, CheckOnly);
}

void TDBGridZkCenter::ApplyFilter(TCustomDBGridZk* Grid) {
  if (FOnApplyFilter) FOnApplyFilter(Grid);
  else DefaultApplyFilter(Grid);
}
void TDBGridZkCenter::ApplySorting(TCustomDBGridZk* Grid) {
  if (FOnApplySorting) FOnApplySorting(Grid);
  else DefaultApplySorting(Grid);
}
// Without a registered dataset class, sorting and filtering reach no dataset.
void TDBGridZkCenter::DefaultApplyFilter(TCustomDBGridZk* Grid) {
  TDataSet* D = Grid ? Grid->DataSet() : nullptr;
  if (TDataSetFeaturesZk* Features = FindDataSetFeatures(D))
    Features->ApplyFilter(Grid, D, D->Active());
}
void TDBGridZkCenter::DefaultApplySorting(TCustomDBGridZk* Grid) {
  TDataSet* D = Grid ? Grid->DataSet() : nullptr;
  if (TDataSetFeaturesZk* Features = FindDataSetFeatures(D))
    Features->ApplySorting(Grid, D, D->Active());
}

void TDBGridZkCenter::ExecuteFindDialog(TCustomDBGridZk* Grid, const String& Text,
                                        const String& FieldName, bool Modal) {
  if (TDataSetFeaturesZk* Features = FindDataSetFeatures(Grid ? Grid->DataSet() : nullptr))
    return Features->ExecuteFindDialog(Grid, Text, FieldName, Modal);
  if (auto& Show = DBGridZkRoutines().ShowGridFindDialog) Show(Grid, Text, u"", Modal);
}

void TDBGridZkCenter::IndicatorTitleMouseDown(TCustomDBGridZk* Grid, const TGridCoord& Cell,
                                              TMouseButton Button, TShiftState Shift, int X,
                                              int Y) {
  if (FOnIndicatorTitleMouseDown) FOnIndicatorTitleMouseDown(Grid, Cell, Button, Shift, X, Y);
  else DefaultIndicatorTitleMouseDown(Grid, Cell, Button, Shift, X, Y);
}

void TDBGridZkCenter::DefaultIndicatorTitleMouseDown(TCustomDBGridZk* Grid, const TGridCoord& Cell,
                                                     TMouseButton Button, TShiftState Shift,
                                                     int X, int Y) {
  Grid->IndicatorTitleMouseDown(Cell, Button, Shift, X, Y);
}

TSTFilterDefaultOperatorZk TDBGridZkCenter::GetSTFilterDefaultOperator(
    TCustomDBGridZk*, TColumnZk*, const TSTFilterExpressionZk& Expression) {
  switch (Expression.ExpressionType) {
    case botNumber: return FSTFilterDefaultNumberOperator;
    case botDateTime: return FSTFilterDefaultDateTimeOperator;
    case botBoolean: return FSTFilterDefaultBooleanOperator;
    default: return FSTFilterDefaultStringOperator;
  }
}

void TDBGridZkCenter::CellMouseClick(TCustomDBGridZk* Grid, const TGridCoord& Cell,
                                     TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FOnCellMouseClick) FOnCellMouseClick(Grid, Cell, Button, Shift, X, Y);
  else DefaultCellMouseClick(Grid, Cell, Button, Shift, X, Y);
}
void TDBGridZkCenter::DefaultCellMouseClick(TCustomDBGridZk*, const TGridCoord&, TMouseButton,
                                            TShiftState, int, int) {}

void TDBGridZkCenter::BuildIndicatorTitleMenu(TCustomDBGridZk* Grid, TPopupMenu*& PopupMenu) {
  if (FOnBuildIndicatorTitleMenu) FOnBuildIndicatorTitleMenu(Grid, PopupMenu);
  else DefaultBuildIndicatorTitleMenu(Grid, PopupMenu);
}

// --- the indicator-title menu ---------------------------------------------------------------------

namespace {

std::unique_ptr<TPopupMenu> GMenu;
std::unique_ptr<TDBGridZkMenuItem> GItems[6];
// Items of the user's drop-down menu copied in, owned here until the next rebuild.
std::vector<std::unique_ptr<TMenuItem>> GCopies;

const char16_t* const MenuCaptions[] = {u"Видимые столбцы", u"Вырезать", u"Копировать",
                                        u"Вставить", u"Удалить", u"Выбрать все"};

void EmptyMenu() {
  TMenuItem* Root = GMenu->Items();
  while (Root->Count() > 0) Root->Delete(0);
  GCopies.clear();
}

TDBGridZkMenuItem* CachedItem(TDBGridZkStyleIndicatorTitleMenuZk Kind) {
  auto& Item = GItems[Kind];
  if (!Item) {
    Item = std::make_unique<TDBGridZkMenuItem>(nullptr);
    Item->SetOnClick([](TObject* Sender) { DBGridZkCenter()->MenuItemClick(Sender); });
  }
  return Item.get();
}

bool EntryEnabled(TCustomDBGridZk* Grid, TDBGridZkStyleIndicatorTitleMenuZk Kind) {
  const TDBGridZkEditActions A = Grid->EditActions();
  switch (Kind) {
    case itmCut: return A.Contains(geaCutZk) && Grid->CheckCutAction();
    case itmCopy: return A.Contains(geaCopyZk) && Grid->CheckCopyAction();
    case itmPaste: return A.Contains(geaPasteZk) && Grid->CheckPasteAction();
    case itmDelete: return A.Contains(geaDeleteZk) && Grid->CheckDeleteAction();
    case itmSelectAll: return A.Contains(geaSelectAllZk) && Grid->CheckSelectAllAction();
    default: return true;
  }
}

void AddStandardEntries(TCustomDBGridZk* Grid, TDBGridZkStyleIndicatorTitleMenusZk Menus) {
  TMenuItem* Root = GMenu->Items();
  for (int K = itmVisibleColumnsZk; K <= itmSelectAll; ++K) {
    const auto Kind = static_cast<TDBGridZkStyleIndicatorTitleMenuZk>(K);
    if (!Menus.Contains(Kind)) continue;
    TDBGridZkMenuItem* Item = CachedItem(Kind);
    Item->SetCaption(MenuCaptions[K]);
    Item->Grid = Grid;
    Item->TitleMenu = Kind;
    if (Kind == itmVisibleColumnsZk) {
      Item->Clear();
      for (int I = 0; I < Grid->Columns()->Count(); ++I) {
        TColumnZk* Column = Grid->Columns()->Items(I);
        if (Column->Title()->Caption().empty()) continue;
        auto* Sub = new TColumnZkMenuItem(nullptr);
        Sub->ColumnZk = Column;
        Sub->SetCaption(Column->Title()->Caption());
        Sub->SetChecked(Column->Visible());
        Sub->SetOnClick([](TObject* Sender) { DBGridZkCenter()->MenuItemClick(Sender); });
        Item->Add(Sub);
      }
    } else {
      Item->SetEnabled(EntryEnabled(Grid, Kind));
    }
    Root->Add(Item);
  }
}

void AddUserEntries(TPopupMenu* User) {
  TMenuItem* Root = GMenu->Items();
  if (Root->Count() > 0) {
    GCopies.push_back(std::make_unique<TMenuItem>(nullptr));
    GCopies.back()->SetCaption(u"-");
    Root->Add(GCopies.back().get());
  }
  for (int I = 0; I < User->Items()->Count(); ++I) {
    TMenuItem* Source = User->Items()->Items(I);
    auto Copy = std::make_unique<TMenuItem>(nullptr);
    Copy->SetCaption(Source->Caption());
    Copy->SetShortCut(Source->ShortCut());
    Copy->SetChecked(Source->Checked());
    Copy->SetRadioItem(Source->RadioItem());
    Copy->SetAutoCheck(Source->AutoCheck());
    Copy->SetGroupIndex(Source->GroupIndex());
    Copy->SetEnabled(Source->Enabled());
    Copy->SetVisible(Source->Visible());
    Copy->SetDefault(Source->Default());
    Copy->SetImageIndex(Source->ImageIndex());
    Copy->SetHint(Source->Hint());
    Copy->SetOnClick(Source->OnClick());
    Root->Add(Copy.get());
    GCopies.push_back(std::move(Copy));
  }
}

}  // namespace

void TDBGridZkCenter::DefaultBuildIndicatorTitleMenu(TCustomDBGridZk* Grid, TPopupMenu*& PopupMenu) {
  if (!GMenu) {
    GMenu = std::make_unique<TPopupMenu>(nullptr);
    GMenu->SetName(u"DBGridZkIndicatorTitlePopupMenu");
  }
  EmptyMenu();
  PopupMenu = GMenu.get();
  if (Grid->IndicatorTitle()->UseGlobalMenu()) AddStandardEntries(Grid, FIndicatorTitleMenus);
  if (TPopupMenu* User = Grid->IndicatorTitle()->DropdownMenu()) AddUserEntries(User);
}

void TDBGridZkCenter::MenuItemClick(TObject* Sender) {
  auto& R = DBGridZkRoutines();
  if (auto* C = dynamic_cast<TColumnZkMenuItem*>(Sender)) {
    TColumnZk* Column = C->ColumnZk;
    TCustomDBGridZk* Grid = Column->Grid();
    if (Column->Visible() && Grid && Grid->VisibleColumns().size() <= 1) return;
    Column->SetVisible(!Column->Visible());
    return;
  }
  auto* M = dynamic_cast<TDBGridZkMenuItem*>(Sender);
  if (!M || !M->Grid) return;
  auto Run = [&](const std::function<void(TCustomDBGridZk*, bool)>& Routine) {
    if (Routine) Routine(M->Grid, false);
  };
  switch (M->TitleMenu) {
    case itmCut: Run(R.CutGridSelection); break;
    case itmCopy: Run(R.CopyGridSelectionToClipboard); break;
    case itmPaste: Run(R.PasteClipboardIntoGrid); break;
    case itmDelete: Run(R.DeleteGridSelection); break;
    case itmSelectAll: M->Grid->Selection()->SelectAll(); break;
    default: break;
  }
}

void FreeIndicatorTitleMenus() {
  if (GMenu) EmptyMenu();
  GMenu.reset();
  for (auto& Item : GItems) Item.reset();
}

REGISTER_CLASS(TDBGridZkCenter) {
  using C = TDBGridZkCenter;
  Class.Property("FilterEditCloseUpApplyFilter", &C::FilterEditCloseUpApplyFilter,
                 &C::SetFilterEditCloseUpApplyFilter)
      .Property("IndicatorTitleMenus", &C::IndicatorTitleMenus, &C::SetIndicatorTitleMenus,
                TDBGridZkStyleIndicatorTitleMenusZk{itmVisibleColumnsZk, itmCut, itmCopy,
                                                    itmPaste, itmDelete, itmSelectAll})
      .Property("PreferEditFormatForNumberFields", &C::PreferEditFormatForNumberFields,
                &C::SetPreferEditFormatForNumberFields)
      .Property("UseExtendedScrollingForMemTable", &C::UseExtendedScrollingForMemTable,
                &C::SetUseExtendedScrollingForMemTable)
      .Property("STFilterDefaultStringOperator", &C::STFilterDefaultStringOperator,
                &C::SetSTFilterDefaultStringOperator, fdoAuto)
      .Property("STFilterDefaultNumberOperator", &C::STFilterDefaultNumberOperator,
                &C::SetSTFilterDefaultNumberOperator, fdoAuto)
      .Property("STFilterDefaultDateTimeOperator", &C::STFilterDefaultDateTimeOperator,
                &C::SetSTFilterDefaultDateTimeOperator, fdoAuto)
      .Property("STFilterDefaultBooleanOperator", &C::STFilterDefaultBooleanOperator,
                &C::SetSTFilterDefaultBooleanOperator, fdoAuto)
      .Property("OnApplyFilter", &C::OnApplyFilter, &C::SetOnApplyFilter)
      .Property("OnApplySorting", &C::OnApplySorting, &C::SetOnApplySorting);
}

REGISTER_CLASS(TColumnZkMenuItem) {}
REGISTER_CLASS(TDBGridZkMenuItem) {}
