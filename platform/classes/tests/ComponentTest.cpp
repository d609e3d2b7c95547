// Tests of TComponent ownership, names and free notification, and of TList/TCollection.
#include "platform/classes/Component.h"

#include <gtest/gtest.h>

#include "platform/classes/Collection.h"
#include "platform/classes/List.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Records its destruction, and clears its reference when the referenced component goes.
class TProbe : public TComponent {
public:
  TProbe(TComponent* AOwner, std::vector<String>* Log) : TComponent(AOwner), FLog(Log) {}
  ~TProbe() override { FLog->push_back(Name()); }
  TComponent* Link = nullptr;
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Link) Link = nullptr;
  }

private:
  std::vector<String>* FLog;
};

TEST(ComponentTest, OwnerFreesItsComponentsLastFirst) {
  std::vector<String> Log;
  auto* Owner = new TComponent(nullptr);
  for (const char16_t* Name : {u"A", u"B", u"C"}) (new TProbe(Owner, &Log))->SetName(Name);
  EXPECT_EQ(Owner->ComponentCount(), 3);
  EXPECT_EQ(Owner->Components(1)->Name(), u"B");
  EXPECT_EQ(Owner->Components(2)->ComponentIndex(), 2);
  delete Owner->Components(1);  // a component freed early leaves its owner's list
  EXPECT_EQ(Owner->ComponentCount(), 2);
  delete Owner;
  EXPECT_EQ(Log, (std::vector<String>{u"B", u"C", u"A"}));
}

TEST(ComponentTest, FreeNotificationClearsReferences) {
  std::vector<String> Log;
  TComponent FormA(nullptr), FormB(nullptr);
  auto* Holder = new TProbe(&FormA, &Log);
  auto* Target = new TProbe(&FormB, &Log);
  auto* Sibling = new TProbe(&FormB, &Log);
  Holder->Link = Target;
  Target->FreeNotification(Holder);
  Sibling->Link = Target;  // same owner: told through the owner, no link needed
  delete Target;
  EXPECT_EQ(Holder->Link, nullptr);
  EXPECT_EQ(Sibling->Link, nullptr);
  // After RemoveFreeNotification, nothing is sent: the reference survives (and dangles).
  auto* Other = new TProbe(&FormB, &Log);
  Holder->Link = Other;
  Other->FreeNotification(Holder);
  Other->RemoveFreeNotification(Holder);
  delete Other;
  EXPECT_NE(Holder->Link, nullptr);
}

TEST(ComponentTest, NamesAreValidatedAmongTheOwnersComponents) {
  TComponent Owner(nullptr);
  auto* A = new TComponent(&Owner);
  auto* B = new TComponent(&Owner);
  A->SetName(u"Edit1");
  struct Case {
    const char16_t* Name;
    const char16_t* Error;
  } Cases[] = {
      {u"edit1", u"A component named edit1 already exists"},
      {u"1Edit", u"'1Edit' is not a valid component name"},
      {u"Ed it", u"'Ed it' is not a valid component name"},
      {u"Правка", u"'Правка' is not a valid component name"},
      {u"_Edit2", nullptr},
      {u"", nullptr},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(ToUtf8(C.Name));
    if (!C.Error) {
      EXPECT_NO_THROW(B->SetName(C.Name));
      continue;
    }
    try {
      B->SetName(C.Name);
      ADD_FAILURE() << "no error";
    } catch (const EComponentError& E) {
      EXPECT_EQ(E.Message(), C.Error);
    }
  }
  A->SetName(u"EDIT1");  // renaming itself in another case is not a clash
  EXPECT_EQ(Owner.FindComponent(u"edit1"), A);
  EXPECT_EQ(Owner.FindComponent(u""), nullptr);
  // Moving a component to an owner that has its name is refused.
  TComponent Other(nullptr);
  (new TComponent(&Other))->SetName(u"Edit1");
  EXPECT_THROW(Other.InsertComponent(A), EComponentError);
  EXPECT_EQ(A->Owner(), &Owner);
}

// A stream may give two components one name (the reader sets names unchecked); a long list
// is searched through its name index, which must still answer the first in the list.
class TStreamNamed : public TComponent {
public:
  using TComponent::TComponent;
  void SetNameUnchecked(const String& Value) { ChangeName(Value); }
};

TEST(ComponentTest, LongListFindsTheFirstOfTwoSameNamedComponents) {
  TComponent Owner(nullptr);
  std::vector<TStreamNamed*> Items;
  for (int I = 0; I < 40; ++I) {
    Items.push_back(new TStreamNamed(&Owner));
    Items.back()->SetName(u"Item" + IntToStr(I));
  }
  EXPECT_EQ(Owner.FindComponent(u"ITEM7"), Items[7]);
  EXPECT_EQ(Owner.FindComponent(u"Item40"), nullptr);
  EXPECT_THROW(Items[30]->SetName(u"item7"), EComponentError);

  Items[30]->SetNameUnchecked(u"item7");  // a second "Item7", after the first
  EXPECT_EQ(Owner.FindComponent(u"Item7"), Items[7]);
  EXPECT_EQ(Owner.FindComponent(u"Item30"), nullptr);
  Items[3]->SetNameUnchecked(u"Item7");   // a third, before both
  EXPECT_EQ(Owner.FindComponent(u"Item7"), Items[3]);
  delete Items[3];
  EXPECT_EQ(Owner.FindComponent(u"Item7"), Items[7]);
  Items[30]->SetComponentIndex(0);
  EXPECT_EQ(Owner.FindComponent(u"Item7"), Items[30]);
  Items[30]->SetNameUnchecked(u"");
  EXPECT_EQ(Owner.FindComponent(u"Item7"), Items[7]);
  Items[7]->SetName(u"Seventh");
  EXPECT_EQ(Owner.FindComponent(u"Item7"), nullptr);
  EXPECT_EQ(Owner.FindComponent(u"seventh"), Items[7]);

  // Leaving for another owner takes the name out of the index; joining puts it in.
  TComponent Other(nullptr);
  Other.InsertComponent(Items[7]);
  EXPECT_EQ(Owner.FindComponent(u"Seventh"), nullptr);
  Owner.InsertComponent(Items[7]);
  EXPECT_EQ(Owner.FindComponent(u"Seventh"), Items[7]);
}

TEST(ComponentTest, DestroyingMarksTheWholeTree) {
  TComponent Owner(nullptr);
  auto* Child = new TComponent(&Owner);
  auto* Grandchild = new TComponent(Child);
  Owner.Destroying();
  EXPECT_TRUE(Grandchild->ComponentState().Contains(csDestroying));
  EXPECT_EQ(Owner.ComponentState(), (TComponentState{csDestroying}));
}

TEST(ComponentTest, AssignBetweenUnrelatedClassesFails) {
  TComponent A(nullptr), B(nullptr);
  try {
    A.Assign(&B);
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), u"Cannot assign a TComponent to a TComponent");
  }
}

// --- TList ------------------------------------------------------------------------------------------

TEST(ListTest, EditsAndErrors) {
  int V[5];
  TList List;
  for (int& Item : V) List.Add(&Item);
  List.Move(0, 4);        // 1 2 3 4 0
  List.Exchange(0, 1);    // 2 1 3 4 0
  List.Delete(2);         // 2 1 4 0
  List.Insert(1, nullptr);
  List.Pack();
  EXPECT_EQ(List.Remove(&V[4]), 2);
  EXPECT_EQ(List.List(), (std::vector<void*>{&V[2], &V[1], &V[0]}));
  List.Sort([](void* A, void* B) { return static_cast<int>(static_cast<int*>(A) - static_cast<int*>(B)); });
  EXPECT_EQ(List.List(), (std::vector<void*>{&V[0], &V[1], &V[2]}));
  try {
    List.Items(3);
    FAIL();
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), u"List index out of bounds (3)");
  }
  EXPECT_THROW(List.SetCapacity(1), EListError);
  EXPECT_THROW(List.Insert(-1, nullptr), EListError);
}

// --- TCollection ------------------------------------------------------------------------------------

class TTestItem : public TCollectionItem {
  VORENTA_CLASS(TTestItem, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  int Width() const { return FWidth; }
  void SetWidth(int Value) {
    FWidth = Value;
    Changed(false);
  }
  void Assign(TPersistent* Source) override {
    if (auto* Item = dynamic_cast<TTestItem*>(Source)) return SetWidth(Item->FWidth);
    TCollectionItem::Assign(Source);
  }

private:
  int FWidth = 0;
};

// Logs Update and Notify calls.
class TLogCollection : public TCollection {
public:
  TLogCollection() : TCollection(TTestItem::ClassInfo()) {}
  std::vector<std::string> Log;

protected:
  void Update(TCollectionItem* Item) override {
    Log.push_back(Item ? "update " + std::to_string(Item->Index()) : "update all");
  }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    static const char* Names[] = {"added", "extracting", "deleting"};
    // The item is announced fully constructed.
    Log.push_back(std::string(Names[Action]) + (dynamic_cast<TTestItem*>(Item) ? " T" : " ?"));
  }
};

}  // namespace

REGISTER_CLASS(TTestItem) { Class.Property("Width", &TTestItem::Width, &TTestItem::SetWidth, 0); }

namespace {

TEST(CollectionTest, UpdateCountBracketsNotifications) {
  TLogCollection C;
  C.Add();
  auto* Item = static_cast<TTestItem*>(C.Add());
  Item->SetWidth(5);
  EXPECT_EQ(C.Log, (std::vector<std::string>{"added T", "update all", "added T", "update all",
                                             "update 1"}));
  C.Log.clear();
  C.BeginUpdate();
  C.BeginUpdate();
  C.Insert(0);
  Item->SetWidth(7);
  C.Delete(1);
  C.EndUpdate();
  EXPECT_EQ(C.Log, (std::vector<std::string>{"added T", "deleting T", "extracting T"}));
  C.EndUpdate();
  EXPECT_EQ(C.Log.back(), "update all");
  EXPECT_EQ(C.Count(), 2);
  EXPECT_EQ(C.Items(1), Item);
  EXPECT_EQ(Item->ID(), 1);      // IDs are never reused
  EXPECT_EQ(C.Items(0)->ID(), 2);
  EXPECT_EQ(C.FindItemID(2), C.Items(0));
  Item->SetIndex(0);
  EXPECT_EQ(Item->Index(), 0);
  EXPECT_THROW(C.Items(2), EListError);
}

TEST(CollectionTest, AssignCopiesItemsAndOwnerNamesThePath) {
  TComponent Owner(nullptr);
  Owner.SetName(u"Grid1");
  TOwnedCollection Source(&Owner, TTestItem::ClassInfo());
  static_cast<TTestItem*>(Source.Add())->SetWidth(10);
  static_cast<TTestItem*>(Source.Add())->SetWidth(20);
  TLogCollection Copy;
  Copy.Add();
  Copy.Log.clear();
  Copy.Assign(&Source);
  ASSERT_EQ(Copy.Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(Copy.Items(1))->Width(), 20);
  EXPECT_EQ(std::count(Copy.Log.begin(), Copy.Log.end(), "update all"), 1);
  EXPECT_EQ(Source.Items(1)->GetNamePath(), u"Grid1.TOwnedCollection[1]");
  EXPECT_EQ(Source.Items(0)->DisplayName(), u"TTestItem");
}

TEST(CollectionTest, AssignToItselfKeepsTheItems) {
  TLogCollection C;
  static_cast<TTestItem*>(C.Add())->SetWidth(10);
  TCollectionItem* Second = C.Add();
  static_cast<TTestItem*>(Second)->SetWidth(20);
  C.Log.clear();
  C.Assign(&C);
  ASSERT_EQ(C.Count(), 2);
  EXPECT_EQ(C.Items(1), Second);
  EXPECT_EQ(static_cast<TTestItem*>(Second)->Width(), 20);
  EXPECT_TRUE(C.Log.empty());
}

}  // namespace
