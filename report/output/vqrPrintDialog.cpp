// vqrPrintDialog.cpp - the print dialog.
#include "report/output/vqrPrintDialog.h"

#include <memory>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/PaintBox.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/UpDown.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrPrinter.h"
#include "report/core/vqrRes.h"
#include "report/output/vqrDialogPictures.h"

REGISTER_CLASS(TvqrPrintDialog) {}

namespace {

String Res(const char16_t* Key) { return StringTable()->Get(Key); }

template <class T>
T* Place(TWinControl* Parent, TComponent* Owner, int L, int T_, int W, int H) {
  auto* C = new T(Owner);
  C->SetParent(Parent);
  C->SetBounds(L, T_, W, H);
  return C;
}

TComboBox* DropList(TWinControl* Parent, TComponent* Owner, int L, int T_, int W,
                    std::initializer_list<const char16_t*> Keys) {
  auto* C = Place<TComboBox>(Parent, Owner, L, T_, W, 21);
  C->SetStyle(csDropDownList);
  for (const char16_t* K : Keys) C->Items()->Add(Res(K));
  return C;
}

// The print modes' pictures, 64 x 32 each, on a background that the list makes transparent.
void FillPrintModeImages(TImageList* List) {
  const TColor Mask = clFuchsia;
  TBitmap Strip(vqrPrintModeWidth * 4, vqrPrintModeHeight);
  Strip.Canvas()->Brush()->SetColor(Mask);
  Strip.Canvas()->FillRect(Rect(0, 0, Strip.Width(), Strip.Height()));
  for (int Mode = 0; Mode < 4; ++Mode) vqrPaintPrintMode(Strip.Canvas(), Mode * vqrPrintModeWidth, 0, Mode);
  List->AddMasked(&Strip, Mask);
}

// Fills an owner-drawn row in the colours its state asks for.
void FillRow(TCanvas* C, const TRect& R, TOwnerDrawState State) {
  const bool Selected = State.Contains(odSelected);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Selected ? clHighlight : clWindow);
  C->Font()->SetColor(Selected ? clHighlightText : clWindowText);
  C->FillRect(R);
  C->Brush()->SetStyle(bsClear);
}

}  // namespace

TvqrPrintDialog::TvqrPrintDialog(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetClientSize(557, 333);
  SetKeyPreview(true);
  TForm::SetPosition(poScreenCenter);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);
  SetCaption(Res(u"200"));

  Label12 = Place<TGroupBox>(this, this, 4, 4, 549, 73);
  Label12->SetCaption(Res(u"201"));
  NameL = Place<TLabel>(Label12, this, 8, 20, 50, 13);
  NameL->SetCaption(Res(u"212"));
  PrintersCB = Place<TComboBox>(Label12, this, 60, 16, 329, 22);
  PrintersCB->SetStyle(csOwnerDrawFixed);
  PrintersCB->SetItemHeight(Screen->PixelsPerInch() > 96 ? 19 : 16);
  PrintersCB->SetOnSelect([this](TObject*) { PrintersCBClick(); });
  PrintersCB->SetOnDrawItem([this](TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
    PrintersCBDrawItem(Index, R, State);
  });
  PropButton = Place<TButton>(Label12, this, 444, 16, 95, 22);
  PropButton->SetCaption(Res(u"209"));
  PropButton->SetOnClick([this](TObject*) { PropButtonClick(); });
  WhereL = Place<TLabel>(Label12, this, 8, 48, 50, 13);
  WhereL->SetCaption(Res(u"208"));
  WhereL1 = Place<TLabel>(Label12, this, 60, 48, 340, 13);
  FileCB = Place<TCheckBox>(Label12, this, 408, 48, 135, 17);
  FileCB->SetCaption(Res(u"210"));

  Label1 = Place<TGroupBox>(this, this, 4, 80, 261, 117);
  Label1->SetCaption(Res(u"202"));
  AllRB = Place<TRadioButton>(Label1, this, 8, 20, 240, 17);
  AllRB->SetCaption(Res(u"3"));
  AllRB->SetChecked(true);
  CurPageRB = Place<TRadioButton>(Label1, this, 8, 40, 240, 17);
  CurPageRB->SetCaption(Res(u"4"));
  PageNumbersRB = Place<TRadioButton>(Label1, this, 8, 60, 74, 17);
  PageNumbersRB->SetCaption(Res(u"5"));
  PageNumbersRB->SetOnClick([this](TObject*) {
    if (Visible() && PageNumbersE->CanFocus()) PageNumbersE->SetFocus();
  });
  PageNumbersE = Place<TEdit>(Label1, this, 84, 58, 165, 21);
  PageNumbersE->SetOnEnter([this](TObject*) { PageNumbersRB->SetChecked(true); });
  DescrL = Place<TLabel>(Label1, this, 8, 82, 249, 29);
  DescrL->SetWordWrap(true);
  DescrL->SetAutoSize(false);
  DescrL->SetCaption(Res(u"9"));

  Label2 = Place<TGroupBox>(this, this, 272, 80, 281, 117);
  Label2->SetCaption(Res(u"205"));
  CopiesL = Place<TLabel>(Label2, this, 12, 20, 120, 13);
  CopiesL->SetCaption(Res(u"203"));
  CopiesE = Place<TEdit>(Label2, this, 140, 16, 113, 21);
  CopiesE->SetText(u"1");
  CopiesE->SetOnKeyPress([](TObject*, Char& Key) {
    if (Key >= 32 && (Key < u'0' || Key > u'9')) Key = 0;
  });
  CopiesL->SetFocusControl(CopiesE);
  UpDown1 = new TUpDown(this);
  UpDown1->SetParent(Label2);
  UpDown1->SetMin(1);
  UpDown1->SetMax(9999);
  UpDown1->SetAssociate(CopiesE);
  UpDown1->SetPosition(1);
  CollateCB = Place<TCheckBox>(Label2, this, 140, 58, 135, 17);
  CollateCB->SetCaption(Res(u"204"));
  CollateCB->SetChecked(true);
  CopiesPB = Place<TPaintBox>(Label2, this, 12, 48, 92, 53);
  CopiesPB->SetOnPaint([this](TObject*) { CopiesPBPaint(); });
  CollateCB->SetOnClick([this](TObject*) { CopiesPB->Invalidate(); });

  ScaleGB = Place<TGroupBox>(this, this, 272, 200, 281, 97);
  ScaleGB->SetCaption(Res(u"213"));
  PrintModeCB = DropList(ScaleGB, this, 12, 16, 257, {u"pmDefault", u"pmSplit", u"pmJoin", u"pmScale"});
  PrintModeCB->SetAutoSize(false);   // as high as its pictured rows, not its font
  PrintModeCB->SetBounds(12, 16, 257, 40);
  PrintModeCB->SetStyle(csOwnerDrawFixed);
  PrintModeCB->SetItemHeight(34);
  PrintModeCB->SetOnSelect([this](TObject*) { PrintModeCBClick(); });
  PrintModeCB->SetOnDrawItem([this](TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
    PrintModeCBDrawItem(Index, R, State);
  });
  PrintModeIL = std::make_unique<TImageList>(vqrPrintModeWidth, vqrPrintModeHeight);
  FillPrintModeImages(PrintModeIL.get());
  PagSizeL = Place<TLabel>(ScaleGB, this, 12, 68, 120, 13);
  PagSizeL->SetCaption(Res(u"214"));
  PagPageSizeCB = Place<TComboBox>(ScaleGB, this, 140, 64, 129, 21);
  PagPageSizeCB->SetStyle(csDropDownList);

  OtherGB = Place<TGroupBox>(this, this, 4, 200, 261, 97);
  OtherGB->SetCaption(Res(u"207"));
  PrintL = Place<TLabel>(OtherGB, this, 8, 20, 74, 13);
  PrintL->SetCaption(Res(u"206"));
  PrintPagesCB = DropList(OtherGB, this, 84, 16, 165, {u"ppAll", u"ppOdd", u"ppEven"});
  PrintPagesCB->SetItemIndex(0);
  OrderL = Place<TLabel>(OtherGB, this, 8, 44, 74, 13);
  OrderL->SetCaption(Res(u"211"));
  OrderCB = DropList(OtherGB, this, 84, 40, 165, {u"poDirect", u"poReverse"});
  DuplexL = Place<TLabel>(OtherGB, this, 8, 68, 74, 13);
  DuplexL->SetCaption(Res(u"216"));
  DuplexCB = DropList(OtherGB, this, 84, 64, 165, {u"dupDefault", u"dupVert", u"dupHorz", u"dupSimpl"});
  DuplexCB->SetItemIndex(0);

  OkB = Place<TButton>(this, this, 398, 304, 75, 25);
  OkB->SetCaption(Res(u"1"));
  OkB->SetDefault(true);
  OkB->SetModalResult(mrOk);
  CancelB = Place<TButton>(this, this, 478, 304, 75, 25);
  CancelB->SetCaption(Res(u"2"));
  CancelB->SetCancel(true);
  CancelB->SetModalResult(mrCancel);
  FileDlg = new TSaveDialog(this);
  FileDlg->SetTitle(Res(u"507"));
  FileDlg->SetFilter(Res(u"510"));

  TvqrPrinters* List = PrinterList();
  PrintersCB->Items()->Assign(List->Printers());
  PrintersCB->SetItemIndex(List->PrinterIndex());
  PrintersCBClick();
  OldIndex = List->PrinterIndex();
  SetOnShow([this](TObject*) { FormShow(); });
  SetOnKeyDown([this](TObject*, Word& Key, TShiftState) {
    if (Key == VK_F1) StringTable()->Help(this);
  });
  // Closing, not hiding: a cancelled print-file dialog still turns the result into cancel.
  SetOnClose([this](TObject*, TCloseAction&) { FormHide(); });
}

void TvqrPrintDialog::PrintersCBDrawItem(int Index, const TRect& R, TOwnerDrawState State) {
  TCanvas* C = PrintersCB->Canvas();
  FillRow(C, R, State);
  StringTable()->PreviewButtonImages()->Draw(C, R.Left + 2, R.Top, 2);
  C->TextOut(R.Left + 24, R.Top + 1, PrintersCB->Items()->Get(Index));
}

void TvqrPrintDialog::PrintModeCBDrawItem(int Index, const TRect& R, TOwnerDrawState State) {
  TCanvas* C = PrintModeCB->Canvas();
  FillRow(C, R, State);
  PrintModeIL->Draw(C, R.Left + 2, R.Top + 1, Index);
  C->TextOut(R.Left + 74, R.Top + 10, PrintModeCB->Items()->Get(Index));
}

void TvqrPrintDialog::CopiesPBPaint() {
  TCanvas* C = CopiesPB->Canvas();
  C->Brush()->SetColor(Color());
  C->FillRect(CopiesPB->ClientRect());
  vqrPaintCopies(C, 0, 0, CollateCB->Checked());
}

void TvqrPrintDialog::SelectPaper(int Code) {
  TvqrCustomPrinter* P = PrinterList()->Printer();
  const int Index = P ? P->PaperIndex(Code) : -1;
  if (Index < 0) {
    PagPageSizeCB->SetItemIndex(0);
    return;
  }
  const int Custom = P->PaperIndex(vqrCustomPaperCode);
  PagPageSizeCB->SetItemIndex(Index + 1 - (Custom >= 0 && Custom < Index ? 1 : 0));
}

void TvqrPrintDialog::PrintersCBClick() {
  TvqrCustomPrinter* Old = PrinterList()->Printer();
  int Remembered = 0;
  if (Old && PagPageSizeCB->ItemIndex() > 0) Remembered = Old->PaperNameToNumber(PagPageSizeCB->Text());
  if (PrintersCB->ItemIndex() >= 0) PrinterList()->SetPrinterIndex(PrintersCB->ItemIndex());
  TvqrCustomPrinter* P = PrinterList()->Printer();
  WhereL1->SetCaption(P ? P->Port() : String());
  PagPageSizeCB->Items()->Clear();
  if (P) {
    PagPageSizeCB->Items()->Assign(P->Papers());
    const int Custom = P->PaperIndex(vqrCustomPaperCode);
    if (Custom >= 0) PagPageSizeCB->Items()->Delete(Custom);
  }
  PagPageSizeCB->Items()->Insert(0, Res(u"pgDefault"));
  if (Remembered) SelectPaper(Remembered);
  else PagPageSizeCB->SetItemIndex(0);
}

void TvqrPrintDialog::PrintModeCBClick() {
  if (PrintModeCB->ItemIndex() <= 0) {
    PagPageSizeCB->SetItemIndex(0);
    PagPageSizeCB->SetEnabled(false);
    return;
  }
  PagPageSizeCB->SetEnabled(true);
  if (PagPageSizeCB->ItemIndex() <= 0) SelectPaper(9);
}

void TvqrPrintDialog::PropButtonClick() {
  TvqrCustomPrinter* P = PrinterList()->Printer();
  if (!P) return;
  P->PropertiesDlg();
  TvqrDuplexMode Mode;
  switch (P->Duplex()) {
    case 1: Mode = dmSimplex; break;
    case 2: Mode = dmVertical; break;
    case 3: Mode = dmHorizontal; break;
    default: return;
  }
  ADuplexMode = Mode;
  DuplexCB->SetItemIndex(static_cast<int>(Mode));
}

void TvqrPrintDialog::FormShow() {
  if (!AReport) return;
  TvqrPrintOptions* O = AReport->PrintOptions();
  UpDown1->SetPosition(O->Copies());
  CollateCB->SetChecked(O->Collate());
  PageNumbersE->SetText(O->PageNumbers());
  if (!O->PageNumbers().empty()) PageNumbersRB->SetChecked(true);
  PrintPagesCB->SetItemIndex(static_cast<int>(O->PrintPages()));
  OrderCB->SetItemIndex(O->Reverse() ? 1 : 0);
  PrintModeCB->SetItemIndex(static_cast<int>(O->PrintMode()));
  DuplexCB->SetItemIndex(static_cast<int>(ADuplexMode));
  PrintModeCBClick();
  if (O->PrintMode() != pmDefault) SelectPaper(O->PrintOnSheet());
}

void TvqrPrintDialog::FormHide() {
  TvqrCustomPrinter* P = PrinterList()->Printer();
  if (ModalResult() == mrOk && P) {
    P->SetFileName(String());
    if (FileCB->Checked()) {
      if (FileDlg->Execute()) P->SetFileName(ChangeFileExt(FileDlg->FileName(), u".prn"));
      else SetModalResult(mrCancel);
    }
  }
  if (ModalResult() != mrOk) {
    if (ModalResult() != mrCancel || !FileCB->Checked()) PrinterList()->SetPrinterIndex(OldIndex);
    return;
  }
  if (!AReport) return;
  TvqrPrintOptions* O = AReport->PrintOptions();
  O->SetCopies(StrToInt(CopiesE->Text()));
  O->SetCollate(CollateCB->Checked());
  if (AllRB->Checked()) O->SetPageNumbers(String());
  else if (CurPageRB->Checked())
    O->SetPageNumbers(IntToStr(AReport->PreviewPages() ? AReport->PreviewPages()->CurPreviewPage : 1));
  else O->SetPageNumbers(PageNumbersE->Text());
  O->SetPrintPages(static_cast<TvqrPrintPages>(std::max(0, PrintPagesCB->ItemIndex())));
  ADuplexMode = static_cast<TvqrDuplexMode>(std::max(0, DuplexCB->ItemIndex()));
  O->SetReverse(OrderCB->ItemIndex() == 1);
  O->SetPrintMode(static_cast<TvqrPrintMode>(std::max(0, PrintModeCB->ItemIndex())));
  O->SetPrintOnSheet(P ? P->PaperNameToNumber(PagPageSizeCB->Text()) : vqrCustomPaperCode);
}

bool vqrShowPrintDialog(TvqrReport* Report, TvqrDuplexMode& Duplex) {
  std::unique_ptr<TvqrPrintDialog> Dialog(new TvqrPrintDialog(Application));
  Dialog->AReport = Report;
  Dialog->ADuplexMode = Duplex;
  if (Dialog->ShowModal() != mrOk) return false;
  Duplex = Dialog->ADuplexMode;
  return true;
}
