// LayeredWindowTest.cpp - layered window attributes: set only on windows with WS_EX_LAYERED,
// read back, dropped with the style and with the window.
#include <gtest/gtest.h>

#include "platform/controls/DropDownWindow.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

namespace {

class TLayeredPopup : public TDropDownWindow {
public:
  using TDropDownWindow::TDropDownWindow;
  bool Layered = true;

protected:
  void CreateParams(TCreateParams& Params) override {
    TDropDownWindow::CreateParams(Params);
    if (Layered) Params.ExStyle |= WS_EX_LAYERED;
  }
};

TEST(LayeredWindow, AttributesTable) {
  InitControls();
  struct TCase {
    const char* Name;
    bool Layered;
    TColorRef Key;
    Byte Alpha;
    unsigned Flags;
    bool Accepted;
  } Cases[] = {
      {"colour key", true, 0xFFFFFF, 255, LWA_COLORKEY, true},
      {"alpha", true, 0, 200, LWA_ALPHA, true},
      {"both", true, 0x00FF00, 128, LWA_ALPHA | LWA_COLORKEY, true},
      {"not layered", false, 0xFFFFFF, 200, LWA_ALPHA | LWA_COLORKEY, false},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TLayeredPopup W(Application);
    W.Layered = C.Layered;
    W.HandleNeeded();
    EXPECT_EQ(SetLayeredWindowAttributes(&W, C.Key, C.Alpha, C.Flags), C.Accepted);
    TColorRef Key = 1;
    Byte Alpha = 1;
    unsigned Flags = 99;
    EXPECT_EQ(GetLayeredWindowAttributes(&W, &Key, &Alpha, &Flags), C.Accepted);
    if (!C.Accepted) continue;
    EXPECT_EQ(Key, C.Key);
    EXPECT_EQ(Alpha, C.Alpha);
    EXPECT_EQ(Flags, C.Flags);
  }
}

TEST(LayeredWindow, TakingTheStyleAwayDropsTheAttributes) {
  InitControls();
  TLayeredPopup W(Application);
  W.HandleNeeded();
  ASSERT_TRUE(SetLayeredWindowAttributes(&W, 0xFFFFFF, 255, LWA_COLORKEY));
  const long ExStyle = GetWindowLong(&W, GWL_EXSTYLE);
  EXPECT_EQ(SetWindowLong(&W, GWL_EXSTYLE, ExStyle & ~long(WS_EX_LAYERED)), ExStyle);
  EXPECT_FALSE(GetWindowLong(&W, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(GetLayeredWindowAttributes(&W, nullptr, nullptr, nullptr));
  SetWindowLong(&W, GWL_EXSTYLE, ExStyle);
  EXPECT_FALSE(GetLayeredWindowAttributes(&W, nullptr, nullptr, nullptr)) << "set again first";
  EXPECT_TRUE(SetLayeredWindowAttributes(&W, 0, 100, LWA_ALPHA));
}

}  // namespace
