// vqrExportXLSDialog.h - TvqrXLSExportDialog: the spreadsheet export's options (page range,
// continuous sheet, pictures, merging, WYSIWYG, as text, background, fast export, page
// breaks, opening the file afterwards) and its save dialog.
#pragma once

#include "platform/controls/Forms.h"

class TButton;
class TCheckBox;
class TEdit;
class TGroupBox;
class TLabel;
class TRadioButton;
class TSaveDialog;

class TvqrXLSExportDialog : public TForm {
  VORENTA_CLASS(TvqrXLSExportDialog, TForm)
public:
  explicit TvqrXLSExportDialog(TComponent* AOwner);

  TButton* OkB = nullptr;
  TButton* CancelB = nullptr;
  TGroupBox* GroupPageRange = nullptr;
  TRadioButton* AllRB = nullptr;
  TRadioButton* CurPageRB = nullptr;
  TRadioButton* PageNumbersRB = nullptr;
  TEdit* PageNumbersE = nullptr;
  TLabel* DescrL = nullptr;
  TGroupBox* GroupQuality = nullptr;
  TCheckBox* ContinuousCB = nullptr;
  TCheckBox* PicturesCB = nullptr;
  TCheckBox* MergeCB = nullptr;
  TCheckBox* WysiwygCB = nullptr;
  TCheckBox* AsTextCB = nullptr;
  TCheckBox* BackgrCB = nullptr;
  TCheckBox* FastExpCB = nullptr;
  TCheckBox* PageBreaksCB = nullptr;
  TCheckBox* OpenExcelCB = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;
};
