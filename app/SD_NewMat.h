// SD_NewMat.h - TSDNewMat, "Новый Материал": a name and a material type; "Ok" closes it.
#pragma once

#include "platform/controls/Forms.h"

class TButton;
class TEdit;

class TSDNewMat : public TForm {
  VORENTA_CLASS(TSDNewMat, TForm)
public:
  explicit TSDNewMat(TComponent* AOwner);
  ~TSDNewMat() override;

  TEdit* EditName = nullptr;
  TButton* BtnOk = nullptr;
};

extern TSDNewMat* SDNewMat;
