// CalculatorZk.h - the keypad calculator (a display and 23 flat buttons driven by one key
// machine) and its drop-down form, which the number edit and the grid's number cells open.
//
// The popup never takes the focus: its owner routes keys to it. It closes through its owner:
// dynamic_cast<ICloseUpOwnerZk*>(Owner())->CloseUp(Accept); an owner without that interface
// gets nothing. It offers its value and look through IPopupCalculatorZk.
#pragma once

#include <array>

#include "platform/controls/DropDownWindow.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/rtl/Variants.h"

class TLabel;
class TPanel;
class TSpeedButtonZk;

// What the owner of a drop-down calculator asks of it.
class IPopupCalculatorZk {
public:
  virtual ~IPopupCalculatorZk() = default;
  // "Ok" is on the equal button: no operation is pending.
  virtual bool GetResultReady() = 0;
  virtual bool GetFlat() = 0;
  // A varError variant in the error state, else the display as a double.
  virtual Variant GetValue() = 0;
  virtual void SetFlat(bool Value) = 0;
  // Clears the calculator and shows Value.
  virtual void SetValue(const Variant& Value) = 0;
};

enum TCalcStateZk { csFirstZk, csValidZk, csErrorZk };

class TCalculatorZk : public TCustomControl {
  VORENTA_CLASS(TCalculatorZk, TCustomControl)
public:
  explicit TCalculatorZk(TComponent* AOwner);
  ~TCalculatorZk() override;

  // The layout's size at 96 pixels per inch and a "0" of 13 pixels; the children and this
  // size scale by the height of "0" in the present font.
  static constexpr int DesignClientWidth = 184;
  static constexpr int DesignClientHeight = 127;
  static constexpr int DesignTextHeight = 13;

  TBorderStyle CalcBorderStyle() const { return BorderStyle(); }
  void SetCalcBorderStyle(TBorderStyle Value);
  int DesignWidth() const { return FClientWidth; }
  int DesignHeight() const { return FClientHeight; }
  String DisplayText() const;
  // 0 in the error state.
  Extended DisplayValue() const;
  void SetDisplayValue(Extended Value);
  TCalcStateZk Status() const { return FStatus; }
  Char PendingOperator() const { return FOperator; }
  Extended Operand() const { return FOperand; }
  TLabel* TextBox() const { return FTextBox; }
  TPanel* DisplayPanel() const { return FPanel; }
  // The button that sends Key ('=' for spEqual), or nullptr.
  TSpeedButtonZk* ButtonForKey(Char Key) const;
  TSpeedButtonZk* EqualButton() const { return FEqual; }
  const std::array<TSpeedButtonZk*, 23>& Buttons() const { return FButtons; }

  // The key machine every button, the keyboard and the wheel feed.
  virtual void ProcessKey(Char Key);
  void SpeedButtonClick(TObject* Sender);
  void DoCopy();
  void Paste();
  void Clear();

  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  void KeyPress(Char& Key) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void FontChanged() override;
  // The extra room the window frame takes (the popup adds its own border).
  virtual TSize FrameSize();
  void UpdateEqualButton();

private:
  void BuildLayout();
  void ScaleLayout();
  void StartNumber();
  void SetError();
  void SetDisplayText(const String& Value);

  TPanel* FPanel = nullptr;
  TLabel* FTextBox = nullptr;
  std::array<TSpeedButtonZk*, 23> FButtons{};
  TSpeedButtonZk* FEqual = nullptr;
  int FClientWidth = DesignClientWidth;
  int FClientHeight = DesignClientHeight;
  int FScaledTextHeight = DesignTextHeight;
  Extended FOperand = 0;
  Char FOperator = u'=';
  TCalcStateZk FStatus = csFirstZk;
};

class TPopupCalculatorZk : public TCalculatorZk, public IPopupCalculatorZk {
  VORENTA_CLASS(TPopupCalculatorZk, TCalculatorZk)
public:
  explicit TPopupCalculatorZk(TComponent* AOwner);
  ~TPopupCalculatorZk() override;

  bool CanFocus() const override { return false; }
  bool Flat() const { return FFlat; }
  int PopupBorderWidth() const { return FBorderWidth; }
  TDropDownLink& Link() { return FLink; }
  void ProcessKey(Char Key) override;
  void Dispatch(TMessage& Message) override;

  bool GetResultReady() override;
  bool GetFlat() override { return FFlat; }
  Variant GetValue() override;
  void SetFlat(bool Value) override;
  void SetValue(const Variant& Value) override;

protected:
  bool IsTopLevel() const override { return true; }
  void CreateParams(TCreateParams& Params) override;
  void PaintNonClient(HDC DC) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  TSize FrameSize() override;

private:
  void RequestCloseUp(bool Accept);

  TDropDownLink FLink;
  int FBorderWidth = 2;
  bool FFlat = true;
};

void RegisterCalculatorZkClasses();
