// ExtCtrls.h - panel, bevel, image, shape, splitter and radio group.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/Strings.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Picture.h"

class TRadioButton;

class TCustomPanel : public TCustomControl {
  VORENTA_CLASS(TCustomPanel, TCustomControl)
public:
  explicit TCustomPanel(TComponent* AOwner);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
  // The width of the bevels and border inside the panel's edge.
  int FrameWidth() const;

private:
  TAlignment FAlignment = taCenter;
  bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
  VORENTA_CLASS(TPanel, TCustomPanel)
public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

VORENTA_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine,
             bsSpacer);
VORENTA_ENUM(TBevelStyle, bsLowered, bsRaised);

class TBevel : public TGraphicControl {
  VORENTA_CLASS(TBevel, TGraphicControl)
public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

protected:
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

class TImage : public TGraphicControl {
  VORENTA_CLASS(TImage, TGraphicControl)
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // Where the picture is drawn in the client area.
  TRect DestRect() const;

protected:
  void Paint() override;

private:
  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false, FCenter = false, FProportional = false, FTransparent = false;
};

VORENTA_ENUM(TShapeType, stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle);

class TShape : public TGraphicControl {
  VORENTA_CLASS(TShape, TGraphicControl)
public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType Value);
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }

protected:
  void Paint() override;

private:
  TShapeType FShape = stRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};

VORENTA_ENUM(TResizeStyle, rsNone, rsLine, rsUpdate, rsPattern);
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

// Drags the control it is aligned against: a splitter aligned alLeft resizes the alLeft
// control just left of it, and so on.
class TSplitter : public TGraphicControl {
  VORENTA_CLASS(TSplitter, TGraphicControl)
public:
  explicit TSplitter(TComponent* AOwner);
  int MinSize() const { return FMinSize; }
  void SetMinSize(int Value) { FMinSize = Value; }
  TResizeStyle ResizeStyle() const { return FResizeStyle; }
  void SetResizeStyle(TResizeStyle Value) { FResizeStyle = Value; }
  const TNotifyEvent& OnMoved() const { return FOnMoved; }
  void SetOnMoved(TNotifyEvent Value) { FOnMoved = std::move(Value); }
  const TCanResizeEvent& OnCanResize() const { return FOnCanResize; }
  void SetOnCanResize(TCanResizeEvent Value) { FOnCanResize = std::move(Value); }
  // The control the splitter resizes, or nullptr.
  TControl* FindControl() const;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  bool Vertical() const { return Align() == alLeft || Align() == alRight; }
  void MoveTo(int Delta);
  int FMinSize = 30;
  TResizeStyle FResizeStyle = rsUpdate;
  TControl* FControl = nullptr;
  TPoint FDownPos;
  int FStartSize = 0;
  TNotifyEvent FOnMoved;
  TCanResizeEvent FOnCanResize;
};

// A group box whose Items become radio buttons; ItemIndex is the checked one.
class TCustomRadioGroup : public TCustomControl {
  VORENTA_CLASS(TCustomRadioGroup, TCustomControl)
public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  int ButtonCount() const { return int(FButtons.size()); }
  TRadioButton* Buttons(int Index) const { return FButtons.at(size_t(Index)); }
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void ArrangeButtons();

private:
  void UpdateButtons();
  std::unique_ptr<TStringList> FItems;
  std::vector<TRadioButton*> FButtons;   // children owned by this control
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
  VORENTA_CLASS(TRadioGroup, TCustomRadioGroup)
public:
  explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
};

void RegisterExtCtrlsClasses();
