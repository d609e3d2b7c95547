// ABOUT.cpp - the about box and the banner picture it shares with the main window.
#include "app/ABOUT.h"

#include "app/AppForms.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/Resources.h"

TAboutBox* AboutBox = nullptr;

REGISTER_CLASS(TAboutBox) {}

void LoadBanner(TImage* Image) { Image->Picture()->LoadFromBytes(LoadResource("images/banner.png")); }

TAboutBox::TAboutBox(TComponent* AOwner) : TForm(AOwner) {
  AboutBox = this;
  ReadAppForm(this, "forms/ABOUT.dfm");
  VORENTA_FORM_FIND(this, ProgramIcon);
  VORENTA_FORM_FIND(this, ProductName);
  VORENTA_FORM_FIND(this, OKButton);
  LoadBanner(ProgramIcon);
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
}
