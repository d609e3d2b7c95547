// vqrCtrls.h - controls of the report windows: TvqrScrollWin, a custom control with its own
// scroll bars (range, page and position per axis), and the flat zoom combo box
// TvqrComboBox; with the colour helpers they paint with.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/controls/StdCtrls.h"

class TvqrScrollWin : public TCustomControl {
  VORENTA_CLASS(TvqrScrollWin, TCustomControl)
public:
  explicit TvqrScrollWin(TComponent* AOwner);

  int HorzPage() const { return FHorzPage; }
  void SetHorzPage(int Value);
  int HorzRange() const { return FHorzRange; }
  void SetHorzRange(int Value);
  int HorzPosition() const { return FHorzPosition; }
  // Lowered to range - page, then raised to 0; a change moves the thumb and calls the hook.
  void SetHorzPosition(int Value);
  int VertPage() const { return FVertPage; }
  void SetVertPage(int Value);
  int VertRange() const { return FVertRange; }
  void SetVertRange(int Value);
  int VertPosition() const { return FVertPosition; }
  void SetVertPosition(int Value);
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int Value) { FLargeChange = Value; }
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int Value) { FSmallChange = Value; }

  void Dispatch(TMessage& Message) override;

protected:
  virtual void HorzPositionChanged() {}
  virtual void VertPositionChanged() {}
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  void UpdateBar(int Bar, int Range, int Page, int Position);
  void Scroll(int Bar, unsigned Code);
  int FHorzPage = 0, FHorzRange = 0, FHorzPosition = 0;
  int FVertPage = 0, FVertRange = 0, FVertPosition = 0;
  int FLargeChange = 10, FSmallChange = 1;
};

// A flat combo box of the tool bar: a one-pixel frame and a narrow drop-down button that light
// up while the box is highlighted (mouse over it, focused or dropped down); ListWidth 0 drops
// a list as wide as the box, DropDownHeight high.
class TvqrComboBox : public TComboBox {
  VORENTA_CLASS(TvqrComboBox, TComboBox)
public:
  explicit TvqrComboBox(TComponent* AOwner);
  int ListWidth() const { return FListWidth; }
  void SetListWidth(int Value) { FListWidth = Value; }
  bool MouseInControl() const { return FMouseInControl; }
  // Height of the dropped list: ItemHeight x min(DropDownCount, items) + 2, or ItemHeight + 2.
  int DropDownHeight();
  bool IsHighlighted() const;
  // 0 normal, 1 hot (highlighted), 2 dropped down.
  int ButtonState() const;

  void Dispatch(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  void PaintWindow(HDC DC) override;
  TPoint DropDownSize() override;
  void DropDown() override;
  void CloseUp() override;

private:
  void PaintFrame(TCanvas* C, bool Highlighted);
  void PaintDropButton(TCanvas* C, int State);
  void PaintDisabled(TCanvas* C);
  static constexpr int FButtonWidth = 11;
  int FListWidth = 0;
  bool FMouseInControl = false;
};

// Color1's share in percent (Weight < 100) or per mille (from 100 on) mixed with Color2.
TColor MixColors(TColor Color1, TColor Color2, int Weight);
// A solid rectangle, and a one-pixel frame, in the colour (system colours resolved).
void FillColorRect(TCanvas* Canvas, const TRect& R, TColor Color);
void FillFrame(TCanvas* Canvas, const TRect& R, TColor Color);
// The smaller of A and B compared as unsigned 16-bit numbers.
int MinWord(int A, int B);
