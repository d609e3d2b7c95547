// vqrPrintDialog.h - TvqrPrintDialog: the print dialog of a report. It picks the printer (and
// opens its properties), print to file, all pages, the current page or a page list, copies and
// collation, odd or even pages, order, duplex and a sheet mode with its paper, and writes the
// choices into the report's print options; the duplex choice is read back by the caller.
#pragma once

#include <memory>

#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/ImageList.h"
#include "report/core/vqrClassReport.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TPaintBox;
class TRadioButton;
class TSaveDialog;
class TUpDown;

class TvqrPrintDialog : public TForm {
  VORENTA_CLASS(TvqrPrintDialog, TForm)
public:
  explicit TvqrPrintDialog(TComponent* AOwner);

  TvqrReport* AReport = nullptr;
  TvqrDuplexMode ADuplexMode = dmNone;
  int OldIndex = -1;

  void PrintersCBClick();
  void PrintModeCBClick();
  void PropButtonClick();
  // The owner-drawn rows: the printer picture and name; the print mode's picture and text.
  void PrintersCBDrawItem(int Index, const TRect& R, TOwnerDrawState State);
  void PrintModeCBDrawItem(int Index, const TRect& R, TOwnerDrawState State);
  // The collation picture of the copies.
  void CopiesPBPaint();

  TGroupBox *Label12 = nullptr, *Label1 = nullptr, *Label2 = nullptr, *ScaleGB = nullptr,
            *OtherGB = nullptr;
  TLabel *NameL = nullptr, *WhereL = nullptr, *WhereL1 = nullptr, *DescrL = nullptr,
         *CopiesL = nullptr, *PagSizeL = nullptr, *PrintL = nullptr, *OrderL = nullptr,
         *DuplexL = nullptr;
  TComboBox *PrintersCB = nullptr, *PrintModeCB = nullptr, *PagPageSizeCB = nullptr,
            *PrintPagesCB = nullptr, *OrderCB = nullptr, *DuplexCB = nullptr;
  TButton *PropButton = nullptr, *OkB = nullptr, *CancelB = nullptr;
  TCheckBox *FileCB = nullptr, *CollateCB = nullptr;
  TRadioButton *AllRB = nullptr, *CurPageRB = nullptr, *PageNumbersRB = nullptr;
  TEdit *PageNumbersE = nullptr, *CopiesE = nullptr;
  TUpDown* UpDown1 = nullptr;
  TPaintBox* CopiesPB = nullptr;
  TSaveDialog* FileDlg = nullptr;
  std::unique_ptr<TImageList> PrintModeIL;

private:
  void FormShow();
  void FormHide();
  void SelectPaper(int Code);
};

// Shows the print dialog for a report; true on OK with Duplex read back (the print run's hook).
bool vqrShowPrintDialog(TvqrReport* Report, TvqrDuplexMode& Duplex);
