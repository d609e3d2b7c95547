// ABOUT.h - TAboutBox, "О программе": the program's banner and name, and "OK".
#pragma once

#include "platform/controls/Forms.h"

class TButton;
class TImage;
class TLabel;

class TAboutBox : public TForm {
  VORENTA_CLASS(TAboutBox, TForm)
public:
  explicit TAboutBox(TComponent* AOwner);
  ~TAboutBox() override;

  TImage* ProgramIcon = nullptr;
  TLabel* ProductName = nullptr;
  TButton* OKButton = nullptr;
};

extern TAboutBox* AboutBox;

// The program's banner picture (our own PNG among the resources) into Image.
void LoadBanner(TImage* Image);
