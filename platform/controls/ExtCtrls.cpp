// ExtCtrls.cpp - panel, bevel, image, shape, splitter and radio group.
#include "platform/controls/ExtCtrls.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/graphics/WinDraw.h"

REGISTER_CLASS(TCustomPanel) {
  Class.Property("Caption", &TCustomPanel::Caption, &TCustomPanel::SetCaption)
      .Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, taCenter)
      .Property("AutoSize", &TCustomPanel::AutoSize, &TCustomPanel::SetAutoSize, false);
}
REGISTER_CLASS(TPanel) {}
REGISTER_CLASS(TBevel) {
  Class.Property("Shape", &TBevel::Shape, &TBevel::SetShape, bsBox)
      .Property("Style", &TBevel::Style, &TBevel::SetStyle, bsLowered);
}
REGISTER_CLASS(TImage) {
  Class.Property("Picture", &TImage::Picture, &TImage::SetPicture)
      .Property("Stretch", &TImage::Stretch, &TImage::SetStretch, false)
      .Property("Center", &TImage::Center, &TImage::SetCenter, false)
      .Property("Proportional", &TImage::Proportional, &TImage::SetProportional, false);
}
REGISTER_CLASS(TShape) {
  Class.Property("Shape", &TShape::Shape, &TShape::SetShape, stRectangle)
      .Property("Pen", &TShape::Pen, &TShape::SetPen)
      .Property("Brush", &TShape::Brush, &TShape::SetBrush);
}
REGISTER_CLASS(TSplitter) {
  Class.Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize, 30);
}
REGISTER_CLASS(TCustomRadioGroup) {
  Class.Property("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems)
      .Property("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex, -1)
      .Property("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns, 1);
}
REGISTER_CLASS(TRadioGroup) {}

void RegisterExtCtrlsClasses() {
  RegisterClasses({TPanel::ClassInfo(), TBevel::ClassInfo(), TImage::ClassInfo(),
                   TShape::ClassInfo(), TSplitter::ClassInfo(), TRadioGroup::ClassInfo()});
}

namespace {
unsigned BevelEdge(TBevelCut Cut) {
  if (Cut == bvLowered) return BDR_SUNKENOUTER;
  return Cut == bvRaised ? unsigned(BDR_RAISEDINNER) : 0u;
}
}  // namespace

// --- TCustomPanel -------------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                   csDoubleClicks, csReplicatable});
  SetBounds(0, 0, 185, 41);
  SetBevelOuter(bvRaised);
  SetBevelInner(bvNone);
  SetParentColor(false);
  SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

int TCustomPanel::FrameWidth() const {
  int W = BorderWidth();
  if (BevelOuter() != bvNone) W += BevelWidth();
  if (BevelInner() != bvNone) W += BevelWidth();
  return W;
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  const int W = FrameWidth();
  InflateRect(Rect, -W, -W);
}

void TCustomPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::Dispatch(Message);
}

void TCustomPanel::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  C->Brush()->SetColor(Color());
  C->FillRect(R);
  for (int I = 0; I < BevelWidth(); ++I)
    if (BevelOuter() != bvNone) DrawEdge(C, R, BevelEdge(BevelOuter()), BF_RECT | BF_ADJUST);
  InflateRect(R, -BorderWidth(), -BorderWidth());
  for (int I = 0; I < BevelWidth(); ++I)
    if (BevelInner() != bvNone) DrawEdge(C, R, BevelEdge(BevelInner()), BF_RECT | BF_ADJUST);
  static const unsigned AlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  C->Brush()->SetStyle(bsClear);
  C->Font()->Assign(Font());
  DrawText(C, Caption(), R, DT_VCENTER | DT_SINGLELINE | AlignFlags[FAlignment]);
}

// --- TBevel -------------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  const unsigned Outer = FStyle == bsLowered ? BDR_SUNKENOUTER : BDR_RAISEDOUTER;
  switch (FShape) {
    case bsBox: DrawEdge(C, R, Outer, BF_RECT); break;
    case bsFrame: DrawEdge(C, R, EDGE_ETCHED, BF_RECT); break;
    case bsTopLine: DrawEdge(C, R, EDGE_ETCHED, BF_TOP); break;
    case bsBottomLine: {
      TRect L = Rect(R.Left, R.Bottom - 2, R.Right, R.Bottom);
      DrawEdge(C, L, EDGE_ETCHED, BF_TOP);
      break;
    }
    case bsLeftLine: DrawEdge(C, R, EDGE_ETCHED, BF_LEFT); break;
    case bsRightLine: {
      TRect L = Rect(R.Right - 2, R.Top, R.Right, R.Bottom);
      DrawEdge(C, L, EDGE_ETCHED, BF_LEFT);
      break;
    }
    case bsSpacer: break;
  }
}

// --- TImage -------------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  FPicture->SetOnChange([this](TObject*) { Invalidate(); });
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { FPicture->SetOnChange(nullptr); }

void TImage::SetPicture(TPicture* Value) { FPicture->Assign(Value); }
void TImage::SetStretch(bool Value) {
  FStretch = Value;
  Invalidate();
}
void TImage::SetCenter(bool Value) {
  FCenter = Value;
  Invalidate();
}
void TImage::SetProportional(bool Value) {
  FProportional = Value;
  Invalidate();
}
void TImage::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}

TRect TImage::DestRect() const {
  int W = FPicture->Width(), H = FPicture->Height();
  const int CW = ClientWidth(), CH = ClientHeight();
  if (FStretch || (FProportional && (W > CW || H > CH))) {
    if (FProportional && W > 0 && H > 0) {
      // The largest size of the picture's proportions that fits.
      if (double(CW) / W < double(CH) / H) {
        H = int(double(H) * CW / W);
        W = CW;
      } else {
        W = int(double(W) * CH / H);
        H = CH;
      }
    } else {
      W = CW;
      H = CH;
    }
  }
  TRect R = Bounds(0, 0, W, H);
  if (FCenter) OffsetRect(R, (CW - W) / 2, (CH - H) / 2);
  return R;
}

void TImage::Paint() {
  TGraphic* G = FPicture->Graphic();
  if (!G || G->Empty()) return;
  G->SetTransparent(FTransparent);
  Canvas()->StretchDraw(DestRect(), G);
}

// --- TShape -------------------------------------------------------------------------------------

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  SetBounds(0, 0, 65, 65);
  FPen->SetOnChange([this](TObject*) { Invalidate(); });
  FBrush->SetOnChange([this](TObject*) { Invalidate(); });
}

TShape::~TShape() {
  FPen->SetOnChange(nullptr);
  FBrush->SetOnChange(nullptr);
}

void TShape::SetShape(TShapeType Value) {
  FShape = Value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* C = Canvas();
  C->SetPen(FPen.get());
  C->SetBrush(FBrush.get());
  // The pen stays inside the control: half its width in from each edge.
  const int PW = FPen->Width();
  int X = PW / 2, Y = PW / 2;
  int W = Width() - PW + 1, H = Height() - PW + 1;
  if (PW == 0) {
    --W;
    --H;
  }
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    const int S = std::min(W, H);
    X += (W - S) / 2;
    Y += (H - S) / 2;
    W = H = S;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: C->Rectangle(X, Y, X + W, Y + H); break;
    case stRoundRect:
    case stRoundSquare: {
      const int S = std::min(W, H) / 4;
      C->RoundRect(X, Y, X + W, Y + H, S, S);
      break;
    }
    case stEllipse:
    case stCircle: C->Ellipse(X, Y, X + W, Y + H); break;
  }
}

// --- TSplitter ----------------------------------------------------------------------------------

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
}

TControl* TSplitter::FindControl() const {
  TWinControl* P = Parent();
  if (!P) return nullptr;
  // The neighbour touching the splitter's edge on its Align side.
  for (int I = 0; I < P->ControlCount(); ++I) {
    TControl* C = P->Controls(I);
    if (C == this || !C->Visible() || C->Align() != Align()) continue;
    switch (Align()) {
      case alLeft: if (C->Left() + C->Width() == Left()) return C; break;
      case alRight: if (C->Left() == Left() + Width()) return C; break;
      case alTop: if (C->Top() + C->Height() == Top()) return C; break;
      case alBottom: if (C->Top() == Top() + Height()) return C; break;
      default: break;
    }
  }
  return nullptr;
}

void TSplitter::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FControl = FindControl();
  FDownPos = ClientToScreen({X, Y});
  if (FControl) FStartSize = Vertical() ? FControl->Width() : FControl->Height();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FControl || !Shift.Contains(ssLeft)) return;
  const TPoint P = ClientToScreen({X, Y});
  MoveTo(Vertical() ? P.X - FDownPos.X : P.Y - FDownPos.Y);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FControl) return;
  FControl = nullptr;
  if (FOnMoved) FOnMoved(this);
}

void TSplitter::MoveTo(int Delta) {
  // Right and bottom splitters grow their control when dragged the other way.
  if (Align() == alRight || Align() == alBottom) Delta = -Delta;
  int NewSize = std::max(FStartSize + Delta, FMinSize);
  bool Accept = true;
  if (FOnCanResize) FOnCanResize(this, NewSize, Accept);
  if (!Accept) return;
  if (Vertical()) FControl->SetWidth(NewSize);
  else FControl->SetHeight(NewSize);
}

// --- TCustomRadioGroup ----------------------------------------------------------------------------

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TStringList>()) {
  SetControlStyle({csSetCaption, csDoubleClicks, csReplicatable, csCaptureMouse});
  SetBounds(0, 0, 185, 105);
  FItems->SetOnChange([this](TObject*) { UpdateButtons(); });
}

TCustomRadioGroup::~TCustomRadioGroup() { FItems->SetOnChange(nullptr); }

void TCustomRadioGroup::UpdateButtons() {
  while (int(FButtons.size()) > FItems->Count()) {
    delete FButtons.back();
    FButtons.pop_back();
  }
  while (int(FButtons.size()) < FItems->Count()) {
    auto* B = new TRadioButton(this);
    B->SetParent(this);
    B->SetOnClick([this, B](TObject*) {
      if (FUpdating || !B->Checked()) return;
      FItemIndex = int(std::find(FButtons.begin(), FButtons.end(), B) - FButtons.begin());
      Click();
    });
    FButtons.push_back(B);
  }
  for (size_t I = 0; I < FButtons.size(); ++I) FButtons[I]->SetCaption(FItems->Get(int(I)));
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  ArrangeButtons();
}

void TCustomRadioGroup::SetItemIndex(int Value) {
  if (Value < -1 || Value >= int(FButtons.size())) Value = -1;
  FItemIndex = Value;
  FUpdating = true;
  for (size_t I = 0; I < FButtons.size(); ++I) FButtons[I]->SetChecked(int(I) == Value);
  FUpdating = false;
}

void TCustomRadioGroup::SetColumns(int Value) {
  FColumns = std::clamp(Value, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  Canvas()->Font()->Assign(Font());
  const int TextH = Canvas()->TextHeight(u"0");
  const int Rows = (int(FButtons.size()) + FColumns - 1) / FColumns;
  const int ColW = (Width() - 10) / FColumns;
  const int Top = TextH + 2;
  const int RowH = std::max((Height() - Top - 4) / std::max(Rows, 1), 1);
  for (size_t I = 0; I < FButtons.size(); ++I) {
    const int Col = int(I) / Rows, Row = int(I) % Rows;
    FButtons[I]->SetBounds(8 + Col * ColW, Top + Row * RowH + (RowH - TextH - 4) / 2, ColW - 4,
                           TextH + 4);
  }
}

void TCustomRadioGroup::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      ArrangeButtons();
      return;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    default: TCustomControl::Dispatch(Message);
  }
}

void TCustomRadioGroup::Paint() {
  PaintGroupFrame(Canvas(), ClientRect(), Caption(), Color(), IsEnabledInTree());
}
