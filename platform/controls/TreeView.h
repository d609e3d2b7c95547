// TreeView.h - TTreeView: a tree of text nodes drawn by us, one row per visible node, with
// expand buttons, selection, a first visible row (TopItem) and a vertical scroll by rows.
//
// Each node carries an ImageIndex and a StateIndex the owner may use for its own numbers (the
// report preview keeps a page number and a position there) and a Data pointer.
#pragma once

#include <memory>
#include <vector>

#include "platform/controls/Controls.h"

class TTreeNodes;
class TTreeView;

class TTreeNode {
public:
  TTreeNode(TTreeNodes* Owner, TTreeNode* Parent, const String& Text);
  const String& Text() const { return FText; }
  void SetText(const String& Value) { FText = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  int StateIndex() const { return FStateIndex; }
  void SetStateIndex(int Value) { FStateIndex = Value; }
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  TTreeNode* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* Item(int Index) const { return FChildren.at(Index).get(); }
  bool HasChildren() const { return !FChildren.empty(); }
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  int Level() const;

private:
  friend class TTreeNodes;
  TTreeNodes* FOwner;
  TTreeNode* FParent;
  String FText;
  int FImageIndex = -1, FStateIndex = -1;
  void* FData = nullptr;
  bool FExpanded = false;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
};

class TTreeNodes {
public:
  explicit TTreeNodes(TTreeView* Owner) : FOwner(Owner) {}
  // A new last child of Parent (a new root node when Parent is nullptr).
  TTreeNode* AddChild(TTreeNode* Parent, const String& Text);
  void Clear();
  // Count of every node.
  int Count() const;
  int RootCount() const { return static_cast<int>(FRoots.size()); }
  TTreeNode* Root(int Index) const { return FRoots.at(Index).get(); }
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front().get(); }
  // Repainting waits until the last EndUpdate.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  TTreeView* Owner() const { return FOwner; }
  void Changed();

private:
  TTreeView* FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FRoots;
  int FUpdateCount = 0;
};

class TTreeView : public TCustomControl {
  VORENTA_CLASS(TTreeView, TCustomControl)
public:
  explicit TTreeView(TComponent* AOwner);
  ~TTreeView() override;

  TTreeNodes* Items() const { return FItems.get(); }
  TTreeNode* Selected() const { return FSelected; }
  void SetSelected(TTreeNode* Value);
  void FullExpand();
  void FullCollapse();
  // The node in the first visible row (nullptr for an empty tree).
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode* Value);
  // The nodes shown, top to bottom, and the node at a client point (nullptr for none).
  std::vector<TTreeNode*> VisibleNodes() const;
  TTreeNode* GetNodeAt(int X, int Y) const;
  int RowHeight() const { return 16; }
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool Value) { FShowLines = Value; Invalidate(); }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { FHideSelection = Value; Invalidate(); }

  void TreeChanged();

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

private:
  void ClampTop();
  std::unique_ptr<TTreeNodes> FItems;
  TTreeNode* FSelected = nullptr;
  int FTopRow = 0;
  bool FShowLines = true, FHideSelection = false;
};
