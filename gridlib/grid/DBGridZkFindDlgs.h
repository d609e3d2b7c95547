// DBGridZkFindDlgs.h - the find dialog of the data grids: a pattern with its history, the
// column to search ("<All>" for every visible column), the kind of match, the direction,
// letter case and display format, and, over a memory table in tree view, the tree range.
// "На&йти далее" (or Enter) runs the grid's LocateText; the first search of a pattern with
// "Все" starts at the first record, later ones continue downward, and Ctrl held reverses
// the direction.
//
// One dialog serves the program: created on first use with the application as owner, reused,
// freed at the unit's end. Its layout is the form text "forms/DBGridZkFindDlg.dfm".
#pragma once

#include "gridlib/grid/DBGridZk.h"
#include "platform/controls/Forms.h"

class TButton;
class TDBCheckBoxZk;
class TDBComboBoxZk;
class TLabel;
class TStrings;

class TDBGridZkFindDlg : public TForm {
  VORENTA_CLASS(TDBGridZkFindDlg, TForm)
public:
  explicit TDBGridZkFindDlg(TComponent* AOwner);
  ~TDBGridZkFindDlg() override;

  TLabel* Label1 = nullptr;
  TDBComboBoxZk* cbText = nullptr;
  TLabel* Label2 = nullptr;
  TDBComboBoxZk* cbFindIn = nullptr;
  TLabel* cbMatchType = nullptr;
  TDBComboBoxZk* cbMatchinType = nullptr;
  TLabel* Label3 = nullptr;
  TDBComboBoxZk* cbFindDirection = nullptr;
  TDBCheckBoxZk* cbCharCase = nullptr;
  TDBCheckBoxZk* cbUseFormat = nullptr;
  TLabel* Label4 = nullptr;
  TDBComboBoxZk* dbcTreeFindRange = nullptr;
  TButton* bFind = nullptr;
  TButton* bCancel = nullptr;

  // Prepares the dialog for AGrid (column list, tree row) and shows it, modally or as a
  // stay-on-top window. ColumnFieldName and ColumnFields are not used: the column list is
  // always the grid's visible columns.
  void Execute(TCustomDBGridZk* AGrid, const String& Text, const String& ColumnFieldName,
               TStrings* ColumnFields, bool Modal);
  void FillColumnsList();

  void bFindClick(TObject* Sender);
  void bCancelClick(TObject* Sender);
  void cbTextChange(TObject* Sender);
  void cbFindInChange(TObject* Sender);
  void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);

  TCustomDBGridZk* Grid() const { return FGrid; }
  bool IsFirstTry() const { return FIsFirstTry; }
  int SourceHeight() const { return FSourceHeight; }

  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void SetGrid(TCustomDBGridZk* Value);

  TCustomDBGridZk* FGrid = nullptr;
  bool FIsFirstTry = true;
  int FSourceHeight = 0;
};

// Creates the dialog when needed and runs its Execute.
void ShowGridFindDialog(TCustomDBGridZk* Grid, const String& Text, const String& ColumnFieldName,
                        bool Modal, TStrings* ColumnFields = nullptr);
// The program's find dialog, nullptr before first use.
TDBGridZkFindDlg* DBGridZkFindDlg();

// Puts ShowGridFindDialog into the grid's find-dialog hook; the end frees the dialog.
void DBGridZkFindDlgsInitialize();
void DBGridZkFindDlgsFinalize();
