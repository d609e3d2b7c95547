// DBGridZkScrollRowsTest.cpp - a memory table's view scrolled by pixels, rows as high as their
// wrapped text, and the row services that read other rows: record numbers of data rows, the
// screen position kept across a dataset operation, and hidden duplicates' neighbour test; in
// the memory-table model and over an ordinary dataset's buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/SysUtils.h"

namespace {

class DBGridZkScrollRows : public ::testing::Test {
protected:
  // Records 1..Count; NM from Name(I).
  template <class NameOf>
  void Open(int Count, NameOf Name) {
    Table = new TMemTableZk(F.Form);
    Table->FieldDefs()->Add(u"ID", ftInteger);
    Table->FieldDefs()->Add(u"NM", ftWideString, 200);
    Table->CreateDataSet();
    Table->DisableControls();
    for (int I = 1; I <= Count; ++I) Table->AppendRecord({Variant(I), Variant(Name(I))});
    Table->First();
    Table->EnableControls();
    F.Source->SetDataSet(Table);
    G = F.Grid;
    G->SetFocus();
  }
  void Open(int Count) {
    Open(Count, [](int I) { return String(u"Колер ") + IntToStr(I); });
  }
  // Records ID 1..n with a graphic field PIC holding Bytes[ID - 1] (empty: Null); pictures on.
  TColumnZk* OpenPictures(const std::vector<std::string>& Bytes) {
    Table = new TMemTableZk(F.Form);
    Table->FieldDefs()->Add(u"ID", ftInteger);
    Table->FieldDefs()->Add(u"PIC", ftGraphic);
    Table->CreateDataSet();
    for (std::size_t I = 0; I < Bytes.size(); ++I) {
      Table->Append();
      Table->FieldByName(u"ID")->SetAsInteger(static_cast<int>(I) + 1);
      if (!Bytes[I].empty()) static_cast<TBlobField*>(Table->FieldByName(u"PIC"))->SetAsBytes(Bytes[I]);
      Table->Post();
    }
    Table->First();
    F.Source->SetDataSet(Table);
    G = F.Grid;
    G->SetDrawGraphicData(true);
    return G->FindColumnByName(u"PIC");
  }
  // A W x H bitmap filled red, as stored bytes.
  static std::string RedPicture(int W, int H) {
    TBitmap B;
    B.SetSize(W, H);
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, W, H));
    return B.SaveToBytes();
  }
  int Offset() const { return G->TopDataOffset(); }
  SCROLLINFO Bar() {
    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    GetScrollInfo(G, SB_VERT, SI);
    return SI;
  }
  // A data row's cell in a rendered picture, which holds the window's frame (cell rectangles
  // are in client coordinates).
  TRect CellInPicture(int GridCol, int DataRow) {
    TRect R = G->CellRect(GridCol, Offset() + DataRow);
    const TRect Frame = G->NonClientInsets();
    OffsetRect(R, Frame.Left, Frame.Top);
    return R;
  }
  void Shot(const char* Name) { SaveShot(G, Name); }

  TDBGridOnForm F{0};
  TMemTableZk* Table = nullptr;
  TDBGridZk* G = nullptr;
};

// --- pixels --------------------------------------------------------------------------------------

// With SmoothStep the window's bar runs over the view's pixels: a line step cuts the top row,
// the thumb lands on any pixel, and the picture is the unscrolled one moved up.
TEST_F(DBGridZkScrollRows, SmoothStepScrollsTheViewByPixels) {
  Open(200);
  EXPECT_TRUE(G->HorzScrollBar()->SmoothStep());
  EXPECT_FALSE(G->VertScrollBar()->SmoothStep());
  EXPECT_EQ(G->ScrollBars(), ssHorizontal);
  TBitmap Before;
  RenderControl(G, Before);
  G->VertScrollBar()->SetSmoothStep(true);
  ASSERT_EQ(G->ScrollBars(), ssBoth) << "the base grid runs the vertical bar";
  const int Step = G->StdDefaultRowHeight() + G->GridLineWidth();
  EXPECT_EQ(Bar().nMin, 0);
  EXPECT_EQ(Bar().nMax, 200 * Step - 1);

  G->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  const int Down = Bar().nPos;
  ASSERT_GT(Down, 0);
  ASSERT_LT(Down, Step) << "less than a row";
  EXPECT_EQ(G->TopRow(), Offset()) << "the top row is cut, not gone";
  TBitmap After;
  RenderControl(G, After);
  Shot("dbgrid-smooth-rows.png");
  const TGridMetrics M = G->CalcMetrics();
  const TRect In = G->NonClientInsets();
  // From the second row on (the cut first row holds the focused cell's frame).
  int Different = 0;
  for (int Y = M.Vert.FixedEnd + Step - Down; Y < M.Vert.ScrollAreaEnd - Down; ++Y)
    for (int X = 0; X < G->ClientWidth(); ++X)
      if (After.PixelRGB(In.Left + X, In.Top + Y) != Before.PixelRGB(In.Left + X, In.Top + Y + Down))
        ++Different;
  EXPECT_EQ(Different, 0);

  ScrollBarTrack(G, SB_VERT, 50 * Step + 7);
  ScrollBarEndTrack(G, SB_VERT);
  EXPECT_EQ(Bar().nPos, 50 * Step + 7);
  EXPECT_EQ(G->TopRow(), Offset() + 50);
  EXPECT_EQ(Table->RecNo(), 1) << "the view scrolls, not the cursor";
  Table->SetRecNo(120);
  EXPECT_EQ(G->Row(), Offset() + 119);
  EXPECT_LE(G->TopRow(), G->Row()) << "the current record is brought into view";

  // Back to rows: the bar is the data grid's again, over whole rows.
  G->VertScrollBar()->SetSmoothStep(false);
  EXPECT_EQ(G->ScrollBars(), ssHorizontal);
  EXPECT_EQ(Bar().nMin, 1);
  EXPECT_EQ(Bar().nPos, G->TopRow() - Offset() + 1);
}

// Over an ordinary dataset the bar stays on the cursor whatever SmoothStep says.
TEST(DBGridZkScrollRowsPlain, SmoothStepNeedsAMemoryTable) {
  TDBGridOnForm F(100);
  F.Grid->VertScrollBar()->SetSmoothStep(true);
  EXPECT_EQ(F.Grid->ScrollBars(), ssHorizontal);
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  GetScrollInfo(F.Grid, SB_VERT, SI);
  EXPECT_EQ(SI.nMin, 1);
  EXPECT_EQ(SI.nMax, 100 + static_cast<int>(SI.nPage) - 1);
}

// --- row heights ---------------------------------------------------------------------------------

// With dghAutoFitRowHeight each row is as high as its wrapped text; a changed record is measured
// again and OnGetRowHeight has the last word.
TEST_F(DBGridZkScrollRows, RowsFitTheirWrappedText) {
  const String Long = u"Колер с длинным названием в три строки текста";
  Open(30, [&](int I) { return I % 3 == 0 ? Long : String(u"Охра ") + IntToStr(I); });
  TColumnZk* Nm = G->FindColumnByName(u"NM");
  Nm->SetWordWrap(true);
  Nm->SetWidth(G->Canvas()->TextWidth(u"Колер с длинным") + 8);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghAutoFitRowHeight});
  const int Std = G->StdDefaultRowHeight();
  for (int D = 0; D < 6; ++D) {
    const int H = G->RowHeight(Offset() + D);
    if ((D + 1) % 3 == 0) EXPECT_GT(H, 2 * Std) << D;
    else EXPECT_EQ(H, Std) << D;
  }
  Shot("dbgrid-row-heights.png");

  Table->SetRecNo(1);
  Table->Edit();
  Table->FieldByName(u"NM")->SetAsString(Long);
  Table->Post();
  EXPECT_GT(G->RowHeight(Offset()), 2 * Std) << "the edited row is measured again";

  G->SetOnGetRowHeight([](TObject*, int& Height) { Height = std::min(Height, 30); });
  G->LayoutChanged();
  EXPECT_EQ(G->RowHeight(Offset() + 2), std::max(Std, 30));

  // Taller rows move the thumb's bottom: the last top row still fills the grid.
  G->Perform(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(G->TopRow(), G->SafeMoveTop(G->RowCount(), true));
  const TGridMetrics M = G->CalcMetrics();
  EXPECT_EQ(M.Vert.LastWholeCell, G->RowCount() - 1);
}

// A column sized with the mouse measures the rows again at once: text wrapped in the narrow
// column fits one line once the column is wide, and wraps again when it is narrowed.
TEST_F(DBGridZkScrollRows, SizingAColumnMeasuresRowsAtOnce) {
  const String Long = u"Колер с длинным названием";
  Open(6, [&](int I) { return I == 2 ? Long : String(u"Охра"); });
  TColumnZk* Nm = G->FindColumnByName(u"NM");
  Nm->SetWordWrap(true);
  Nm->SetWidth(G->Canvas()->TextWidth(u"Колер с") + 8);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghAutoFitRowHeight});
  const int Std = G->StdDefaultRowHeight();
  const int Col = G->ColumnIndexToGridCol(Nm->Index());
  ASSERT_GT(G->RowHeight(Offset() + 1), 2 * Std);
  auto DragEdgeBy = [&](int Dx) {
    const TRect T = G->CellRect(Col, 0);
    const int Y = (T.Top + T.Bottom) / 2;
    SimulateMouseMove(G->ClientToScreen(TPoint(T.Right, Y)));
    SimulateMouseDown(mbLeft, G->ClientToScreen(TPoint(T.Right, Y)));
    SimulateMouseMove(G->ClientToScreen(TPoint(T.Right + Dx, Y)), {ssLeft});
    SimulateMouseUp(mbLeft, G->ClientToScreen(TPoint(T.Right + Dx, Y)));
  };
  const int Layouts = G->LayoutCount();
  const int Wide = G->Canvas()->TextWidth(Long) + 20 - Nm->Width();
  DragEdgeBy(Wide);
  ASSERT_GT(Nm->Width(), G->Canvas()->TextWidth(Long) + 8) << "the drag sized the column";
  EXPECT_EQ(G->RowHeight(Offset() + 1), Std) << "one line in the wide column";
  DragEdgeBy(-Wide);
  EXPECT_GT(G->RowHeight(Offset() + 1), 2 * Std) << "wrapped again";
  EXPECT_EQ(G->RowHeight(Offset()), Std);
  EXPECT_EQ(G->LayoutCount(), Layouts) << "measured without a layout";
}

// A data row sized with the mouse on the indicator gives every data row its height, and a later
// layout keeps it; rows fitting their contents keep their own heights.
TEST(DBGridZkScrollRowsPlain, SizingADataRowSizesEveryRow) {
  for (const bool Fit : {false, true}) {
    SCOPED_TRACE(Fit ? "rows fit their contents" : "plain rows");
    TDBGridOnForm F(20);
    TDBGridZk* G = F.Grid;
    G->SetRowSizingAllowed(true);
    if (Fit) G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghAutoFitRowHeight});
    const int Std = G->StdDefaultRowHeight(), Top = G->TopDataOffset();
    // Each case presses on another row: two presses at one spot would make a double click.
    const int Sized = Fit ? 3 : 2;
    const TRect R = G->CellRect(0, Top + Sized);
    const int X = (R.Left + R.Right) / 2;
    SimulateMouseMove(G->ClientToScreen(TPoint(X, R.Bottom)));
    SimulateMouseDown(mbLeft, G->ClientToScreen(TPoint(X, R.Bottom)));
    SimulateMouseMove(G->ClientToScreen(TPoint(X, R.Bottom + 12)), {ssLeft});
    SimulateMouseUp(mbLeft, G->ClientToScreen(TPoint(X, R.Bottom + 12)));
    const int H = G->RowHeight(Top + Sized);
    ASSERT_NE(H, Std) << "the drag sized the row";
    G->LayoutChanged();
    EXPECT_EQ(G->RowHeight(), Fit ? 0 : H);
    for (int D : {0, 2, 5}) EXPECT_EQ(G->RowHeight(Top + D), Fit ? Std : H) << D;
    EXPECT_EQ(G->RowHeight(0), G->TitleRowHeight()) << "the title keeps its height";
  }
}

// --- other rows: record numbers, kept position, neighbours ----------------------------------------

TEST_F(DBGridZkScrollRows, DataRowsGiveTheirRecordNumbers) {
  Open(50);
  for (int Row : {0, 7, 49}) EXPECT_EQ(G->DataRowToRecNo(Row), Row + 1);
  Table->Close();
  EXPECT_EQ(G->DataRowToRecNo(3), 0) << "inactive";
}

TEST(DBGridZkScrollRowsPlain, BufferRowsGiveTheirRecordNumbersAndKeepTheActiveRecord) {
  TDBGridOnForm F(100);
  F.Set->SetRecNo(60);
  const int Active = F.Grid->DataLink()->ActiveRecord();
  const int Top = 60 - Active;  // the record of data row 0
  EXPECT_EQ(F.Grid->DataRowToRecNo(0), Top);
  EXPECT_EQ(F.Grid->DataRowToRecNo(3), Top + 3);
  EXPECT_EQ(F.Grid->DataLink()->ActiveRecord(), Active);
  EXPECT_EQ(F.Set->RecNo(), 60);
}

// Around an operation that moves the cursor (a walk over all records) the current record comes
// back to the same screen row.
TEST(DBGridZkScrollRowsPlain, SavedPositionComesBackToTheSameScreenRow) {
  TDBGridOnForm F(100);
  TDBGridZk* G = F.Grid;
  F.Set->SetRecNo(50);
  G->Perform(WM_KEYDOWN, VK_DOWN, 0);
  G->Perform(WM_KEYDOWN, VK_DOWN, 0);
  const int ScreenRow = G->DataLink()->ActiveRecord();
  const int RecNo = F.Set->RecNo();
  ASSERT_GT(ScreenRow, 0);
  G->SaveBookmark();
  EXPECT_EQ(F.Set->RecNo(), RecNo);
  F.Set->DisableControls();
  for (F.Set->First(); !F.Set->Eof(); F.Set->Next()) {}
  F.Set->EnableControls();
  G->RestoreBookmark();
  EXPECT_EQ(F.Set->RecNo(), RecNo);
  EXPECT_EQ(G->DataLink()->ActiveRecord(), ScreenRow);
}

TEST_F(DBGridZkScrollRows, SavedPositionOfAMemoryTableIsItsRecord) {
  Open(100);
  Table->SetRecNo(42);
  G->SaveBookmark();
  Table->Last();
  G->RestoreBookmark();
  EXPECT_EQ(Table->RecNo(), 42);
  Table->Delete();
  G->RestoreBookmark();  // the record is gone: nothing moves
  EXPECT_EQ(Table->RecNo(), 42);
}

// The neighbour's text as painting shows it: the row above only while it is in view, the row
// below only while there is one; OnGetCellParams texts count.
TEST_F(DBGridZkScrollRows, NeighbourTextsOfAMemoryTableView) {
  Open(40, [](int I) { return String(I <= 20 ? u"Белила" : u"Охра"); });
  TColumnZk* Nm = G->FindColumnByName(u"NM");
  struct TCase {
    int DataRow;
    bool Previous, Same;
  } const Cases[] = {{0, true, false}, {1, true, true}, {19, false, false}, {20, true, false},
                     {21, true, true}, {39, false, false}, {38, false, true}};
  for (const TCase& C : Cases) {
    String Text;
    G->ForDataRow(C.DataRow, [&] { Text = Nm->DisplayText(); });
    EXPECT_EQ(G->SameTextAsNeighbour(Nm, C.DataRow, Text, C.Previous), C.Same)
        << C.DataRow << (C.Previous ? " above" : " below");
  }
  G->SafeMoveTop(Offset() + 10, false);
  EXPECT_FALSE(G->SameTextAsNeighbour(Nm, 10, u"Белила", true)) << "row 9 is out of view";
  EXPECT_TRUE(G->SameTextAsNeighbour(Nm, 11, u"Белила", true));
  G->SetOnGetCellParams([](TObject*, TColumnZk*, TFont*, TColor&, TGridDrawState) {});
  Nm->SetOnGetCellParams([](TObject*, bool, TColCellParamsZk* P) { P->Text = u"*"; });
  EXPECT_TRUE(G->SameTextAsNeighbour(Nm, 11, u"*", true));
  EXPECT_EQ(Table->RecNo(), 1) << "reading neighbours leaves the cursor";
}

// A column hiding duplicates shows a run of equal texts once, in its first row, and the row
// lines inside the run take the column's colour; other columns keep their texts and lines.
TEST_F(DBGridZkScrollRows, HiddenDuplicatesShowARunOnce) {
  Open(6, [](int I) { return String(I <= 3 ? u"Белила" : u"Охра"); });
  TColumnZk* Nm = G->FindColumnByName(u"NM");
  const int Col = G->ColumnIndexToGridCol(Nm->Index());
  const int IdCol = G->ColumnIndexToGridCol(G->FindColumnByName(u"ID")->Index());
  auto Ink = [](const TBitmap& B, const TRect& R) {
    int N = 0;
    const TColorRef Back = B.PixelRGB(R.Right - 1, R.Bottom - 1);
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) N += B.PixelRGB(X, Y) != Back;
    return N;
  };
  auto Cell = [&](int C, int DataRow) { return CellInPicture(C, DataRow); };
  TBitmap Plain, Hidden;
  RenderControl(G, Plain);
  Nm->SetHideDuplicates(true);
  RenderControl(G, Hidden);
  Shot("dbgrid-hidden-duplicates.png");

  const bool Shown[] = {true, false, false, true, false, false};
  for (int R = 0; R < 6; ++R) {
    EXPECT_GT(Ink(Plain, Cell(Col, R)), 0) << R;
    EXPECT_EQ(Ink(Hidden, Cell(Col, R)) > 0, Shown[R]) << R;
    EXPECT_GT(Ink(Hidden, Cell(IdCol, R)), 0) << "other columns keep their texts, row " << R;
  }
  const TColorRef Merged = ColorToRGB(Nm->Color());
  for (int R = 1; R < 6; ++R) {
    const TRect C = Cell(Col, R);
    const int X = (C.Left + C.Right) / 2;
    EXPECT_EQ(Hidden.PixelRGB(X, C.Top - 1) == Merged, !Shown[R]) << "line above row " << R;
    EXPECT_NE(Plain.PixelRGB(X, C.Top - 1), Merged) << "a row line of its own before";
    const TRect I = Cell(IdCol, R);
    EXPECT_EQ(Hidden.PixelRGB((I.Left + I.Right) / 2, I.Top - 1),
              Plain.PixelRGB((I.Left + I.Right) / 2, I.Top - 1));
  }
}

// With pictures on, a graphic field's cell shows its picture shrunk to the cell and centred; an
// empty field or bytes that hold no picture leave the cell empty.
TEST_F(DBGridZkScrollRows, GraphicFieldsShowTheirPictures) {
  TColumnZk* Pic = OpenPictures({RedPicture(40, 20), std::string(), std::string("not a picture")});
  ASSERT_EQ(Pic->GetColumnType(), ctGraphicData);
  Pic->SetWidth(80);
  TBitmap Shown;
  RenderControl(G, Shown);
  Shot("dbgrid-graphic-field.png");
  auto RedIn = [&](int DataRow) {
    const TRect R = CellInPicture(G->ColumnIndexToGridCol(Pic->Index()), DataRow);
    int N = 0, Left = R.Right, Right = R.Left, Top = R.Bottom, Bottom = R.Top;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X)
        if (Shown.PixelRGB(X, Y) == RGB(255, 0, 0)) {
          ++N;
          Left = std::min(Left, X), Right = std::max(Right, X + 1);
          Top = std::min(Top, Y), Bottom = std::max(Bottom, Y + 1);
        }
    return std::make_pair(N, Rect(Left - R.Left, Top - R.Top, Right - R.Left, Bottom - R.Top));
  };
  const auto [N, Box] = RedIn(0);
  const int CellH = G->CellRect(1, Offset()).Height();
  ASSERT_GT(N, 0);
  EXPECT_EQ(Box.Height(), std::min(20, CellH)) << "shrunk to the cell's height";
  EXPECT_NEAR(Box.Width(), 2 * Box.Height(), 1) << "keeps its shape";
  EXPECT_NEAR(Box.Left, 80 - Box.Right, 1) << "centred";
  EXPECT_EQ(RedIn(1).first, 0);
  EXPECT_EQ(RedIn(2).first, 0);
}

// Rows fitting their contents take a picture's height, a wide picture's at the column's width
// (rounded halves to even); rows without a picture keep the standard height.
TEST_F(DBGridZkScrollRows, RowsFitTheirPictures) {
  struct TCase {
    const char* Name;
    std::string Bytes;
    int Height;   // 0: the standard height
  } const Cases[] = {
      {"lower than a standard row", RedPicture(40, 8), 0},
      {"taller, narrower than the column", RedPicture(40, 60), 60},
      {"twice the column's width", RedPicture(160, 90), 45},
      {"a half rounds to even", RedPicture(160, 45), 22},
      {"empty field", std::string(), 0},
      {"bytes holding no picture", std::string("not a picture"), 0},
  };
  std::vector<std::string> Bytes;
  for (const TCase& C : Cases) Bytes.push_back(C.Bytes);
  TColumnZk* Pic = OpenPictures(Bytes);
  Pic->SetWidth(80);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghAutoFitRowHeight});
  const int Std = G->StdDefaultRowHeight();
  ASSERT_LT(22, Std * 2);
  for (int R = 0; R < static_cast<int>(std::size(Cases)); ++R)
    EXPECT_EQ(G->RowHeight(Offset() + R), Cases[R].Height ? std::max(Std, Cases[R].Height) : Std)
        << Cases[R].Name;
  Shot("dbgrid-picture-rows.png");
  // The picture fills its row's cell at its own size, not shrunk to a standard row.
  TBitmap Shown;
  RenderControl(G, Shown);
  const TRect Cell = CellInPicture(G->ColumnIndexToGridCol(Pic->Index()), 1);
  int Red = 0;
  for (int Y = Cell.Top; Y < Cell.Bottom; ++Y)
    Red += Shown.PixelRGB((Cell.Left + Cell.Right) / 2, Y) == RGB(255, 0, 0);
  EXPECT_GE(Red, Cell.Height() - 1);
  EXPECT_GT(Red, 2 * Std);

  G->SetDrawGraphicData(false);
  G->LayoutChanged();
  EXPECT_EQ(G->RowHeight(Offset() + 1), Std) << "without pictures the field is one text line";
}

TEST(DBGridZkScrollRowsPlain, NeighbourTextsOfTheBuffer) {
  TDBGridOnForm F(10);
  TColumnZk* Qty = F.Grid->FindColumnByName(u"FLAG");
  F.Set->SetRecNo(4);
  const int Active = F.Grid->DataLink()->ActiveRecord();
  // FLAG alternates: no record shares its neighbours' text.
  EXPECT_FALSE(F.Grid->SameTextAsNeighbour(Qty, 3, Qty->DisplayText(), true));
  EXPECT_TRUE(F.Grid->SameTextAsNeighbour(Qty, 3, u"True", true) !=
              F.Grid->SameTextAsNeighbour(Qty, 3, u"False", true));
  EXPECT_FALSE(F.Grid->SameTextAsNeighbour(Qty, 0, u"", true)) << "no row above the buffer";
  EXPECT_FALSE(F.Grid->SameTextAsNeighbour(Qty, 9, u"", false)) << "no row below";
  EXPECT_EQ(F.Grid->DataLink()->ActiveRecord(), Active);
}

// --- the typed search and records moved by others ------------------------------------------------

TEST_F(DBGridZkScrollRows, AMoveByTheProgramEndsTheTypedSearch) {
  Open(300);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghIncSearch, dghPreferIncSearch});
  G->MoveCol(1, 0, false);
  SimulateTyping(u"колер 2");
  ASSERT_TRUE(G->InplaceSearching());
  SimulateTyping(u"5");
  EXPECT_TRUE(G->InplaceSearching()) << "the search's own moves keep it";
  EXPECT_EQ(G->InplaceSearchText(), u"Колер 25");
  Table->SetRecNo(3);
  EXPECT_FALSE(G->InplaceSearching());
  EXPECT_EQ(G->InplaceSearchText(), u"");
}

}  // namespace
