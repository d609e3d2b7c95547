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
  bool MovePages = false;   // page codes move the bar by its page, as a scrolled view does
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_VSCROLL) {
      TWMScroll S{M};
      Codes.emplace_back(S.ScrollCode(), S.Pos());
      const SCROLLINFO I = GetScrollBarState(this, SB_VERT).Info;
      if (MovePages && S.ScrollCode() == SB_PAGEDOWN) SetScrollPos(this, SB_VERT, I.nPos + int(I.nPage), true);
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
  for (TPoint P : {TPoint{X, 3}, TPoint{X, W->Height() - 3}, TPoint{X, 20}}) {
    ScrollBarMouseDown(W, P);
    ScrollBarMouseUp(W, P);
  }
  ASSERT_EQ(W->Codes.size(), 6u);
  EXPECT_EQ(W->Codes[0].first, SB_LINEUP);
  EXPECT_EQ(W->Codes[1].first, SB_ENDSCROLL);
  EXPECT_EQ(W->Codes[2].first, SB_LINEDOWN);
  EXPECT_EQ(W->Codes[4].first, SB_PAGEUP);
  EXPECT_EQ(GetCapture(), nullptr);
}

struct HeldFixture : Fixture {
  void SetUp() override {
    Fixture::SetUp();
    UseTestClock(true);
    SCROLLINFO I;
    I.fMask = SIF_ALL;
    I.nMax = 99;
    I.nPage = 10;
    I.nPos = 0;
    SetScrollInfo(W, SB_VERT, I, true);
    // A window an earlier test closed can still have its deactivation queued; arriving while
    // the button is held, it would cancel the capture and end the repeat.
    Application->ProcessMessages();
  }
  void TearDown() override {
    UseTestClock(false);
    Fixture::TearDown();
  }
  // Presses at P (window coordinates) with the pointer there.
  void PointAt(TPoint P) {
    TRect R;
    GetWindowRect(W, R);
    SetCursorPos(R.Left + P.X, R.Top + P.Y);
  }
  void Wait(unsigned Ms) {
    AdvanceTestClock(Ms);
    Application->ProcessMessages();
  }
  size_t Count(unsigned Code) const {
    size_t N = 0;
    for (auto& C : W->Codes) N += C.first == Code;
    return N;
  }
};

using ScrollBarHeldTest = HeldFixture;

TEST_F(ScrollBarHeldTest, AnArrowRepeatsWhileHeldAndOverIt) {
  const TPoint Arrow{W->Width() - 5, W->Height() - 3};
  PointAt(Arrow);
  ScrollBarMouseDown(W, Arrow);
  EXPECT_EQ(GetCapture(), W);
  Wait(190);
  EXPECT_EQ(Count(SB_LINEDOWN), 1u);   // the first repeat waits 200 ms
  Wait(10);
  Wait(50);
  EXPECT_EQ(Count(SB_LINEDOWN), 3u);   // then one every 50 ms
  PointAt({20, 20});                   // off the arrow: held, but quiet
  Wait(50);
  Wait(50);
  EXPECT_EQ(Count(SB_LINEDOWN), 3u);
  PointAt(Arrow);                      // back on it: repeats again
  Wait(50);
  EXPECT_EQ(Count(SB_LINEDOWN), 4u);
  EXPECT_EQ(Count(SB_ENDSCROLL), 0u);
  ScrollBarMouseUp(W, Arrow);
  EXPECT_EQ(W->Codes.back().first, SB_ENDSCROLL);
  EXPECT_EQ(GetCapture(), nullptr);
  Wait(500);
  EXPECT_EQ(Count(SB_LINEDOWN), 4u);
}

TEST_F(ScrollBarHeldTest, APageRepeatStopsWhenTheThumbReachesThePointer) {
  W->MovePages = true;
  const TPoint Track{W->Width() - 5, 60};
  PointAt(Track);
  ScrollBarMouseDown(W, Track);
  for (int i = 0; i < 20; ++i) Wait(50);
  ScrollBarMouseUp(W, Track);
  // The thumb (a tenth of the track) walks down in pages until it covers the pointer.
  const size_t Pages = Count(SB_PAGEDOWN);
  EXPECT_GE(Pages, 2u);
  EXPECT_LT(Pages, 10u);
  const int Pos = GetScrollBarState(W, SB_VERT).Info.nPos;
  EXPECT_EQ(Pos, int(Pages) * 10);
}

TEST_F(ScrollBarHeldTest, LosingTheMouseEndsTheRepeatAndTheThumbDrag) {
  const TPoint Arrow{W->Width() - 5, 3};
  PointAt(Arrow);
  ScrollBarMouseDown(W, Arrow);
  auto* Other = new TScrolled(nullptr);
  Other->HandleNeeded();
  SetCapture(Other);   // W gets WM_CANCELMODE
  EXPECT_EQ(W->Codes.back().first, SB_ENDSCROLL);
  Wait(500);
  EXPECT_EQ(Count(SB_LINEUP), 1u);
  ReleaseCapture();
  delete Other;
  // A thumb drag ends where it got to.
  W->Codes.clear();
  const TPoint Thumb{W->Width() - 5, 20};
  ScrollBarMouseDown(W, Thumb);
  ASSERT_TRUE(GetScrollBarState(W, SB_VERT).Tracking);
  ScrollBarMouseMove(W, {Thumb.X, 40});
  Other = new TScrolled(nullptr);
  Other->HandleNeeded();
  SetCapture(Other);
  EXPECT_FALSE(GetScrollBarState(W, SB_VERT).Tracking);
  ASSERT_GE(W->Codes.size(), 3u);
  EXPECT_EQ(W->Codes[W->Codes.size() - 2].first, SB_THUMBPOSITION);
  EXPECT_EQ(W->Codes.back().first, SB_ENDSCROLL);
  ReleaseCapture();
  delete Other;
  // So does the application losing activation.
  W->Codes.clear();
  ScrollBarMouseDown(W, Arrow);
  Application->SetActive(false);
  EXPECT_EQ(W->Codes.back().first, SB_ENDSCROLL);
  EXPECT_EQ(GetCapture(), nullptr);
  Wait(500);
  EXPECT_EQ(Count(SB_LINEUP), 1u);
  Application->SetActive(true);
}

TEST_F(ScrollBarsTest, ScrollWindowExReportsTheUncoveredBand) {
  TRect Update;
  EXPECT_EQ(ScrollWindowEx(W, 0, -15, nullptr, nullptr, nullptr, &Update, SW_INVALIDATE), SIMPLEREGION);
  EXPECT_EQ(Update, Rect(0, 85, 200, 100));
  EXPECT_TRUE(W->HasInvalidRegion());
  EXPECT_EQ(ScrollWindowEx(W, 0, 0, nullptr, nullptr, nullptr, &Update, 0), NULLREGION);
}

}  // namespace
