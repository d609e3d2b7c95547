// MemTreeZk.h - a generic ordered tree of nodes carrying a text and an object reference: the
// base of the memory table's record tree and of the grid's row grouping.
//
// The tree owns its nodes and a node owns its children. Descendants override the virtual
// operations; every node is made through the factory the tree holds, so a descendant tree
// gets its own node class. Each node keeps its children in order and, while not every child
// is visible, a second list of the visible ones.
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/Object.h"
#include "platform/rtl/Types.h"

class TTreeListZk;
class TBaseTreeNodeZk;

enum TNodeAttachModeZk { naAddZk, naAddFirstZk, naAddChildZk, naAddChildFirstZk, naInsertZk };

// Negative, zero or positive by the order of Node1 and Node2; ParamSort is the caller's.
using TCompareNodesZk =
    std::function<int(TBaseTreeNodeZk* Node1, TBaseTreeNodeZk* Node2, void* ParamSort)>;
using TTreeNodeNotifyEventZk = std::function<void(TBaseTreeNodeZk* Sender)>;
using TTreeNodeNotifyResultEventZk = std::function<bool(TBaseTreeNodeZk* Sender)>;
// The tree's virtual constructor: makes a node of the tree's class owned by Owner.
using TTreeNodeFactoryZk = std::function<TBaseTreeNodeZk*(TTreeListZk* Owner)>;

// Where ExportToTreeView puts its items: a tree view or any other hierarchical list.
class ITreeViewExportTargetZk {
public:
  virtual ~ITreeViewExportTargetZk() = default;
  // Adds an item as the last child of Relative (AsChild) or as its last sibling, and answers
  // the new item's handle. Relative nullptr means the top level.
  virtual void* AddItem(void* Relative, bool AsChild, const String& Text, TObject* Data,
                        bool Expanded) = 0;
};

class TBaseTreeNodeZk {
public:
  explicit TBaseTreeNodeZk(TTreeListZk* AOwner) : FOwner(AOwner) {}
  // Frees the children first, in child order. It does not detach the node from its parent.
  virtual ~TBaseTreeNodeZk();
  TBaseTreeNodeZk(const TBaseTreeNodeZk&) = delete;
  TBaseTreeNodeZk& operator=(const TBaseTreeNodeZk&) = delete;

  TTreeListZk* Owner() const { return FOwner; }
  const String& Text() const { return FText; }
  void SetText(const String& Value) { FText = Value; }
  TObject* Data() const { return FData; }
  void SetData(TObject* Value) { FData = Value; }
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  bool HasChildren() const { return FHasChildren; }
  void SetHasChildren(bool Value) { FHasChildren = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int Index() const { return FIndex; }
  int VisibleIndex() const { return FVisibleIndex; }
  int Level() const { return FLevel; }
  // Renumbers the subtree's levels. Raises the max-level message above the tree's maximum.
  void SetLevel(int Value);
  TBaseTreeNodeZk* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TBaseTreeNodeZk* Items(int Index) const { return GetItem(Index); }
  const std::vector<TBaseTreeNodeZk*>& GetVisibleList() const;
  int GetVisibleCount() const;
  TBaseTreeNodeZk* GetVisibleItem(int Index) const;
  // The depth of the deepest descendant below this node (0 for a leaf).
  int SubtreeDepth() const;

  int Add(TBaseTreeNodeZk* Node);
  void Insert(int Index, TBaseTreeNodeZk* Node);
  // Removes entry Index from the children; the node is not freed.
  void Delete(int Index);
  void Exchange(int Index1, int Index2);
  void SortChildren(void* ParamSort, bool ARecurse, const TCompareNodesZk& Compare);
  // Walks from this node up to (not including) the root: true when Node is met.
  bool IsSelfOrAncestorOf(const TBaseTreeNodeZk* Node) const;

  virtual bool ExpandedChanging();
  virtual TBaseTreeNodeZk* GetItem(int Index) const;
  virtual bool VisibleChanging() { return true; }
  // Empties both child lists; the nodes are not freed.
  virtual void ClearItems();
  virtual void ChildVisibleChanged(TBaseTreeNodeZk* Child);
  virtual void ExpandedChanged();
  virtual void VisibleChanged();
  virtual void BuildVisibleItems();

protected:
  void CheckOwner(const TBaseTreeNodeZk* Node) const;
  void QuickSort(int L, int R, void* ParamSort, const TCompareNodesZk& Compare);

  TTreeListZk* FOwner;
  String FText;
  TObject* FData = nullptr;
  bool FExpanded = false;
  bool FHasChildren = false;
  int FIndex = 0;
  std::vector<TBaseTreeNodeZk*> FItems;
  std::vector<TBaseTreeNodeZk*> FVisibleItems;
  int FLevel = 0;
  TBaseTreeNodeZk* FParent = nullptr;
  bool FVisible = true;
  int FVisibleCount = 0;
  int FVisibleIndex = 0;

  friend class TTreeListZk;
};

class TTreeListZk {
public:
  explicit TTreeListZk(TTreeNodeFactoryZk ItemFactory);
  virtual ~TTreeListZk();
  TTreeListZk(const TTreeListZk&) = delete;
  TTreeListZk& operator=(const TTreeListZk&) = delete;

  TBaseTreeNodeZk* Root() const { return FRoot; }
  int MaxLevel() const { return FMaxLevel; }
  const TTreeNodeNotifyEventZk& OnExpandedChanged() const { return FOnExpandedChanged; }
  void SetOnExpandedChanged(TTreeNodeNotifyEventZk Value) { FOnExpandedChanged = std::move(Value); }
  const TTreeNodeNotifyResultEventZk& OnExpandedChanging() const { return FOnExpandedChanging; }
  void SetOnExpandedChanging(TTreeNodeNotifyResultEventZk Value) {
    FOnExpandedChanging = std::move(Value);
  }

  virtual bool ExpandedChanging(TBaseTreeNodeZk* Node);
  virtual void ExpandedChanged(TBaseTreeNodeZk* Node);
  virtual int CompareTreeNodes(TBaseTreeNodeZk* Node1, TBaseTreeNodeZk* Node2, void* ParamSort);
  // Detaches Node and attaches it at Destination. Raises "Reference-loop found" when
  // Destination is Node or lies below it, and the max-level message when the subtree would
  // end up too deep; both before anything changes.
  virtual void MoveTo(TBaseTreeNodeZk* Node, TBaseTreeNodeZk* Destination,
                      TNodeAttachModeZk Mode, bool ReIndex);
  virtual void SortData(const TCompareNodesZk& CompareProg, void* ParamSort, bool ARecurse);

  // A new node of the item class under Parent (nullptr: the root). Owner and level are
  // checked before it is attached.
  TBaseTreeNodeZk* AddChild(const String& Text, TBaseTreeNodeZk* Parent, TObject* Data);
  TBaseTreeNodeZk* CreateNodeApart(const String& Text, TObject* Data);
  // Attaches a node made apart (or extracted). Owner and level are checked first.
  void AddNode(TBaseTreeNodeZk* Node, TBaseTreeNodeZk* Destination, TNodeAttachModeZk Mode,
               bool ReIndex);
  void DeleteChildren(TBaseTreeNodeZk* Node);
  void ExtractNode(TBaseTreeNodeZk* Node, bool ReIndex);
  void DeleteNode(TBaseTreeNodeZk* Node, bool ReIndex);
  void Clear() { DeleteChildren(FRoot); }
  void Expand(TBaseTreeNodeZk* Node, bool Recurse);
  void Collapse(TBaseTreeNodeZk* Node, bool Recurse);
  void BuildChildrenIndex(TBaseTreeNodeZk* Node, bool Recurse);
  int CountChildren(TBaseTreeNodeZk* Node) const;
  bool HasChildren(TBaseTreeNodeZk* Node) const { return CountChildren(Node) > 0; }

  TBaseTreeNodeZk* GetFirstChild(TBaseTreeNodeZk* Node) const;
  TBaseTreeNodeZk* GetLastChild(TBaseTreeNodeZk* Node) const;
  TBaseTreeNodeZk* GetPrevSibling(TBaseTreeNodeZk* Node) const;
  TBaseTreeNodeZk* GetNextSibling(TBaseTreeNodeZk* Node) const;
  TBaseTreeNodeZk* GetFirst() const { return GetFirstChild(FRoot); }
  TBaseTreeNodeZk* GetLast(TBaseTreeNodeZk* Node) const;
  TBaseTreeNodeZk* GetNext(TBaseTreeNodeZk* Node) const;
  TBaseTreeNodeZk* GetPrevious(TBaseTreeNodeZk* Node) const;
  TBaseTreeNodeZk* GetParentAtLevel(TBaseTreeNodeZk* Node, int ParentLevel) const;
  TBaseTreeNodeZk* GetNode(TBaseTreeNodeZk* StartNode, const TObject* Data) const;
  TBaseTreeNodeZk* GetNextVisibleSibling(TBaseTreeNodeZk* Node) const;
  TBaseTreeNodeZk* GetPrevVisibleSibling(TBaseTreeNodeZk* Node) const;
  TBaseTreeNodeZk* GetFirstVisible() const;
  TBaseTreeNodeZk* GetNextVisible(TBaseTreeNodeZk* Node, bool ConsiderCollapsed) const;
  bool GetPathVisible(TBaseTreeNodeZk* Node, bool ConsiderCollapsed) const;
  TBaseTreeNodeZk* GetParentVisible(TBaseTreeNodeZk* Node, bool ConsiderCollapsed) const;

  // Exports Node and its following siblings, with their subtrees, under (AddChild) or beside
  // NodeTree.
  void ExportToTreeView(ITreeViewExportTargetZk* TreeView, TBaseTreeNodeZk* Node,
                        void* NodeTree, bool AddChild) const;

protected:
  TBaseTreeNodeZk* NewNode() { return FItemFactory(this); }
  // Sets a new node's flags without the expanding hooks (it is not shown yet).
  static void InitNodeState(TBaseTreeNodeZk* Node, bool Expanded, bool HasChildren) {
    Node->FExpanded = Expanded;
    Node->FHasChildren = HasChildren;
  }
  // Raises when Node (with its subtree) cannot hang under Parent: another tree's node, or a
  // subtree that would pass the maximum level.
  void CheckAttach(const TBaseTreeNodeZk* Node, const TBaseTreeNodeZk* Parent) const;

private:
  TTreeNodeFactoryZk FItemFactory;
  TTreeNodeNotifyEventZk FOnExpandedChanged;
  TTreeNodeNotifyResultEventZk FOnExpandedChanging;
  int FMaxLevel = 1000;
  TBaseTreeNodeZk* FRoot;
};

// The messages of the tree, raised as Exception.
[[noreturn]] void RaiseTreeMaxLevel(int MaxLevel);
[[noreturn]] void RaiseReferenceLoop();
