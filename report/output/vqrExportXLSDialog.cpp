// vqrExportXLSDialog.cpp - the spreadsheet export's dialog and ShowModal.
#include "report/output/vqrExportXLSDialog.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrRes.h"
#include "report/output/vqrExportXLS.h"

REGISTER_CLASS(TvqrXLSExportDialog) {}

namespace {
template <class T>
T* Make(TComponent* Owner, TWinControl* Parent, int L, int T0, int W, int H,
        const String& Caption) {
  auto* C = new T(Owner);
  C->SetParent(Parent);
  C->SetBounds(L, T0, W, H);
  if (!Caption.empty()) C->SetCaption(Caption);
  return C;
}
}  // namespace

TvqrXLSExportDialog::TvqrXLSExportDialog(TComponent* AOwner) : TForm(AOwner) {
  auto Id = [](int N) { return StringById(N); };
  SetBorderStyle(bsDialog);
  SetCaption(Id(8000));
  SetClientSize(321, 420);
  SetKeyPreview(true);
  TForm::SetPosition(poScreenCenter);
  Font()->SetName(u"Tahoma");
  Font()->SetHeight(-11);

  GroupPageRange = Make<TGroupBox>(this, this, 4, 4, 313, 125, Id(7));
  AllRB = Make<TRadioButton>(this, GroupPageRange, 12, 20, 293, 17, Id(3));
  AllRB->SetChecked(true);
  CurPageRB = Make<TRadioButton>(this, GroupPageRange, 12, 40, 293, 17, Id(4));
  PageNumbersRB = Make<TRadioButton>(this, GroupPageRange, 12, 60, 77, 17, Id(5));
  PageNumbersE = Make<TEdit>(this, GroupPageRange, 92, 58, 213, 21, String());
  DescrL = Make<TLabel>(this, GroupPageRange, 12, 84, 293, 32, Id(9));
  DescrL->SetAutoSize(false);
  DescrL->SetWordWrap(true);

  GroupQuality = Make<TGroupBox>(this, this, 4, 132, 313, 193, Id(8));
  struct {
    TCheckBox*& Box;
    int Id, Left, Top;
  } Boxes[] = {{ContinuousCB, 8950, 12, 20},  {PicturesCB, 8002, 12, 40},
               {MergeCB, 8003, 12, 60},       {WysiwygCB, 8005, 12, 80},
               {AsTextCB, 8006, 12, 100},     {BackgrCB, 8007, 12, 120},
               {FastExpCB, 8004, 12, 140},    {PageBreaksCB, 6, 12, 160}};
  for (auto& B : Boxes)
    B.Box = Make<TCheckBox>(this, GroupQuality, B.Left, B.Top, 293, 17, Id(B.Id));
  OpenExcelCB = Make<TCheckBox>(this, this, 12, 334, 301, 17, Id(8008));

  OkB = Make<TButton>(this, this, 156, 388, 75, 25, Id(1));
  OkB->SetDefault(true);
  OkB->SetModalResult(mrOk);
  CancelB = Make<TButton>(this, this, 238, 388, 75, 25, Id(2));
  CancelB->SetCancel(true);
  CancelB->SetModalResult(mrCancel);

  SaveDialog1 = new TSaveDialog(this);
  SaveDialog1->SetOptions({ofHideReadOnly, ofNoChangeDir, ofEnableSizing});
  SaveDialog1->SetFilter(Id(8009));
  SaveDialog1->SetDefaultExt(Id(8010));

  PageNumbersE->SetOnChange([this](TObject*) { PageNumbersRB->SetChecked(true); });
  PageNumbersE->SetOnKeyPress([](TObject*, Char& Key) {
    const bool Allowed = (Key >= u'0' && Key <= u'9') || Key == u',' || Key == u'-' || Key == 8;
    if (!Allowed) Key = 0;
  });
  SetOnKeyDown([this](TObject*, Word& Key, TShiftState) {
    if (Key == VK_F1) StringTable()->Help(this);
  });
}

int TvqrXLSExport::ShowModal() {
  TvqrXLSExportDialog D(nullptr);
  D.OpenExcelCB->SetVisible(!SlaveExport);
  if (OverwritePrompt()) {
    TOpenOptions O = D.SaveDialog1->Options();
    O.Include(ofOverwritePrompt);
    D.SaveDialog1->SetOptions(O);
  }
  if (SlaveExport) FOpenExcelAfterExport = false;
  if (!FileName().empty() || SlaveExport)
    D.SaveDialog1->SetFileName(FileName());
  else if (Report)
    D.SaveDialog1->SetFileName(
        ChangeFileExt(ExtractFileName(Report->FileName()), D.SaveDialog1->DefaultExt()));

  D.ContinuousCB->SetChecked(!FEmptyLines || SuppressPageHeadersFooters);
  D.PicturesCB->SetChecked(FExportPictures);
  D.MergeCB->SetChecked(FMergeCells);
  D.WysiwygCB->SetChecked(FWysiwyg);
  D.OpenExcelCB->SetChecked(FOpenExcelAfterExport);
  D.AsTextCB->SetChecked(FAsText);
  D.BackgrCB->SetChecked(FBackground);
  D.FastExpCB->SetChecked(FFastExport);
  D.PageBreaksCB->SetChecked(FpageBreaks);
  if (!PageNumbers.empty()) {
    D.PageNumbersE->SetText(PageNumbers);
    D.PageNumbersRB->SetChecked(true);
  }

  int Result = D.ShowModal();
  if (Result != mrOk) return Result;
  PageNumbers.clear();
  CurPage = false;
  if (D.CurPageRB->Checked())
    CurPage = true;
  else if (D.PageNumbersRB->Checked())
    PageNumbers = D.PageNumbersE->Text();
  FMergeCells = D.MergeCB->Checked();
  FpageBreaks = D.PageBreaksCB->Checked();
  FExportPictures = D.PicturesCB->Checked();
  FWysiwyg = D.WysiwygCB->Checked();
  FOpenExcelAfterExport = D.OpenExcelCB->Checked();
  FAsText = D.AsTextCB->Checked();
  FBackground = D.BackgrCB->Checked();
  FFastExport = D.FastExpCB->Checked();
  FEmptyLines = !D.ContinuousCB->Checked();
  SuppressPageHeadersFooters = D.ContinuousCB->Checked();
  if (!SlaveExport) {
    if (!DefaultPath().empty()) D.SaveDialog1->SetInitialDir(DefaultPath());
    if (D.SaveDialog1->Execute())
      SetFileName(D.SaveDialog1->FileName());
    else
      Result = mrCancel;
  }
  return Result;
}
