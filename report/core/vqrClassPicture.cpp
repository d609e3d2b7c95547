// vqrClassPicture.cpp - the line object with its arrow heads and the picture object with its
// format sniffing, drawing and Diff.
#include "report/core/vqrClassPicture.h"

#include <cmath>
#include <cstring>

#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Icon.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClass_p.h"

using namespace vqrclass_detail;

// A placeable or enhanced metafile keeps its bytes and draws nothing: no renderer for the
// Windows metafile formats exists on this platform.
class TvqrMetafileData : public TGraphic {
  VORENTA_CLASS(TvqrMetafileData, TGraphic)
public:
  bool Empty() const override { return FBytes.empty(); }
  int Width() const override { return 0; }
  void SetWidth(int) override {}
  int Height() const override { return 0; }
  void SetHeight(int) override {}
  void Draw(TCanvas*, const TRect&) override {}
  void LoadFromBytes(std::string_view Data) override {
    FBytes.assign(Data);
    Changed();
  }
  std::string SaveToBytes() const override { return FBytes; }
  void Assign(TPersistent* Source) override {
    if (auto* Src = dynamic_cast<TvqrMetafileData*>(Source)) {
      FBytes = Src->FBytes;
      return Changed();
    }
    inherited::Assign(Source);
  }

private:
  std::string FBytes;
};

REGISTER_CLASS(TvqrMetafileData) {}

void RegisterPictureGraphicClasses() { RegisterClasses({TvqrMetafileData::ClassInfo()}); }

REGISTER_CLASS(TvqrCustomLineView) {
  Class.Property("TagStr", &TvqrView::TagStr, &TvqrView::SetTagStr);
}

REGISTER_CLASS(TvqrLineView) {
  using L = TvqrCustomLineView;
  Class.Property("ArrowEnd", &L::ArrowEnd, &L::SetArrowEnd, false)
      .Property("ArrowLength", &L::ArrowLength, &L::SetArrowLength, 20)
      .Property("ArrowSolid", &L::ArrowSolid, &L::SetArrowSolid, false)
      .Property("ArrowStart", &L::ArrowStart, &L::SetArrowStart, false)
      .Property("ArrowWidth", &L::ArrowWidth, &L::SetArrowWidth, 5)
      .Property("Diagonal", &L::Diagonal, &L::SetDiagonal, false)
      .Property("Frame", &TvqrView::Frame, &TvqrView::SetFrame);
}

REGISTER_CLASS(TvqrPictureView) {
  using P = TvqrPictureView;
  Class.Property("Cursor", &TvqrView::Cursor, &TvqrView::SetCursor, 0)
      .Property("AutoSize", &P::AutoSize, &P::SetAutoSize, false)
      .Property("Center", &P::Center, &P::SetCenter, false)
      .Property("DataField", &TvqrView::DataField, &TvqrView::SetDataField)
      .Property("DataSet", &TvqrView::DataSet, &TvqrView::SetDataSet)
      .Property("DataSetName", &TvqrView::DataSetName, &TvqrView::SetDataSetName)
      .Property("Frame", &TvqrView::Frame, &TvqrView::SetFrame)
      .Property("FileLink", &P::FileLink, &P::SetFileLink)
      .Property("ImageIndex", &P::ImageIndex, &P::SetImageIndex)
      .Stored(&P::IsImageIndexStored)
      .Property("KeepAspectRatio", &P::KeepAspectRatio, &P::SetKeepAspectRatio, true)
      .Property("Picture", &P::Picture, &P::SetPicture)
      .Stored(&P::IsPictureStored)
      .Property("Stretched", &P::Stretched, &P::SetStretched, true)
      .Property("TagStr", &TvqrView::TagStr, &TvqrView::SetTagStr)
      .Property("URL", &TvqrView::URL, &TvqrView::SetURL)
      .Property("HightQuality", &P::HightQuality, &P::SetHightQuality, false)
      .Property("Transparent", &P::Transparent, &P::SetTransparent, false)
      .Property("TransparentColor", &P::TransparentColor, &P::SetTransparentColor, clWhite);
}

namespace {

int RoundI(Extended X) { return static_cast<int>(Round(X)); }

void AddAttr(String& Out, const char16_t* Name, const String& Value) {
  Out += u" ";
  Out += Name;
  Out += u"=\"" + Value + u"\"";
}

}  // namespace

// =============================================================================================
// TvqrCustomLineView
// =============================================================================================

TvqrCustomLineView::TvqrCustomLineView(TComponent* AOwner) : TvqrStretcheable(AOwner) {
  SetvqComponentStyle(vqComponentStyle() - TvqrComponentStyle{csDefaultDiff});
}

TvqrCustomLineView* TvqrCustomLineView::DesignCreate(TComponent* AOwner, Word Flags) {
  auto* Line = TvqrComponent::DesignCreate<TvqrLineView>(AOwner);
  Line->SetDiagonal((Flags & 0xFFFF) != 0);
  Line->SetArrowEnd(Flags == 2 || Flags == 4);
  Line->SetArrowStart(Flags == 3 || Flags == 4);
  return Line;
}

String TvqrCustomLineView::GetDescription() const { return ResText(u"obLine"); }

void TvqrCustomLineView::Draw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY,
                              Extended AOffsetX, Extended AOffsetY) {
  if (!FDiagonal) {
    TvqrFrameTypes Side;
    if (Height() >= Width()) {
      SetWidth(0);
      Side << ftLeft;
    } else {
      SetHeight(0);
      Side << ftTop;
    }
    Frame()->SetTyp(Side);
  }
  BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  TvqrFrame* F = Frame();
  if (FDiagonal) {
    if (F->Color() == clNone || F->Width() == 0) return;
    Canvas->Brush()->SetStyle(Color() == clNone ? bsClear : bsSolid);
    if (Color() != clNone) Canvas->Brush()->SetColor(Color());
    Canvas->Pen()->SetColor(F->Color());
    Canvas->Pen()->SetWidth(1);
    const TvqrFrameStyle S = F->Style() == fsDouble ? fsSolid : F->Style();
    Canvas->Pen()->SetStyle(S == fsSolid ? psSolid : static_cast<TPenStyle>(std::min<int>(S, 4)));
    DrawThickLine(X, Y, X1, Y1, FrameWidth);
  } else {
    DrawFrame();
  }
  if (FArrowStart) DrawArrow(X1, Y1, X, Y);
  if (FArrowEnd) DrawArrow(X, Y, X1, Y1);
}

void TvqrCustomLineView::ArrowWings(Extended X1, Extended Y1, Extended X2, Extended Y2,
                                    Extended& WX1, Extended& WY1, Extended& WX2,
                                    Extended& WY2) const {
  const Extended W = FArrowWidth * ScaleX, L = FArrowLength * ScaleX;
  Extended XB, YB;
  if (std::fabs(X2 - X1) > 8) {
    const Extended K = (Y2 - Y1) / (X2 - X1);
    const Extended M = (X2 * Y1 - Y2 * X1) / (X2 - X1);
    const Extended A = 1 + K * K;
    const Extended B = 2 * (K * (M - Y2) - X2);
    const Extended C = X2 * X2 + Y2 * Y2 - L * L + M * M - 2 * Y2 * M;
    const Extended D = std::sqrt(std::max<Extended>(0, B * B - 4 * A * C));
    XB = (D - B) / (2 * A);
    // The base lies between the two ends; otherwise it is the other root.
    if ((X1 - XB) * (X2 - XB) > 0) XB = (-D - B) / (2 * A);
    YB = K * XB + M;
    if (Y2 != Y1) {
      const Extended Theta = std::atan(K);
      WX1 = XB + W * std::sin(Theta), WY1 = YB - W * std::cos(Theta);
      WX2 = XB - W * std::sin(Theta), WY2 = YB + W * std::cos(Theta);
    } else {
      WX1 = XB, WY1 = YB - W, WX2 = XB, WY2 = YB + W;
    }
    return;
  }
  XB = X2;
  YB = Y2 - L;
  if (!(std::min(Y1, Y2) <= YB && YB <= std::max(Y1, Y2))) YB = Y2 + L;
  WX1 = XB - W, WY1 = YB, WX2 = XB + W, WY2 = YB;
}

void TvqrCustomLineView::DrawArrow(Extended X1, Extended Y1, Extended X2, Extended Y2) {
  Extended WX1, WY1, WX2, WY2;
  ArrowWings(X1, Y1, X2, Y2, WX1, WY1, WX2, WY2);
  const TPoint Tip{RoundI(X2), RoundI(Y2)};
  const TPoint W1{RoundI(WX1), RoundI(WY1)}, W2{RoundI(WX2), RoundI(WY2)};
  if (FArrowSolid) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Frame()->Color());
    Canvas->Polygon({Tip, W1, W2, Tip});
  } else {
    Canvas->Pen()->SetWidth(RoundI(Frame()->Width() * ScaleX));
    Canvas->Polyline({W1, Tip, W2});
  }
}

// =============================================================================================
// TvqrPictureView
// =============================================================================================

TvqrPictureView::TvqrPictureView(TComponent* AOwner)
    : TvqrView(AOwner), FPicture(std::make_unique<TPicture>()) {
  SetColor(clWhite);
  FPicture->SetOnChange([this](TObject*) { PictureChangedNotify(); });
}

TvqrPictureView::~TvqrPictureView() = default;

void TvqrPictureView::PictureChangedNotify() {
  SetAutoSize(FAutoSize);
  FPictureChanged = true;
}

void TvqrPictureView::SetAutoSize(bool Value) {
  FAutoSize = Value;
  if (Value && FPicture->Graphic() && !FPicture->Graphic()->Empty()) {
    SetWidthDirect(FPicture->Width());
    SetHeightDirect(FPicture->Height());
  }
}

void TvqrPictureView::SetTransparent(bool Value) {
  FTransparent = Value;
  SetColor(Value ? clNone : clWhite);
}

String TvqrPictureView::GetDescription() const { return ResText(u"obPicture"); }

namespace {

enum class TSniffed { None, Bitmap, Jpeg, Png, Metafile, Icon };

TSniffed SniffGraphic(const unsigned char* P, std::size_t R) {
  auto U16 = [P](std::size_t At) { return P[At] | (P[At + 1] << 8); };
  auto U32 = [P](std::size_t At) {
    return static_cast<std::uint32_t>(P[At] | (P[At + 1] << 8) | (P[At + 2] << 16)) |
           (static_cast<std::uint32_t>(P[At + 3]) << 24);
  };
  if (R >= 14 && U16(0) == 0x4D42) return TSniffed::Bitmap;
  if (R >= 2 && P[0] == 0xFF && P[1] == 0xD8) return TSniffed::Jpeg;
  static const unsigned char PngSig[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  if (R >= 8 && std::memcmp(P, PngSig, 8) == 0) return TSniffed::Png;
  if (R >= 22 && U32(0) == 0x9AC6CDD7u) return TSniffed::Metafile;
  if (R >= 100 && U32(40) == 0x464D4520u) return TSniffed::Metafile;
  if (R >= 6 && (U16(2) == 0 || U16(2) == 1)) return TSniffed::Icon;
  return TSniffed::None;
}

std::unique_ptr<TGraphic> NewGraphic(TSniffed Kind) {
  switch (Kind) {
    case TSniffed::Bitmap: return std::make_unique<TBitmap>();
    case TSniffed::Jpeg: return std::make_unique<TJPEGImage>();
    case TSniffed::Png: return std::make_unique<TPngImage>();
    case TSniffed::Metafile: return std::make_unique<TvqrMetafileData>();
    case TSniffed::Icon: return std::make_unique<TIcon>();
    default: return nullptr;
  }
}

}  // namespace

int TvqrPictureView::LoadPictureFromStream(TStream* S, bool ResetStreamPos) {
  const Int64 Start = ResetStreamPos ? 0 : S->Position();
  S->SetPosition(Start);
  std::string Bytes(static_cast<std::size_t>(std::max<Int64>(0, S->Size() - Start)), '\0');
  if (!Bytes.empty()) S->ReadBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  std::size_t From = 0;
  // A database graphic header: count 1, type 0x0100, then the size of what follows.
  if (Bytes.size() >= 8) {
    const auto* P = reinterpret_cast<const unsigned char*>(Bytes.data());
    const std::uint32_t Size = static_cast<std::uint32_t>(P[4] | (P[5] << 8) | (P[6] << 16)) |
                               (static_cast<std::uint32_t>(P[7]) << 24);
    if (P[0] == 1 && P[1] == 0 && P[2] == 0 && P[3] == 1 && Size + 8ull == Bytes.size()) From = 8;
  }
  const auto* Data = reinterpret_cast<const unsigned char*>(Bytes.data()) + From;
  std::unique_ptr<TGraphic> Graphic = NewGraphic(SniffGraphic(Data, Bytes.size() - From));
  if (!Graphic) {
    FPicture->SetGraphic(nullptr);
    return vqrE_INVALIDARG;
  }
  try {
    Graphic->LoadFromBytes(std::string_view(Bytes).substr(From));
  } catch (const Exception&) {
    // Truncated or damaged image data leaves the picture empty rather than half read.
    FPicture->SetGraphic(nullptr);
    return 0;
  }
  FPicture->SetGraphic(Graphic.get());
  return 0;
}

namespace {

// Draws G into R; a transparent picture leaves out its transparent colour. Metafile data has
// nothing to draw.
void DrawGraphic(TCanvas* Canvas, const TRect& R, TGraphic* G, bool Transparent,
                 TColor TransparentColor) {
  if (dynamic_cast<TvqrMetafileData*>(G)) return;
  if (!Transparent) return Canvas->StretchDraw(R, G);
  TBitmap Copy;
  Copy.Assign(G);
  Copy.SetTransparentMode(tmFixed);
  Copy.SetTransparentColor(TransparentColor);
  Copy.SetTransparent(true);
  Canvas->StretchDraw(R, &Copy);
}

}  // namespace

TRect TvqrPictureView::PictureRect(int PicWidth, int PicHeight) const {
  TRect R{X, Y, X1, Y1};
  if (PicWidth <= 0 || PicHeight <= 0) return R;
  if (FStretched) {
    if (FKeepAspectRatio) {
      const Extended KX = static_cast<Extended>(DX) / PicWidth;
      const Extended KY = static_cast<Extended>(DY) / PicHeight;
      if (KY > KX)
        R.Bottom = R.Top + RoundI(PicHeight * KX);
      else
        R.Right = R.Left + RoundI(PicWidth * KY);
      if (FCenter) {
        const int SX = (DX + R.Left - R.Right) / 2, SY = (DY + R.Top - R.Bottom) / 2;
        R = {R.Left + SX, R.Top + SY, R.Right + SX, R.Bottom + SY};
      }
    }
    return R;
  }
  if (FCenter) {
    R.Left += (DX - RoundI(ScaleX * PicWidth)) / 2;
    R.Top += (DY - RoundI(ScaleY * PicHeight)) / 2;
  }
  R.Right = R.Left + RoundI(ScaleX * PicWidth);
  R.Bottom = R.Top + RoundI(ScaleY * PicHeight);
  return R;
}

void TvqrPictureView::Draw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY,
                           Extended AOffsetX, Extended AOffsetY) {
  BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  DrawBackground();
  TGraphic* G = FPicture->Graphic();
  if (G && !G->Empty()) {
    const TRect R = PictureRect(G->Width(), G->Height());
    if (FStretched) {
      DrawGraphic(ACanvas, R, G, FTransparent, FTransparentColor);
    } else {
      const TClipRegion Saved = ACanvas->GetClipRegion();
      ACanvas->IntersectClipRect(Rect(X, Y, X1, Y1));
      DrawGraphic(ACanvas, R, G, FTransparent, FTransparentColor);
      ACanvas->SelectClipRegion(Saved);
    }
  }
  DrawFrame();
}

String TvqrPictureView::Diff(TvqrComponent* AComponent) const {
  if (FPictureChanged) {
    if (TvqrReport* R = Report())
      if (R->PreviewPages()) R->PreviewPages()->AddPicture(const_cast<TvqrPictureView*>(this));
    FPictureChanged = false;
  }
  String Out = ViewDiff(AComponent);
  Out.insert(Out.begin(), u' ');
  AddAttr(Out, u"ImageIndex", IntToStr(FImageIndex));
  if (FTransparent) AddAttr(Out, u"Transparent", u"1");
  if (FTransparentColor != clWhite) AddAttr(Out, u"TransparentColor", IntToStr(FTransparentColor));
  return Out;
}
