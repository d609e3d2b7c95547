// vqrExportPDFDialogForm.h - TvqrPDFExportDialog, the PDF export's options dialog: export
// settings and page range, document information, security and viewer preferences on four tabs.
#pragma once

#include "platform/controls/Forms.h"

class TvqrPDFExport;
class TPageControl;
class TCheckBox;
class TEdit;
class TRadioButton;

class TvqrPDFExportDialog : public TForm {
  VORENTA_CLASS(TvqrPDFExportDialog, TForm)
public:
  // The controls, built in code and filled from Filter's properties.
  explicit TvqrPDFExportDialog(TvqrPDFExport* Filter);
  // Writes the controls back into the filter (after OK).
  void Apply();

  TPageControl* Pages = nullptr;
  TCheckBox *OpenCB = nullptr, *CompressedCB = nullptr, *EmbeddedCB = nullptr;
  TCheckBox *PrintOptCB = nullptr, *OutlineCB = nullptr, *BackgrCB = nullptr;
  TRadioButton *AllRB = nullptr, *CurPageRB = nullptr, *PageNumbersRB = nullptr;
  TEdit* PageNumbersE = nullptr;
  TEdit *OwnerPassE = nullptr, *UserPassE = nullptr;
  TCheckBox *PrintCB = nullptr, *ModifyCB = nullptr, *CopyCB = nullptr, *AnnotCB = nullptr;
  TEdit *TitleE = nullptr, *AuthorE = nullptr, *SubjectE = nullptr, *KeywordsE = nullptr;
  TEdit *CreatorE = nullptr, *ProducerE = nullptr;
  TCheckBox *HideToolbarCB = nullptr, *HideMenubarCB = nullptr, *HideWindowUICB = nullptr;
  TCheckBox *FitWindowCB = nullptr, *CenterWindowCB = nullptr, *PrintScalingCB = nullptr;

private:
  TvqrPDFExport* FFilter;
};

// Shows the options dialog over Filter's properties; on OK writes them back. The modal result.
int ShowPdfOptionsDialog(TvqrPDFExport* Filter);
