// TextFormLimitsTest.cpp - the text and binary component-stream converters against hostile
// input: nesting beyond the reader's limit is "Nesting too deep", never a stack overflow.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/rtl/Exceptions.h"

namespace {

std::string Repeat(const std::string& Piece, int Count) {
  std::string R;
  for (int i = 0; i < Count; ++i) R += Piece;
  return R;
}

// "ok", or the message of the exception the conversion raised.
std::string TextToBinary(const std::string& Text) {
  try {
    TStringStream In{std::string_view(Text)};
    TMemoryStream Out;
    ObjectTextToBinary(&In, &Out);
    return "ok";
  } catch (const Exception& E) {
    return StringToUtf8(E.Message());
  }
}

std::string BinaryToText(const std::string& Bytes) {
  try {
    TStringStream In{std::string_view(Bytes)};
    TMemoryStream Out;
    ObjectBinaryToText(&In, &Out);
    return "ok";
  } catch (const Exception& E) {
    return StringToUtf8(E.Message());
  }
}

std::string TextObjects(int Depth) {
  return Repeat("object TComponent\n", Depth) + Repeat("end\n", Depth);
}
std::string TextLists(int Depth) {
  return "object TComponent\n  P = " + Repeat("(", Depth) + Repeat(")", Depth) + "\nend\n";
}
std::string TextCollections(int Depth) {
  return "object TComponent\n  P = " + Repeat("<item P = ", Depth) + "1" +
         Repeat(" end>", Depth) + "\nend\n";
}
// The binary form: signature, then per object its class and name (short strings) and the
// ends of its property and child lists; a property holding nested lists.
std::string BinaryObjects(int Depth) {
  return "TPF0" + Repeat(std::string("\x0ATComponent\x00\x00", 13), Depth) +
         Repeat(std::string(1, '\0'), Depth);
}
std::string BinaryLists(int Depth) {
  return "TPF0" + std::string("\x0ATComponent\x00\x01P", 14) + Repeat("\x01", Depth) +
         Repeat(std::string(1, '\0'), Depth) + std::string(2, '\0');
}

// Within the reader's 512 levels converts; past it (up to far past: these once ran out of
// stack at 24,000 to 44,000 levels) is "Nesting too deep" at once.
TEST(TextFormLimits, NestingDepth) {
  struct {
    const char* Name;
    std::string (*Make)(int);
    std::string (*Convert)(const std::string&);
  } const kCases[] = {
      {"text objects", TextObjects, TextToBinary},
      {"text lists", TextLists, TextToBinary},
      {"text collections", TextCollections, TextToBinary},
      {"binary objects", BinaryObjects, BinaryToText},
      {"binary lists", BinaryLists, BinaryToText},
  };
  for (auto& C : kCases) {
    EXPECT_EQ(C.Convert(C.Make(500)), "ok") << C.Name;
    for (int Depth : {513, 200000}) {
      auto Start = std::chrono::steady_clock::now();
      EXPECT_THAT(C.Convert(C.Make(Depth)), ::testing::StartsWith("Nesting too deep"))
          << C.Name << " " << Depth;
      EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(20)) << C.Name;
    }
  }
}

}  // namespace
