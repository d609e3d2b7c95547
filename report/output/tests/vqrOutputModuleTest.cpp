// vqrOutputModuleTest.cpp - the output side's start: export texts and the preview button strip.
#include "report/output/vqrOutputModule.h"

#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/Exceptions.h"
#include "report/core/vqrRes.h"

TEST(VqrOutputModule, StartMergesTheExportTextsAndUnpacksThePreviewButtons) {
  StringTable()->AddW(u"8708", u"changed");
  vqrOutputModuleInitialize();
  EXPECT_EQ(StringById(8708), u".pdf");
  EXPECT_EQ(StringTable()->Get(u"mbError"), u"Ошибка");

  TvqrResources T;
  TImageList* Buttons = T.PreviewButtonImages();
  ASSERT_EQ(Buttons->Count(), 25);  // indexes 0 .. 24 of the preview's tool bar
  TBitmap Pdf;
  Buttons->GetBitmap(24, &Pdf);
  EXPECT_EQ(Pdf.Width(), 16);
  EXPECT_EQ(Pdf.Canvas()->Pixels(6, 10), TColor(0x0000C8));  // the red band
  EXPECT_EQ(Pdf.Canvas()->Pixels(0, 15), clWhite);           // masked background
  vqrOutputModuleFinalize();
}

TEST(VqrOutputModule, StartsAndEndsAreCountedAndTheLastEndTakesTheUnpackerAway) {
  vqrOutputModuleInitialize();
  vqrOutputModuleInitialize();
  vqrOutputModuleFinalize();
  EXPECT_EQ(TvqrResources().PreviewButtonImages()->Count(), 25);
  vqrOutputModuleFinalize();
  vqrOutputModuleFinalize();  // one end too many changes nothing
  TvqrResources T;
  try {
    T.PreviewButtonImages();
    ADD_FAILURE() << "read without an unpacker";
  } catch (const EResNotFound& E) {
    EXPECT_EQ(E.Message(), u"Resource report/PreviewButtons.gz cannot be unpacked");
  }
}
