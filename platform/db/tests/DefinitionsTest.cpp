// DefinitionsTest.cpp - field definitions, index definitions and parameters as collections:
// their published properties carry them through a component stream, and the list API the
// datasets use keeps working.
#include <gtest/gtest.h>

#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/IndexDefs.h"
#include "platform/db/Params.h"
#include "platform/rtl/SysUtils.h"

// A component publishing the three collections, as a form's dataset would.
class TDefsHolder : public TComponent {
  VORENTA_CLASS(TDefsHolder, TComponent)
public:
  explicit TDefsHolder(TComponent* AOwner)
      : TComponent(AOwner),
        FSet(std::make_unique<TArrayDataSet>(nullptr)),
        FParams(std::make_unique<TParams>(this)) {}
  TFieldDefs* FieldDefs() const { return FSet->FieldDefs(); }
  TIndexDefs* IndexDefs() const { return FSet->IndexDefs(); }
  TParams* Params() const { return FParams.get(); }
  TArrayDataSet* Set() const { return FSet.get(); }

private:
  std::unique_ptr<TArrayDataSet> FSet;
  std::unique_ptr<TParams> FParams;
};

REGISTER_CLASS(TDefsHolder) {
  Class.Property("FieldDefs", &TDefsHolder::FieldDefs, nullptr)
      .Property("IndexDefs", &TDefsHolder::IndexDefs, nullptr)
      .Property("Params", &TDefsHolder::Params, nullptr);
}

namespace {

TEST(Definitions, CollectionsStreamWithTheirPublishedProperties) {
  RegisterClasses({TDefsHolder::ClassInfo()});
  TDefsHolder Source(nullptr);
  Source.SetName(u"Holder");
  Source.FieldDefs()->Add(u"ID", ftAutoInc);
  Source.FieldDefs()->Add(u"NAME", ftWideString, 40, true);
  Source.IndexDefs()->Add(u"BY_NAME", u"NAME;ID", {ixUnique, ixCaseInsensitive});
  Source.Params()->CreateParam(ftInteger, u"COLOR_ID", ptInput)->SetValue(Variant(7));
  Source.Params()->CreateParam(ftWideString, u"NM", ptInput)->SetValue(Variant(u"Ёлка"));
  const String Text = ComponentToText(&Source);

  TDefsHolder Copy(nullptr);
  TextToComponent(Text, &Copy);
  ASSERT_EQ(2, Copy.FieldDefs()->Count());
  const TFieldDef* Name = Copy.FieldDefs()->Find(u"NAME");
  EXPECT_EQ(ftWideString, Name->DataType());
  EXPECT_EQ(40, Name->Size());
  EXPECT_TRUE(Name->Required());
  EXPECT_EQ(2, Name->FieldNo());
  EXPECT_EQ(ftAutoInc, Copy.FieldDefs()->Items(0)->DataType());
  ASSERT_EQ(1, Copy.IndexDefs()->Count());
  EXPECT_EQ(u"NAME;ID", Copy.IndexDefs()->Find(u"BY_NAME")->Fields());
  EXPECT_TRUE(Copy.IndexDefs()->Items(0)->Options() == (TIndexOptions{ixUnique, ixCaseInsensitive}));
  ASSERT_EQ(2, Copy.Params()->Count());
  EXPECT_EQ(7, Copy.Params()->ParamByName(u"COLOR_ID")->AsInteger());
  EXPECT_EQ(ftInteger, Copy.Params()->ParamByName(u"COLOR_ID")->DataType());
  EXPECT_EQ(ptInput, Copy.Params()->ParamByName(u"NM")->ParamType());
  EXPECT_EQ(u"Ёлка", Copy.Params()->ParamByName(u"NM")->AsString());
  EXPECT_EQ(Text, ComponentToText(&Copy));

  // The streamed definitions build the dataset's fields.
  Copy.Set()->Open();
  EXPECT_EQ(2, Copy.Set()->FieldCount());
  EXPECT_TRUE(Copy.Set()->FieldByName(u"NAME")->Required());
}

TEST(Definitions, ListApiKeepsWorkingOnTheCollections) {
  TParams Params;
  EXPECT_EQ(u"SELECT * FROM T WHERE A = ? AND B = ? OR A = ?",
            Params.ParseSQL(u"SELECT * FROM T WHERE A = :A AND B = :B OR A = :a", true));
  ASSERT_EQ(2, Params.Count());
  Params.ParamByName(u"b")->SetValue(Variant(2));
  TParams Copy;
  Copy.Assign(static_cast<TPersistent*>(&Params));
  EXPECT_TRUE(Copy.IsEqual(Params));
  Copy.Delete(0);
  EXPECT_EQ(nullptr, Copy.FindParam(u"A"));
  EXPECT_EQ(Copy.Items(0)->Collection(), &Copy);
  try {
    Copy.ParamByName(u"A");
    ADD_FAILURE() << "no error for a missing parameter";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(u"Parameter 'A' not found", E.Message());
  }

  TArrayDataSet Set(nullptr);
  Set.FieldDefs()->Add(u"ID", ftInteger);
  EXPECT_THROW(Set.FieldDefs()->Add(u"id", ftInteger), EDatabaseError);
  Set.FieldDefs()->Add(u"NAME", ftWideString, 10);
  Set.FieldDefs()->Delete(0);
  EXPECT_EQ(1, Set.FieldDefs()->Find(u"NAME")->FieldNo());
  Set.FieldDefs()->SetUpdated(true);
  Set.FieldDefs()->Items(0)->SetSize(20);
  EXPECT_FALSE(Set.FieldDefs()->Updated());  // a change makes them out of date
}

}  // namespace
