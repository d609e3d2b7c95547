// DBCtrls.cpp - TDBNavigator and its data link.
#include "platform/dbctrls/DBCtrls.h"

#include <vector>

#include "platform/classes/TypeRegistry.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"

REGISTER_CLASS(TDBNavigator) {
  Class.Property("DataSource", &TDBNavigator::DataSource, &TDBNavigator::SetDataSource)
      .Property("Flat", &TDBNavigator::Flat, &TDBNavigator::SetFlat, false);
}

void RegisterDBCtrlsClasses() { RegisterClasses({TDBNavigator::ClassInfo()}); }

// Tells the navigator of every change of the dataset's state and position.
class TNavDataLink : public TDataLink {
public:
  explicit TNavDataLink(TDBNavigator* Navigator) : FNavigator(Navigator) {}

protected:
  void ActiveChanged() override { FNavigator->UpdateButtons(); }
  void DataSetChanged() override { FNavigator->UpdateButtons(); }
  void EditingChanged() override { FNavigator->UpdateButtons(); }

private:
  TDBNavigator* FNavigator;
};

namespace {

// The buttons' faces: arrows of the interface font, with a bar for first and last.
const char16_t* const kFaces[] = {u"|◀", u"◀", u"▶", u"▶|"};

}  // namespace

TDBNavigator::TDBNavigator(TComponent* AOwner)
    : TCustomPanel(AOwner), FDataLink(std::make_unique<TNavDataLink>(this)) {
  SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption});
  SetBevelOuter(bvNone);
  SetCaption(String());
  for (int I = nbFirst; I <= nbLast; ++I) {
    const auto Index = TNavigateBtn(I);
    auto* Button = new TSpeedButton(this);
    Button->SetParent(this);
    Button->SetCaption(kFaces[I]);
    Button->SetOnClick([this, Index](TObject*) { BtnClick(Index); });
    FButtons[I] = Button;
  }
  SetBounds(0, 0, 100, 25);
  LayoutButtons();
  UpdateButtons();
}

TDBNavigator::~TDBNavigator() { FDataLink->SetDataSource(nullptr); }

TDataSource* TDBNavigator::DataSource() const { return FDataLink->DataSource(); }

void TDBNavigator::SetDataSource(TDataSource* Value) {
  FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
  UpdateButtons();
}

void TDBNavigator::SetFlat(bool Value) {
  FFlat = Value;
  for (TSpeedButton* Button : FButtons) Button->SetFlat(Value);
}

void TDBNavigator::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPanel::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink && AComponent == DataSource())
    FDataLink->SetDataSource(nullptr);
}

void TDBNavigator::BtnClick(TNavigateBtn Index) {
  TDataSet* DataSet = FDataLink->DataSet();
  if (DataSet && DataSet->Active()) {
    switch (Index) {
      case nbFirst: DataSet->First(); break;
      case nbPrior: DataSet->Prior(); break;
      case nbNext: DataSet->Next(); break;
      case nbLast: DataSet->Last(); break;
    }
  }
  if (FOnNavClick) FOnNavClick(this, Index);
}

void TDBNavigator::UpdateButtons() {
  TDataSet* DataSet = FDataLink ? FDataLink->DataSet() : nullptr;
  const bool Active = DataSet && DataSet->Active() && FDataLink->Active();
  const bool Up = Active && !DataSet->Bof();
  const bool Down = Active && !DataSet->Eof();
  if (!FButtons[0]) return;
  FButtons[nbFirst]->SetEnabled(Up);
  FButtons[nbPrior]->SetEnabled(Up);
  FButtons[nbNext]->SetEnabled(Down);
  FButtons[nbLast]->SetEnabled(Down);
}

void TDBNavigator::Resize() {
  TCustomPanel::Resize();
  LayoutButtons();
}

void TDBNavigator::Loaded() {
  TCustomPanel::Loaded();
  LayoutButtons();
}

// The buttons share the width; the first ones take the pixels left over.
void TDBNavigator::LayoutButtons() {
  if (!FButtons[0]) return;
  const int Count = int(FButtons.size());
  const int W = Width() / Count, Extra = Width() % Count;
  int X = 0;
  for (int I = 0; I < Count; ++I) {
    const int BW = W + (I < Extra ? 1 : 0);
    FButtons[I]->SetBounds(X, 0, BW, Height());
    X += BW;
  }
}
