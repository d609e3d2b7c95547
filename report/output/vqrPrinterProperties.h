// vqrPrinterProperties.h - the properties dialog of a print queue: its paper sources and its
// sides (one-sided, long edge, short edge), chosen for the next document. Shown by the printer's
// PropertiesDlg through the hook the output module's start installs.
#pragma once

#include <vector>

#include "platform/controls/Forms.h"

class TButton;
class TComboBox;
class TLabel;
class TvqrPrinter;

class TvqrPrinterPropertiesForm : public TForm {
  VORENTA_CLASS(TvqrPrinterPropertiesForm, TForm)
public:
  // Lists the printer's bins and sides, selecting Bin and Duplex.
  TvqrPrinterPropertiesForm(TComponent* AOwner, TvqrPrinter* Printer, int Bin, int Duplex);
  // The bin code and duplex value chosen.
  int Bin() const;
  int Duplex() const;

  TLabel *SourceL = nullptr, *SidesL = nullptr;
  TComboBox *SourceCB = nullptr, *SidesCB = nullptr;
  TButton *OkB = nullptr, *CancelB = nullptr;

private:
  TvqrPrinter* FPrinter;
  std::vector<int> FSides;
};

// The hook: true on OK with Bin and Duplex set.
bool vqrShowPrinterProperties(TvqrPrinter* Printer, int& Bin, int& Duplex);
