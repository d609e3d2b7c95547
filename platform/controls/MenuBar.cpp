// MenuBar.cpp - TMainMenu as a form's menu bar: the items' layout, painting, hit testing and
// dropping a top-level item's sub-items down.
#include "platform/controls/Menus.h"

#include <algorithm>

#include "platform/controls/Controls_p.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Menus_p.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

namespace {

TMainMenu::TChooser& BarChooser() {
  static TMainMenu::TChooser Value;
  return Value;
}

// Space on each side of an item's caption, and between its image and caption.
constexpr int kItemPadding = 7;
constexpr int kImageGap = 3;

bool HasImage(const TMainMenu* Menu, const TMenuItem* Item) {
  return Menu->Images() && Item->ImageIndex() >= 0 && Item->ImageIndex() < Menu->Images()->Count();
}

}  // namespace

void TMainMenu::SetChooser(TChooser Chooser) { BarChooser() = std::move(Chooser); }

int TMainMenu::BarHeight() { return GetSystemMetrics(SM_CYMENU); }

std::vector<TMainMenu::TBarItem> TMainMenu::BarLayout() const {
  TControlCanvas Measure;
  if (Screen) Measure.Font()->Assign(Screen->MenuFont());
  std::vector<TBarItem> Layout;
  int X = 0;
  for (int I = 0; I < Items()->Count(); ++I) {
    TMenuItem* Item = Items()->Items(I);
    if (!Item->Visible()) continue;
    int W = Measure.TextWidth(StripHotkey(Item->Caption())) + 2 * kItemPadding;
    if (HasImage(this, Item)) W += Images()->Width() + kImageGap;
    Layout.push_back({Item, Rect(X, 0, X + W, BarHeight())});
    X += W;
  }
  return Layout;
}

void TMainMenu::PaintBar(TCanvas* Canvas, const TRect& Bar) const {
  if (Screen) Canvas->Font()->Assign(Screen->MenuFont());
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clMenuBar);
  Canvas->FillRect(Bar);
  for (const TBarItem& B : BarLayout()) {
    TRect R = B.Rect;
    OffsetRect(R, Bar.Left, Bar.Top);
    if (R.Left >= Bar.Right) break;
    const bool Dropped = B.Item == FDropped || B.Item == FHot;
    if (Dropped) {
      Canvas->Brush()->SetColor(clHighlight);
      Canvas->FillRect(R);
    }
    TRect Text = R;
    Text.Left += kItemPadding;
    if (HasImage(this, B.Item)) {
      Images()->Draw(Canvas, Text.Left, R.Top + (R.Height() - Images()->Height()) / 2,
                     B.Item->ImageIndex(), B.Item->Enabled());
      Text.Left += Images()->Width() + kImageGap;
    }
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Font()->SetColor(!B.Item->Enabled() ? clGrayText : Dropped ? clHighlightText : clMenuText);
    DrawText(Canvas, B.Item->Caption(), Text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    Canvas->Brush()->SetStyle(bsSolid);
  }
}

TMenuItem* TMainMenu::ItemAtBarPos(TPoint P) const {
  for (const TBarItem& B : BarLayout())
    if (B.Rect.Contains(P)) return B.Item;
  return nullptr;
}

TMenuItem* TMainMenu::FindAccelItem(Char C) const {
  for (int I = 0; I < Items()->Count(); ++I) {
    TMenuItem* Item = Items()->Items(I);
    if (Item->Visible() && IsAccel(C, Item->Caption())) return Item;
  }
  return nullptr;
}

TBarMenuExit TMainMenu::SelectBarItem(TMenuItem* Item, TPoint ScreenPos, const TBarItemAt& BarItemAt) {
  if (!Item || !Item->Enabled()) return {};
  // The item's OnClick comes first, so it can prepare the sub-items about to show.
  Item->Click();
  if (Item->Count() == 0) return {};
  TMenuItem* Chosen = nullptr;
  TBarMenuExit Exit;
  FDropped = Item;
  struct TClear {
    TMenuItem*& Dropped;
    ~TClear() { Dropped = nullptr; }
  } Clear{FDropped};
  if (BarChooser()) Chosen = BarChooser()(Item, ScreenPos, Exit);
  else if (HasPlatform()) Chosen = ShowQtMenu(Item, Images(), ScreenPos, paLeft, &Exit, BarItemAt);
  if (Chosen) {
    Chosen->Click();
    return {};
  }
  return Exit;
}

TMenuItem* TMainMenu::AdjacentBarItem(TMenuItem* Item, int Step) const {
  std::vector<TMenuItem*> Shown;
  for (int I = 0; I < Items()->Count(); ++I)
    if (Items()->Items(I)->Visible()) Shown.push_back(Items()->Items(I));
  if (Shown.empty()) return nullptr;
  const auto It = std::find(Shown.begin(), Shown.end(), Item);
  if (It == Shown.end()) return Shown.front();
  const int N = int(Shown.size());
  return Shown[((It - Shown.begin()) + Step % N + N) % N];
}
