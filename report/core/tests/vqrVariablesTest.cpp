// vqrVariablesTest.cpp - categories by order, the variables file and the script array.
#include "report/core/vqrVariables.h"

#include <gtest/gtest.h>

#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"

namespace {

String Names(const TvqrVariables& V) {
  String S;
  for (int I = 0; I < V.Count(); ++I) S += (I ? u"," : u"") + V.Items(I)->Name();
  return S;
}

void Fill(TvqrVariables& V) {
  for (const char16_t* Name : {u"free", u" Cat1", u"a", u" Cat2", u"b"}) V.Add()->SetName(Name);
}

}  // namespace

TEST(VqrVariables, AddVariableFollowsCategories) {
  TvqrVariables V;
  Fill(V);
  V.AddVariable(u"cat1", u"a2", 1);
  EXPECT_EQ(Names(V), u"free, Cat1,a,a2, Cat2,b");
  V.AddVariable(u"Cat2", u"c", 2);
  EXPECT_EQ(Names(V), u"free, Cat1,a,a2, Cat2,b,c");
  V.AddVariable(u"Cat2", u"A", 3);  // exists in another category: only its value changes
  EXPECT_EQ(Names(V), u"free, Cat1,a,a2, Cat2,b,c");
  EXPECT_EQ(V.Variables(u"a").AsInteger(), 3);
  V.AddVariable(u"None", u"z", 4);
  EXPECT_EQ(V.IndexOf(u"z"), -1);
  V.SetVariables(u"new", 5);
  EXPECT_EQ(V.IndexOf(u"new"), V.Count() - 1);
  EXPECT_TRUE(V.Variables(u"absent").IsNull());
  EXPECT_EQ(V.IndexOf(u" cat2"), 4);
}

TEST(VqrVariables, ListsAndDeletes) {
  TvqrVariables V;
  Fill(V);
  TStringList List;
  List.Add(u"kept");
  V.GetCategoriesList(&List, false);
  EXPECT_EQ(List.Count(), 3);
  V.GetVariablesList(u"", &List);
  EXPECT_EQ(List.Count(), 1);
  V.GetVariablesList(u"Cat2", &List);
  EXPECT_EQ(List.Get(0), u"b");
  V.GetVariablesList(u"Nope", &List);
  EXPECT_EQ(List.Count(), 0);
  V.DeleteCategory(u"Cat1");
  EXPECT_EQ(Names(V), u"free, Cat2,b");
  V.DeleteVariable(u"B");
  EXPECT_EQ(Names(V), u"free, Cat2");
}

TEST(VqrVariables, FileRoundTrip) {
  TvqrVariables V;
  Fill(V);
  V.Items(2)->SetValue(Variant(u"q\"1\""));
  V.Items(4)->SetValue(42);
  TStringStream Out{std::string_view()};
  V.SaveToStream(&Out);
  EXPECT_NE(Out.Bytes().find("<variables>\r\n  <item Name=\"free\" Value=\"\"/>"),
            std::string::npos);
  TvqrVariables Back;
  Out.SetPosition(0);
  Back.LoadFromStream(&Out);
  EXPECT_EQ(Names(Back), Names(V));
  EXPECT_EQ(Back.Variables(u"a").AsString(), u"q\"1\"");
  EXPECT_EQ(Back.Variables(u"b").AsString(), u"42");

  TStringStream Other{std::string_view("<?xml version=\"1.0\" standalone=\"no\"?><other/>")};
  Back.LoadFromStream(&Other);
  EXPECT_EQ(Back.Count(), 0);
}

TEST(VqrArray, KeysByTextForm) {
  TvqrArray A;
  A.SetVariables(1, Variant(u"one"));
  A.SetVariables(Variant(u"1"), Variant(u"uno"));
  EXPECT_EQ(A.Count(), 1);
  EXPECT_EQ(A.Variables(1).AsString(), u"uno");
  EXPECT_TRUE(A.Variables(Variant(u"2")).IsNull());
}
