// ClipboardTest.cpp - the in-memory clipboard: text both ways, formats by name.
#include "platform/controls/Clipboard.h"

#include <gtest/gtest.h>

namespace {

TEST(ClipboardTest, TextTravelsAsUtf16AndCodePageText) {
  SetClipboardForTests(true);
  Clipboard()->SetAsText(u"Белила «Альфа»");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->AsText(), u"Белила «Альфа»");
  EXPECT_EQ(Clipboard()->GetData(CF_TEXT), "\xC1\xE5\xEB\xE8\xEB\xE0 \xAB\xC0\xEB\xFC\xF4\xE0\xBB");
  SetClipboardForTests(false);
}

TEST(ClipboardTest, RegisteredFormatsAndOnePlacementPerOpen) {
  SetClipboardForTests(true);
  const unsigned Csv = RegisterClipboardFormat(u"Csv");
  EXPECT_EQ(RegisterClipboardFormat(u"CSV"), Csv);
  EXPECT_GE(Csv, 0xC000u);
  EXPECT_EQ(MimeTypeOfFormat(Csv), "text/csv");
  EXPECT_EQ(MimeTypeOfFormat(RegisterClipboardFormat(u"VCLDBIF")), "application/x-vorenta-VCLDBIF");
  Clipboard()->SetAsText(u"old");
  Clipboard()->Open();
  Clipboard()->SetData(Csv, "a;b\r\n");
  Clipboard()->SetData(CF_TEXT, "a\tb\r\n");
  Clipboard()->Close();
  EXPECT_EQ(Clipboard()->GetData(Csv), "a;b\r\n");
  EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));   // the old text went with the first SetData
  EXPECT_EQ(Clipboard()->AsText(), u"a\tb\r\n");
  SetClipboardForTests(false);
}

}  // namespace
