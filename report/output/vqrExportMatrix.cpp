// vqrExportMatrix.cpp - the export matrix: feeding objects and pages, styles, queries.
// Prepare and the row removal live in vqrExportMatrixPrepare.cpp.
#include "report/output/vqrExportMatrix.h"

#include <cmath>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/FontService.h"
#include "platform/graphics/Metafile.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassBands.h"
#include "report/core/vqrClassPicture.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrUnicodeUtils.h"
#include "report/output/vqrExportProgress.h"

namespace {

constexpr int OEM_CHARSET = 255;

enum TObjectKind { okText, okLine, okRectangle, okOther };

bool IsHatch(TBrushStyle Style) { return static_cast<int>(Style) > static_cast<int>(bsClear); }

int RoundInt(Extended X) { return static_cast<int>(std::lround(static_cast<double>(X))); }

}  // namespace

// =============================================================================================
// Styles and objects
// =============================================================================================

TvqrIEMStyle::TvqrIEMStyle()
    : Font(std::make_unique<TFont>()), DisplayFormat(std::make_unique<TvqrFormat>()) {}

TvqrIEMStyle::~TvqrIEMStyle() = default;

void TvqrIEMStyle::Assign(const TvqrIEMStyle& S) {
  Font->Assign(S.Font.get());
  LineSpacing = S.LineSpacing;
  VAlign = S.VAlign;
  HAlign = S.HAlign;
  FrameTyp = S.FrameTyp;
  FrameWidth = S.FrameWidth;
  FrameColor = S.FrameColor;
  FrameStyle = S.FrameStyle;
  Color = S.Color;
  Rotation = S.Rotation;
  BrushStyle = S.BrushStyle;
  ParagraphGap = S.ParagraphGap;
  GapX = S.GapX;
  GapY = S.GapY;
  CharSpacing = S.CharSpacing;
  WordBreak = S.WordBreak;
  Charset = S.Charset;
  DisplayFormat->Assign(S.DisplayFormat.get());
  WordWrap = S.WordWrap;
}

bool TvqrIEMStyle::SameAs(const TvqrIEMStyle& S) const {
  const TvqrFormat& F = *DisplayFormat;
  const TvqrFormat& G = *S.DisplayFormat;
  return Font->Size() == S.Font->Size() && HAlign == S.HAlign && VAlign == S.VAlign &&
         Font->Color() == S.Font->Color() && Font->Name() == S.Font->Name() &&
         Font->Style() == S.Font->Style() && FrameTyp == S.FrameTyp &&
         FrameWidth == S.FrameWidth && FrameColor == S.FrameColor &&
         FrameStyle == S.FrameStyle && Color == S.Color && F.Kind() == G.Kind() &&
         F.DecimalSeparator() == G.DecimalSeparator() && F.FormatStr() == G.FormatStr() &&
         LineSpacing == S.LineSpacing && GapX == S.GapX && GapY == S.GapY &&
         ParagraphGap == S.ParagraphGap && CharSpacing == S.CharSpacing &&
         Charset == S.Charset && WordBreak == S.WordBreak && Rotation == S.Rotation &&
         WordWrap == S.WordWrap && BrushStyle == S.BrushStyle;
}

TvqrIEMObject::TvqrIEMObject()
    : Memo(std::make_unique<TvqrWideStrings>()), Metafile(std::make_unique<TMetafile>()) {}

TvqrIEMObject::~TvqrIEMObject() = default;

// =============================================================================================
// The matrix
// =============================================================================================

TvqrIEMatrix::TvqrIEMatrix(bool, const String&) {}

TvqrIEMatrix::~TvqrIEMatrix() { Clear(); }

void TvqrIEMatrix::Clear() {
  FIEMObjectList.clear();
  FIEMStyleList.clear();
  FXPos.clear();
  FYPos.clear();
  FPages.clear();
  FFontList.clear();
  FMatrix.clear();
  FDeltaY = 0;
}

int TvqrIEMatrix::FindOrAddStyle(std::unique_ptr<TvqrIEMStyle> Style) {
  for (std::size_t I = 0; I < FIEMStyleList.size(); ++I)
    if (FIEMStyleList[I]->SameAs(*Style)) return static_cast<int>(I);
  FIEMStyleList.push_back(std::move(Style));
  return static_cast<int>(FIEMStyleList.size()) - 1;
}

int TvqrIEMatrix::AddStyleCopy(const TvqrIEMStyle& From, TColor Fill, TvqrFrameTypes Frames) {
  auto Copy = std::make_unique<TvqrIEMStyle>();
  Copy->Assign(From);
  Copy->Color = Fill;
  Copy->FrameTyp = Frames;
  return FindOrAddStyle(std::move(Copy));
}

void TvqrIEMatrix::SetStyleOf(TvqrIEMObject* Item, int Index) {
  Item->StyleIndex = Index;
  Item->Style = Index >= 0 ? FIEMStyleList[static_cast<std::size_t>(Index)].get() : nullptr;
}

int TvqrIEMatrix::StyleOfView(TvqrView* Obj, int Kind) {
  if (Kind == okRectangle) return -1;
  auto S = std::make_unique<TvqrIEMStyle>();
  S->FrameWidth = static_cast<float>(Obj->Frame()->Width());
  S->FrameColor = Obj->Frame()->Color();
  S->FrameStyle = Obj->Frame()->Style();
  S->Color = Obj->Color();
  if (Kind == okText) {
    auto* Memo = static_cast<TvqrCustomMemoView*>(Obj);
    TvqrHighlight* H = Memo->Highlight();
    const bool Lit = H->Active() && H->Font();
    S->Font->Assign(Lit ? H->Font() : Memo->Font());
    S->Color = Lit ? H->Color() : Memo->Color();
    if (DotMatrix) S->Font->SetSize(9);
    S->DisplayFormat->Assign(Memo->DisplayFormat());
    S->HAlign = Memo->HAlign();
    S->VAlign = Memo->VAlign();
    S->LineSpacing = Memo->LineSpacing();
    S->GapX = Memo->GapX();
    S->GapY = Memo->GapY();
    S->CharSpacing = Memo->CharSpacing();
    S->ParagraphGap = Memo->ParagraphGap();
    S->WordBreak = Memo->WordBreak();
    S->WordWrap = Memo->WordWrap();
    S->Rotation = Memo->Rotation();
    S->BrushStyle = Memo->BrushStyle();
    S->Charset = Memo->Font()->Charset() == DEFAULT_CHARSET ? GetFontCharset(Memo->Font())
                                                            : Memo->Font()->Charset();
    S->FrameTyp = Obj->Frame()->Typ();
  } else if (Kind == okLine) {
    if (Obj->Width() == 0)
      S->FrameTyp = TvqrFrameTypes{ftLeft};
    else if (Obj->Height() == 0)
      S->FrameTyp = TvqrFrameTypes{ftTop};
    S->Font->SetName(u"Arial");
    S->Font->SetSize(1);
  } else {
    S->Font->Assign(Obj->Font());
    if (DotMatrix) S->Font->SetSize(9);
    if (!dynamic_cast<TvqrCustomLineView*>(Obj)) S->FrameTyp = Obj->Frame()->Typ();
  }
  return FindOrAddStyle(std::move(S));
}

int TvqrIEMatrix::GetFontCharset(TFont* Font) {
  auto Cached = FFontList.find(Font->Name());
  if (Cached != FFontList.end()) return Cached->second;
  TFontRequest Request = Font->Request();
  TOutlineTextMetric M = TFontService::Instance().OutlineTextMetrics(Request);
  if (M.otmEMSquare == 0) {
    Request.Name = u"Arial";
    M = TFontService::Instance().OutlineTextMetrics(Request);
  }
  if (M.otmEMSquare == 0) return 0;
  FFontList[Font->Name()] = M.otmTextMetrics.tmCharSet;
  return M.otmTextMetrics.tmCharSet;
}

// --- Feeding ---------------------------------------------------------------------------------

void TvqrIEMatrix::AddShadow(TvqrCustomMemoView* Memo) {
  TvqrFrame* F = Memo->Frame();
  const Extended W = F->ShadowWidth(), Width = Memo->Width(), Height = Memo->Height();
  Memo->SetWidthDirect(Width - W);
  Memo->SetHeightDirect(Height - W);
  F->SetDropShadow(false);
  try {
    AddObject(Memo);
  } catch (...) {
    Memo->SetWidthDirect(Width);
    Memo->SetHeightDirect(Height);
    F->SetDropShadow(true);
    throw;
  }
  Memo->SetWidthDirect(Width);
  Memo->SetHeightDirect(Height);
  F->SetDropShadow(true);
  const Extended L = Memo->AbsLeft(), T = Memo->AbsTop();
  const Extended Strips[2][4] = {{L + Width - W, T + W, W, Height - W},
                                 {L + W, T + Height - W, Width - W, W}};
  for (const auto& R : Strips) {
    TvqrMemoView Shadow(nullptr);
    Shadow.SetName(u"Shadow");
    Shadow.Font()->SetSize(1);
    Shadow.SetColor(F->ShadowColor());
    Shadow.SetBounds(R[0], R[1], R[2], R[3]);
    AddObject(&Shadow);
  }
}

void TvqrIEMatrix::AddRectangle(TvqrShapeView* Shape) {
  const Extended L = Shape->AbsLeft(), T = Shape->AbsTop();
  const Extended W = Shape->Width(), H = Shape->Height();
  if (Shape->Color() == clNone) {
    const Extended Edges[4][4] = {{L, T, W, 0}, {L, T, 0, H}, {L, T + H, W, 0}, {L + W, T, 0, H}};
    for (const auto& E : Edges) {
      TvqrLineView Line(nullptr);
      Line.SetName(u"Line");
      Line.Frame()->Assign(Shape->Frame());
      Line.SetBounds(E[0], E[1], E[2], E[3]);
      AddObject(&Line);
    }
    return;
  }
  TvqrMemoView Rect(nullptr);
  Rect.SetName(u"Rect");
  Rect.Frame()->Assign(Shape->Frame());
  Rect.Frame()->SetTyp(TvqrFrameTypes{ftLeft, ftRight, ftTop, ftBottom});
  Rect.SetColor(Shape->Color());
  Rect.Font()->SetSize(1);
  Rect.SetBounds(L, T, W, H);
  AddObject(&Rect);
}

void TvqrIEMatrix::RenderPicture(TvqrView* Obj, TvqrIEMObject* Item) {
  TvqrFrame Saved;
  Saved.Assign(Obj->Frame());
  const bool Thin = !Obj->Frame()->Typ().Empty() && Obj->Frame()->Width() > 0;
  if (Thin) Obj->Frame()->SetWidth(0);
  const bool IsLine = dynamic_cast<TvqrCustomLineView*>(Obj) != nullptr;
  struct TRestore {
    TvqrView* V;
    TvqrFrame& F;
    bool On;
    ~TRestore() {
      if (On) V->Frame()->Assign(&F);
    }
  } Restore{Obj, Saved, Thin};

  Item->IsText = false;
  const TvqrRect B = Obj->GetRealBounds();
  const Extended AL = Obj->AbsLeft(), AT = Obj->AbsTop();
  Extended RW = B.Right - B.Left, RH = B.Bottom - B.Top;
  auto Offset = [](Extended Real, Extended Size, Extended RealStart, Extended Start,
                   Extended RealEnd) -> Extended {
    if (Real == Size || RealStart == Start) return 0;
    if (RealEnd == Start + Size) return Real - Size;
    return (Real - Size) / 2;
  };
  const Extended OX = Offset(RW, Obj->Width(), B.Left, AL, B.Right);
  const Extended OY = Offset(RH, Obj->Height(), B.Top, AT, B.Bottom);
  Item->Left -= OX;
  Item->Top -= OY;
  Extended OriginX = AL - OX, OriginY = AT - OY;
  if (RoundInt(RW) == 0) RW = 1;
  if (RW < 0) {
    RW = -RW;
    Item->Left -= RW;
    OriginX -= RW;
  }
  if (RoundInt(RH) == 0) RH = 1;
  if (RH < 0) {
    RH = -RH;
    Item->Top -= RH;
    OriginY -= RH;
  }
  Item->Width = RW;
  Item->Height = RH;
  if (IsLine && Thin) {
    Obj->Frame()->Assign(&Saved);
    Restore.On = false;
  }
  if (EMFPictures) {
    Item->Metafile->SetWidth(RoundInt(RW));
    Item->Metafile->SetHeight(RoundInt(RH));
    TMetafileCanvas Canvas(Item->Metafile.get());
    Obj->Draw(&Canvas, 1, 1, -OriginX, -OriginY);
  } else {
    auto Bitmap = std::make_unique<TBitmap>(RoundInt(RW) + 1, RoundInt(RH) + 1);
    Bitmap->SetPixelFormat(pf24bit);
    Obj->Draw(Bitmap->Canvas(), 1, 1, -OriginX, -OriginY);
    Item->Image = std::move(Bitmap);
  }
}

void TvqrIEMatrix::AddObject(TvqrView* Obj) {
  if (Obj->Name() == u"_pagebackground" && !Background) return;
  auto* Memo = dynamic_cast<TvqrCustomMemoView*>(Obj);
  if (Memo && Obj->Frame()->DropShadow()) return AddShadow(Memo);

  auto* Line = dynamic_cast<TvqrCustomLineView*>(Obj);
  auto* Shape = dynamic_cast<TvqrShapeView*>(Obj);
  TObjectKind Kind = okOther;
  if (Memo && !(IsHatch(Memo->BrushStyle()) && BrushAsBitmap) &&
      !(Memo->Rotation() != 0 && RotatedAsImage))
    Kind = okText;
  else if (Line && (Obj->Width() == 0 || Obj->Height() == 0))
    Kind = okLine;
  else if (Shape && Shape->Shape() == TvqrShapeKind::skRectangle)
    return AddRectangle(Shape);

  auto Item = std::make_unique<TvqrIEMObject>();
  Item->Name = Obj->Name();
  SetStyleOf(Item.get(), StyleOfView(Obj, Kind));
  Item->URL = Obj->URL();
  if (Report && Item->URL.starts_with(u"#"))
    if (auto* Pages = dynamic_cast<TvqrPreviewPages*>(Report->PreviewPages()))
      Item->URL = String(u"@") + IntToStr(Pages->GetAnchorPage(Item->URL.substr(1)));

  const Extended AL = Obj->AbsLeft(), AT = Obj->AbsTop();
  Item->Left = AL < 0 ? 0 : AL;
  Item->Top = AT < 0 ? FDeltaY : AT + FDeltaY;
  Item->Width = Obj->Width();
  Item->Height = Obj->Height();

  if (Kind == okText) {
    if ((DeleteHTMLTags && Memo->AllowHTMLTags()) || WrapText)
      Item->Memo->SetText(Memo->WrapText(true));
    else
      Item->Memo->Assign(Memo->Memo());
    if (!DeleteHTMLTags) Item->HTMLTags = Memo->AllowHTMLTags();
    if (Memo->Font()->Charset() == OEM_CHARSET) {
      std::string Oem = UnicodeToAnsiText(Item->Memo->Text(), OEM_CHARSET);
      Item->Memo->SetText(AnsiToUnicodeText(OemToAnsiText(Oem), DEFAULT_CHARSET));
    }
    Item->IsText = true;
    Item->RTL = Memo->RTLReading();
  } else if (Kind == okLine) {
    Item->IsText = true;
    if (Item->Width < 0) {
      Item->Left += Item->Width;
      Item->Width = -Item->Width;
    }
    if (Item->Height < 0) {
      Item->Top += Item->Height;
      Item->Height = -Item->Height;
    }
    if (Item->Width == 0) Item->Width = 1;
    if (Item->Height == 0) Item->Height = 1;
  } else if (Images && (Obj->Name() != u"_pagebackground" || BackgroundImage)) {
    RenderPicture(Obj, Item.get());
  }

  if (Obj->Parent() && (FHeader || FFooter)) {
    Item->Header = Obj->Parent() == FHeader;
    Item->Footer = Obj->Parent() == FFooter;
  }
  AddPlacement(std::move(Item));
}

void TvqrIEMatrix::AddPlacement(std::unique_ptr<TvqrIEMObject> Item) {
  FMaxHeight = std::max(FMaxHeight, Item->Top + Item->Height);
  FMaxWidth = std::max(FMaxWidth, Item->Left + Item->Width);
  FMinLeft = std::min(FMinLeft, Item->Left);
  FMinTop = std::min(FMinTop, Item->Top);
  if (Item->Left < FLeft || FLeft == 0) FLeft = Item->Left;
  if (Item->Top < FTop || FTop == 0) FTop = Item->Top;
  AddPosition(FXPos, Item->Left);
  AddPosition(FXPos, Item->Left + Item->Width);
  AddPosition(FYPos, Item->Top);
  AddPosition(FYPos, Item->Top + Item->Height);
  TvqrIEMObjectList P;
  P.Obj = std::move(Item);
  FIEMObjectList.push_back(std::move(P));
}

void TvqrIEMatrix::AddDialogObject(TvqrReportComponent* Obj) {
  auto Item = std::make_unique<TvqrIEMObject>();
  Item->IsText = false;
  Item->IsDialogObject = true;
  Item->StyleIndex = 0;
  Item->Link = Obj;
  Item->Left = Obj->AbsLeft();
  Item->Top = Obj->AbsTop();
  Item->Width = Obj->Width();
  Item->Height = Obj->Height();
  AddPlacement(std::move(Item));
}

void TvqrIEMatrix::AddPage(TPrinterOrientation Orientation, Extended Width, Extended Height,
                           Extended LeftMargin, Extended TopMargin, Extended RightMargin,
                           Extended BottomMargin, bool MirrorMargins, int Index) {
  FDeltaY = FMaxHeight;
  TvqrIEMPage P;
  P.Value = FMaxHeight;
  P.Orientation = Orientation;
  P.Width = Width;
  P.Height = Height;
  P.TopMargin = TopMargin;
  P.BottomMargin = BottomMargin;
  P.MirrorMargin = MirrorMargins && Index % 2 == 1;
  P.LeftMargin = P.MirrorMargin ? RightMargin : LeftMargin;
  P.RightMargin = P.MirrorMargin ? LeftMargin : RightMargin;
  FPages.push_back(P);
}

// --- Queries ---------------------------------------------------------------------------------

int TvqrIEMatrix::GetCell(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return -1;
  return FMatrix[static_cast<std::size_t>(x + y * FWidth)];
}

TvqrIEMObject* TvqrIEMatrix::GetObject(int x, int y) const { return GetObjectById(GetCell(x, y)); }

TvqrIEMStyle* TvqrIEMatrix::GetStyle(int x, int y) const {
  TvqrIEMObject* O = GetObject(x, y);
  return O ? GetStyleById(O->StyleIndex) : nullptr;
}

Extended TvqrIEMatrix::GetXPosById(int x) const {
  return x >= 0 && x < static_cast<int>(FXPos.size()) ? FXPos[static_cast<std::size_t>(x)] : 0;
}

Extended TvqrIEMatrix::GetYPosById(int y) const {
  return y >= 0 && y < static_cast<int>(FYPos.size()) ? FYPos[static_cast<std::size_t>(y)] : 0;
}

TvqrIEMObject* TvqrIEMatrix::GetObjectById(int i) const {
  if (i < 0 || i >= GetObjectsCount()) return nullptr;
  return FIEMObjectList[static_cast<std::size_t>(i)].Obj.get();
}

void TvqrIEMatrix::GetObjectPos(int i, int& x, int& y, int& dx, int& dy) const {
  if (i < 0 || i >= GetObjectsCount()) return;
  const TvqrIEMObjectList& P = FIEMObjectList[static_cast<std::size_t>(i)];
  x = P.x;
  y = P.y;
  dx = P.dx;
  dy = P.dy;
}

TvqrIEMStyle* TvqrIEMatrix::GetStyleById(int i) const {
  if (i < 0 || i >= GetStylesCount()) return nullptr;
  return FIEMStyleList[static_cast<std::size_t>(i)].get();
}

#define VQR_PAGE_QUERY(Name, Type, Field)                                   \
  Type TvqrIEMatrix::Name(int Page) const {                                 \
    if (Page < 0 || Page >= GetPagesCount()) return Type{};                 \
    return FPages[static_cast<std::size_t>(Page)].Field;                    \
  }
VQR_PAGE_QUERY(GetPageBreak, Extended, Value)
VQR_PAGE_QUERY(GetPageWidth, Extended, Width)
VQR_PAGE_QUERY(GetPageHeight, Extended, Height)
VQR_PAGE_QUERY(GetPageLMargin, Extended, LeftMargin)
VQR_PAGE_QUERY(GetPageTMargin, Extended, TopMargin)
VQR_PAGE_QUERY(GetPageRMargin, Extended, RightMargin)
VQR_PAGE_QUERY(GetPageBMargin, Extended, BottomMargin)
VQR_PAGE_QUERY(GetPageMirrorMargin, bool, MirrorMargin)
VQR_PAGE_QUERY(GetPageOrientation, TPrinterOrientation, Orientation)
#undef VQR_PAGE_QUERY
