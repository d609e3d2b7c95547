// ks_xmlTest.cpp - the XML reader and writer over streams.
#include "script/ks_xml.h"

#include <gtest/gtest.h>

#include "platform/classes/Streams.h"
#include "platform/rtl/Exceptions.h"

TEST(ksXMLStreams, ReaderLeavesTheStreamAfterTheDocumentAndWriterRoundTrips) {
  // A document longer than one read block, followed by other data in the same stream.
  std::string Doc = "<?xml version=\"1.0\"?><root>";
  for (int i = 0; i < 400; ++i) Doc += "<item n=\"" + std::to_string(i) + "\"/>";
  Doc += "</root>";
  TMemoryStream S;
  S.WriteBuffer("\xEF\xBB\xBF", 3);
  S.WriteBuffer(Doc.data(), static_cast<Int64>(Doc.size()));
  S.WriteBuffer("TAIL", 4);
  S.SetPosition(0);
  TksXMLDocument D;
  D.LoadFromStream(&S);
  EXPECT_EQ(D.Root()->Count(), 400);
  EXPECT_EQ(D.Root()->Items(399)->Prop(u"n"), u"399");
  EXPECT_EQ(S.Position(), static_cast<Int64>(3 + Doc.size()));

  TMemoryStream Out;
  D.SaveToStream(&Out);
  EXPECT_EQ(std::string(static_cast<const char*>(Out.Memory()), static_cast<size_t>(Out.Size())), Doc);

  TMemoryStream Cut;
  Cut.WriteBuffer(Doc.data(), 3000);
  Cut.SetPosition(0);
  try {
    D.LoadFromStream(&Cut);
    FAIL() << "a truncated document loaded";
  } catch (const EReadError& E) {
    EXPECT_EQ(E.Message(), u"Invalid file format");
  }
}
