// ControlPaint.cpp - painting of controls: the shifted sub-canvas, WM_PAINT and WM_NCPAINT
// defaults, windowless children, the non-client frame, PaintTo, invalidation; and
// TCustomControl and TGraphicControl.
#include "platform/controls/Controls.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Controls_p.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"

namespace {

// Draws into another device, shifted by an offset and kept inside a clip rectangle.
class TShiftedDevice : public TCanvasDevice {
public:
  TShiftedDevice(TCanvasDevice* Target, TPoint Offset, TRect Clip)
      : FTarget(Target), FOffset(Offset), FClip(Clip) {
    FTarget->SetClip(nullptr);
    std::vector<TRect> Base{FClip};
    FTarget->SetClip(&Base);
  }
  TCanvasKind Kind() const override { return FTarget->Kind(); }
  TSize SurfaceSize() const override { return {FClip.Right - FOffset.X, FClip.Bottom - FOffset.Y}; }
  int PixelsPerInch() const override { return FTarget->PixelsPerInch(); }
  void SetClip(const std::vector<TRect>* Rects) override {
    std::vector<TRect> Out;
    if (!Rects) {
      Out.push_back(FClip);
    } else {
      for (TRect R : *Rects) {
        OffsetRect(R, FOffset.X, FOffset.Y);
        TRect C;
        if (IntersectRect(C, R, FClip)) Out.push_back(C);
      }
      if (Out.empty()) Out.push_back({FClip.Left, FClip.Top, FClip.Left, FClip.Top});
    }
    FTarget->SetClip(&Out);
  }
  void PatBlt(const TRect& R, const TDeviceBrush& Brush, unsigned Rop) override {
    FTarget->PatBlt(Shift(R), Brush, Rop);
  }
  void Polyline(const std::vector<TPoint>& Points, const TDevicePen& Pen) override {
    FTarget->Polyline(Shift(Points), Pen);
  }
  void Shape(const TDeviceShape& S, const TDevicePen& Pen, const TDeviceBrush& Brush) override {
    TDeviceShape Moved = S;
    Moved.Bounds = Shift(S.Bounds);
    Moved.Start = Shift(S.Start);
    Moved.End = Shift(S.End);
    Moved.Points = Shift(S.Points);
    FTarget->Shape(Moved, Pen, Brush);
  }
  void Text(const TDeviceText& T) override {
    TDeviceText Moved = T;
    Moved.Origin = Shift(T.Origin);
    Moved.Rect = Shift(T.Rect);
    FTarget->Text(Moved);
  }
  void Image(const TRect& Dest, const TBitmap& Source, const TRect& SrcRect, unsigned Rop,
             int Alpha, std::optional<TColorRef> Transparent) override {
    FTarget->Image(Shift(Dest), Source, SrcRect, Rop, Alpha, Transparent);
  }
  TColorRef GetPixel(int X, int Y) override { return FTarget->GetPixel(X + FOffset.X, Y + FOffset.Y); }
  void SetPixel(int X, int Y, TColorRef Color) override {
    if (FClip.Contains({X + FOffset.X, Y + FOffset.Y})) FTarget->SetPixel(X + FOffset.X, Y + FOffset.Y, Color);
  }
  bool ReadPixels(const TRect& R, TBitmap& Dest) override { return FTarget->ReadPixels(Shift(R), Dest); }

private:
  TPoint Shift(TPoint P) const { return {P.X + FOffset.X, P.Y + FOffset.Y}; }
  TRect Shift(TRect R) const {
    OffsetRect(R, FOffset.X, FOffset.Y);
    return R;
  }
  std::vector<TPoint> Shift(const std::vector<TPoint>& Points) const {
    std::vector<TPoint> Out;
    Out.reserve(Points.size());
    for (TPoint P : Points) Out.push_back(Shift(P));
    return Out;
  }
  TCanvasDevice* FTarget;
  TPoint FOffset;
  TRect FClip;
};

// The device pixels a canvas's clip allows, or the whole surface.
TRect DeviceClipBounds(TCanvas* Canvas) {
  TClipRegion Clip = Canvas->GetClipRegion();
  TSize Size = Canvas->Device()->SurfaceSize();
  TRect Whole = Rect(0, 0, Size.cx ? Size.cx : 1 << 20, Size.cy ? Size.cy : 1 << 20);
  if (!Clip.Active) return Whole;
  TRect U;
  for (const TRect& R : Clip.Rects) UnionRect(U, U, R);
  TRect Result;
  IntersectRect(Result, U, Whole);
  return Result;
}

}  // namespace

std::unique_ptr<TCanvas> CreateSubCanvas(TCanvas* Target, TPoint Offset, const TRect& Clip) {
  // Offset and Clip are in Target's logical coordinates; the device works in device pixels.
  TPoint DeviceOffset = Target->LPtoDP(Offset);
  TRect DeviceClip = Target->LPtoDP(Clip);
  TRect Allowed;
  IntersectRect(Allowed, DeviceClip, DeviceClipBounds(Target));
  if (Allowed.IsEmpty()) Allowed = {DeviceOffset.X, DeviceOffset.Y, DeviceOffset.X, DeviceOffset.Y};
  auto Canvas = std::make_unique<TCanvas>(
      std::make_unique<TShiftedDevice>(Target->Device(), DeviceOffset, Allowed));
  Canvas->Font()->Assign(Target->Font());
  return Canvas;
}

void AttachCanvas(TCanvas* Canvas, TCanvas* DC) {
  TRect Clip = DeviceClipBounds(DC);
  Canvas->SetDevice(std::make_unique<TShiftedDevice>(DC->Device(), TPoint{0, 0}, Clip));
}

void DetachCanvas(TCanvas* Canvas) { Canvas->SetDevice(nullptr); }

TCanvasPaintScope::TCanvasPaintScope(TCanvas* Canvas, HDC DC, TFont* Font, TColor Color,
                                     TPaintReset Reset)
    : FCanvas(Canvas) {
  AttachCanvas(Canvas, DC);
  Canvas->Font()->Assign(Font);
  Canvas->Brush()->SetColor(Color);
  if (Reset >= prSolidBrush) Canvas->Brush()->SetStyle(bsSolid);
  if (Reset >= prBlackPen) Canvas->Pen()->SetColor(clBlack);
  if (Reset >= prSolidPen) Canvas->Pen()->SetStyle(psSolid);
}

TCanvasPaintScope::~TCanvasPaintScope() { DetachCanvas(FCanvas); }

// --- TWinControl painting ------------------------------------------------------------------------

void TWinControl::WMPaint(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::PaintHandler(TMessage& Message) {
  auto* DC = reinterpret_cast<HDC>(Message.WParam);
  if (!DC) return;
  PaintWindow(DC);
  PaintControls(DC, nullptr);
  ValidateRect(nullptr);
}

void TWinControl::PaintWindow(HDC DC) {
  // The native window paints nothing of its own; the background was erased.
  (void)DC;
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  auto* DC = reinterpret_cast<HDC>(Message.WParam);
  if (!DC || ControlStyle().Contains(csOpaque)) {
    Message.Result = 1;
    return;
  }
  DC->Brush()->SetColor(Color());
  DC->Brush()->SetStyle(bsSolid);
  DC->FillRect(ClientRect());
  Message.Result = 1;
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto It = FControls.begin();
  if (First) It = std::find(FControls.begin(), FControls.end(), First);
  for (; It != FControls.end(); ++It) {
    TControl* C = *It;
    if (dynamic_cast<TWinControl*>(C) || !C->Visible()) continue;
    TRect B = C->BoundsRect();
    if (!DC->RectVisible(B)) continue;
    auto Sub = CreateSubCanvas(DC, B.TopLeft(), B);
    C->Perform(WM_PAINT, WPARAM(Sub.get()), 0);
  }
}

void TWinControl::WMNCCalcSize(TMessage& Message) {
  auto* R = reinterpret_cast<TRect*>(Message.LParam);
  if (!R) return;
  if (HasClientEdge()) InflateRect(*R, -2, -2);
  else if (HasPlainBorder()) InflateRect(*R, -1, -1);
  if (FBevelKind != bkNone) {
    int Edge = 0;
    if (FBevelInner != bvNone) Edge += FBevelWidth;
    if (FBevelOuter != bvNone) Edge += FBevelWidth;
    if (FBevelEdges.Contains(beLeft)) R->Left += Edge;
    if (FBevelEdges.Contains(beTop)) R->Top += Edge;
    if (FBevelEdges.Contains(beRight)) R->Right -= Edge;
    if (FBevelEdges.Contains(beBottom)) R->Bottom -= Edge;
  }
  if (FStyle & WS_VSCROLL) R->Right -= GetSystemMetrics(SM_CXVSCROLL);
  if (FStyle & WS_HSCROLL) R->Bottom -= GetSystemMetrics(SM_CYHSCROLL);
  if (R->Right < R->Left) R->Right = R->Left;
  if (R->Bottom < R->Top) R->Bottom = R->Top;
}

// The border before and after the window exists: the style bits once created, the
// properties before.
bool TWinControl::HasClientEdge() const {
  return (FExStyle & WS_EX_CLIENTEDGE) || (FBorderStyle == bsSingle && FCtl3D);
}

bool TWinControl::HasPlainBorder() const {
  return (FStyle & WS_BORDER) || (FBorderStyle == bsSingle && !FCtl3D);
}

void TWinControl::WMNCPaint(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMNCHitTest(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::PaintNonClient(HDC DC) {
  TRect R = Rect(0, 0, Width(), Height());
  if (FBevelKind != bkNone) {
    unsigned Edge = 0;
    if (FBevelInner == bvLowered) Edge |= BDR_SUNKENINNER;
    if (FBevelInner == bvRaised) Edge |= BDR_RAISEDINNER;
    if (FBevelOuter == bvLowered) Edge |= BDR_SUNKENOUTER;
    if (FBevelOuter == bvRaised) Edge |= BDR_RAISEDOUTER;
    unsigned Flags = 0;
    if (FBevelEdges.Contains(beLeft)) Flags |= BF_LEFT;
    if (FBevelEdges.Contains(beTop)) Flags |= BF_TOP;
    if (FBevelEdges.Contains(beRight)) Flags |= BF_RIGHT;
    if (FBevelEdges.Contains(beBottom)) Flags |= BF_BOTTOM;
    if (FBevelKind == bkFlat) Flags |= BF_FLAT;
    if (FBevelKind == bkSoft) Flags |= BF_SOFT;
    DrawEdge(DC, R, Edge, Flags | BF_ADJUST);
  }
  if (HasClientEdge()) {
    DrawEdge(DC, R, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  } else if (HasPlainBorder()) {
    DC->Brush()->SetColor(clWindowFrame);
    DC->FrameRect(R);
    InflateRect(R, -1, -1);
  }
  // The corner between two scroll bars.
  if ((FStyle & WS_VSCROLL) && (FStyle & WS_HSCROLL)) {
    const int CX = GetSystemMetrics(SM_CXVSCROLL), CY = GetSystemMetrics(SM_CYHSCROLL);
    DC->Brush()->SetColor(clBtnFace);
    DC->FillRect(Rect(R.Right - CX, R.Bottom - CY, R.Right, R.Bottom));
  }
  PaintScrollBars(DC, R);
}

void TWinControl::PaintTo(TCanvas* Canvas, int X, int Y) {
  if (!Canvas->Device()) return;
  const TRect Whole = Bounds(X, Y, Width(), Height());
  auto Window = CreateSubCanvas(Canvas, {X, Y}, Whole);
  Perform(WM_NCPAINT, WPARAM(Window.get()), 0);
  const TRect Client = Bounds(X + FInsets.Left, Y + FInsets.Top, ClientWidth(), ClientHeight());
  auto ClientDC = CreateSubCanvas(Canvas, Client.TopLeft(), Client);
  ClientDC->Font()->Assign(Font());
  Perform(WM_ERASEBKGND, WPARAM(ClientDC.get()), 0);
  Perform(WM_PAINT, WPARAM(ClientDC.get()), 0);
  for (TControl* C : FControls) {
    auto* W = dynamic_cast<TWinControl*>(C);
    if (!W || !W->Visible()) continue;
    // Child windows are clipped to this control's client area.
    auto Inner = CreateSubCanvas(Canvas, {0, 0}, Client);
    W->PaintTo(Inner.get(), Client.Left + W->Left(), Client.Top + W->Top());
  }
}

void TWinControl::InvalidateRect(const TRect* R, bool) {
  TRect Area = R ? *R : ClientRect();
  UnionRect(FInvalid, FInvalid, Area);
  if (auto* S = TWindowInternals::Surface(this)) {
    OffsetRect(Area, FInsets.Left, FInsets.Top);
    S->Invalidate(R ? Area : Rect(0, 0, Width(), Height()));
  }
}

void TWinControl::ValidateRect(const TRect* R) {
  if (!R) {
    FInvalid = {};
    return;
  }
  TRect Common;
  if (IntersectRect(Common, FInvalid, *R) && Common == FInvalid) FInvalid = {};
}

void TWinControl::Update() {
  // Surfaces paint from the platform's loop; headless, there is nothing to bring up to date.
}

// --- TCustomControl ------------------------------------------------------------------------------

REGISTER_CLASS(TCustomControl) {}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(FCanvas.get(), DC, Font(), Color(), prBlackPen);
  FControlState << csCustomPaint;
  try {
    Paint();
  } catch (...) {
    FControlState >> csCustomPaint;
    throw;
  }
  FControlState >> csCustomPaint;
}

// --- TGraphicControl -----------------------------------------------------------------------------

REGISTER_CLASS(TGraphicControl) {}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Paint() {}

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_PAINT) {
    TControl::Dispatch(Message);
    return;
  }
  auto* DC = reinterpret_cast<HDC>(Message.WParam);
  if (!DC) return;
  TCanvasPaintScope Scope(FCanvas.get(), DC, Font(), Color(), prSolidBrush);
  Paint();
}
