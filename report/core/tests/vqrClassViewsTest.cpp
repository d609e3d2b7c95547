// vqrClassViewsTest.cpp - views drawn on the recording canvas (thick lines, frame ends, shapes,
// arrows, pictures), the picture format sniffing, frame-line Diff texts and the text object's
// Diff.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/classes/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "platform/rtl/FormatSettings.h"
#include "report/core/vqrClass.h"

namespace {

std::vector<const TMetaRecord*> Records(const TMetafile& M, TMetaRecordKind Kind) {
  std::vector<const TMetaRecord*> Out;
  for (const TMetaRecord& R : M.Records())
    if (R.Kind == Kind) Out.push_back(&R);
  return Out;
}

TvqrFrameTypes AllSides() {
  TvqrFrameTypes T;
  T << ftLeft << ftRight << ftTop << ftBottom;
  return T;
}

}  // namespace

TEST(vqrViewDraw, ThickLinesSpreadAcrossTheirLongerDirection) {
  struct TCase {
    int W;
    std::vector<int> Offsets;
  };
  for (const TCase& C : {TCase{4, {-2, -1, 0, 1}}, TCase{3, {-1, 0, 1}}, TCase{0, {0}}}) {
    TMetafile M;
    TMetafileCanvas Canvas(&M);
    TvqrMemoView View(nullptr);
    View.BeginDraw(&Canvas, 1, 1, 0, 0);
    View.DrawThickLine(10, 20, 110, 20, C.W);
    View.DrawThickLine(10, 20, 10, 120, C.W);
    const auto Lines = Records(M, mrPolyline);
    ASSERT_EQ(Lines.size(), 2 * C.Offsets.size()) << C.W;
    for (std::size_t I = 0; I < C.Offsets.size(); ++I) {
      EXPECT_EQ(Lines[I]->Points[0], (TPoint{10, 20 + C.Offsets[I]})) << C.W;
      EXPECT_EQ(Lines[C.Offsets.size() + I]->Points[0], (TPoint{10 + C.Offsets[I], 20})) << C.W;
    }
  }
}

TEST(vqrViewDraw, AFrameSideWithoutNeighboursIsPulledInByHalfItsWidth) {
  for (bool Alone : {true, false}) {
    TMetafile M;
    TMetafileCanvas Canvas(&M);
    TvqrMemoView View(nullptr);
    View.SetBounds(10, 10, 100, 50);
    TvqrFrameTypes Left;
    Left << ftLeft;
    View.Frame()->SetTyp(Alone ? Left : AllSides());
    View.Frame()->SetWidth(3);
    View.Draw(&Canvas, 1, 1, 0, 0);
    const auto Lines = Records(M, mrPolyline);
    ASSERT_FALSE(Lines.empty());
    const int Pull = Alone ? 1 : 0;
    EXPECT_EQ(Lines[0]->Points[0], (TPoint{10, 10 + Pull})) << Alone;
    EXPECT_EQ(Lines[0]->Points.back(), (TPoint{10, 60 - Pull})) << Alone;
    EXPECT_EQ(Lines[0]->Pen.Width, 3);
  }
}

TEST(vqrViewDraw, DottedFramesAreStampedInTheLineColour) {
  TMetafile M;
  TMetafileCanvas Canvas(&M);
  TvqrMemoView View(nullptr);
  View.SetBounds(0, 0, 100, 20);
  TvqrFrameTypes Top;
  Top << ftTop;
  View.Frame()->SetTyp(Top);
  View.Frame()->SetStyle(fsAltDot);
  View.Frame()->SetWidth(2);
  View.Frame()->SetColor(clBlue);
  View.Draw(&Canvas, 1, 1, 0, 0);
  // The canvas records the stamp as the line colour painted where the pattern is black.
  const auto Stamps = Records(M, mrImage);
  ASSERT_EQ(Stamps.size(), 1u);
  EXPECT_EQ(Stamps[0]->Bounds, Rect(-1, -1, 100, 1));
  EXPECT_TRUE(Records(M, mrPolyline).empty());
}

TEST(vqrViewDraw, AnEmptyViewDrawsNothing) {
  TMetafile M;
  TMetafileCanvas Canvas(&M);
  TvqrMemoView View(nullptr);
  View.SetBounds(0, 0, 50, 20);
  View.Draw(&Canvas, 1, 1, 0, 0);
  EXPECT_TRUE(Records(M, mrPolyline).empty());
  EXPECT_TRUE(Records(M, mrPatBlt).empty());
}

TEST(vqrShapeDraw, ARoundedRectangleWithoutCurveHasCornersOfAQuarterOfItsSide) {
  TMetafile M;
  TMetafileCanvas Canvas(&M);
  TvqrShapeView Shape(nullptr);
  Shape.SetShape(TvqrShapeKind::skRoundRectangle);
  Shape.SetBounds(0, 0, 100, 40);
  Shape.Draw(&Canvas, 1, 1, 0, 0);
  const auto Shapes = Records(M, mrShape);
  ASSERT_EQ(Shapes.size(), 1u);
  EXPECT_EQ(Shapes[0]->Shape.Corner, (TSize{10, 10}));
}

TEST(vqrShapeDraw, ADoubleEllipseDrawsTheInnerOneFourPixelsInsideAndRestoresItself) {
  TMetafile M;
  TMetafileCanvas Canvas(&M);
  TvqrShapeView Shape(nullptr);
  Shape.SetShape(TvqrShapeKind::skEllipse);
  Shape.SetBounds(10, 20, 100, 60);
  Shape.Frame()->SetStyle(fsDouble);
  Shape.Frame()->SetWidth(2);
  Shape.Draw(&Canvas, 1, 1, 0, 0);
  const auto Shapes = Records(M, mrShape);
  ASSERT_EQ(Shapes.size(), 2u);
  EXPECT_EQ(Shapes[0]->Shape.Bounds, Rect(10, 20, 111, 81));
  EXPECT_EQ(Shapes[1]->Shape.Bounds, Rect(14, 24, 107, 77));
  EXPECT_EQ(double(Shape.Left()), 10.0);
  EXPECT_EQ(double(Shape.Width()), 100.0);
  EXPECT_EQ(double(Shape.Height()), 60.0);
  EXPECT_EQ(Shape.Frame()->Style(), fsDouble);
}

TEST(vqrLineView, ArrowWings) {
  TvqrLineView Line(nullptr);
  Extended WX1, WY1, WX2, WY2;
  // Ends 5 pixels apart in x: drawn as on a vertical line.
  Line.ArrowWings(100, 0, 105, 100, WX1, WY1, WX2, WY2);
  EXPECT_EQ(double(WX1), 100.0);
  EXPECT_EQ(double(WY1), 80.0);
  EXPECT_EQ(double(WX2), 110.0);
  EXPECT_EQ(double(WY2), 80.0);
  Line.ArrowWings(0, 50, 100, 50, WX1, WY1, WX2, WY2);
  EXPECT_NEAR(double(WX1), 80.0, 1e-9);
  EXPECT_NEAR(double(WY1), 45.0, 1e-9);
  EXPECT_NEAR(double(WY2), 55.0, 1e-9);
}

TEST(vqrLineView, AStraightLineBecomesVerticalOrHorizontal) {
  TMetafile M;
  TMetafileCanvas Canvas(&M);
  TvqrLineView Tall(nullptr), Wide(nullptr);
  Tall.SetBounds(0, 0, 0.5L, 30);
  Wide.SetBounds(0, 0, 30, 0.5L);
  Tall.Draw(&Canvas, 1, 1, 0, 0);
  Wide.Draw(&Canvas, 1, 1, 0, 0);
  EXPECT_EQ(double(Tall.Width()), 0.0);
  EXPECT_TRUE(Tall.Frame()->Typ().Contains(ftLeft));
  EXPECT_EQ(double(Wide.Height()), 0.0);
  EXPECT_TRUE(Wide.Frame()->Typ().Contains(ftTop));
}

TEST(vqrPictureView, AStretchedPictureKeepsItsAspectAndCentres) {
  TMetafile M;
  TMetafileCanvas Canvas(&M);
  TvqrPictureView View(nullptr);
  View.SetBounds(0, 0, 100, 100);
  View.BeginDraw(&Canvas, 1, 1, 0, 0);
  EXPECT_EQ(View.PictureRect(200, 100), Rect(0, 0, 100, 50));
  View.SetCenter(true);
  EXPECT_EQ(View.PictureRect(200, 100), Rect(0, 25, 100, 75));
  View.SetKeepAspectRatio(false);
  EXPECT_EQ(View.PictureRect(200, 100), Rect(0, 0, 100, 100));
  View.SetTransparent(true);
  EXPECT_EQ(View.Color(), clNone);
  View.SetTransparent(false);
  EXPECT_EQ(View.Color(), clWhite);
}

TEST(vqrPictureView, FormatsAreRecognisedFromTheBytes) {
  TBitmap Source(3, 2);
  const std::string Bmp = Source.SaveToBytes();
  std::string Header(8, '\0');
  Header[0] = 1, Header[3] = 1;
  const std::uint32_t Size = static_cast<std::uint32_t>(Bmp.size());
  std::memcpy(&Header[4], &Size, 4);
  struct TCase {
    const char* Name;
    std::string Bytes;
    int Result;
    bool HasPicture;
  };
  const TCase Cases[] = {
      {"bitmap", Bmp, 0, true},
      {"bitmap behind the database header", Header + Bmp, 0, true},
      {"header with a wrong size", Header + Bmp + "x", vqrE_INVALIDARG, false},
      {"empty", "", vqrE_INVALIDARG, false},
      {"one byte", "B", vqrE_INVALIDARG, false},
      {"five bytes of JPEG start: recognised, too short to decode", "\xFF\xD8\xFF\xE0\x00", 0, false},
      {"ten bytes starting BM", "BM\x02\x02\x02\x02\x02\x02\x02\x02", vqrE_INVALIDARG, false},
  };
  for (const TCase& C : Cases) {
    TvqrPictureView View(nullptr);
    TMemoryStream S;
    S.WriteBuffer(C.Bytes.data(), static_cast<Int64>(C.Bytes.size()));
    EXPECT_EQ(View.LoadPictureFromStream(&S, true), C.Result) << C.Name;
    const bool Has = View.Picture()->Graphic() && !View.Picture()->Graphic()->Empty();
    EXPECT_EQ(Has, C.HasPicture) << C.Name;
  }
}

TEST(vqrPictureView, ATransparentPictureIsDrawnWithoutItsTransparentColour) {
  TMetafile M;
  TMetafileCanvas Canvas(&M);
  TvqrPictureView View(nullptr);
  View.SetBounds(0, 0, 40, 20);
  TBitmap Source(4, 2);
  View.Picture()->SetGraphic(&Source);
  View.SetTransparent(true);
  View.SetTransparentColor(clRed);
  View.Draw(&Canvas, 1, 1, 0, 0);
  const auto Images = Records(M, mrImage);
  ASSERT_EQ(Images.size(), 1u);
  EXPECT_EQ(Images[0]->Bounds, Rect(0, 0, 40, 20));
  ASSERT_TRUE(Images[0]->TransparentColor.has_value());
  EXPECT_EQ(*Images[0]->TransparentColor, TColorRef(clRed));
}

// --- Diff texts ---------------------------------------------------------------------------------

TEST(vqrFrameDiff, FrameLinesAreWrittenAgainstTheirFrameOrTheTemplate) {
  TvqrFrame Template, Copy;
  Copy.SetColor(255);
  EXPECT_EQ(Copy.LeftLine()->Color(), 255);
  EXPECT_FALSE(Copy.LeftLine()->IsColorStored());
  Copy.LeftLine()->SetColor(0);  // back to the template's colour
  EXPECT_TRUE(Copy.LeftLine()->IsColorStored());
  EXPECT_EQ(Copy.Diff(&Template), u" Frame.Color=\"255\" Frame.LeftLine.Color=\"0\"");

  TvqrFrame Lines;
  Lines.TopLine()->SetWidth(2);
  Lines.SetTyp(AllSides());
  EXPECT_EQ(Lines.Diff(&Template), u" Frame.Typ=\"15\" Frame.TopLine.Width=\"2\"");
}

TEST(vqrMemoDiff, TheTextIsAlwaysWrittenAndParagraphFlagsMoveOn) {
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  TvqrMemoView Template(nullptr), Copy(nullptr);
  Copy.SetText(u"строка 1\r\nстрока \"2\"");
  Copy.SetHAlign(haRight);
  Copy.SetGapX(2.5L);
  Copy.SetLastParaBreak(true);
  EXPECT_EQ(Copy.Diff(&Template), u" GapX=\"2,5\" HAlign=\"1\" u=\"строка 1&#13;&#10;строка "
                                  u"&#34;2&#34;\" LastParaBreak=\"1\"");
  EXPECT_TRUE(Copy.FirstParaBreak());
  EXPECT_FALSE(Copy.LastParaBreak());
  Copy.SetRotation(450);
  EXPECT_EQ(Copy.Rotation(), 90);
  Copy.SetRotation(-90);
  EXPECT_EQ(Copy.Rotation(), -90);
}

TEST(vqrMemoStyle, AStyleGivesColourFontAndFrame) {
  RegisterReportClasses();
  TvqrReport Report(nullptr);
  TvqrStyleItem* Item = Report.Styles()->Add();
  Item->SetName(u"Рамка");
  Item->SetColor(clYellow);
  Item->Font()->SetSize(14);
  Item->Frame()->SetTyp(AllSides());
  Item->Frame()->SetColor(clRed);
  auto* Page = new TvqrReportPage(&Report);
  auto* Band = new TvqrMasterData(Page);
  auto* Memo = new TvqrMemoView(Band);
  Memo->SetStyle(u"рамка");
  EXPECT_EQ(Memo->Color(), clYellow);
  EXPECT_EQ(Memo->Font()->Size(), 14);
  EXPECT_FALSE(Memo->ParentFont());
  EXPECT_EQ(FrameTypBits(Memo->Frame()->Typ()), 15);
  EXPECT_EQ(Memo->Frame()->LeftLine()->Color(), clRed);
  Memo->SetStyle(u"нет такого");
  EXPECT_EQ(Memo->Style(), u"нет такого");
  EXPECT_EQ(Memo->Color(), clYellow);
}
