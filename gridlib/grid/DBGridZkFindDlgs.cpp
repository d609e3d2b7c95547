// DBGridZkFindDlgs.cpp - the data grids' find dialog: its form, start, search and keys.
#include "gridlib/grid/DBGridZkFindDlgs.h"

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "gridlib/toolkit/MemTableIntfZk.h"
#include "platform/classes/Filer.h"
#include "platform/controls/Messages.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/SysUtils.h"

namespace {

TDBGridZkFindDlg* GFindDlg = nullptr;
const char16_t* const AllColumnsText = u"<All>";

template <class T>
T* FormPart(TComponent* Root, const char16_t* Name) {
  auto* Found = dynamic_cast<T*>(Root->FindComponent(Name));
  if (!Found)
    throw EComponentError(String(u"The find dialog's form has no ") + Name);
  return Found;
}

bool GridDataActive(TCustomDBGridZk* Grid) {
  TDataSet* D = Grid ? Grid->DataSet() : nullptr;
  return D && D->Active();
}

bool InTreeView(TCustomDBGridZk* Grid) {
  if (!GridDataActive(Grid)) return false;
  auto* Table = dynamic_cast<IMemTableZk*>(Grid->DataSet());
  return Table && Table->GetTreeViewMode();
}

}  // namespace

TDBGridZkFindDlg::TDBGridZkFindDlg(TComponent* AOwner) : TForm(AOwner) {
  TextToComponent(Utf8ToString(LoadResource("forms/DBGridZkFindDlg.dfm")), this);
  Label1 = FormPart<TLabel>(this, u"Label1");
  cbText = FormPart<TDBComboBoxZk>(this, u"cbText");
  Label2 = FormPart<TLabel>(this, u"Label2");
  cbFindIn = FormPart<TDBComboBoxZk>(this, u"cbFindIn");
  cbMatchType = FormPart<TLabel>(this, u"cbMatchType");
  cbMatchinType = FormPart<TDBComboBoxZk>(this, u"cbMatchinType");
  Label3 = FormPart<TLabel>(this, u"Label3");
  cbFindDirection = FormPart<TDBComboBoxZk>(this, u"cbFindDirection");
  cbCharCase = FormPart<TDBCheckBoxZk>(this, u"cbCharCase");
  cbUseFormat = FormPart<TDBCheckBoxZk>(this, u"cbUseFormat");
  Label4 = FormPart<TLabel>(this, u"Label4");
  dbcTreeFindRange = FormPart<TDBComboBoxZk>(this, u"dbcTreeFindRange");
  bFind = FormPart<TButton>(this, u"bFind");
  bCancel = FormPart<TButton>(this, u"bCancel");
  Label1->SetFocusControl(cbText);
  Label2->SetFocusControl(cbFindIn);
  cbMatchType->SetFocusControl(cbMatchinType);
  Label3->SetFocusControl(cbFindDirection);
  FSourceHeight = Height();

  bFind->SetOnClick([this](TObject* Sender) { bFindClick(Sender); });
  bCancel->SetOnClick([this](TObject* Sender) { bCancelClick(Sender); });
  for (TDBComboBoxZk* Box : {cbText, cbFindDirection, dbcTreeFindRange})
    Box->SetOnChange([this](TObject* Sender) { cbTextChange(Sender); });
  cbFindIn->SetOnChange([this](TObject* Sender) { cbFindInChange(Sender); });
  SetOnKeyDown([this](TObject* Sender, Word& Key, TShiftState Shift) {
    FormKeyDown(Sender, Key, Shift);
  });
}

TDBGridZkFindDlg::~TDBGridZkFindDlg() {
  SetGrid(nullptr);
  if (GFindDlg == this) GFindDlg = nullptr;
}

void TDBGridZkFindDlg::SetGrid(TCustomDBGridZk* Value) {
  if (FGrid == Value) return;
  if (FGrid) FGrid->RemoveFreeNotification(this);
  FGrid = Value;
  if (FGrid) FGrid->FreeNotification(this);
}

void TDBGridZkFindDlg::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FGrid) {
    FGrid = nullptr;
    cbFindIn->Items()->Clear();   // the entries point at the grid's columns
  }
}

void TDBGridZkFindDlg::Execute(TCustomDBGridZk* AGrid, const String& Text, const String&,
                               TStrings*, bool Modal) {
  const bool Tree = InTreeView(AGrid);
  if (Tree) SetHeight(FSourceHeight);
  else SetClientHeight(dbcTreeFindRange->Top());
  Label4->SetVisible(Tree);
  dbcTreeFindRange->SetVisible(Tree);

  cbText->SetText(Text);
  SetGrid(AGrid);
  FillColumnsList();
  int Selected = -1;
  const TColumnsZkList& Columns = FGrid->VisibleColumns();
  const int Current = FGrid->SelectedIndex();
  if (Current >= 0 && Current < static_cast<int>(Columns.size()))
    Selected = cbFindIn->Items()->IndexOf(Columns[Current]->Title()->Caption());
  cbFindIn->SetItemIndex(Selected);

  FIsFirstTry = true;
  if (Visible()) Close();
  SetActiveControl(cbText);
  if (Modal) {
    SetFormStyle(fsNormal);
    ShowModal();
  } else {
    SetFormStyle(fsStayOnTop);
    Show();
    SetFocus();
  }
}

void TDBGridZkFindDlg::FillColumnsList() {
  TNotifyEvent Saved = cbFindIn->OnChange();
  cbFindIn->SetOnChange(nullptr);
  TStrings* Items = cbFindIn->Items();
  Items->Clear();
  if (FGrid)
    for (TColumnZk* Column : FGrid->VisibleColumns())
      Items->AddObject(Column->Title()->Caption(), Column);
  Items->AddObject(AllColumnsText, nullptr);
  cbFindIn->KeyItems()->Assign(Items);
  cbFindIn->SetOnChange(std::move(Saved));
}

void TDBGridZkFindDlg::bFindClick(TObject*) {
  const bool Reverse = GetKeyState(VK_CONTROL) < 0;
  const String Pattern = cbText->Text();
  if (cbText->Items()->IndexOf(Pattern) < 0) cbText->Items()->Add(Pattern);
  if (!GridDataActive(FGrid)) return;

  const int FindIn = cbFindIn->ItemIndex();
  const bool AllColumns = FindIn >= 0 && FindIn == cbFindIn->Items()->Count() - 1;
  TLocateTextOptionsZk Options;
  if (!cbCharCase->Checked()) Options << ltoCaseInsensitiveZk;
  if (cbUseFormat->Checked()) Options << ltoMatchFormatZk;
  if (AllColumns) Options << ltoAllFieldsZk;

  TLocateTextDirectionZk Direction = ltdAllZk;
  switch (cbFindDirection->ItemIndex()) {
    case 0: Direction = ltdUpZk; break;
    case 1: Direction = ltdDownZk; break;
    default: break;
  }
  if (Reverse) Direction = Direction == ltdUpZk ? ltdDownZk : ltdUpZk;
  if (!FIsFirstTry && Direction == ltdAllZk) Direction = ltdDownZk;

  TLocateTextMatchingZk Matching = ltmAnyPartZk;
  if (cbMatchinType->ItemIndex() == 1) Matching = ltmWholeZk;
  else if (cbMatchinType->ItemIndex() == 2) Matching = ltmFromBegingZk;

  String FieldName;
  if (FindIn >= 0 && !AllColumns)
    if (auto* Column = dynamic_cast<TColumnZk*>(cbFindIn->Items()->Objects(FindIn)))
      FieldName = Column->FieldName();

  const int Range = dbcTreeFindRange->ItemIndex();
  const auto TreeRange =
      Range > 0 ? static_cast<TLocateTextTreeFindRangeZk>(Range) : lttInAllNodesZk;

  if (FGrid->LocateText(FGrid, FieldName, Pattern, Options, Direction, Matching, TreeRange))
    FIsFirstTry = false;
}

void TDBGridZkFindDlg::bCancelClick(TObject*) { Close(); }

// A changed pattern, direction or tree range searches "Все" from the first record again.
void TDBGridZkFindDlg::cbTextChange(TObject*) { FIsFirstTry = true; }

// The column list keeps its entries; nothing else follows the choice.
void TDBGridZkFindDlg::cbFindInChange(TObject*) {}

void TDBGridZkFindDlg::FormKeyDown(TObject*, Word& Key, TShiftState) {
  if (Key != VK_RETURN && Key != VK_ESCAPE) return;
  if (TWinControl* Active = ActiveControl())
    if (Active->Perform(CM_WANTSPECIALKEY, Key, 0) != 0) return;
  const Word Pressed = Key;
  Key = 0;
  if (Pressed == VK_ESCAPE) {
    if (Modal()) bCancel->Click();
    else Close();
  } else {
    bFindClick(bFind);
  }
  cbText->SetModified(false);
}

// --- the program's one dialog ---------------------------------------------------------------------

TDBGridZkFindDlg* DBGridZkFindDlg() { return GFindDlg; }

void ShowGridFindDialog(TCustomDBGridZk* Grid, const String& Text, const String& ColumnFieldName,
                        bool Modal, TStrings* ColumnFields) {
  if (!Grid) return;
  if (!GFindDlg) GFindDlg = new TDBGridZkFindDlg(Application);
  GFindDlg->Execute(Grid, Text, ColumnFieldName, ColumnFields, Modal);
}

void DBGridZkFindDlgsInitialize() {
  RegisterStdCtrlsClasses();   // the form's labels and buttons
  DBGridZkRoutines().ShowGridFindDialog = [](TCustomDBGridZk* Grid, const String& Text,
                                             const String& ColumnFieldName, bool Modal) {
    ShowGridFindDialog(Grid, Text, ColumnFieldName, Modal);
  };
}

void DBGridZkFindDlgsFinalize() {
  DBGridZkRoutines().ShowGridFindDialog = nullptr;
  delete GFindDlg;
  GFindDlg = nullptr;
}

REGISTER_CLASS(TDBGridZkFindDlg) {}
