// vqrXMLLimitsTest.cpp - the XML dialect against hostile files: nesting depth, truncation, and
// writing deep trees.
#include "report/core/vqrXML.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/classes/Streams.h"
#include "platform/rtl/Exceptions.h"

namespace {

const std::string kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";

std::string Nested(int Depth) {
  std::string S = kHeader;
  for (int i = 0; i < Depth; ++i) S += "<a>";
  for (int i = 0; i < Depth; ++i) S += "</a>";
  return S;
}

// "ok", or the message of the exception loading raised.
std::string LoadText(const std::string& Text, bool Partial = false) {
  try {
    TvqrXMLDocument Doc;
    auto* In = new TStringStream{std::string_view(Text)};
    if (Partial) {
      Doc.LoadFromStream(In, true);  // the document owns the stream
    } else {
      std::unique_ptr<TStream> Owned(In);
      Doc.LoadFromStream(In);
    }
    return "ok";
  } catch (const Exception& E) {
    return ToUtf8(E.Message());
  }
}

}  // namespace

// Nesting up to the limit loads; deeper is "Invalid file format", reached quickly however deep
// the file goes (about 31,000 levels once ran out of stack).
TEST(VqrXMLLimits, NestingDepth) {
  struct {
    int Depth;
    const char* Expected;
  } const kCases[] = {{1000, "ok"}, {1001, "Invalid file format"},
                      {200000, "Invalid file format"}};
  for (auto& C : kCases) {
    auto Start = std::chrono::steady_clock::now();
    EXPECT_EQ(LoadText(Nested(C.Depth)), C.Expected) << C.Depth;
    EXPECT_EQ(LoadText(Nested(C.Depth), true), C.Expected) << C.Depth << " partial";
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(20)) << C.Depth;
  }
}

// A file cut off inside its tree is an error, never a half-read document (it once loaded).
TEST(VqrXMLLimits, TruncatedFiles) {
  const std::string Whole = kHeader + "<r a=\"1\"><b><c x=\"2\"/></b><d/></r>";
  EXPECT_EQ(LoadText(Whole), "ok");
  for (size_t Cut : {size_t(kHeader.size() + 9), kHeader.size() + 12, kHeader.size() + 20,
                     Whole.size() - 4, Whole.size() - 1}) {
    EXPECT_EQ(LoadText(Whole.substr(0, Cut)), "Invalid file format") << Cut;
    EXPECT_EQ(LoadText(Whole.substr(0, Cut), true), "Invalid file format") << Cut << " partial";
  }
  EXPECT_EQ(LoadText(kHeader + "<r><b></r>"), "Invalid file format");
}

// Writing keeps no large buffer in its recursive frames: a tree far deeper than any file may
// hold saves (4 KB per level once ran out of stack at about 1,900 levels); 3,000 levels
// stay inside the stack with sanitizers too.
TEST(VqrXMLLimits, DeepTreeInMemorySaves) {
  TvqrXMLDocument Doc;
  TvqrXMLItem* Item = Doc.Root();
  Item->SetName(u"r");
  for (int i = 0; i < 3000; ++i) {
    Item = Item->Add();
    Item->SetName(u"a");
  }
  TStringStream Out{std::string_view()};
  Doc.SaveToStream(&Out);
  EXPECT_EQ(Out.Bytes().size(), kHeader.size() + 3 + 2999 * 7 + 4 + 4);
}
