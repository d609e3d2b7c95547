// DBGridZkSimpleFilterDlg.h - the dialog that sets a grid column's filter without typing a
// filter text: two rows of an operator chosen from a list ("равно", "начинается с", "пустые"
// ...) and a value typed or picked from the column's values, joined by "И" or "Или". OK writes
// the column filter text; a text the filter cannot read keeps the dialog open with the entries.
//
// One dialog serves the program: created on first use with the application as owner, reused,
// freed at the unit's end. Its layout is the form text "forms/DBGridZkSimpleFilterDlg.dfm".
#pragma once

#include <vector>

#include "gridlib/grid/DBGridZkFilterUtils.h"
#include "platform/controls/Forms.h"

class TButton;
class TColumnZk;
class TComboBox;
class TCustomComboBox;
class TDBComboBoxZk;
class TRadioButton;
class TSTColumnFilterZk;

class TDBGridZkSimpleFilterDialog : public TForm {
  VORENTA_CLASS(TDBGridZkSimpleFilterDialog, TForm)
public:
  explicit TDBGridZkSimpleFilterDialog(TComponent* AOwner);

  TComboBox* ComboBox1 = nullptr;
  TDBComboBoxZk* DBComboBoxZk1 = nullptr;
  TRadioButton* rbAnd = nullptr;
  TRadioButton* rbOr = nullptr;
  TComboBox* ComboBox2 = nullptr;
  TDBComboBoxZk* DBComboBoxZk2 = nullptr;
  TButton* bOk = nullptr;
  TButton* bCancel = nullptr;

  TColumnZk* Column = nullptr;

  void Init();
  void InitSignComboBox(TComboBox* ComboBox);
  void InitValuesComboBox(TDBComboBoxZk* ComboBox);
  void FillDialogFromColumnFilter(TSTColumnFilterZk* STFilter);
  void FillDialogFromColumnFilter1(TSTFilterOperatorZk Operator, const Variant& Operand,
                                   TComboBox* OperatorComboBox, TDBComboBoxZk* OperandComboBox);
  void SetFilterFromDialog();
  void SetFilterFromDialog1(String& FilterString, TComboBox* OperatorComboBox,
                            TDBComboBoxZk* OperandComboBox);
  void FormCloseQuery(TObject* Sender, bool& CanClose);

  // The tag (0 .. 18) of the chosen operator, -1 when none is chosen; selecting a tag the
  // list lacks leaves none chosen.
  int SelectedTag(TComboBox* ComboBox) const;
  void SelectTag(TComboBox* ComboBox, int Tag);

private:
  TSTOperandTypeZk ColumnOperandType() const;
  std::vector<int>& TagsOf(TComboBox* ComboBox);
  const std::vector<int>& TagsOf(TComboBox* ComboBox) const;

  std::vector<int> FTags1, FTags2;
};

// Shows the dialog for Column; true when it closed with OK (the filter text is then set).
bool ShowColumnFilterDialog(TColumnZk* Column);
TDBGridZkSimpleFilterDialog* DBGridZkSimpleFilterDialog();
void DBGridZkSimpleFilterDlgFinalize();
