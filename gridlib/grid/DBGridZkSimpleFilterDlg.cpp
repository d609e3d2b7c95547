// DBGridZkSimpleFilterDlg.cpp - the two-condition filter dialog: its form, its operator lists,
// reading a column filter into the rows and writing the rows back as a filter text.
#include "gridlib/grid/DBGridZkSimpleFilterDlg.h"

#include <algorithm>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/classes/Filer.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

TDBGridZkSimpleFilterDialog* GDialog = nullptr;

const char16_t* const TagTexts[19] = {
    u"",           u"равно",        u"не равно",          u"больше",
    u"больше или равно", u"меньше", u"меньше или равно",  u"начинается с",
    u"не начинается с",  u"заканчивается на", u"не заканчивается на", u"содержит",
    u"не содержит",      u"подобно",  u"не подобно",       u"в списке",
    u"не в списке",      u"пустые",   u"не пустые"};

// The operator a tag writes before its value.
const char16_t* const TagOperators[19] = {
    u"", u"=", u"<>", u">", u">=", u"<", u"<=", u"~", u"!~", u"~", u"!~", u"~", u"!~", u"~", u"!~",
    u"in", u"!in", u"=Null", u"<>Null"};

bool WildcardAfter(int Tag) { return Tag == 7 || Tag == 8 || Tag == 11 || Tag == 12; }
bool WildcardBefore(int Tag) { return Tag == 9 || Tag == 10 || Tag == 11 || Tag == 12; }

template <class T>
T* FormPart(TComponent* Root, const char16_t* Name) {
  auto* Found = dynamic_cast<T*>(Root->FindComponent(Name));
  if (!Found) throw EComponentError(String(u"The filter dialog's form has no ") + Name);
  return Found;
}

// A text in single quotes with its inner quotes doubled, as the filter reader writes a literal.
bool IsQuotedLiteral(const String& S) {
  if (S.size() < 2 || S.front() != u'\'' || S.back() != u'\'') return false;
  for (size_t I = 1; I + 1 < S.size(); ++I) {
    if (S[I] != u'\'') continue;
    if (I + 2 >= S.size() || S[I + 1] != u'\'') return false;
    ++I;
  }
  return true;
}

String Unquoted(const String& S) { return AnsiDequotedStr(S, u'\''); }

}  // namespace

TDBGridZkSimpleFilterDialog::TDBGridZkSimpleFilterDialog(TComponent* AOwner) : TForm(AOwner) {
  TextToComponent(Utf8ToString(LoadResource("forms/DBGridZkSimpleFilterDlg.dfm")), this);
  ComboBox1 = FormPart<TComboBox>(this, u"ComboBox1");
  DBComboBoxZk1 = FormPart<TDBComboBoxZk>(this, u"DBComboBoxZk1");
  rbAnd = FormPart<TRadioButton>(this, u"rbAnd");
  rbOr = FormPart<TRadioButton>(this, u"rbOr");
  ComboBox2 = FormPart<TComboBox>(this, u"ComboBox2");
  DBComboBoxZk2 = FormPart<TDBComboBoxZk>(this, u"DBComboBoxZk2");
  bOk = FormPart<TButton>(this, u"bOk");
  bCancel = FormPart<TButton>(this, u"bCancel");
  SetOnCloseQuery([this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); });
}

TSTOperandTypeZk TDBGridZkSimpleFilterDialog::ColumnOperandType() const {
  TField* F = Column ? Column->Field() : nullptr;
  return F ? FieldTypeToOperandType(F->DataType()) : botNon;
}

std::vector<int>& TDBGridZkSimpleFilterDialog::TagsOf(TComboBox* ComboBox) {
  return ComboBox == ComboBox1 ? FTags1 : FTags2;
}
const std::vector<int>& TDBGridZkSimpleFilterDialog::TagsOf(TComboBox* ComboBox) const {
  return ComboBox == ComboBox1 ? FTags1 : FTags2;
}

int TDBGridZkSimpleFilterDialog::SelectedTag(TComboBox* ComboBox) const {
  const int I = ComboBox->ItemIndex();
  const auto& Tags = TagsOf(ComboBox);
  return I >= 0 && I < static_cast<int>(Tags.size()) ? Tags[I] : -1;
}

void TDBGridZkSimpleFilterDialog::SelectTag(TComboBox* ComboBox, int Tag) {
  const auto& Tags = TagsOf(ComboBox);
  int Index = -1;
  for (size_t I = 0; I < Tags.size(); ++I)
    if (Tags[I] == Tag) Index = static_cast<int>(I);
  ComboBox->SetItemIndex(Index);
}

// --- filling --------------------------------------------------------------------------------------

void TDBGridZkSimpleFilterDialog::Init() {
  InitSignComboBox(ComboBox1);
  InitSignComboBox(ComboBox2);
  InitValuesComboBox(DBComboBoxZk1);
  InitValuesComboBox(DBComboBoxZk2);
  FillDialogFromColumnFilter(Column->STFilter());
}

void TDBGridZkSimpleFilterDialog::InitSignComboBox(TComboBox* ComboBox) {
  // Pattern operators only where the values are texts.
  const TSTOperandTypeZk Type = ColumnOperandType();
  const bool Patterns = Type == botString || Type == botNon;
  auto& Tags = TagsOf(ComboBox);
  Tags.clear();
  ComboBox->Items()->Clear();
  for (int Tag = 0; Tag <= 18; ++Tag) {
    if (Tag >= 7 && Tag <= 14 && !Patterns) continue;
    ComboBox->Items()->Add(TagTexts[Tag]);
    Tags.push_back(Tag);
  }
  ComboBox->SetItemIndex(-1);
  ComboBox->SetDropDownCount(ComboBox->Items()->Count());
}

void TDBGridZkSimpleFilterDialog::InitValuesComboBox(TDBComboBoxZk* ComboBox) {
  ComboBox->SetVisible(true);
  ComboBox->Items()->Clear();
  if (IMemTableDataFieldValueListZk* Values = Column->GetCurrentFieldValueList())
    ComboBox->Items()->Assign(Values->GetValues());
  ComboBox->KeyItems()->Assign(ComboBox->Items());
  ComboBox->SetText(u"");
}

void TDBGridZkSimpleFilterDialog::FillDialogFromColumnFilter(TSTColumnFilterZk* STFilter) {
  const TSTFilterExpressionZk E = STFilter->Expression();
  FillDialogFromColumnFilter1(E.Operator1, E.Operand1, ComboBox1, DBComboBoxZk1);
  rbOr->SetChecked(E.Relation == foOR);
  rbAnd->SetChecked(!rbOr->Checked());
  FillDialogFromColumnFilter1(E.Operator2, E.Operand2, ComboBox2, DBComboBoxZk2);
}

void TDBGridZkSimpleFilterDialog::FillDialogFromColumnFilter1(TSTFilterOperatorZk Operator,
                                                              const Variant& Operand,
                                                              TComboBox* OperatorComboBox,
                                                              TDBComboBoxZk* OperandComboBox) {
  String Text = Column->STFilter()->GetOperandAsString(Operator, Operand);
  static const int Plain[] = {0, 1, 2, 3, 5, 4, 6, 13, 14, 15, 16, 17, 18};
  if (Operator == foLike || Operator == foNotLike) {
    // The pattern as it stands, quoted or not, tells where its wildcards are.
    String Pattern = IsQuotedLiteral(Text) ? Unquoted(Text) : Text;
    const size_t N = Pattern.size();
    const bool Starts = N >= 1 && Pattern[0] == u'%' && (N == 1 || Pattern[1] != u'%');
    const bool Ends = N >= 1 && Pattern[N - 1] == u'%' && (N == 1 || Pattern[N - 2] != u'%');
    const int Base = Operator == foLike ? 0 : 1;
    int Tag = 13 + Base;
    if (Starts && Ends) Tag = 11 + Base, Pattern = N > 2 ? Pattern.substr(1, N - 2) : String();
    else if (Starts) Tag = 9 + Base, Pattern = Pattern.substr(1);
    else if (Ends) Tag = 7 + Base, Pattern.pop_back();
    if (Tag != 13 + Base) Text = Pattern;
    SelectTag(OperatorComboBox, Tag);
  } else if (Operator <= foNotNull) {
    SelectTag(OperatorComboBox, Plain[Operator]);
  }
  OperandComboBox->SetText(Text);
}

// --- writing --------------------------------------------------------------------------------------

void TDBGridZkSimpleFilterDialog::SetFilterFromDialog1(String& FilterString,
                                                       TComboBox* OperatorComboBox,
                                                       TDBComboBoxZk* OperandComboBox) {
  if (OperatorComboBox->ItemIndex() < 0) OperatorComboBox->SetItemIndex(0);
  const int Tag = std::max(SelectedTag(OperatorComboBox), 0);
  FilterString = TagOperators[Tag];
  if (Tag == 17 || Tag == 18) return;
  String Value = OperandComboBox->Text();
  if (Tag == 15 || Tag == 16) {
    if (Value.find_first_of(u"()") != String::npos) Value = QuotedStr(Value);
    Value = u"(" + Value + u")";
  } else {
    // The wildcards go inside the quotes and quotes inside the value are doubled, so a value
    // that needs quoting still reads back as one pattern.
    const bool WasQuoted = IsQuotedLiteral(Value);
    String Raw = WasQuoted ? Unquoted(Value) : Value;
    bool Quote = WasQuoted || Raw.find_first_of(u"()") != String::npos ||
                 (ColumnOperandType() == botString && !Raw.empty() && Raw.front() == u' ');
    if (WildcardAfter(Tag)) Raw += u'%';
    if (WildcardBefore(Tag)) Raw = u'%' + Raw;
    Value = Quote ? QuotedStr(Raw) : Raw;
  }
  if (!Value.empty()) FilterString += Value;
}

void TDBGridZkSimpleFilterDialog::SetFilterFromDialog() {
  String F1, F2;
  SetFilterFromDialog1(F1, ComboBox1, DBComboBoxZk1);
  SetFilterFromDialog1(F2, ComboBox2, DBComboBoxZk2);
  String Text = F1;
  if (!F2.empty()) Text = F1 + (rbOr->Checked() ? u" OR " : u" AND ") + F2;
  Column->STFilter()->SetExpressionStr(Text);
}

void TDBGridZkSimpleFilterDialog::FormCloseQuery(TObject*, bool& CanClose) {
  if (ModalResult() != mrOk) return;
  try {
    SetFilterFromDialog();
  } catch (const Exception& E) {
    // The dialog stays open with the entries; the reader's message says what is wrong.
    CanClose = false;
    Application->ShowException(E);
  }
}

// --- the program's one dialog ---------------------------------------------------------------------

TDBGridZkSimpleFilterDialog* DBGridZkSimpleFilterDialog() { return GDialog; }

bool ShowColumnFilterDialog(TColumnZk* Column) {
  if (!Column) return false;
  if (!GDialog) {
    RegisterStdCtrlsClasses();
    RegisterExtCtrlsClasses();
    GDialog = new TDBGridZkSimpleFilterDialog(Application);
  }
  GDialog->Column = Column;
  GDialog->Init();
  return GDialog->ShowModal() == mrOk;
}

void DBGridZkSimpleFilterDlgFinalize() {
  delete GDialog;
  GDialog = nullptr;
}

REGISTER_CLASS(TDBGridZkSimpleFilterDialog) {}
