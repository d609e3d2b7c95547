// vqrExportPDFDialogForm.cpp - the PDF export's options dialog, laid out in code.
#include "report/output/vqrExportPDFDialogForm.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrRes.h"
#include "report/output/vqrExportPDF.h"

REGISTER_CLASS(TvqrPDFExportDialog) {}

namespace {

String Res(int Id) { return StringById(Id); }

template <class T>
T* Place(TWinControl* Parent, const String& Caption, int Left, int Top, int Width, int Height = 17) {
  auto* C = new T(Parent->Owner() ? Parent->Owner() : Parent);
  C->SetParent(Parent);
  C->SetBounds(Left, Top, Width, Height);
  if (!Caption.empty()) C->SetCaption(Caption);
  return C;
}

TTabSheet* Sheet(TPageControl* Pages, int Id) {
  auto* S = new TTabSheet(Pages->Owner());
  S->SetCaption(Res(Id));
  S->SetPageControl(Pages);
  return S;
}

TEdit* LabelledEdit(TWinControl* Parent, int LabelId, int Top) {
  Place<TLabel>(Parent, Res(LabelId), 12, Top + 3, 132);
  return Place<TEdit>(Parent, String(), 148, Top, 182, 21);
}

}  // namespace

TvqrPDFExportDialog::TvqrPDFExportDialog(TvqrPDFExport* Filter)
    : TForm(nullptr), FFilter(Filter) {
  SetCaption(Res(8700));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(362);
  SetClientHeight(330);
  Pages = new TPageControl(this);
  Pages->SetParent(this);
  Pages->SetBounds(4, 4, 354, 284);

  TTabSheet* Export = Sheet(Pages, 107);
  OpenCB = Place<TCheckBox>(Export, Res(8706), 12, 8, 320);
  auto* Settings = Place<TGroupBox>(Export, Res(8), 8, 30, 330, 90);
  CompressedCB = Place<TCheckBox>(Settings, Res(8701), 10, 18, 150);
  EmbeddedCB = Place<TCheckBox>(Settings, Res(8702), 10, 40, 150);
  PrintOptCB = Place<TCheckBox>(Settings, Res(8703), 10, 62, 150);
  OutlineCB = Place<TCheckBox>(Settings, Res(8704), 170, 18, 150);
  BackgrCB = Place<TCheckBox>(Settings, Res(8705), 170, 40, 150);
  auto* Range = Place<TGroupBox>(Export, Res(7), 8, 126, 330, 120);
  AllRB = Place<TRadioButton>(Range, Res(3), 10, 18, 150);
  CurPageRB = Place<TRadioButton>(Range, Res(4), 10, 40, 150);
  PageNumbersRB = Place<TRadioButton>(Range, Res(5), 10, 62, 80);
  PageNumbersE = Place<TEdit>(Range, String(), 92, 60, 228, 21);
  auto* Hint = Place<TLabel>(Range, Res(9), 10, 86, 310, 28);
  Hint->SetAutoSize(false);
  Hint->SetWordWrap(true);
  Hint->SetBounds(10, 86, 310, 28);

  TTabSheet* Info = Sheet(Pages, 8972);
  auto* InfoGroup = Place<TGroupBox>(Info, Res(8971), 8, 8, 340, 180);
  TitleE = LabelledEdit(InfoGroup, 8973, 18);
  AuthorE = LabelledEdit(InfoGroup, 8974, 44);
  SubjectE = LabelledEdit(InfoGroup, 8975, 70);
  KeywordsE = LabelledEdit(InfoGroup, 8976, 96);
  CreatorE = LabelledEdit(InfoGroup, 8977, 122);
  ProducerE = LabelledEdit(InfoGroup, 8978, 148);

  TTabSheet* Security = Sheet(Pages, 8962);
  auto* Auth = Place<TGroupBox>(Security, Res(8979), 8, 8, 340, 76);
  OwnerPassE = LabelledEdit(Auth, 8964, 18);
  UserPassE = LabelledEdit(Auth, 8965, 44);
  OwnerPassE->SetPasswordChar(u'*');
  UserPassE->SetPasswordChar(u'*');
  auto* Rights = Place<TGroupBox>(Security, Res(8980), 8, 90, 340, 110);
  PrintCB = Place<TCheckBox>(Rights, Res(8966), 10, 18, 300);
  ModifyCB = Place<TCheckBox>(Rights, Res(8967), 10, 40, 300);
  CopyCB = Place<TCheckBox>(Rights, Res(8968), 10, 62, 300);
  AnnotCB = Place<TCheckBox>(Rights, Res(8969), 10, 84, 300);

  TTabSheet* Viewer = Sheet(Pages, 8981);
  auto* View = Place<TGroupBox>(Viewer, Res(8982), 8, 8, 340, 150);
  HideToolbarCB = Place<TCheckBox>(View, Res(8983), 10, 18, 300);
  HideMenubarCB = Place<TCheckBox>(View, Res(8984), 10, 40, 300);
  HideWindowUICB = Place<TCheckBox>(View, Res(8985), 10, 62, 300);
  FitWindowCB = Place<TCheckBox>(View, Res(8986), 10, 84, 300);
  CenterWindowCB = Place<TCheckBox>(View, Res(8987), 10, 106, 300);
  PrintScalingCB = Place<TCheckBox>(View, Res(8988), 10, 128, 300);

  auto* Ok = Place<TButton>(this, Res(1), 196, 296, 75, 25);
  Ok->SetModalResult(mrOk);
  Ok->SetDefault(true);
  auto* Cancel = Place<TButton>(this, Res(2), 280, 296, 75, 25);
  Cancel->SetModalResult(mrCancel);
  Cancel->SetCancel(true);

  // Typing page numbers chooses them; only digits, "," and "-" are taken.
  PageNumbersE->SetOnChange([this](TObject*) { PageNumbersRB->SetChecked(true); });
  PageNumbersE->SetOnKeyPress([](TObject*, Char& Key) {
    if (!((Key >= u'0' && Key <= u'9') || Key == u',' || Key == u'-' || Key == u'\b')) Key = 0;
  });

  // The filter's values.
  if (Filter->SlaveExport) {
    OpenCB->SetVisible(false);
    Filter->SetOpenAfterExport(false);
  }
  OpenCB->SetChecked(Filter->OpenAfterExport());
  CompressedCB->SetChecked(Filter->Compressed());
  EmbeddedCB->SetChecked(Filter->EmbeddedFonts());
  PrintOptCB->SetChecked(Filter->PrintOptimized());
  OutlineCB->SetChecked(Filter->Outline());
  OutlineCB->SetEnabled(Filter->Outline());
  BackgrCB->SetChecked(Filter->Background());
  AllRB->SetChecked(true);
  if (!Filter->PageNumbers.empty()) {
    PageNumbersE->SetText(Filter->PageNumbers);
    PageNumbersRB->SetChecked(true);
  }
  OwnerPassE->SetText(Filter->OwnerPassword());
  UserPassE->SetText(Filter->UserPassword());
  const TvqrPDFEncBits Flags = Filter->ProtectionFlags();
  PrintCB->SetChecked(Flags.Contains(ePrint));
  ModifyCB->SetChecked(Flags.Contains(eModify));
  CopyCB->SetChecked(Flags.Contains(eCopy));
  AnnotCB->SetChecked(Flags.Contains(eAnnot));
  TitleE->SetText(Filter->Title());
  AuthorE->SetText(Filter->Author());
  SubjectE->SetText(Filter->Subject());
  KeywordsE->SetText(Filter->Keywords());
  CreatorE->SetText(Filter->Creator());
  ProducerE->SetText(Filter->Producer());
  HideToolbarCB->SetChecked(Filter->HideToolbar());
  HideMenubarCB->SetChecked(Filter->HideMenubar());
  HideWindowUICB->SetChecked(Filter->HideWindowUI());
  FitWindowCB->SetChecked(Filter->FitWindow());
  CenterWindowCB->SetChecked(Filter->CenterWindow());
  PrintScalingCB->SetChecked(Filter->PrintScaling());
}

void TvqrPDFExportDialog::Apply() {
  TvqrPDFExport* F = FFilter;
  F->SetOpenAfterExport(OpenCB->Checked());
  F->SetCompressed(CompressedCB->Checked());
  F->SetEmbeddedFonts(EmbeddedCB->Checked());
  F->SetPrintOptimized(PrintOptCB->Checked());
  F->SetOutline(OutlineCB->Checked());
  F->SetBackground(BackgrCB->Checked());
  F->SetOwnerPassword(OwnerPassE->Text());
  F->SetUserPassword(UserPassE->Text());
  TvqrPDFEncBits Flags;
  if (PrintCB->Checked()) Flags.Include(ePrint);
  if (ModifyCB->Checked()) Flags.Include(eModify);
  if (CopyCB->Checked()) Flags.Include(eCopy);
  if (AnnotCB->Checked()) Flags.Include(eAnnot);
  F->SetProtectionFlags(Flags);
  F->PageNumbers.clear();
  F->CurPage = false;
  if (CurPageRB->Checked()) F->CurPage = true;
  else if (PageNumbersRB->Checked()) F->PageNumbers = PageNumbersE->Text();
  F->SetTitle(TitleE->Text());
  F->SetAuthor(AuthorE->Text());
  F->SetSubject(SubjectE->Text());
  F->SetKeywords(KeywordsE->Text());
  F->SetCreator(CreatorE->Text());
  F->SetProducer(ProducerE->Text());
  F->SetHideToolbar(HideToolbarCB->Checked());
  F->SetHideMenubar(HideMenubarCB->Checked());
  F->SetHideWindowUI(HideWindowUICB->Checked());
  F->SetFitWindow(FitWindowCB->Checked());
  F->SetCenterWindow(CenterWindowCB->Checked());
  F->SetPrintScaling(PrintScalingCB->Checked());
}

int ShowPdfOptionsDialog(TvqrPDFExport* Filter) {
  TvqrPDFExportDialog Dialog(Filter);
  const int Result = Dialog.ShowModal();
  if (Result == mrOk) Dialog.Apply();
  return Result;
}
