// ScrollBarsTest.cpp - the scroll-bar rules table, thumb tracking and ScrollWindowEx.
#include "platform/controls/ScrollBars.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

namespace {

class TScrolled : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  std::vector<std::pair<unsigned, int>> Codes;
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_VSCROLL) {
      TWMScroll S{M};
      Codes.emplace_back(S.ScrollCode(), S.Pos());
      return;
    }
    TCustomControl::Dispatch(M);
  }
};

struct Fixture : ::testing::Test {
  void SetUp() override {
    InitControls();
    W = new TScrolled(nullptr);
    W->SetBounds(0, 0, 200, 100);
    W->HandleNeeded();
  }
  void TearDown() override { delete W; }
  TScrolled* W = nullptr;
};

using ScrollBarsTest = Fixture;

TEST_F(ScrollBarsTest, RulesTable) {
  struct Case {
    const char* Name;
    unsigned Mask;
    int Min, Max;
    unsigned Page;
    int Pos;
    int ExpectPos;
    unsigned ExpectPage;
    bool ExpectVisible;
    unsigned ExpectDisabled;
  };
  const Case Cases[] = {
      {"plain range", SIF_ALL, 0, 99, 10, 50, 50, 10, true, ESB_ENABLE_BOTH},
      {"position past the page end is clamped (inclusive max)", SIF_ALL, 0, 99, 10, 95, 90, 10, true, ESB_ENABLE_BOTH},
      {"negative position clamps to min", SIF_ALL, 5, 50, 0, -3, 5, 0, true, ESB_ENABLE_BOTH},
      {"page larger than the range is cut to its size", SIF_ALL, 0, 9, 50, 3, 0, 10, false, ESB_ENABLE_BOTH},
      {"page covers the range: hidden", SIF_ALL, 0, 9, 10, 0, 0, 10, false, ESB_ENABLE_BOTH},
      {"covered with disable-no-scroll: shown disabled", SIF_ALL | SIF_DISABLENOSCROLL, 0, 9, 10, 0, 0, 10, true, ESB_DISABLE_BOTH},
      {"empty range with disable-no-scroll", SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0, 0, true, ESB_DISABLE_BOTH},
      {"page one short of the range: needed", SIF_ALL, 0, 10, 10, 5, 1, 10, true, ESB_ENABLE_BOTH},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    ShowScrollBar(W, SB_VERT, false);
    SCROLLINFO I;
    I.fMask = K.Mask;
    I.nMin = K.Min;
    I.nMax = K.Max;
    I.nPage = K.Page;
    I.nPos = K.Pos;
    EXPECT_EQ(SetScrollInfo(W, SB_VERT, I, true), K.ExpectPos);
    SCROLLINFO Out;
    Out.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(W, SB_VERT, Out));
    EXPECT_EQ(Out.nPos, K.ExpectPos);
    EXPECT_EQ(Out.nPage, K.ExpectPage);
    const TScrollBarState S = GetScrollBarState(W, SB_VERT);
    EXPECT_EQ(S.Visible, K.ExpectVisible);
    if (K.ExpectVisible) {
      EXPECT_EQ(S.Disabled, K.ExpectDisabled);
    }
    // A shown bar takes its width from the client area.
    EXPECT_EQ(W->ClientWidth(), K.ExpectVisible ? 200 - GetSystemMetrics(SM_CXVSCROLL) : 200);
  }
}

TEST_F(ScrollBarsTest, SetScrollRangeHidesAnEmptyRangeAndPositionsClamp) {
  SetScrollRange(W, SB_VERT, 0, 40, true);
  EXPECT_TRUE(GetScrollBarState(W, SB_VERT).Visible);
  EXPECT_EQ(SetScrollPos(W, SB_VERT, 100, true), 0);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 40);
  SetScrollRange(W, SB_VERT, 0, 0, true);
  EXPECT_FALSE(GetScrollBarState(W, SB_VERT).Visible);
}

TEST_F(ScrollBarsTest, EnableScrollBarReportsChangesOnly) {
  SetScrollRange(W, SB_VERT, 0, 40, true);
  EXPECT_TRUE(EnableScrollBar(W, SB_VERT, ESB_DISABLE_BOTH));
  EXPECT_FALSE(EnableScrollBar(W, SB_VERT, ESB_DISABLE_BOTH));
  EXPECT_TRUE(EnableScrollBar(W, SB_VERT, ESB_ENABLE_BOTH));
}

TEST_F(ScrollBarsTest, ThumbTrackingKeepsThePositionUntilReleased) {
  SCROLLINFO I;
  I.fMask = SIF_ALL;
  I.nMax = 99;
  I.nPage = 10;
  SetScrollInfo(W, SB_VERT, I, true);
  ScrollBarTrack(W, SB_VERT, 120);
  SCROLLINFO Out;
  Out.fMask = SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(W, SB_VERT, Out);
  EXPECT_EQ(Out.nTrackPos, 90);
  EXPECT_EQ(Out.nPos, 0);
  ScrollBarEndTrack(W, SB_VERT);
  const std::vector<std::pair<unsigned, int>> Expected{
      {SB_THUMBTRACK, 90}, {SB_THUMBPOSITION, 90}, {SB_ENDSCROLL, 0}};
  EXPECT_EQ(W->Codes, Expected);
}

TEST_F(ScrollBarsTest, ArrowsAndTrackSendLineAndPageCodes) {
  SCROLLINFO I;
  I.fMask = SIF_ALL;
  I.nMax = 99;
  I.nPage = 10;
  I.nPos = 45;
  SetScrollInfo(W, SB_VERT, I, true);
  const int X = W->Width() - 5;
  ScrollBarMouseDown(W, {X, 3});
  ScrollBarMouseDown(W, {X, W->Height() - 3});
  ScrollBarMouseDown(W, {X, 20});
  ASSERT_EQ(W->Codes.size(), 6u);
  EXPECT_EQ(W->Codes[0].first, SB_LINEUP);
  EXPECT_EQ(W->Codes[2].first, SB_LINEDOWN);
  EXPECT_EQ(W->Codes[4].first, SB_PAGEUP);
}

TEST_F(ScrollBarsTest, ScrollWindowExReportsTheUncoveredBand) {
  TRect Update;
  EXPECT_EQ(ScrollWindowEx(W, 0, -15, nullptr, nullptr, nullptr, &Update, SW_INVALIDATE), SIMPLEREGION);
  EXPECT_EQ(Update, Rect(0, 85, 200, 100));
  EXPECT_TRUE(W->HasInvalidRegion());
  EXPECT_EQ(ScrollWindowEx(W, 0, 0, nullptr, nullptr, nullptr, &Update, 0), NULLREGION);
}

}  // namespace
