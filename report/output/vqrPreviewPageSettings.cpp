// vqrPreviewPageSettings.cpp - the page-settings dialog.
#include "report/output/vqrPreviewPageSettings.h"

#include <memory>

#include "platform/classes/IniFiles.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrPrinter.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"
#include "report/output/vqrDialogPictures.h"

REGISTER_CLASS(TvqrPageSettingsForm) {}

namespace {

template <class T>
T* Place(TWinControl* Parent, TComponent* Owner, int L, int T_, int W, int H) {
  auto* C = new T(Owner);
  C->SetParent(Parent);
  C->SetBounds(L, T_, W, H);
  return C;
}

}  // namespace

// The page picture of one orientation, both centred on the same place of the group.
TImage* TvqrPageSettingsForm::OrientationPicture(bool Landscape) {
  const int W = Landscape ? vqrOrientationLong : vqrOrientationShort;
  const int H = Landscape ? vqrOrientationShort : vqrOrientationLong;
  auto* Img = Place<TImage>(OrientationL, this, 30 - W / 2, 37 - H / 2, W, H);
  TBitmap* B = Img->Picture()->Bitmap();
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Color());
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  vqrPaintOrientation(B->Canvas(), 0, 0, Landscape);
  Img->SetVisible(!Landscape);
  return Img;
}

TvqrPageSettingsForm::TvqrPageSettingsForm(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetCaption(u"Page Settings");
  SetClientSize(286, 359);
  SetKeyPreview(true);
  TForm::SetPosition(poScreenCenter);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);
  OKB = Place<TButton>(this, this, 126, 328, 75, 25);
  OKB->SetDefault(true);
  OKB->SetModalResult(mrOk);
  CancelB = Place<TButton>(this, this, 206, 328, 75, 25);
  CancelB->SetCancel(true);
  CancelB->SetModalResult(mrCancel);
  SizeL = Place<TGroupBox>(this, this, 4, 4, 277, 101);
  SizeCB = Place<TComboBox>(SizeL, this, 8, 18, 261, 21);
  SizeCB->SetStyle(csDropDownList);
  SizeCB->SetOnSelect([this](TObject*) { SizeCBClick(); });
  WidthL = Place<TLabel>(SizeL, this, 8, 50, 54, 13);
  HeightL = Place<TLabel>(SizeL, this, 8, 74, 54, 13);
  WidthE = Place<TEdit>(SizeL, this, 64, 46, 45, 21);
  HeightE = Place<TEdit>(SizeL, this, 64, 70, 45, 21);
  WidthE->SetOnChange([this](TObject*) { WidthEChange(); });
  HeightE->SetOnChange([this](TObject*) { WidthEChange(); });
  UnitL[0] = Place<TLabel>(SizeL, this, 114, 50, 30, 13);
  UnitL[1] = Place<TLabel>(SizeL, this, 114, 74, 30, 13);
  OrientationL = Place<TGroupBox>(this, this, 4, 108, 277, 65);
  PortraitRB = Place<TRadioButton>(OrientationL, this, 60, 18, 200, 17);
  LandscapeRB = Place<TRadioButton>(OrientationL, this, 60, 40, 200, 17);
  PortraitImg = OrientationPicture(false);
  LandscapeImg = OrientationPicture(true);
  PortraitRB->SetChecked(true);
  PortraitRB->SetOnClick([this](TObject*) { PortraitRBClick(); });
  LandscapeRB->SetOnClick([this](TObject*) { PortraitRBClick(); });
  MarginsL = Place<TGroupBox>(this, this, 4, 176, 277, 73);
  LeftL = Place<TLabel>(MarginsL, this, 8, 22, 54, 13);
  TopL = Place<TLabel>(MarginsL, this, 8, 46, 54, 13);
  RightL = Place<TLabel>(MarginsL, this, 150, 22, 60, 13);
  BottomL = Place<TLabel>(MarginsL, this, 150, 46, 60, 13);
  MarginLeftE = Place<TEdit>(MarginsL, this, 64, 18, 40, 21);
  MarginTopE = Place<TEdit>(MarginsL, this, 64, 42, 40, 21);
  MarginRightE = Place<TEdit>(MarginsL, this, 212, 18, 40, 21);
  MarginBottomE = Place<TEdit>(MarginsL, this, 212, 42, 40, 21);
  UnitL[2] = Place<TLabel>(MarginsL, this, 108, 22, 30, 13);
  UnitL[3] = Place<TLabel>(MarginsL, this, 108, 46, 30, 13);
  UnitL[4] = Place<TLabel>(MarginsL, this, 256, 22, 20, 13);
  UnitL[5] = Place<TLabel>(MarginsL, this, 256, 46, 20, 13);
  OtherL = Place<TGroupBox>(this, this, 4, 252, 277, 65);
  ApplyToCurRB = Place<TRadioButton>(OtherL, this, 8, 18, 260, 17);
  ApplyToAllRB = Place<TRadioButton>(OtherL, this, 8, 40, 260, 17);
  ApplyToCurRB->SetChecked(true);
  SetOnShow([this](TObject*) { FormShow(); });
  SetOnKeyDown([this](TObject*, Word& Key, TShiftState) {
    if (Key == VK_F1) StringTable()->Help(this);
  });
  SetOnClose([this](TObject*, TCloseAction&) { FormHide(); });
}

bool TvqrPageSettingsForm::NeedRebuild() const { return ApplyToAllRB->Checked(); }

String TvqrPageSettingsForm::ToUnits(Extended Millimetres) const {
  return FormatFloatText(FUnits == duInches ? Millimetres / 25.4L : Millimetres / 10);
}

Extended TvqrPageSettingsForm::ToMillimetres(const String& Text) const {
  const Extended V = ParseFloatText(Text);
  return FUnits == duInches ? V * 25.4L : V * 10;
}

void TvqrPageSettingsForm::FormShow() {
  FUpdating = true;
  auto* Res = StringTable();
  SetCaption(Res->Get(u"400"));
  WidthL->SetCaption(Res->Get(u"401"));
  HeightL->SetCaption(Res->Get(u"402"));
  SizeL->SetCaption(Res->Get(u"403"));
  OrientationL->SetCaption(Res->Get(u"404"));
  LeftL->SetCaption(Res->Get(u"405"));
  TopL->SetCaption(Res->Get(u"406"));
  RightL->SetCaption(Res->Get(u"407"));
  BottomL->SetCaption(Res->Get(u"408"));
  MarginsL->SetCaption(Res->Get(u"409"));
  PortraitRB->SetCaption(Res->Get(u"410"));
  LandscapeRB->SetCaption(Res->Get(u"411"));
  OKB->SetCaption(Res->Get(u"1"));
  CancelB->SetCaption(Res->Get(u"2"));
  OtherL->SetCaption(Res->Get(u"412"));
  ApplyToCurRB->SetCaption(Res->Get(u"413"));
  ApplyToAllRB->SetCaption(Res->Get(u"414"));
  FUnits = duCM;
  if (Report) {
    std::unique_ptr<TCustomIniFile> Ini(Report->GetIniFile());
    const int U = Ini ? Ini->ReadInteger(u"Form.TvqrDesignerForm", u"Units", 0) : 0;
    if (U >= 0 && U <= 3) FUnits = static_cast<TvqrDesignerUnits>(U);
  }
  for (TLabel* L : UnitL) L->SetCaption(Res->Get(FUnits == duInches ? u"uInch" : u"uCm"));
  TvqrCustomPrinter* Printer = PrinterList()->Printer();
  SizeCB->Items()->Clear();
  if (Printer) SizeCB->Items()->Assign(Printer->Papers());
  if (Page) {
    const int Index = Printer ? Printer->PaperIndex(Page->PaperSize()) : -1;
    SizeCB->SetItemIndex(Index >= 0 ? Index : 0);
    WidthE->SetText(ToUnits(Page->PaperWidth()));
    HeightE->SetText(ToUnits(Page->PaperHeight()));
    MarginLeftE->SetText(ToUnits(Page->LeftMargin()));
    MarginTopE->SetText(ToUnits(Page->TopMargin()));
    MarginRightE->SetText(ToUnits(Page->RightMargin()));
    MarginBottomE->SetText(ToUnits(Page->BottomMargin()));
    PortraitRB->SetChecked(Page->Orientation() == poPortrait);
    LandscapeRB->SetChecked(Page->Orientation() == poLandscape);
  }
  PortraitRBClick();
  FUpdating = false;
}

void TvqrPageSettingsForm::PortraitRBClick() {
  PortraitImg->SetVisible(PortraitRB->Checked());
  LandscapeImg->SetVisible(LandscapeRB->Checked());
  SizeCBClick();
}

void TvqrPageSettingsForm::SizeCBClick() {
  if (FUpdating && Visible()) return;
  TvqrCustomPrinter* Printer = PrinterList()->Printer();
  if (!Printer) return;
  const bool Was = FUpdating;
  FUpdating = true;
  struct TReset {
    bool& Flag;
    bool Value;
    ~TReset() { Flag = Value; }
  } Reset{FUpdating, Was};
  const int Code = Printer->PaperNameToNumber(SizeCB->Text());
  const Extended W = ToMillimetres(WidthE->Text()), H = ToMillimetres(HeightE->Text());
  const TPrinterOrientation O = LandscapeRB->Checked() ? poLandscape : poPortrait;
  if (Code == vqrCustomPaperCode) Printer->SetViewParams(Code, H, W, O);
  else Printer->SetViewParams(Code, W, H, O);
  WidthE->SetText(ToUnits(Printer->PaperWidth()));
  HeightE->SetText(ToUnits(Printer->PaperHeight()));
}

void TvqrPageSettingsForm::WidthEChange() {
  if (FUpdating) return;
  SizeCB->SetItemIndex(0);
}

void TvqrPageSettingsForm::FormHide() {
  if (ModalResult() != mrOk || !Page) return;
  TvqrCustomPrinter* Printer = PrinterList()->Printer();
  Page->SetOrientation(LandscapeRB->Checked() ? poLandscape : poPortrait);
  Page->SetPaperWidth(ToMillimetres(WidthE->Text()));
  Page->SetPaperHeight(ToMillimetres(HeightE->Text()));
  Page->SetPaperSize(Printer ? Printer->PaperNameToNumber(SizeCB->Text()) : vqrCustomPaperCode);
  Page->SetLeftMargin(ToMillimetres(MarginLeftE->Text()));
  Page->SetTopMargin(ToMillimetres(MarginTopE->Text()));
  Page->SetRightMargin(ToMillimetres(MarginRightE->Text()));
  Page->SetBottomMargin(ToMillimetres(MarginBottomE->Text()));
  Page->AlignChildren();
}
