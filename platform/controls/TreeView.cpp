// TreeView.cpp - the tree view, drawn by us.
#include "platform/controls/TreeView.h"

#include "platform/classes/TypeRegistry.h"

#include <algorithm>

#include "platform/graphics/WinDraw.h"

REGISTER_CLASS(TTreeView) {}

namespace {

constexpr int Indent = 19;

void CollectVisible(TTreeNode* Node, std::vector<TTreeNode*>& Out) {
  Out.push_back(Node);
  if (Node->Expanded())
    for (int I = 0; I < Node->Count(); ++I) CollectVisible(Node->Item(I), Out);
}

void ExpandAll(TTreeNode* Node, bool Value) {
  for (int I = 0; I < Node->Count(); ++I) ExpandAll(Node->Item(I), Value);
  if (Node->HasChildren()) Node->SetExpanded(Value);
}

int CountNodes(const TTreeNode* Node) {
  int N = 1;
  for (int I = 0; I < Node->Count(); ++I) N += CountNodes(Node->Item(I));
  return N;
}

}  // namespace

// --- nodes ------------------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* Owner, TTreeNode* Parent, const String& Text)
    : FOwner(Owner), FParent(Parent), FText(Text) {}

void TTreeNode::SetExpanded(bool Value) {
  if (FExpanded == Value) return;
  FExpanded = Value;
  FOwner->Changed();
}

int TTreeNode::Level() const {
  int L = 0;
  for (const TTreeNode* P = FParent; P; P = P->FParent) ++L;
  return L;
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& Text) {
  auto Node = std::make_unique<TTreeNode>(this, Parent, Text);
  TTreeNode* Result = Node.get();
  (Parent ? Parent->FChildren : FRoots).push_back(std::move(Node));
  Changed();
  return Result;
}

void TTreeNodes::Clear() {
  if (FOwner) FOwner->SetSelected(nullptr);
  FRoots.clear();
  Changed();
}

int TTreeNodes::Count() const {
  int N = 0;
  for (const auto& R : FRoots) N += CountNodes(R.get());
  return N;
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TTreeNodes::Changed() {
  if (FUpdateCount == 0 && FOwner) FOwner->TreeChanged();
}

// --- the view ---------------------------------------------------------------------------------

TTreeView::TTreeView(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TTreeNodes>(this)) {
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
  SetTabStop(true);
}

TTreeView::~TTreeView() = default;

void TTreeView::TreeChanged() {
  ClampTop();
  Invalidate();
}

void TTreeView::SetSelected(TTreeNode* Value) {
  if (FSelected == Value) return;
  FSelected = Value;
  Invalidate();
}

void TTreeView::FullExpand() {
  FItems->BeginUpdate();
  for (int I = 0; I < FItems->RootCount(); ++I) ExpandAll(FItems->Root(I), true);
  FItems->EndUpdate();
}

void TTreeView::FullCollapse() {
  FItems->BeginUpdate();
  for (int I = 0; I < FItems->RootCount(); ++I) ExpandAll(FItems->Root(I), false);
  FItems->EndUpdate();
}

std::vector<TTreeNode*> TTreeView::VisibleNodes() const {
  std::vector<TTreeNode*> Out;
  for (int I = 0; I < FItems->RootCount(); ++I) CollectVisible(FItems->Root(I), Out);
  return Out;
}

TTreeNode* TTreeView::TopItem() const {
  const std::vector<TTreeNode*> Rows = VisibleNodes();
  return FTopRow < static_cast<int>(Rows.size()) ? Rows[FTopRow] : nullptr;
}

void TTreeView::SetTopItem(TTreeNode* Value) {
  const std::vector<TTreeNode*> Rows = VisibleNodes();
  const auto It = std::find(Rows.begin(), Rows.end(), Value);
  if (It == Rows.end()) return;
  FTopRow = static_cast<int>(It - Rows.begin());
  ClampTop();
  Invalidate();
}

void TTreeView::ClampTop() {
  const int Rows = static_cast<int>(VisibleNodes().size());
  const int Shown = std::max(1, ClientHeight() / RowHeight());
  FTopRow = std::clamp(FTopRow, 0, std::max(0, Rows - Shown));
}

TTreeNode* TTreeView::GetNodeAt(int, int Y) const {
  const std::vector<TTreeNode*> Rows = VisibleNodes();
  if (Y < 0) return nullptr;
  const int Row = FTopRow + Y / RowHeight();
  return Row < static_cast<int>(Rows.size()) ? Rows[Row] : nullptr;
}

void TTreeView::Paint() {
  TCanvas* C = Canvas();
  C->Brush()->SetColor(Color());
  C->FillRect(ClientRect());
  C->Font()->Assign(Font());
  const std::vector<TTreeNode*> Rows = VisibleNodes();
  for (int Row = FTopRow, Y = 0; Row < static_cast<int>(Rows.size()) && Y < ClientHeight();
       ++Row, Y += RowHeight()) {
    TTreeNode* Node = Rows[Row];
    const int X = 2 + Node->Level() * Indent;
    if (Node->HasChildren()) {
      // A boxed plus or minus before the text.
      const int BX = X + 4, BY = Y + 4;
      C->Pen()->SetColor(clGray);
      C->Brush()->SetColor(clWindow);
      C->Rectangle(BX, BY, BX + 9, BY + 9);
      C->Pen()->SetColor(clWindowText);
      C->MoveTo(BX + 2, BY + 4);
      C->LineTo(BX + 7, BY + 4);
      if (!Node->Expanded()) {
        C->MoveTo(BX + 4, BY + 2);
        C->LineTo(BX + 4, BY + 7);
      }
    }
    const int TX = X + 17;
    const bool Sel = Node == FSelected && (Focused() || !FHideSelection);
    const int TW = C->TextWidth(Node->Text());
    C->Brush()->SetColor(Sel ? clHighlight : Color());
    C->Font()->SetColor(Sel ? clHighlightText : Font()->Color());
    C->FillRect(Rect(TX - 1, Y, TX + TW + 2, Y + RowHeight()));
    C->Brush()->SetStyle(bsClear);
    C->TextOut(TX, Y + (RowHeight() - C->TextHeight(u"Ag")) / 2, Node->Text());
    C->Brush()->SetStyle(bsSolid);
  }
}

void TTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (CanFocus()) SetFocus();
  TTreeNode* Node = GetNodeAt(X, Y);
  if (Node) {
    const int BX = 2 + Node->Level() * Indent;
    if (Node->HasChildren() && X >= BX && X < BX + 17) Node->SetExpanded(!Node->Expanded());
    else SetSelected(Node);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TTreeView::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const std::vector<TTreeNode*> Rows = VisibleNodes();
  if (Rows.empty()) return;
  auto It = std::find(Rows.begin(), Rows.end(), FSelected);
  int Row = It == Rows.end() ? -1 : static_cast<int>(It - Rows.begin());
  if (Key == VK_DOWN) Row = std::min(Row + 1, static_cast<int>(Rows.size()) - 1);
  else if (Key == VK_UP) Row = std::max(Row - 1, 0);
  else return;
  SetSelected(Rows[Row]);
  if (Row < FTopRow) FTopRow = Row;
  const int Shown = std::max(1, ClientHeight() / RowHeight());
  if (Row >= FTopRow + Shown) FTopRow = Row - Shown + 1;
  Click();
}

bool TTreeView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  FTopRow -= WheelDelta > 0 ? 3 : -3;
  ClampTop();
  Invalidate();
  return true;
}
