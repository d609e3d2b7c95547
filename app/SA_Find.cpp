// SA_Find.cpp - the search navigator's form and handlers.
#include "app/SA_Find.h"

#include "app/AppForms.h"
#include "app/DM_MAIN.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

TSAFind* SAFind = nullptr;

REGISTER_CLASS(TSAFind) {}

TSAFind::TSAFind(TComponent* AOwner) : TForm(AOwner) {
  SAFind = this;
  ReadAppForm(this, "forms/SA_Find.dfm");
  VORENTA_FORM_FIND(this, StaticTextSearch);
  VORENTA_FORM_FIND(this, StaticTextCount);
  VORENTA_FORM_FIND(this, BtnNext);
  VORENTA_FORM_FIND(this, BtnDone);
  SetOnActivate([this](TObject*) { FormActivate(); });
  BtnNext->SetOnClick([](TObject*) { DM->NextFoundColour(); });
  BtnDone->SetOnClick([this](TObject*) { Close(); });
  for (TButton* Button : {BtnNext, BtnDone}) OnEscape(Button, [this] { Close(); });
}

TSAFind::~TSAFind() {
  if (SAFind == this) SAFind = nullptr;
}

void TSAFind::FormActivate() {
  const int Hits = DM->ColorFind->Active() ? DM->ColorFind->RecordCount() : 0;
  StaticTextCount->SetCaption(u"Найдено: " + IntToStr(Hits) + u" записей");
  BtnNext->SetFocus();
}
