// vqrPreviewPagesBaseTest.cpp - a base text read once gives the objects that reading the base
// and the difference joined gives, for the first object (plans made) and the later ones
// (plans reused), and texts that would read differently are refused.
#include "report/core/vqrPreviewPagesBase.h"

#include <gtest/gtest.h>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrXMLSerializer.h"

namespace {

class ParsedBaseTest : public ::testing::Test {
protected:
  void SetUp() override {
    vqrModuleInitialize();
    Page = std::make_unique<TvqrReportPage>(nullptr);
  }
  void TearDown() override {
    Page.reset();
    vqrModuleFinalize();
  }

  // The object as text, written back by the serializer.
  static std::string Written(TComponent* Obj) {
    TvqrXMLSerializer Writer;
    return StringToUtf8(Writer.WriteComponentStr(Obj));
  }

  std::unique_ptr<TvqrReportPage> Page;
};

TEST_F(ParsedBaseTest, GivesWhatTheJoinedTextGives) {
  struct TCase {
    const char16_t* Base;
    const char16_t* Diff;
  };
  const TCase Cases[] = {
      // Numbers, a sub-object's ordinals and string, an enumeration by name, a set, the text.
      {u"TvqrMemoView Left=\"0\" Top=\"0\" Width=\"478.5\" Height=\"20\" Font.Color=\"255\" "
       u"Font.Height=\"-16\" Font.Name=\"DejaVu Sans\" Font.Style=\"1\" HAlign=\"haRight\" "
       u"Frame.Typ=\"15\" ParentFont=\"0\" Text=\"[Price &#34;A&#34;]\"",
       u" t=\"40\" u=\"К 10-0 &#60;x&#62;\""},
      // The difference sets again what the base set; bounds by their letters.
      {u"TvqrMemoView l=\"3\" w=\"50\" Text=\"a\" Frame.Typ=\"1\"",
       u" l=\"7\" Frame.Typ=\"4\" x=\"b\" Height=\"9\""},
      // Values that do not convert, unknown names, a walk through a number, a separator
      // that depends on the settings, a reference: all left to the serializer.
      {u"TvqrMemoView Width=\"abc\" HAlign=\"haNowhere\" Font.Size=\"x\" NoSuch=\"1\" "
       u"Left.Typ=\"2\" Top=\"1,5\" Height=\"1e3\" DataSet=\"Nothing\" Font.Nope.Size=\"3\"",
       u" t=\"2\""},
      // Only a class name (objects written as all their differences).
      {u"TvqrMasterData", u" Height=\"30\" Left=\"0\" t=\"60\""},
      // Leading blanks and blanks after the last pair.
      {u"  TvqrMemoView Left=\"1\"   ", u" u=\"z\""},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(StringToUtf8(C.Base));
    const String Diff = C.Diff;
    TvqrXMLSerializer Joined;
    const std::string Expected =
        Written(Joined.ReadComponentStr(Page.get(), String(C.Base) + u" " + Diff, true));
    TvqrParsedBase Base(C.Base, false);
    ASSERT_TRUE(Base.Usable());
    TvqrXMLSerializer Serializer;
    EXPECT_EQ(Written(Base.Read(Page.get(), Diff, Serializer)), Expected);
    // Later objects take the plans the first one made.
    EXPECT_EQ(Written(Base.Read(Page.get(), Diff, Serializer)), Expected);
    EXPECT_EQ(Written(Base.Read(Page.get(), Diff, Serializer)), Expected);
  }
}

TEST_F(ParsedBaseTest, PlansDoNotDependOnTheDecimalSeparator) {
  TvqrParsedBase Base(u"TvqrMemoView Left=\"12.5\" Top=\"2,25\"", false);
  TvqrXMLSerializer Serializer;
  auto* First = dynamic_cast<TvqrComponent*>(Base.Read(Page.get(), u"", Serializer));
  const Char Saved = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = Saved == u'.' ? u',' : u'.';
  auto* Second = dynamic_cast<TvqrComponent*>(Base.Read(Page.get(), u"", Serializer));
  FormatSettings.DecimalSeparator = Saved;
  ASSERT_TRUE(First && Second);
  EXPECT_EQ(First->Left(), 12.5L);
  EXPECT_EQ(Second->Left(), 12.5L);
  EXPECT_EQ(First->Top(), 2.25L);
  EXPECT_EQ(Second->Top(), 2.25L);
}

TEST_F(ParsedBaseTest, TextsThatReadDifferentlyJoinedAreRefused) {
  const char16_t* Refused[] = {
      u"TvqrNoSuchView Left=\"1\"",      // unknown class: the joined reading raises
      u"TvqrMemoView Left=\"1",          // open quote: the joined value runs into the difference
      u"TvqrMemoView Left=\"1\" stray",  // a name without "=" would take the difference's
      u"TvqrMemoView Left",              // the same without any pair before
      u"TvqrMemoView =\"1\"",            // an empty name ends the joined reading
      u"   ",
  };
  for (const char16_t* Text : Refused) EXPECT_FALSE(TvqrParsedBase(Text, false).Usable()) << StringToUtf8(Text);
}

}  // namespace
