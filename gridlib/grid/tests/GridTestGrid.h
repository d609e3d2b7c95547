// GridTestGrid.h - the grid the base grid's tests drive: each cell paints its coordinates, and
// the virtual operations the tests watch record what reached them.
#pragma once

#include <memory>
#include <vector>

#include "gridlib/grid/GridsZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

class TTestGrid : public TCustomGridZk {
public:
  explicit TTestGrid(TComponent* AOwner) : TCustomGridZk(AOwner) {}

  struct TClick {
    TGridCoord Cell;
    TMouseButton Button;
    int X, Y;
  };
  std::vector<TClick> Clicks;
  std::vector<TGridCoord> Painted;
  std::vector<String> Taken;
  bool RefuseChars = false;
  bool FailCountsChanged = false;
  String EditText = u"abc";

  void PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState) override {
    Painted.push_back({ACol, ARow});
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->TextOut(ARect.Left + 2, ARect.Top + 2, IntToStr(ACol) + u"," + IntToStr(ARow));
    Canvas()->Brush()->SetStyle(bsSolid);
  }
  void DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState, int X,
                             int Y) override {
    Clicks.push_back({Cell, Button, X, Y});
  }
  bool EditorAcceptsChar(Char Key) override { return !(RefuseChars && Key == u'x'); }
  String CellEditText(int, int) override { return EditText; }
  void TakeEditText(int, int, const String& Value) override { Taken.push_back(Value); }
  void CountsChanged(int, int) override {
    if (FailCountsChanged) throw Exception(u"counts refused");
  }

  using TCustomGridZk::FMovePosRightSite;
  using TCustomGridZk::FGridState;
  using TCustomGridZk::FSizingLineShown;
  using TCustomGridZk::UpdateScrollBarRanges;
  using TCustomGridZk::FInvalid;
};

// A shown form holding a test grid with a window, as the grid runs on the screen.
struct TGridOnForm {
  TForm* Form = nullptr;
  TTestGrid* Grid = nullptr;

  explicit TGridOnForm(int Width = 320, int Height = 120) {
    InitControls();
    Form = new TForm(Application);
    Form->SetBounds(50, 50, Width + 40, Height + 60);
    Grid = new TTestGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, Width, Height);
    Form->Show();
    Grid->HandleNeeded();
    Grid->SetFocus();
  }
  ~TGridOnForm() { delete Form; }
  TGridOnForm(const TGridOnForm&) = delete;
  TGridOnForm& operator=(const TGridOnForm&) = delete;

  // A screen point of a client point of the grid.
  TPoint At(int X, int Y) const { return Grid->ClientToScreen({X, Y}); }
};
