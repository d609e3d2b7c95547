// SA_Find.h - TSAFind, the navigator through the colours a catalogue search found: the count of
// hits, "Перейти далее" to the next hit (round to the first) and "Завершить".
#pragma once

#include "platform/controls/Forms.h"

class TButton;
class TStaticText;

class TSAFind : public TForm {
  VORENTA_CLASS(TSAFind, TForm)
public:
  explicit TSAFind(TComponent* AOwner);
  ~TSAFind() override;

  TStaticText* StaticTextSearch = nullptr;
  TStaticText* StaticTextCount = nullptr;
  TButton* BtnNext = nullptr;
  TButton* BtnDone = nullptr;

private:
  void FormActivate();
};

extern TSAFind* SAFind;
