// vqrSearchDialog.cpp - the find-text dialog.
#include "report/output/vqrSearchDialog.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/StdCtrls.h"
#include "report/core/vqrRes.h"

REGISTER_CLASS(TvqrSearchDialog) {}

String& vqrLastSearchText() {
  static String Text;
  return Text;
}

TvqrSearchDialog::TvqrSearchDialog(TComponent* AOwner) : TForm(AOwner) {
  auto* Res = StringTable();
  SetBorderStyle(bsDialog);
  SetCaption(Res->Get(u"300"));
  SetClientSize(252, 154);
  SetKeyPreview(true);
  TForm::SetPosition(poScreenCenter);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);
  TextL = new TLabel(this);
  TextL->SetParent(this);
  TextL->SetBounds(8, 4, 100, 13);
  TextL->SetCaption(Res->Get(u"301"));
  TextE = new TEdit(this);
  TextE->SetParent(this);
  TextE->SetBounds(8, 20, 237, 21);
  TextL->SetFocusControl(TextE);
  SearchL = new TGroupBox(this);
  SearchL->SetParent(this);
  SearchL->SetBounds(8, 49, 237, 65);
  SearchL->SetCaption(Res->Get(u"302"));
  TopCB = new TCheckBox(this);
  TopCB->SetParent(SearchL);
  TopCB->SetBounds(8, 20, 220, 17);
  TopCB->SetCaption(Res->Get(u"304"));
  CaseCB = new TCheckBox(this);
  CaseCB->SetParent(SearchL);
  CaseCB->SetBounds(8, 40, 220, 17);
  CaseCB->SetCaption(Res->Get(u"305"));
  OkB = new TButton(this);
  OkB->SetParent(this);
  OkB->SetBounds(90, 125, 75, 25);
  OkB->SetCaption(Res->Get(u"1"));
  OkB->SetDefault(true);
  OkB->SetModalResult(mrOk);
  CancelB = new TButton(this);
  CancelB->SetParent(this);
  CancelB->SetBounds(170, 125, 75, 25);
  CancelB->SetCaption(Res->Get(u"2"));
  CancelB->SetCancel(true);
  CancelB->SetModalResult(mrCancel);
  SetOnShow([this](TObject*) { TextE->SetText(vqrLastSearchText()); });
  SetOnActivate([this](TObject*) {
    if (TextE->CanFocus()) TextE->SetFocus();
    TextE->SelectAll();
  });
  SetOnClose([this](TObject*, TCloseAction&) {
    if (ModalResult() == mrOk) vqrLastSearchText() = TextE->Text();
  });
  SetActiveControl(TextE);
}
