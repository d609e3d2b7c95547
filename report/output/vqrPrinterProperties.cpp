// vqrPrinterProperties.cpp - the print queue's properties dialog.
#include "report/output/vqrPrinterProperties.h"

#include <memory>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/StdCtrls.h"
#include "platform/printing/PaperMapping.h"
#include "report/core/vqrPrinter.h"
#include "report/core/vqrRes.h"

REGISTER_CLASS(TvqrPrinterPropertiesForm) {}

TvqrPrinterPropertiesForm::TvqrPrinterPropertiesForm(TComponent* AOwner, TvqrPrinter* Printer,
                                                     int Bin, int Duplex)
    : TForm(AOwner), FPrinter(Printer) {
  SetBorderStyle(bsDialog);
  SetCaption(Printer->Name());
  SetClientSize(300, 104);
  TForm::SetPosition(poScreenCenter);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);
  auto Label = [this](int Top, const String& Text) {
    auto* L = new TLabel(this);
    L->SetParent(this);
    L->SetBounds(8, Top + 4, 90, 13);
    L->SetCaption(Text);
    return L;
  };
  auto List = [this](int Top) {
    auto* C = new TComboBox(this);
    C->SetParent(this);
    C->SetBounds(100, Top, 192, 21);
    C->SetStyle(csDropDownList);
    return C;
  };
  SourceL = Label(8, StringTable()->Get(u"501"));
  SourceCB = List(8);
  SourceCB->Items()->Assign(Printer->Bins());
  SourceCB->SetItemIndex(std::max(0, Printer->BinIndex(Bin)));
  SidesL = Label(36, StringTable()->Get(u"216"));
  SidesCB = List(36);
  for (const std::string& K : Printer->SidesKeywords()) {
    const int Value = SidesDuplex(K);
    if (Value <= 0) continue;
    FSides.push_back(Value);
    SidesCB->Items()->Add(Utf8ToString(K));
    if (Value == Duplex) SidesCB->SetItemIndex(SidesCB->Items()->Count() - 1);
  }
  OkB = new TButton(this);
  OkB->SetParent(this);
  OkB->SetBounds(136, 72, 75, 25);
  OkB->SetCaption(StringTable()->Get(u"1"));
  OkB->SetDefault(true);
  OkB->SetModalResult(mrOk);
  CancelB = new TButton(this);
  CancelB->SetParent(this);
  CancelB->SetBounds(217, 72, 75, 25);
  CancelB->SetCaption(StringTable()->Get(u"2"));
  CancelB->SetCancel(true);
  CancelB->SetModalResult(mrCancel);
}

int TvqrPrinterPropertiesForm::Bin() const {
  return FPrinter->BinNameToNumber(SourceCB->Text());
}

int TvqrPrinterPropertiesForm::Duplex() const {
  const int I = SidesCB->ItemIndex();
  return I >= 0 && I < static_cast<int>(FSides.size()) ? FSides[I] : -1;
}

bool vqrShowPrinterProperties(TvqrPrinter* Printer, int& Bin, int& Duplex) {
  std::unique_ptr<TvqrPrinterPropertiesForm> Form(
      new TvqrPrinterPropertiesForm(Application, Printer, Bin, Duplex));
  if (Form->ShowModal() != mrOk) return false;
  Bin = Form->Bin();
  if (Form->Duplex() > 0) Duplex = Form->Duplex();
  return true;
}
