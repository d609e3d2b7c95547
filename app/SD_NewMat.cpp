// SD_NewMat.cpp - the new-material dialog's form.
#include "app/SD_NewMat.h"

#include "app/AppForms.h"
#include "platform/controls/StdCtrls.h"

TSDNewMat* SDNewMat = nullptr;

REGISTER_CLASS(TSDNewMat) {}

TSDNewMat::TSDNewMat(TComponent* AOwner) : TForm(AOwner) {
  SDNewMat = this;
  ReadAppForm(this, "forms/SD_NewMat.dfm");
  VORENTA_FORM_FIND(this, EditName);
  VORENTA_FORM_FIND(this, BtnOk);
}

TSDNewMat::~TSDNewMat() {
  if (SDNewMat == this) SDNewMat = nullptr;
}
