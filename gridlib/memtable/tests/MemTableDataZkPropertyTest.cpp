// MemTableDataZkPropertyTest.cpp - random sequences of adds, edits, deletes, moves, reverts
// and cancels, cached and not, after each of which the sorted filtered view, the record tree
// and every index are compared with a naive rebuild from the records list.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "gridlib/memtable/MTIndexZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/tests/MemTableTestUtil.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"

namespace {

enum { fID, fPARENT, fNM };

struct TModel {
  std::unique_ptr<TMemTableDataZk> Data =
      MakeContainer({{u"ID", ftInteger}, {u"PARENT", ftInteger}, {u"NM", ftString}});
  TRecordsViewZk Plain{nullptr};
  TRecordsViewZk Tree{nullptr};
  TMTIndexZk* ById = nullptr;
  TMTIndexZk* ByName = nullptr;
  std::mt19937 Random;
  std::string LastOp;

  explicit TModel(unsigned Seed) : Random(Seed) {
    ById = Data->RecordsList()->Indexes()->Add();
    ById->SetFields(u"ID");
    ById->SetUnical(true);
    ById->SetActive(true);
    ByName = Data->RecordsList()->Indexes()->Add();
    ByName->SetFields(u"NM;ID");
    ByName->SetActive(true);
    Plain.SetOnFilterRecord([](TMemoryRecordZk* R) { return R->GetDataValue(fID, dvvValueZk).AsInteger() % 5 != 0; });
    Plain.SetMemTableData(Data.get());
    Plain.SetSortOrder(u"NM, ID DESC");
    Tree.SetMemTableData(Data.get());
    Tree.SetTreeViewKeyFieldName(u"ID");
    Tree.SetTreeViewRefParentFieldName(u"PARENT");
    Tree.MemoryTreeList()->SetFullBuildCheck(true);
    Tree.SetViewAsTreeList(true);
    Tree.MemoryTreeList()->SetDefaultNodeExpanded(true);
  }

  int Pick(int N) { return static_cast<int>(Random() % static_cast<unsigned>(N)); }
  TRecordsListZk* List() { return Data->RecordsList(); }
  Variant RandomName() {
    static const char16_t* Names[] = {u"a", u"b", u"B", u"ж", u"Ж", u"ab"};
    return Pick(6) == 0 ? Null() : Variant(Names[Pick(6)]);
  }
  // Parents are smaller keys, so the records' links never form a loop.
  Variant RandomParent(int Id) { return Id <= 1 || Pick(4) == 0 ? Null() : Variant(1 + Pick(Id - 1)); }

  void Step() {
    const int N = List()->Count();
    const int Op = Pick(13);
    TMemoryRecordZk* Rec = N > 0 ? List()->Items(Pick(N)) : nullptr;
    LastOp = "op " + std::to_string(Op) + (Rec ? " on " + std::to_string(Rec->Index()) : "") +
             (List()->CachedUpdates() ? " cached" : "");
    try {
      if (Op <= 2 || !Rec) {
        const int Id = 1 + Pick(60);
        TMemoryRecordZk* New = List()->NewRecord();
        New->SetDataValue(fID, dvvValueZk, Id);
        New->SetDataValue(fPARENT, dvvValueZk, RandomParent(Id));
        New->SetDataValue(fNM, dvvValueZk, RandomName());
        try {
          if (Op == 0 && N > 0)
            List()->InsertRecord(Pick(N + 1), New);
          else
            List()->AddRecord(New);
        } catch (...) {
          if (!New->Attached()) New->Cancel();
          throw;
        }
      } else if (Op == 3) {
        Edit(Rec, fNM, RandomName());
      } else if (Op == 4) {
        Edit(Rec, fPARENT, RandomParent(Rec->GetDataValue(fID, dvvValueZk).AsInteger()));
      } else if (Op == 5 && Rec->UpdateStatus() != usDeleted) {
        List()->DeleteRecord(Rec->Index());
      } else if (Op == 6) {
        List()->Move(Rec->Index(), Pick(N));
      } else if (Op == 7) {
        List()->RevertRecord(Rec->Index());
      } else if (Op == 8 && Pick(4) == 0) {
        List()->CancelUpdates();
      } else if (Op == 9 && Pick(4) == 0) {
        List()->MergeChangeLog();
      } else if (Op == 10) {
        List()->SetCachedUpdates(!List()->CachedUpdates());
      } else if (Op == 12) {  // sorted again from rows left in place
        Plain.SetSortOrder(String());
        const char16_t* Orders[] = {u"NM, ID DESC", u"NM DESC, ID", u"PARENT, NM DESC"};
        Plain.SetSortOrder(Orders[Pick(3)]);
      } else if (Op == 11 && Pick(3) == 0) {
        Tree.SetStatusFilter(Pick(2) ? TUpdateStatusSet{usUnmodified, usModified, usInserted}
                                     : TUpdateStatusSet{usUnmodified, usModified, usInserted, usDeleted});
      }
    } catch (const Exception&) {
      // A refused change (a taken key, a deleted record edited): the list must still agree.
    }
  }

  void Edit(TMemoryRecordZk* Rec, int Field, const Variant& Value) {
    if (Rec->UpdateStatus() == usDeleted) return;
    Rec->Edit();
    Rec->SetDataValue(Field, dvvValueZk, Value);
    try {
      Rec->Post();
    } catch (...) {
      Rec->Cancel();
      throw;
    }
  }

  std::vector<TMemoryRecordZk*> Records() { return List()->ActiveList().ToVector(); }
  bool Shown(const TRecordsViewZk& V, TMemoryRecordZk* R) {
    return V.StatusFilter().Contains(R->UpdateStatus()) &&
           (!V.OnFilterRecord() || V.OnFilterRecord()(R));
  }

  void CheckPlainView() {
    std::vector<TMemoryRecordZk*> Expected;
    for (TMemoryRecordZk* R : Records())
      if (Shown(Plain, R)) Expected.push_back(R);
    std::vector<TMemoryRecordZk*> Rows;
    for (int I = 0; I < Plain.Count(); ++I) Rows.push_back(Plain.ViewItems(I));
    for (std::size_t I = 1; I < Rows.size(); ++I)
      ASSERT_LE(CompareRecordsByOrder(Rows[I - 1], Rows[I], Plain.OrderByList()), 0) << "row " << I;
    for (std::size_t I = 0; I < Rows.size(); ++I) ASSERT_EQ(Plain.IndexOf(Rows[I]), static_cast<int>(I));
    std::sort(Rows.begin(), Rows.end());
    std::sort(Expected.begin(), Expected.end());
    ASSERT_EQ(Rows, Expected);
  }

  void CheckIndex(TMTIndexZk* Index) {
    std::vector<std::pair<Variant, TMemoryRecordZk*>> Entries;
    for (TMemoryRecordZk* R : Records())
      if (R->UpdateStatus() != usDeleted) Entries.push_back({Index->KeyOf(R), R});
    ASSERT_EQ(Index->Count(), static_cast<int>(Entries.size()));
    for (int I = 0; I < Index->Count(); ++I) {
      const TIndexItemZk& Item = Index->Items(I);
      ASSERT_TRUE(VarEquals(Item.Value, Index->KeyOf(Item.Rec))) << "entry " << I << " has a stale key";
      ASSERT_EQ(List()->Items(Item.RecIndex()), Item.Rec);
      if (I > 0) {
        ASSERT_NE(CompareVariantKeys(Index->Items(I - 1).Value, Item.Value), vrGreaterThan);
      }
    }
  }

  // The naive tree: each live record under the first record (in list order) of its parent
  // key, siblings in list order.
  void CheckTree() {
    TMemoryTreeListZk* T = Tree.MemoryTreeList();
    std::vector<TMemoryRecordZk*> Live;
    for (TMemoryRecordZk* R : Records())
      if (R->UpdateStatus() != usDeleted) Live.push_back(R);
    std::map<int, TMemoryRecordZk*> ByKey;
    for (TMemoryRecordZk* R : Live) ByKey.emplace(R->GetDataValue(fID, dvvValueZk).AsInteger(), R);
    std::map<TMemoryRecordZk*, std::vector<TMemoryRecordZk*>> Children;
    for (TMemoryRecordZk* R : Live) {
      const Variant& P = R->GetDataValue(fPARENT, dvvValueZk);
      auto It = P.IsNull() ? ByKey.end() : ByKey.find(P.AsInteger());
      Children[It == ByKey.end() ? nullptr : It->second].push_back(R);
    }
    std::size_t Nodes = 0;
    std::function<void(TBaseTreeNodeZk*, TMemoryRecordZk*)> Compare = [&](TBaseTreeNodeZk* Node, TMemoryRecordZk* Rec) {
      const auto& Want = Children[Rec];
      ASSERT_EQ(Node->Count(), static_cast<int>(Want.size())) << "children of " << (Rec ? Rec->GetDataValue(fID, dvvValueZk).AsInteger() : 0);
      for (int I = 0; I < Node->Count(); ++I) {
        auto* Child = static_cast<TMemRecViewZk*>(Node->Items(I));
        ASSERT_EQ(Child->Rec(), Want[static_cast<std::size_t>(I)]);
        ASSERT_EQ(Child->Index(), I);
        ++Nodes;
        Compare(Child, Child->Rec());
      }
    };
    Compare(T->Root(), nullptr);
    ASSERT_EQ(Nodes, Live.size());
    // Visible rows: a node shows when its record passes or a descendant shows.
    std::vector<TMemoryRecordZk*> Rows;
    std::function<bool(TMemoryRecordZk*)> Visible = [&](TMemoryRecordZk* R) {
      if (Shown(Tree, R)) return true;
      for (TMemoryRecordZk* C : Children[R])
        if (Visible(C)) return true;
      return false;
    };
    std::function<void(TMemoryRecordZk*)> Walk = [&](TMemoryRecordZk* R) {
      for (TMemoryRecordZk* C : Children[R])
        if (Visible(C)) {
          Rows.push_back(C);
          Walk(C);
        }
    };
    Walk(nullptr);
    ASSERT_EQ(Tree.AccountableItemsCount(), static_cast<int>(Rows.size()));
    for (std::size_t I = 0; I < Rows.size(); ++I) ASSERT_EQ(Tree.AccountableItems(static_cast<int>(I)), Rows[I]);
    for (int I = 0; I < Tree.Count(); ++I) ASSERT_EQ(Tree.IndexOf(Tree.ViewItems(I)), I);
  }
};

TEST(MemTableProperty, IncrementalStructuresMatchANaiveRebuild) {
  for (unsigned Seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE("seed " + std::to_string(Seed));
    TModel M(Seed);
    for (int Step = 0; Step < 400; ++Step) {
      SCOPED_TRACE("step " + std::to_string(Step));
      M.Step();
      SCOPED_TRACE(M.LastOp);
      ASSERT_NO_FATAL_FAILURE(M.CheckPlainView());
      ASSERT_NO_FATAL_FAILURE(M.CheckIndex(M.ById));
      ASSERT_NO_FATAL_FAILURE(M.CheckIndex(M.ByName));
      ASSERT_NO_FATAL_FAILURE(M.CheckTree());
    }
    EXPECT_GT(M.List()->Count(), 5);
  }
}

}  // namespace
