// DBCtrls.h - TDBNavigator: the buttons that move a data source's dataset to its first, prior,
// next and last record.
//
// The buttons follow the dataset: all are disabled while it is closed; first and prior are
// disabled on the first record, next and last on the last one. A click moves the dataset, then
// OnClick tells which button it was.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "platform/controls/Buttons.h"
#include "platform/controls/ExtCtrls.h"

class TDataSource;
class TNavDataLink;

VORENTA_ENUM(TNavigateBtn, nbFirst, nbPrior, nbNext, nbLast);
VORENTA_SET(TNavButtonSet, TNavigateBtn);

using TNavClick = std::function<void(TObject* Sender, TNavigateBtn Button)>;

class TDBNavigator : public TCustomPanel {
  VORENTA_CLASS(TDBNavigator, TCustomPanel)
public:
  explicit TDBNavigator(TComponent* AOwner);
  ~TDBNavigator() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // Moves the dataset as the button does (nothing while it is closed), then fires OnClick.
  void BtnClick(TNavigateBtn Index);
  TSpeedButton* Buttons(TNavigateBtn Index) const { return FButtons[Index]; }
  const TNavClick& OnClick() const { return FOnNavClick; }
  void SetOnClick(TNavClick Value) { FOnNavClick = std::move(Value); }

  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Enables the buttons for the dataset's state and position (the data link calls it).
  void UpdateButtons();

protected:
  void Resize() override;
  void Loaded() override;

private:
  void LayoutButtons();
  std::array<TSpeedButton*, 4> FButtons{};
  std::unique_ptr<TNavDataLink> FDataLink;
  bool FFlat = false;
  TNavClick FOnNavClick;
};

void RegisterDBCtrlsClasses();
