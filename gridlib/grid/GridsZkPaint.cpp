// GridsZkPaint.cpp - the base grid's painting: the areas in their fixed order, the grid lines
// gathered by colour in the line cache, the cells handed to PaintCell with their states, the
// out-boundary strips, the contra areas, and the sizing and row-move lines drawn last.
#include "gridlib/grid/GridsZk.h"

#include <algorithm>

#include "gridlib/grid/GridsZk_p.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "platform/graphics/WinDraw.h"

// --- the line cache -------------------------------------------------------------------------------

TGridLinesZk& TGridLinesCacheZk::GetGridLines(TColor Color) {
  for (int I = 0; I < FUsed; ++I)
    if (FBatches[size_t(I)].Color == Color) return FBatches[size_t(I)];
  if (FUsed == int(FBatches.size())) FBatches.emplace_back();
  TGridLinesZk& B = FBatches[size_t(FUsed++)];
  B.Color = Color;
  B.Points.clear();
  return B;
}

void TGridLinesCacheZk::AddLine(TColor Color, int X1, int Y1, int X2, int Y2) {
  TGridLinesZk& B = GetGridLines(Color);
  B.Points.push_back({X1, Y1});
  B.Points.push_back({X2, Y2});
}

void TGridLinesCacheZk::Clear() {
  for (int I = 0; I < FUsed; ++I) FBatches[size_t(I)].Points.clear();
  FUsed = 0;
}

void TGridLinesCacheZk::Draw(TCustomGridZk* Grid, TCanvas* Canvas) {
  size_t Longest = 0;
  for (int I = 0; I < FUsed; ++I) Longest = std::max(Longest, FBatches[size_t(I)].Points.size());
  if (FStrokes.size() < Longest / 2) FStrokes.assign(Longest / 2, 2);
  for (int I = 0; I < FUsed; ++I) {
    const TGridLinesZk& B = FBatches[size_t(I)];
    if (B.Points.empty()) continue;
    Canvas->Pen()->SetColor(B.Color);
    Grid->DrawPolyLines(Canvas, B.Points, FStrokes, int(B.Points.size()));
  }
}

// --- drawing helpers ------------------------------------------------------------------------------

void TCustomGridZk::DrawPolyLines(TCanvas* Canvas, const std::vector<TPoint>& Points,
                                  const std::vector<int>& Strokes, int Count) {
  const int Lines = Count / 2;
  if (Lines <= 0) return;
  if (int(Points.size()) == Lines * 2 && int(Strokes.size()) == Lines) {
    Canvas->PolyPolyline(Points, Strokes);
    return;
  }
  const std::vector<TPoint> Used(Points.begin(), Points.begin() + Lines * 2);
  const std::vector<int> Counts(Strokes.begin(), Strokes.begin() + Lines);
  Canvas->PolyPolyline(Used, Counts);
}

void TCustomGridZk::DrawPolyline(TCanvas* Canvas, const std::vector<TPoint>& Points, int Count) {
  if (Count <= 0) return;
  if (int(Points.size()) == Count) Canvas->Polyline(Points);
  else Canvas->Polyline(std::vector<TPoint>(Points.begin(), Points.begin() + Count));
}

void TCustomGridZk::DrawLineRect(TCanvas* Canvas, const TRect& R, TColor LineColor, TColor Color) {
  FillVerticalGradient(Canvas, R, LineColor, Color);
}

// --- the painter ----------------------------------------------------------------------------------

// One paint of the grid: the metrics and the canvas, and the area routines.
struct TGridPainter {
  TCustomGridZk* G;
  TCanvas* C;
  TGridMetrics M;
  TRect Clip;

  // The clip narrowed to R for the life of the object (nothing when R is null).
  class TClipScope {
  public:
    TClipScope(TCanvas* Canvas, const TRect* R) : FCanvas(Canvas), FSaved(Canvas->GetClipRegion()) {
      if (R) Canvas->IntersectClipRect(*R);
      FActive = R != nullptr;
    }
    ~TClipScope() {
      if (FActive) FCanvas->SelectClipRegion(FSaved);
    }
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;

  private:
    TCanvas* FCanvas;
    TClipRegion FSaved;
    bool FActive = false;
  };

  int ColLimit(bool Contra) const { return Contra ? G->FullColCount() : G->ColCount(); }
  int RowLimit(bool Contra) const { return Contra ? G->FullRowCount() : G->RowCount(); }

  void AreaLines(const TRect& Area, TGridCoord First, bool DataLines, bool Contra) {
    const TGridAxisMetrics& H = M.Horz;
    const TGridAxisMetrics& V = M.Vert;
    if (Area.IsEmpty() || (H.AxisLineWidth == 0 && V.AxisLineWidth == 0)) return;
    const TGridOptions O = G->Options();
    const bool VertOn = O.Contains(DataLines ? goVertLine : goFixedVertLine);
    const bool HorzOn = O.Contains(DataLines ? goHorzLine : goFixedHorzLine);
    const TColor Line = G->GridLineColors()->GetCellColor(First.X, First.Y);
    const TColor Back = DataLines ? G->Color() : G->FixedColor();
    TGridLinesCacheZk& Cache = *G->FGridLinesCache;
    Cache.Clear();
    int X = Area.Left;
    for (int Col = First.X; X < Area.Right - 1 && Col < ColLimit(Contra); ++Col) {
      const int W = G->ColWidth(Col);
      int Y = Area.Top;
      for (int Row = First.Y; Y < Area.Bottom - 1 && Row < RowLimit(Contra); ++Row) {
        const int Ht = G->RowHeight(Row);
        // The lines of a cell outside the part being painted are left out.
        const TRect Lines = Rect(X, Y, X + W + H.AxisLineWidth + 1, Y + Ht + V.AxisLineWidth + 1);
        TRect Inter;
        if (!IntersectRect(Inter, Lines, Clip)) {
          Y += Ht + V.AxisLineWidth;
          continue;
        }
        bool Draw = true, Extend = true;
        TColor Color = VertOn ? Line : Back;
        G->GetCellBorder(Col, Row, cbtRightZk, Draw, Color, Extend);
        if (Draw && W >= 0 && H.AxisLineWidth > 0)
          Cache.AddLine(Color, X + W, Y, X + W, Extend ? Y + Ht + 1 : Y + Ht);
        Draw = true;
        Extend = true;
        Color = HorzOn ? Line : Back;
        G->GetCellBorder(Col, Row, cbtBottomZk, Draw, Color, Extend);
        if (Draw && Ht >= 0 && V.AxisLineWidth > 0)
          Cache.AddLine(Color, X, Y + Ht, Extend ? X + W + 1 : X + W, Y + Ht);
        Y += Ht + V.AxisLineWidth;
      }
      X += W + H.AxisLineWidth;
    }
    Cache.Draw(G, C);
  }

  TGridDrawState CellState(int Col, int Row, TGridDrawState Base, bool Contra) const {
    TGridDrawState S = Base;
    if (Contra) return S;
    if (TGridCoord{Col, Row} == G->FHotTrackCell) S << gdHotTrack;
    const TGridCoord Cur = G->Current();
    const bool RowSelect = G->Options().Contains(goRowSelect);
    if (Row == Cur.Y && (RowSelect ? Col >= G->FixedCols() - G->FrozenColCount() : Col == Cur.X)) {
      S << gdCurrent;
      if (G->GridIsActive()) S << gdFocused;
    }
    if (CellInCellRect({Col, Row}, G->CurrentSelection())) S << gdSelected;
    return S;
  }

  void AreaCells(TGridCoord First, int X0, int Y0, int XEnd, int YEnd, TGridDrawState Base,
                 TColor Back, bool Contra) {
    const TGridOptions O = G->Options();
    const int HLine = M.Horz.AxisLineWidth, VLine = M.Vert.AxisLineWidth;
    int Y = Y0;
    for (int Row = First.Y; Y < YEnd && Row < RowLimit(Contra); ++Row) {
      const int Ht = G->RowHeight(Row);
      if (Ht <= 0) {
        Y += VLine;
        continue;
      }
      int X = X0;
      for (int Col = First.X; X < XEnd && Col < ColLimit(Contra); ++Col) {
        const int W = G->ColWidth(Col);
        if (W <= 0) {
          X += HLine;
          continue;
        }
        // A cell wholly outside the part being painted (its lines included) is left alone.
        TRect Inter;
        if (IntersectRect(Inter, Rect(X, Y, X + W + HLine, Y + Ht + VLine), Clip))
          PaintOneCell(Col, Row, Rect(X, Y, X + W, Y + Ht), CellState(Col, Row, Base, Contra),
                       Back, Contra, O);
        X += W + HLine;
      }
      Y += Ht + VLine;
    }
  }

  void PaintOneCell(int Col, int Row, TRect R, TGridDrawState State, TColor Back, bool Contra,
                    TGridOptions O) {
    bool Draw = true, Extend = true;
    TColor Unused = clNone;
    G->GetCellBorder(Col, Row, cbtRightZk, Draw, Unused, Extend);
    if (!Draw) R.Right += M.Horz.AxisLineWidth;
    Draw = true;
    G->GetCellBorder(Col, Row, cbtBottomZk, Draw, Unused, Extend);
    if (!Draw) R.Bottom += M.Vert.AxisLineWidth;
    if (Contra && !C->RectVisible(R)) return;
    if (G->DefaultDrawing()) {
      C->Font()->Assign(G->Font());
      const bool Highlight = State.Contains(gdSelected) &&
                             (!State.Contains(gdFocused) || O.Contains(goDrawFocusSelected) ||
                              O.Contains(goRowSelect));
      if (Highlight) {
        C->Brush()->SetColor(clHighlight);
        C->Font()->SetColor(clHighlightText);
      } else {
        C->Brush()->SetColor(Back);
      }
      C->Brush()->SetStyle(bsSolid);
      C->FillRect(R);
    }
    TRect Inter;
    if (IntersectRect(Inter, R, Clip)) G->PaintCell(Col, Row, R, State);
    if (G->DefaultDrawing() && State.Contains(gdFixed) && G->Ctl3D() &&
        (O.Contains(goFixedVertLine) || O.Contains(goFixedHorzLine)))
      DrawCellEdge(R, O);
    if (G->DefaultDrawing() && State.Contains(gdFocused) &&
        !(O.Contains(goEditing) && O.Contains(goAlwaysShowEditor)) && !O.Contains(goRowSelect))
      DrawFocusRect(C, R);
  }

  void DrawCellEdge(TRect R, TGridOptions O) {
    if (!O.Contains(goFixedVertLine)) R.Right += M.Horz.AxisLineWidth;
    if (!O.Contains(goFixedHorzLine)) R.Bottom += M.Vert.AxisLineWidth;
    if (G->Flat()) {
      C->Pen()->SetColor(C->Brush()->Color());
      C->Polyline({{R.Left, R.Bottom - 1}, {R.Right - 1, R.Bottom - 1}, {R.Right - 1, R.Top - 1}});
      DrawEdge(C, R, BDR_RAISEDINNER, BF_TOPLEFT);
    } else {
      DrawEdge(C, R, BDR_RAISEDINNER, BF_RECT);
    }
  }

  void BorderLine(TColor Color, int X1, int Y1, int X2, int Y2) {
    C->Pen()->SetColor(Color);
    G->DrawPolyLines(C, {{X1, Y1}, {X2, Y2}}, {2}, 2);
  }

  void Fill(const TRect& R, TColor Color) {
    if (R.IsEmpty()) return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(R);
  }

  // The fixed, frozen and scrolled areas: lines, then cells, in the same order and clipping.
  void MainAreas() {
    const TGridAxisMetrics& H = M.Horz;
    const TGridAxisMetrics& V = M.Vert;
    const int FC = G->FixedCols(), FR = G->FixedRows();
    const int FzC = std::clamp(G->FrozenColCount(), 0, FC), FzR = std::clamp(G->FrozenRowCount(), 0, FR);
    const TGridCoord TL{G->LeftCol(), G->TopRow()};
    const TColor Fixed = G->FixedColor(), Data = G->Color();
    const TRect HClip = Rect(H.FixedEnd, 0, H.VisibleEnd, V.FixedEnd);
    const TRect VClip = Rect(0, V.FixedEnd, H.FixedEnd, V.VisibleEnd);
    const TRect DClip = Rect(H.FixedEnd, V.FixedEnd, H.VisibleEnd, V.VisibleEnd);
    const bool HOff = H.PixelOffset > 0, VOff = V.PixelOffset > 0;
    TGridLineColorsZk* LC = G->GridLineColors();
    // Lines.
    AreaLines(Rect(H.NearIndent, V.NearIndent, H.FixedEnd, V.FrozenStart), {0, 0}, false, false);
    AreaLines(Rect(H.NearIndent, V.FrozenStart, H.FixedEnd, V.FixedEnd), {0, FR - FzR}, false, false);
    AreaLines(Rect(H.FrozenStart, V.FrozenStart, H.FixedEnd - 1, V.FixedEnd - 1), {FC - FzC, FR - FzR},
              false, false);
    if (FzR > 0)
      BorderLine(LC->GetDownBorderCellColor(FC - 1, FR - 1), H.FrozenStart, V.FixedEnd - 1, H.FixedEnd,
                 V.FixedEnd - 1);
    if (FzC > 0)
      BorderLine(LC->GetRightBorderCellColor(FC - 1, FR - 1), H.FixedEnd - 1, V.FrozenStart,
                 H.FixedEnd - 1, V.FixedEnd);
    {
      TClipScope S(C, HOff ? &HClip : nullptr);
      AreaLines(Rect(H.ScrolledStart, V.NearIndent, H.VisibleEnd, V.FrozenStart), {TL.X, 0}, false, false);
      AreaLines(Rect(H.ScrolledStart, V.FrozenStart, H.VisibleEnd, V.FixedEnd), {TL.X, FR - FzR}, false,
                false);
      if (FzR > 0)
        BorderLine(LC->GetDownBorderCellColor(TL.X, FR - 1), H.FixedEnd, V.FixedEnd - 1, H.VisibleEnd,
                   V.FixedEnd - 1);
    }
    {
      TClipScope S(C, VOff ? &VClip : nullptr);
      AreaLines(Rect(H.NearIndent, V.ScrolledStart, H.FixedEnd, V.VisibleEnd), {0, TL.Y}, false, false);
      if (FzC > 0) {
        AreaLines(Rect(H.FrozenStart, V.ScrolledStart, H.FixedEnd - 1, V.VisibleEnd), {FC - FzC, TL.Y},
                  false, false);
        BorderLine(LC->GetRightBorderCellColor(FC - 1, TL.Y), H.FixedEnd - 1, V.ScrolledStart,
                   H.FixedEnd - 1, V.VisibleEnd);
      }
    }
    {
      TClipScope S(C, (HOff || VOff) ? &DClip : nullptr);
      AreaLines(Rect(H.ScrolledStart, V.ScrolledStart, H.VisibleEnd, V.VisibleEnd), TL, true, false);
    }
    // Cells.
    const TGridDrawState F{gdFixed};
    AreaCells({0, 0}, H.NearIndent, V.NearIndent, H.FixedEnd, V.FrozenStart, F, Fixed, false);
    AreaCells({0, FR - FzR}, H.NearIndent, V.FrozenStart, H.FrozenStart, V.FixedEnd, F, Fixed, false);
    AreaCells({FC - FzC, FR - FzR}, H.FrozenStart, V.FrozenStart, H.FixedEnd, V.FixedEnd, {}, Data, false);
    {
      TClipScope S(C, HOff ? &HClip : nullptr);
      AreaCells({TL.X, 0}, H.ScrolledStart, V.NearIndent, H.VisibleEnd, V.FrozenStart, F, Fixed, false);
      AreaCells({TL.X, FR - FzR}, H.ScrolledStart, V.FrozenStart, H.VisibleEnd, V.FixedEnd, {}, Data, false);
    }
    {
      TClipScope S(C, VOff ? &VClip : nullptr);
      AreaCells({0, TL.Y}, H.NearIndent, V.ScrolledStart, H.FrozenStart, V.VisibleEnd, F, Fixed, false);
      AreaCells({FC - FzC, TL.Y}, H.FrozenStart, V.ScrolledStart, H.FixedEnd, V.VisibleEnd, {}, Data, false);
    }
    {
      TClipScope S(C, (HOff || VOff) ? &DClip : nullptr);
      AreaCells(TL, H.ScrolledStart, V.ScrolledStart, H.VisibleEnd, V.VisibleEnd, {}, Data, false);
    }
  }

  void RowSelectFocus() {
    const TGridOptions O = G->Options();
    if (!O.Contains(goRowSelect) || !G->DefaultDrawing() || !G->Focused()) return;
    const TRect R = G->CellsScreenRect(M, G->CurrentSelection(), false);
    if (!R.IsEmpty()) DrawFocusRect(C, R);
  }

  void EmptySpace() {
    const TGridAxisMetrics& H = M.Horz;
    const TGridAxisMetrics& V = M.Vert;
    if (H.VisibleEnd < H.ScrollAreaEnd)
      Fill(Rect(H.VisibleEnd, V.NearIndent, H.ScrollAreaEnd, V.VisibleEnd), G->Color());
    if (V.VisibleEnd < V.ScrollAreaEnd) {
      Fill(Rect(H.NearIndent, V.VisibleEnd, H.FixedEnd + 1, V.ScrollAreaEnd), G->Color());
      Fill(Rect(H.FixedEnd + 1, V.VisibleEnd, H.ScrollAreaEnd, V.ScrollAreaEnd), G->Color());
    }
  }

  void ExtendedVertLines(int X0, int X1) {
    const TGridAxisMetrics& H = M.Horz;
    const TGridAxisMetrics& V = M.Vert;
    if (!G->Options().Contains(goVertLine) || V.VisibleEnd >= V.ContraStart) return;
    TGridLineColorsZk* LC = G->GridLineColors();
    const TColor Dark = LC->GetDarkColor(), Bright = LC->GetBrightColor();
    auto Line = [&](int X, TColor Color) {
      G->DrawLineRect(C, Rect(X, V.VisibleEnd, X + 1, V.ContraStart), Color, G->Color());
    };
    const int FC = G->FixedCols(), FzC = std::clamp(G->FrozenColCount(), 0, FC);
    if (H.FixedEnd >= X0) {
      int X = H.NearIndent;
      for (int Col = 0; Col < FC; ++Col) {
        X += G->ColWidth(Col);
        const bool Frozen = Col >= FC - FzC;
        Line(X, !Frozen || Col == FC - 1 ? Dark : Bright);
        X += H.AxisLineWidth;
      }
    }
    if (H.FixedEnd < X1) {
      int X = H.ScrolledStart;
      for (int Col = G->LeftCol(); Col <= H.LastWholeCell && Col < G->ColCount(); ++Col) {
        X += G->ColWidth(Col);
        if (X >= H.FixedEnd) Line(X, Bright);
        X += H.AxisLineWidth;
      }
    }
    if (X1 >= H.ContraStart && H.ContraCount > 0) {
      Line(H.ContraStart, Dark);
      int X = H.ContraStart + H.AxisLineWidth;
      for (int Col = G->ColCount(); Col < G->FullColCount() - 1; ++Col) {
        X += G->ColWidth(Col);
        Line(X, Bright);
        X += H.AxisLineWidth;
      }
    }
  }

  // The contra rows along the bottom and the contra columns along the right edge, with their
  // lines and cells; their cells get the area's base state only.
  void ContraAreas() {
    const TGridAxisMetrics& H = M.Horz;
    const TGridAxisMetrics& V = M.Vert;
    const int FC = G->FixedCols(), FR = G->FixedRows();
    const int FzC = std::clamp(G->FrozenColCount(), 0, FC), FzR = std::clamp(G->FrozenRowCount(), 0, FR);
    const int Cols = G->ColCount(), Rows = G->RowCount();
    const TColor Fixed = G->FixedColor(), Data = G->Color();
    const TGridDrawState F{gdFixed};
    TGridLineColorsZk* LC = G->GridLineColors();
    const int CY = V.ContraStart + V.AxisLineWidth, CX = H.ContraStart + H.AxisLineWidth;
    if (V.ContraCount > 0) {
      const TRect Band = Rect(0, V.ContraStart, H.ContraCount > 0 ? H.ContraStart : H.ClientLimit, V.ClientLimit);
      TClipScope S(C, &Band);
      AreaLines(Rect(H.NearIndent, CY, H.FrozenStart, V.ClientLimit), {0, Rows}, false, true);
      AreaLines(Rect(H.FrozenStart, CY, H.FixedEnd, V.ClientLimit), {FC - FzC, Rows}, false, true);
      {
        const TRect Scrolled = Rect(H.FixedEnd, V.ContraStart, H.ScrollAreaEnd, V.ClientLimit);
        TClipScope S2(C, &Scrolled);
        AreaLines(Rect(H.ScrolledStart, CY, H.VisibleEnd, V.ClientLimit), {G->LeftCol(), Rows}, true, true);
        AreaCells({G->LeftCol(), Rows}, H.ScrolledStart, CY, H.VisibleEnd, V.ClientLimit, {}, Data, true);
      }
      AreaCells({0, Rows}, H.NearIndent, CY, H.FrozenStart, V.ClientLimit, F, Fixed, true);
      AreaCells({FC - FzC, Rows}, H.FrozenStart, CY, H.FixedEnd, V.ClientLimit, {}, Data, true);
      if (V.AxisLineWidth > 0)
        BorderLine(LC->GetTopBorderCellColor(0, Rows), 0, V.ContraStart, H.VisibleEnd, V.ContraStart);
      if (H.VisibleEnd < H.ContraStart && H.ContraCount > 0)
        Fill(Rect(H.VisibleEnd, CY, H.ContraStart, V.ClientLimit), Data);
    }
    if (H.ContraCount > 0) {
      const TRect Band = Rect(H.ContraStart, 0, H.ClientLimit, V.ContraCount > 0 ? V.ContraStart : V.ClientLimit);
      {
        TClipScope S(C, &Band);
        AreaLines(Rect(CX, V.NearIndent, H.ClientLimit, V.FrozenStart), {Cols, 0}, false, true);
        AreaLines(Rect(CX, V.FrozenStart, H.ClientLimit, V.FixedEnd), {Cols, FR - FzR}, false, true);
        AreaCells({Cols, 0}, CX, V.NearIndent, H.ClientLimit, V.FrozenStart, F, Fixed, true);
        AreaCells({Cols, FR - FzR}, CX, V.FrozenStart, H.ClientLimit, V.FixedEnd, {}, Data, true);
        const TRect Scrolled = Rect(H.ContraStart, V.FixedEnd, H.ClientLimit, V.VisibleEnd);
        TClipScope S2(C, &Scrolled);
        AreaLines(Rect(CX, V.ScrolledStart, H.ClientLimit, V.VisibleEnd), {Cols, G->TopRow()}, true, true);
        AreaCells({Cols, G->TopRow()}, CX, V.ScrolledStart, H.ClientLimit, V.VisibleEnd, {}, Data, true);
      }
      if (H.AxisLineWidth > 0)
        BorderLine(LC->GetLeftBorderCellColor(Cols, 0), H.ContraStart, 0, H.ContraStart, V.VisibleEnd);
      if (V.VisibleEnd < V.ScrollAreaEnd)
        Fill(Rect(CX, V.VisibleEnd, H.ClientLimit, V.ScrollAreaEnd), Data);
    }
    if (H.ContraCount > 0 && V.ContraCount > 0) {
      AreaLines(Rect(CX, CY, H.ClientLimit, V.ClientLimit), {Cols, Rows}, true, true);
      AreaCells({Cols, Rows}, CX, CY, H.ClientLimit, V.ClientLimit, {}, Data, true);
      if (V.AxisLineWidth > 0)
        BorderLine(LC->GetTopBorderCellColor(Cols, Rows), H.ContraStart, V.ContraStart, H.ClientLimit,
                   V.ContraStart);
      if (H.AxisLineWidth > 0)
        BorderLine(LC->GetLeftBorderCellColor(Cols, Rows), H.ContraStart, V.ContraStart, H.ContraStart,
                   V.ClientLimit);
    }
    if (G->Options().Contains(goExtendVertLines)) ExtendedVertLines(H.ContraStart, H.ClientLimit);
  }
};

void TCustomGridZk::Paint() {
  if (PaintLocked()) return;
  TCanvas* C = Canvas();
  TGridPainter P{this, C, CalcMetrics(), {}};
  const bool Contra = FContraColCount > 0 || FContraRowCount > 0;
  {
    const TRect NonContra = Rect(0, 0, P.M.Horz.ContraStart, P.M.Vert.ContraStart);
    TGridPainter::TClipScope Scope(C, Contra ? &NonContra : nullptr);
    P.Clip = C->ClipRect();
    DrawOutBoundaryData();
    P.MainAreas();
    P.RowSelectFocus();
    P.EmptySpace();
    if (FOptions.Contains(goExtendVertLines)) {
      P.ExtendedVertLines(0, P.M.Horz.FixedEnd);
      P.ExtendedVertLines(P.M.Horz.FixedEnd + 1, P.M.Horz.VisibleEnd);
    }
  }
  if (Contra) {
    P.Clip = C->ClipRect();
    P.ContraAreas();
  }
  PaintMarkerLines();
}

// The sizing line and the row-move line, inverted over the picture.
void TCustomGridZk::PaintMarkerLines() {
  if (!FSizingLineShown && !FMoveLineShown) return;
  TCanvas* C = Canvas();
  C->Pen()->SetMode(pmXor);
  C->Pen()->SetColor(clWhite);
  if (FSizingLineShown) {
    C->Pen()->SetStyle(psDot);
    C->Pen()->SetWidth(1);
    const TRect R = SizingLineRect();
    if (FGridState == gsRowSizing) C->Polyline({{R.Left, R.Top}, {R.Right, R.Top}});
    else C->Polyline({{R.Left, R.Top}, {R.Left, R.Bottom}});
  }
  if (FMoveLineShown) {
    C->Pen()->SetStyle(psSolid);
    const TRect R = MoveLineRect();
    C->Brush()->SetColor(clWhite);
    C->PatBlt(R, PATINVERT);
  }
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
}

void TCustomGridZk::DrawOutBoundaryData() {
  for (TGridCellBorderTypeZk Side : {cbtTopZk, cbtLeftZk, cbtBottomZk, cbtRightZk}) {
    TRect R;
    if (FOutBoundaryData->GetOutBoundaryRect(R, Side)) DrawOutBoundaryArea(Side, R);
  }
}

void TCustomGridZk::DrawOutBoundaryArea(TGridCellBorderTypeZk, const TRect& ARect) {
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(FFixedColor);
  Canvas()->FillRect(ARect);
}

// The sizing line is painted by Paint while it is shown; drawing it again takes it away.
void TCustomGridZk::DrawSizingMarker(const TGridMetrics&) { ShowSizingLine(!FSizingLineShown); }
