// DBGridZkPaint.cpp - cell classification and painting: titles with sort markers and
// multi-title spans, the indicator, data cells with striping and cell parameters, footers.
// Painting events keep their order: OnAdvDrawDataCell of the grid, of the column, the default
// painting, then OnDrawDataCell and OnDrawColumnCell.
#include "gridlib/grid/DBGridZk.h"

#include "gridlib/grid/DBGridZkDraw.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZkHeadTree.h"
#include "gridlib/grid/DBGridZkResources.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/Picture.h"
#include "platform/graphics/WinDraw.h"

#include "gridlib/grid/DBGridZk_p.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Math.h"

TCellAreaTypeZk TCustomDBGridZk::GetCellType(int ACol, int ARow) const {
  const bool Ind = ACol < FIndicatorOffset;
  if (ARow >= RowCount()) return Ind ? catIndicatorFooter : catFooter;
  if (ARow < FTitleOffset) return Ind ? catIndicatorTitle : catTitle;
  return Ind ? catIndicator : catData;
}

void TCustomDBGridZk::Paint() {
  TCustomGridZk::Paint();
}

void TCustomDBGridZk::PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (FGridRowPanel->Active() && PaintRowPanelCell(ACol, ARow, ARect, AState)) return;
  if (IsFilterRowCell(ACol, ARow) || (ACol < FIndicatorOffset && ARow == FTitleOffset - 1 &&
                                       FilterRowCount() > 0)) {
    DrawFilterCell(ACol, ARow, ARect, AState);
    return;
  }
  switch (GetCellType(ACol, ARow)) {
    case catTitle:
    case catIndicatorTitle:
      DrawTitleAreaCell(ACol, ARow, ARect, AState);
      break;
    case catIndicator:
    case catIndicatorFooter: DrawIndicatorCell(ACol, ARow, ARect, AState); break;
    case catData: DrawDataCell(ACol, ARow, ARect, AState); break;
    case catFooter: DrawFooterCell(ACol, ARow, ARect, AState); break;
    default: break;
  }
}

namespace {

// With dghShowRecNo the indicator's first footer cell shows how many records there are
// (nothing while a record is inserted on the first row, or without records).
void DrawIndicatorRecordCount(TCustomDBGridZk* Grid, TCanvas* C, const TRect& ARect) {
  if (!Grid->OptionsZk().Contains(dghShowRecNo) || !Grid->DataLink()->Active()) return;
  TDataSet* D = Grid->DataSet();
  const int Count = D->RecordCount();
  if (Count < 1 || (D->State() == dsInsert && Grid->DataLink()->ActiveRecord() == 0)) return;
  C->Font()->Assign(Grid->Font());
  C->Font()->SetSize(Grid->Font()->Size() - 1);
  WriteTextToCell(C, ARect, false, 0, 0, IntToStr(Count), taCenter, tlCenter, true, false, 0, 0,
                  false);
}

}  // namespace

// --- helpers --------------------------------------------------------------------------------------

void TCustomDBGridZk::DrawCellText(const TRect& R, const String& Text, TAlignment Alignment,
                                   bool Ellipsis) {
  TCanvas* C = Canvas();
  String T = Text;
  // One line: tabs and line breaks show as spaces.
  for (Char& Ch : T)
    if (Ch == u'\t' || Ch == u'\r' || Ch == u'\n') Ch = u' ';
  const int Avail = R.Right - R.Left - 4;
  if (Ellipsis && C->TextWidth(T) > Avail) {
    while (!T.empty() && C->TextWidth(T + u"...") > Avail) T.pop_back();
    T += u"...";
  }
  const int W = C->TextWidth(T);
  int X = R.Left + 2;
  if (Alignment == taRightJustify) X = R.Right - 2 - W;
  else if (Alignment == taCenter) X = R.Left + (R.Right - R.Left - W) / 2;
  const int Y = R.Top + (R.Bottom - R.Top - C->TextHeight(u"Wg")) / 2;
  C->Brush()->SetStyle(bsClear);
  C->TextRect(R, X, Y, T);
  C->Brush()->SetStyle(bsSolid);
}

void TCustomDBGridZk::DrawEdges(const TRect& R, bool Raised) {
  DrawCell3DFrame(Canvas(), R, !Raised, false, true, true);
}

// The marker image at the right of R, and the sort index left of it when two or more columns
// are marked. What does not fit is dropped, the marker first; R loses what they take.
void TCustomDBGridZk::DrawSortMarker(TRect& R, TSortMarkerZk Marker, int Index) {
  TImageList* Images = GridSortMarkerImages();
  if (Marker == smNoneZk || !Images) return;
  TCanvas* C = Canvas();
  const TRect Content = R;
  R.Right -= 16;
  String IndexText;
  int IndexWidth = 0;
  if (Index > 0 && FSortMarkedColumns.size() > 1) {
    IndexText = IntToStr(Index);
    TFont Saved;
    Saved.Assign(C->Font());
    C->Font()->Assign(GridSortMarkerFont());
    IndexWidth = C->TextWidth(IndexText);
    C->Font()->Assign(&Saved);
  }
  bool DrawImage = true, DrawIndex = !IndexText.empty();
  R.Right -= IndexWidth;
  if (R.Right - R.Left < Images->Width()) {
    R.Right += 14;
    DrawImage = false;
    if (R.Right - R.Left < Images->Width()) {
      R.Right += IndexWidth + 2;
      DrawIndex = false;
    }
  }
  const int Y = (Content.Top + Content.Bottom - Images->Height()) / 2;
  if (DrawImage)
    Images->Draw(C, Content.Right - Images->Width() - IndexWidth - 2, Y,
                 Marker == smDownZk ? gsiDownZk : gsiUpZk);
  if (DrawIndex) {
    TFont Saved;
    Saved.Assign(C->Font());
    C->Font()->Assign(GridSortMarkerFont());
    C->Brush()->SetStyle(bsClear);
    C->TextOut(Content.Right - IndexWidth - 2, Y - 1, IndexText);
    C->Brush()->SetStyle(bsSolid);
    C->Font()->Assign(&Saved);
  }
}

void TCustomDBGridZk::DrawCheckbox(const TRect& R, TCheckBoxState State) {
  TCanvas* C = Canvas();
  const int S = std::min(13, std::min(R.Right - R.Left, R.Bottom - R.Top) - 2);
  const int L = (R.Left + R.Right - S) / 2, T = (R.Top + R.Bottom - S) / 2;
  const TRect Box = Rect(L, T, L + S, T + S);
  C->Brush()->SetColor(State == cbGrayed ? clBtnFace : clWindow);
  C->Pen()->SetColor(clBtnShadow);
  C->Rectangle(Box);
  if (State == cbChecked) {
    C->Pen()->SetColor(clWindowText);
    C->MoveTo(L + 3, T + S / 2);
    C->LineTo(L + S / 2 - 1, T + S - 4);
    C->LineTo(L + S - 3, T + 3);
  }
}

// --- titles ---------------------------------------------------------------------------------------

// A title, indicator or footer cell belongs to the selection: every cell with everything
// selected, the titles and footers of selected columns, the indicator of selected records.
bool TCustomDBGridZk::FixedCellInSelection(int ACol, int ARow) {
  const TDBGridZkSelectionType Type = FSelection->SelectionType();
  if (Type == gstAll) return true;
  const bool DataRow = ARow >= FTitleOffset && ARow < RowCount();
  if (ACol < FIndicatorOffset)
    return DataRow && Type == gstRecordBookmarks && FDataLink->Active() &&
           FBookmarks->CurrentRowSelected();
  if (DataRow || Type != gstColumns) return false;
  TColumnZk* Col = ColumnAtGridCol(ACol);
  return Col && FSelection->Columns()->Contains(Col);
}

bool TCustomDBGridZk::SelectedFixedCellColor(int ACol, int ARow, int AreaCol, int AreaRow,
                                             TCellAreaTypeZk CellArea, TGridDrawState AState,
                                             bool Selected, TColor& AColor, TFont* AFont) {
  if (FStyle)
    return FStyle->GetFixedCellHighlight(this, ACol, ARow, AreaCol, AreaRow, CellArea, AState,
                                         Selected, AColor, AFont);
  if (!Selected) return false;
  if (CellArea != catFooter && CellArea != catIndicatorFooter) {
    AColor = RGB(64, 64, 64);
    AFont->SetColor(clWhite);
  } else if (GridActive()) {
    AColor = clHighlight;
    AFont->SetColor(clHighlightText);
  } else {
    AColor = clBtnFace;
  }
  return true;
}

void TCustomDBGridZk::DrawTitleCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  DrawTitleAreaCell(ACol, ARow, ARect, AState);
}

// Collects what the title shows and how, paints it through DrawTitleByState, then the slices
// of the multi-title groups above it.
void TCustomDBGridZk::DrawTitleAreaCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TColumnZk* Col = ColumnAtGridCol(ACol);
  if (!Col) return DrawIndicatorCell(ACol, ARow, ARect, AState);
  TCanvas* C = Canvas();
  TColumnTitleZk* Title = Col->Title();
  TDBGirdDrawTitleStateZk State;
  State.BackColor = Title->Color();
  State.The3DRect = CellDrawn3D(ACol, ARow, AState);
  State.DrawByThemes = CellDrawnThemed(ACol, ARow);
  State.Down = FTracking && FPressed && FDBGridZkState == dgsNormal && PressedTitleColumn() == Col;
  const TRect Cell = ARect;
  THeadTreeNode* Leaf = IsUseMultiTitle() ? LeafNodeOf(Col) : nullptr;
  State.Caption = Title->LeafCaption();
  if (Leaf) {
    // The leaf at the bottom, its line on the right; the groups above get their slices below.
    if (FOptions.Contains(dgColLines)) {
      C->Pen()->SetColor(GridLineColors()->GetFixedHorzColor());
      C->MoveTo(ARect.Right - 1, ARect.Bottom - 1);
      C->LineTo(ARect.Right - 1, ARect.Bottom - Leaf->Height - 1);
      --ARect.Right;
    }
    ARect.Top = std::max(ARect.Top, ARect.Bottom - Leaf->Height + 1);
    State.Caption = Leaf->Text;
  }
  State.SortMarker = Title->SortMarker();
  State.DrawSortIndex = true;
  if (FTitleImages && Title->ImageIndex() != -1) State.Caption.clear();
  // The application may change the title's colours, font and marker; it is asked again with
  // the title font, so what it does to the font stays.
  const bool AskParams = Col->Field() && FOnGetBtnParams;
  if (AskParams)
    FOnGetBtnParams(this, Col, C->Font(), State.BackColor, State.SortMarker, State.Down);
  C->Font()->Assign(Title->Font());
  if (AskParams)
    FOnGetBtnParams(this, Col, C->Font(), State.BackColor, State.SortMarker, State.Down);
  State.CellMultiSelected = FixedCellInSelection(ACol, ARow);
  State.Highlight = SelectedFixedCellColor(ACol, ARow, ACol - FIndicatorOffset, ARow, catTitle,
                                           AState, State.CellMultiSelected, State.BackColor,
                                           C->Font());
  TFont* F = C->Font();
  State.FontCharset = F->Charset();
  State.FontColor = F->Color();
  State.FontSize = F->Size();
  State.FontName = F->Name();
  State.FontStyle = F->Style();
  State.WordWrap = FUseMultiTitle || FTitleHeight != 0 || FTitleLines != 0;
  State.Orientation = Title->Orientation();
  DrawTitleByState(Col, ARect, AState, State);
  if (Leaf && Leaf->Host && Leaf->Host->Host) {
    C->Font()->Assign(FTitleFont.get());
    DrawTitleHostCells(Leaf, ARect, Cell);
  }
}

void TCustomDBGridZk::DrawTitleByState(TColumnZk* Column, TRect ARect, TGridDrawState AState,
                                       TDBGirdDrawTitleStateZk& State) {
  TCanvas* C = Canvas();
  TColumnTitleZk* Title = Column->Title();
  C->Brush()->SetColor(State.BackColor);
  TRect FillR = ARect, Content = ARect;
  int DX = 2;
  if (State.The3DRect) {
    DX = 1;
    if (State.DrawByThemes) InflateRect(FillR, 1, 1);
    else if (Flat()) ++FillR.Left, ++FillR.Top;
    else InflateRect(FillR, -1, -1);
    InflateRect(Content, -1, -1);
  }
  const int DY = Flat() ? DX - 1 : DX;
  // The in-title filter button takes the right end of the content.
  if (HasTitleFilterButton(this, Column))
    Content.Right -= TitleFilterButtonWidth(this, Content.Width());
  // A pressed title shows sunken, its text shifted down and right.
  const int Shift = !State.Down ? 0 : (IsUseMultiTitle() || FTitleHeight != 0 || FTitleLines != 0) ? 2 : 1;
  TRect TextR = Content;
  TextR.Top += Shift;
  // The sort marker and the sort index take the right end; what does not fit is dropped, the
  // marker first.
  TImageList* Markers = GridSortMarkerImages();
  const bool HasMarker = State.SortMarker != smNoneZk && Markers;
  String IndexText;
  int IndexWidth = 0;
  if (HasMarker) TextR.Right -= 16;
  if (HasMarker && State.DrawSortIndex && FSortMarkedColumns.size() > 1) {
    const auto It = std::find(FSortMarkedColumns.begin(), FSortMarkedColumns.end(), Column);
    IndexText = IntToStr(It == FSortMarkedColumns.end()
                             ? Title->SortIndex()
                             : static_cast<int>(It - FSortMarkedColumns.begin()) + 1);
    C->Font()->Assign(GridSortMarkerFont());
    IndexWidth = C->TextWidth(IndexText);
  }
  bool DrawMarker = HasMarker, DrawIndex = !IndexText.empty();
  TextR.Right -= IndexWidth;
  if (HasMarker && TextR.Right - TextR.Left < Markers->Width()) {
    TextR.Right += 14;
    DrawMarker = false;
    if (TextR.Right - TextR.Left < Markers->Width()) {
      TextR.Right += IndexWidth + 2;
      DrawIndex = false;
    }
  }
  TFont* F = C->Font();
  F->Assign(Title->Font());
  F->SetCharset(State.FontCharset);
  F->SetColor(State.FontColor);
  F->SetSize(State.FontSize);
  F->SetName(State.FontName);
  F->SetStyle(State.FontStyle);
  FillCellBackground(State.DrawByThemes, FillR, State.Down, State.CellMultiSelected, TRect{},
                     State.The3DRect);
  if (State.Orientation == tohVertical)
    WriteVerticalText(C, TextR, false, DX, DY + 2, State.Caption, taCenter, tlBottom, false);
  else
    WriteCellText(Column, C, TextR, false, DX, DY, State.Caption, Title->Alignment(),
                  State.WordWrap ? tlCenter : tlTop, State.WordWrap, Title->EndEllipsis(), Shift,
                  -Shift);
  if (FTitleImages && Title->ImageIndex() != -1)
    DrawCellImage(FTitleImages, nullptr, C, TextR, Title->ImageIndex(), Shift,
                  FUseMultiTitle ? taCenter : Title->Alignment());
  const int MarkerY =
      HasMarker ? (Content.Top + Content.Bottom - Markers->Height()) / 2 + Shift : 0;
  if (DrawMarker)
    Markers->Draw(C, Content.Right + Shift - Markers->Width() - IndexWidth - 2, MarkerY,
                  State.SortMarker == smDownZk ? gsiDownZk : gsiUpZk);
  if (DrawIndex) {
    C->Font()->Assign(GridSortMarkerFont());
    if (State.Highlight) C->Font()->SetColor(clWhite);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(Content.Right + Shift - IndexWidth - 2, MarkerY - 1, IndexText);
    C->Brush()->SetStyle(bsSolid);
    C->Font()->Assign(FTitleFont.get());
    if (State.Highlight) C->Font()->SetColor(clWhite);
  }
  DrawTitleFilterButton(this, Column, ARect, AState, Shift);
  if (State.The3DRect && !State.DrawByThemes) {
    C->Brush()->SetColor(State.BackColor);
    DrawCell3DFrame(C, ARect, State.Down, State.Highlight, true, !(Flat() && ThemesActive()));
  } else if (State.Down && !State.DrawByThemes) {
    DrawCell3DFrame(C, ARect, true, false, true, true);
  }
}

// The slice of Node's group (and of the groups above it) inside Cell: the group's caption is
// centred over the group's whole width and clipped to this column.
void TCustomDBGridZk::DrawTitleHostCells(THeadTreeNode* Node, TRect R, const TRect& Cell) {
  TCanvas* C = Canvas();
  while (Node->Host && Node->Host->Host) {
    THeadTreeNode* Host = Node->Host;
    TRect HostR;
    HostR.Bottom = R.Top - (FOptions.Contains(dgRowLines) ? 1 : 0);
    HostR.Top = HostR.Bottom - Host->Height;
    HostR.Left = R.Left;
    for (THeadTreeNode* K = Host->Child; K != Node; K = K->Next)
      HostR.Left -= K->Width + K->VLineWidth;
    HostR.Right = HostR.Left + Host->Width;
    const bool LastSlice = HostR.Right <= Cell.Right;
    TRect Paint = Rect(Cell.Left, std::max(Cell.Top, HostR.Top), Cell.Right, HostR.Bottom);
    if (!LastSlice) ++Paint.Right;   // over the line between the group's columns
    const TCanvasState Saved = C->SaveDC();
    C->IntersectClipRect(Paint);
    C->Brush()->SetColor(Node->Column ? Node->Column->Title()->Color() : FixedColor());
    // A themed group is one face over all its columns, each column painting its part.
    FillCellBackground(FixedCellsThemed(), Rect(HostR.Left, Paint.Top, HostR.Right, Paint.Bottom),
                       false, false, Paint, true);
    C->Font()->Assign(FTitleFont.get());
    WriteTextToCell(C, Rect(HostR.Left, Paint.Top, HostR.Right, Paint.Bottom), false, 0,
                    Flat() ? 1 : 2, Host->Text, taCenter, tlCenter, true,
                    Node->Column && Node->Column->Title()->EndEllipsis(), 0, 0, false);
    C->RestoreDC(Saved);
    Host->Drawed = true;
    C->Pen()->SetColor(GridLineColors()->GetFixedHorzColor());
    if (FOptions.Contains(dgRowLines)) {
      C->MoveTo(Paint.Left, Paint.Bottom);
      C->LineTo(Paint.Right, Paint.Bottom);
    }
    if (FOptions.Contains(dgColLines) && LastSlice) {
      C->MoveTo(Paint.Right - 1, Paint.Top);
      C->LineTo(Paint.Right - 1, Paint.Bottom + 1);
    }
    Node = Host;
    R = HostR;
  }
}

// --- indicator ------------------------------------------------------------------------------------

// Kinds: 0 current row, 1 current row of a multi-selection, 2 editing, 3 inserting, 4 current
// row while a typed search runs. With themes the arrows are drawn as shaded vectors.
void TCustomDBGridZk::DrawIndicatorGlyph(int, int, TRect ARect, int XOffset, int YOffset,
                                         int Kind) {
  TImageList* Images = GridIndicatorImages();
  if (!Images) return;
  TCanvas* C = Canvas();
  const int X = (ARect.Left + ARect.Right - Images->Width()) / 2 + XOffset;
  const int Y = (ARect.Top + ARect.Bottom - Images->Height()) / 2 + YOffset;
  if (ThemesActive() && (Kind == 0 || Kind == 1 || Kind == 4)) {
    std::vector<TPoint> P;
    for (int I = 0; I <= 5; ++I) P.insert(P.end(), {Point(0, I), Point(I + 1, I)});
    for (int I = 0; I <= 3; ++I) P.insert(P.end(), {Point(0, 6 + I), Point(5 - I, 6 + I)});
    P.insert(P.end(), {Point(0, 10), Point(0, 11)});
    const TColor From = Kind == 0 ? clBtnText : Kind == 1 ? clWhite : clYellow;
    const TColor To = Kind == 0 ? MixColorsPercent(From, clBlack, 30)
                      : Kind == 1 ? MixColorsPercent(From, clBlack, 7) : From;
    DrawGradientSegments(C, Point(X, Y), P, From, To);
    return;
  }
  static constexpr int ImageOfKind[] = {giiArrowZk, giiSelectedArrowZk, giiEditZk, giiInsertZk,
                                        giiSearchArrowZk};
  if (Kind >= 0 && Kind < 5) Images->Draw(C, X, Y, ImageOfKind[Kind]);
}

void TCustomDBGridZk::DrawDropDownSign(int, int, TRect ARect, bool Highlighted) {
  TCanvas* C = Canvas();
  if (ThemesActive()) {
    std::vector<TPoint> P;
    for (int I = 0; I <= 3; ++I) P.insert(P.end(), {Point(I, I), Point(7 - I, I)});
    const TColor Base = Highlighted ? clWhite : clBtnText;
    DrawGradientSegments(C,
                         Point((ARect.Left + ARect.Right - 7) / 2 + 1,
                               (ARect.Top + ARect.Bottom - 7) / 2),
                         P, Base, MixColorsPercent(Base, clBlack, Highlighted ? 7 : 30));
    return;
  }
  if (TImageList* Images = GridSortMarkerImages())
    Images->Draw(C, (ARect.Left + ARect.Right - Images->Width()) / 2,
                 (ARect.Top + ARect.Bottom - Images->Height()) / 2, gsiDropDownZk);
}

void TCustomDBGridZk::DrawIndicatorCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  const bool Themed = CellDrawnThemed(ACol, ARow);
  const bool Is3D = CellDrawn3D(ACol, ARow, AState);
  const TRect Cell = ARect;
  TColor Back = FixedColor();
  C->Font()->Assign(Font());
  const TCellAreaTypeZk Area = GetCellType(ACol, ARow);
  const bool All = FSelection->SelectionType() == gstAll;
  bool Highlight = false, Pressed = false;
  if (Area == catIndicatorTitle) {
    Highlight = All && SelectedFixedCellColor(ACol, ARow, ACol, ARow, Area, AState, true, Back,
                                              C->Font());
    Pressed = ACol < FIndicatorOffset && FIndicatorTitle->Down();
    C->Brush()->SetColor(Back);
    FillCellBackground(Themed, ARect, Pressed || All, false, TRect{}, true);
    if (FIndicatorTitle->ShowDropDownSign())
      DrawDropDownSign(ACol, ARow,
                       Rect(ARect.Right + 2 * Pressed - 12, ARect.Top + 2 * Pressed, ARect.Right,
                            ARect.Bottom),
                       Highlight);
  } else if (Area == catIndicator && FDataLink->Active()) {
    DrawIndicatorDataRow(ACol, ARow, ARect, AState, Themed, Highlight);
  } else {
    Highlight = All && SelectedFixedCellColor(ACol, ARow, ACol, ARow, Area, AState, true, Back,
                                              C->Font());
    C->Brush()->SetColor(Back);
    FillCellBackground(Themed, ARect, false, false, TRect{}, true);
    if (Area == catIndicatorFooter && ARow == RowCount())
      DrawIndicatorRecordCount(this, C, ARect);
  }
  if (Is3D && !Themed) {
    C->Brush()->SetColor(Back);
    DrawCell3DFrame(C, Cell, Pressed, Highlight, true, !(Flat() && ThemesActive()));
  }
}

// The indicator of a data row: the glyph of the current record's state and the record number,
// in the selection's colours when the record is selected.
void TCustomDBGridZk::DrawIndicatorDataRow(int ACol, int ARow, TRect ARect, TGridDrawState AState,
                                           bool Themed, bool& Highlight) {
  TCanvas* C = Canvas();
  const int DataRow = ARow - FTitleOffset;
  const bool Current = DataRow == FDataLink->ActiveRecord();
  int No = -1;
  bool Selected = false;
  ForDataRow(DataRow, [&] {
    Selected = FOptions.Contains(dgMultiSelect) && FixedCellInSelection(ACol, ARow);
    if (DataSet()->State() != dsInsert || !Current) No = RecNoZk();
  });
  TColor Back = FixedColor();
  if (Current && ThemesActive()) Back = MixColorsPercent(Back, clBlack, 10);
  if (Selected)
    Highlight = SelectedFixedCellColor(ACol, ARow, ACol, DataRow, catIndicator, AState, true,
                                       Back, C->Font());
  C->Brush()->SetColor(Back);
  FillCellBackground(Themed, ARect, Selected, false, TRect{}, true);
  // A row carrying the detail panel shows its glyph beside the data part only.
  if (DataRow == RowDetailDataRow()) ARect.Bottom = ARect.Top + DataRowHeight(DataRow);
  const bool ShowRecNo = FOptionsZk.Contains(dghShowRecNo);
  int GlyphWidth = FOptions.Contains(dgIndicator) ? 11 : 0;
  if (ShowRecNo && GlyphWidth) GlyphWidth -= 2;
  TRect Glyph = ARect;
  Glyph.Left = Glyph.Right - GlyphWidth;
  if (FOptions.Contains(dgIndicator) && Current) {
    int Kind = 0;
    switch (DataSet()->State()) {
      case dsBrowse: Kind = Selected ? 1 : FInplaceSearching ? 4 : 0; break;
      case dsEdit: Kind = 2; break;
      case dsInsert: Kind = 3; break;
      default: break;
    }
    DrawIndicatorGlyph(ACol, ARow, Glyph, ShowRecNo ? 0 : 1, 0, Kind);
  }
  if (ShowRecNo && No > 0) {
    TRect T = ARect;
    T.Right -= GlyphWidth;
    const TColor Ink = C->Font()->Color();
    C->Font()->Assign(Font());
    C->Font()->SetSize(Font()->Size() - 1);
    C->Font()->SetColor(Ink);
    WriteTextToCell(C, T, false, 0, 0, IntToStr(No), taCenter, tlCenter, true, false, 0, 0,
                    false);
  }
}

// --- data cells -----------------------------------------------------------------------------------

TColor TCustomDBGridZk::RowColor(int RecNo) const {
  if (!FEvenRowColorSet && !FOddRowColorSet) return Color();
  if (RecNo <= 0) return Color();
  return RecNo % 2 == 0 ? EvenRowColor() : OddRowColor();
}


void TCustomDBGridZk::DoGetCellParams(TColumnZk* Column, TFont* AFont, TColor& Background,
                                      TGridDrawState State) {
  if (FOnGetCellParams) FOnGetCellParams(this, Column, AFont, Background, State);
}

void TCustomDBGridZk::DoDrawColumnCell(const TRect& Rect, int DataCol, TColumnZk* Column,
                                       TGridDrawState State) {
  if (FOnDrawColumnCell) FOnDrawColumnCell(this, Rect, DataCol, Column, State);
}

void TCustomDBGridZk::DoDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State) {
  if (FOnDrawDataCell) FOnDrawDataCell(this, Rect, Field, State);
}

void TCustomDBGridZk::DrawDataCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  if (GroupingWorks()) return DrawGroupedDataCell(ACol, ARow, ARect, AState);
  TColumnZk* Col = ColumnAtGridCol(ACol);
  const int DataRow = ARow - FTitleOffset;
  if (DataRow == RowDetailDataRow()) {
    // The panel hangs below the row's own height.
    TRect Panel = ARect;
    Panel.Top = ARect.Top + DataRowHeight(DataRow);
    C->Brush()->SetColor(FRowDetailPanel->Color());
    C->FillRect(Panel);
    ARect.Bottom = Panel.Top;
  }
  if (!Col || !FDataLink->Active() || DataRow >= SourceRowCount()) {
    C->Brush()->SetColor(Color());
    C->FillRect(ARect);
    return;
  }
  ForDataRow(DataRow, [&] {
    if (ACol == FIndicatorOffset && MemTableTreeShown()) {
      DrawDataTreeElements(ACol, ARow, AState, ARect, false);
      ARect.Left += GetCellTreeElmentsAreaWidth();
    }
    PaintDataCellContent(ACol, ARow, ARect, AState, Col);
  });
  if (IsCurrentDataRow(DataRow) && ACol == FIndicatorOffset &&
      FRowDetailPanel->Active())
    PaintRowDetailExpander(Rect(ARect.Left + 2, ARect.Top + 2, ARect.Left + 11, ARect.Top + 11),
                           FRowDetailPanel->Visible());
}

// One data cell of the record the dataset's fields show now.
void TCustomDBGridZk::PaintDataCellContent(int ACol, int ARow, const TRect& ARect,
                                           TGridDrawState AState, TColumnZk* Col) {
  TCanvas* C = Canvas();
  {
    TColCellParamsZk* P = FColCellParamsZk.get();
    P->Row = ARow;
    P->Col = ACol;
    P->State = AState;
    P->Font()->Assign(Col->Font());
    P->Alignment = Col->Alignment();
    P->Text = Col->DisplayText();
    P->ReadOnly = Col->ReadOnly();
    P->CheckboxState = Col->Checkboxes() ? Col->CheckboxState() : cbUnchecked;
    P->ImageIndex = Col->GetImageIndex();
    TColor Back = Col->IsColorStored() ? Col->Color() : RowColor(RecNoZk());
    DoGetCellParams(Col, P->Font(), Back, AState);
    P->Background = Back;
    if (Col->OnGetCellParams()) Col->OnGetCellParams()(Col, false, P);
    bool Processed = false;
    if (FOnAdvDrawDataCell) FOnAdvDrawDataCell(this, ACol, ARow, Col, AState, P, Processed);
    if (!Processed && Col->OnAdvDrawDataCell())
      Col->OnAdvDrawDataCell()(this, ACol, ARow, Col, AState, P, Processed);
    if (!Processed && FDefaultDrawingZk) {
      // The selection colours go over what the events chose.
      if (HighlightDataCellColor(GridColToColumnIndex(ACol), ARow - FTitleOffset, P->Text,
                                 P->State, P->Background, P->Font()))
        P->State = P->State + TGridDrawState{gdSelected};
      bool DupAbove = false, DupBelow = false;
      if (Col->HideDuplicates()) {
        const int DataRow = ARow - FTitleOffset;
        DupBelow = SameTextAsNeighbour(Col, DataRow, P->Text, false);
        DupAbove = SameTextAsNeighbour(Col, DataRow, P->Text, true);
        if (DupAbove) {
          P->Text = String();
          P->ImageIndex = -1;
        }
      }
      C->Brush()->SetColor(P->Background);
      C->FillRect(ARect);
      C->Font()->Assign(P->Font());
      TRect TextR = ARect;
      if (EditButtonsVisibleInCell(Col, ARow == Row()))
        PaintCellEditButtons(Col, TextR, AState, ARow == Row());
      PaintDataCellValue(Col, TextR, ACol, ARow, P);
      DrawRequiredState(Col, P->Text, TextR, ARow == Row());
      if (FOptions.Contains(dgRowLines)) PaintOverDuplicateLines(Col, ARect, DupAbove, DupBelow);
      if (CellDrawn3D(ACol, ARow, P->State) && !CellDrawnThemed(ACol, ARow))
        DrawCell3DFrame(C, ARect, false, P->State.Contains(gdSelected), true,
                        !(Flat() && ThemesActive()));
    }
    DoDrawDataCell(ARect, Col->Field(), AState);
    DoDrawColumnCell(ARect, GridColToColumnIndex(ACol), Col, AState);
    if (FDefaultDrawingZk && FocusRectWanted(P->State)) DrawFocusRect(C, ARect);
  }
}

// Equal neighbouring cells of a column that hides duplicates merge: the row line between them
// takes the column's colour.
void TCustomDBGridZk::PaintOverDuplicateLines(TColumnZk* Col, const TRect& Cell, bool Above,
                                              bool Below) {
  TCanvas* C = Canvas();
  C->Brush()->SetColor(Col->Color());
  if (Above) C->FillRect(Rect(Cell.Left, Cell.Top - 1, Cell.Right, Cell.Top));
  if (Below) C->FillRect(Rect(Cell.Left, Cell.Bottom, Cell.Right, Cell.Bottom + 1));
}

// The cell's value: an image beside the text, the key's image alone, a check box, or the text.
void TCustomDBGridZk::PaintDataCellValue(TColumnZk* Col, TRect R, int ACol, int ARow,
                                         TColCellParamsZk* P) {
  TCanvas* C = Canvas();
  const int DX = CellDrawn3D(ACol, ARow, P->State) ? 1 : 2;
  const int DY = Flat() ? DX - 1 : DX;
  TCustomImageList* Images = Col->ImageList();
  if (Images && Col->ShowImageAndText()) {
    const TRect ImageR = Rect(R.Left, R.Top, R.Left + Images->Width() + 4, R.Bottom);
    DrawCellImage(Images, nullptr, C, ImageR, P->ImageIndex, 0, taCenter);
    R.Left = ImageR.Right + 1;
  }
  switch (Col->GetColumnType()) {
    case ctKeyImageList:
      DrawCellImage(Images, nullptr, C, R, P->ImageIndex, 0, taCenter);
      break;
    case ctCheckboxes: DrawCheckbox(R, P->CheckboxState); break;
    case ctGraphicData: DrawGraphicDataCell(R, Col); break;
    default:
      WriteCellText(Col, C, R, false, DX, DY, P->Text, P->Alignment, Col->Layout(),
                    Col->WordWrap() && Col->CurLineWordWrap(R.Bottom - R.Top), Col->EndEllipsis(),
                    0, 0);
      break;
  }
}

// The focused cell of a grid that has the focus on its form gets a focus rectangle, unless
// whole rows are selected or the style says no.
bool TCustomDBGridZk::FocusRectWanted(TGridDrawState State) {
  if (!State.Contains(gdFocused) || FOptions.Contains(dgRowSelect) || FUpdateLock > 0) return false;
  if (!Focused() || !FStyle || !FStyle->IsDrawFocusRect()) return false;
  TCustomForm* Form = GetParentForm();
  return Form && Form->ActiveControl() == this;
}

// A graphic field's picture, shrunk to the cell keeping its shape and centred, or with pictures
// off its display text centred. Bytes that hold no known picture leave the cell empty rather than
// raising at every paint.
void TCustomDBGridZk::DrawGraphicDataCell(TRect ARect, TColumnZk* Column) {
  TCanvas* C = Canvas();
  TField* F = Column->Field();
  if (!FDrawGraphicData) {
    C->Font()->Assign(Font());
    const String Text = F ? F->DisplayText() : String();
    const TSize Size = C->TextExtent(Text);
    C->TextRect(ARect, ARect.Left + (ARect.Width() - Size.cx) / 2,
                ARect.Top + (ARect.Height() - Size.cy) / 2, Text);
    return;
  }
  TPicture Picture;
  LoadFieldPicture(F, Picture);
  C->FillRect(ARect);
  int W = Picture.Width(), H = Picture.Height();
  if (!Picture.Graphic() || W <= 0 || H <= 0 || ARect.Width() <= 0 || ARect.Height() <= 0) return;
  if (W > ARect.Width() || H > ARect.Height()) {
    const double XR = double(W) / ARect.Width(), YR = double(H) / ARect.Height();
    const double Scale = std::max(XR, YR);
    W = std::max<int>(1, int(Round(W / Scale)));
    H = std::max<int>(1, int(Round(H / Scale)));
  }
  const int X = ARect.Left + (ARect.Width() - W) / 2, Y = ARect.Top + (ARect.Height() - H) / 2;
  C->StretchDraw(Rect(X, Y, X + W, Y + H), Picture.Graphic());
}
void TCustomDBGridZk::DrawFlatBorder() {}

bool TCustomDBGridZk::CellDrawn3D(int ACol, int ARow, TGridDrawState) {
  switch (GetCellType(ACol, ARow)) {
    case catTitle: case catIndicator: case catIndicatorTitle: case catIndicatorFooter:
      return FOptionsZk.Contains(dghFixed3D);
    case catFooter: return FOptionsZk.Contains(dghFooter3D);
    case catData: return FOptionsZk.Contains(dghData3D);
    default: return false;
  }
}
// Themes on (the switch is off on this platform unless a program turns it on), a grid that is
// not flat, and a cell drawn raised.
bool TCustomDBGridZk::CellDrawnThemed(int ACol, int ARow) {
  return ThemesActive() && !Flat() && CellDrawn3D(ACol, ARow, TGridDrawState{});
}

// With dghHotTrack every cell follows the mouse; without it only the last title row does when
// the filter sits in the titles (its buttons light up).
bool TCustomDBGridZk::CanHotTrackCell(int ACol, int ARow) {
  if (FOptionsZk.Contains(dghHotTrack)) return ACol >= 0 && ARow >= 0;
  if (FSTFilter && FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterZk &&
      ARow == FTitleOffset - 1)
    return true;
  return TCustomGridZk::CanHotTrackCell(ACol, ARow);
}

void TCustomDBGridZk::UpdateHotTrackCell(int X, int Y) {
  const TGridCoord Old = FHotTrackCell;
  TCustomGridZk::UpdateHotTrackCell(X, Y);
  const TGridCoord New = FHotTrackCell;
  UpdateHotTrackParts(X, Y, Old == New);
  if (!FOptionsZk.Contains(dghHotTrack) ||
      !(FOptionsZk.Contains(dghRowHighlight) || FOptions.Contains(dgRowSelect)))
    return;
  const bool SideChanged = (Old.X < FIndicatorOffset) != (New.X < FIndicatorOffset);
  if (Old.Y == New.Y && !SideChanged) return;
  if (Old.Y >= 0) InvalidateRowCells(Old.Y);
  if (New.Y >= 0 && New.Y != Old.Y) InvalidateRowCells(New.Y);
}

// Inside the hot cell: the edit button under the mouse (the in-title filter button in a title),
// and on a multi-level title whether the mouse is over the groups' part. The cell is repainted
// when either changes while the mouse stays in it (a new hot cell is repainted anyway).
void TCustomDBGridZk::UpdateHotTrackParts(int X, int Y, bool SameCell) {
  const TGridCoord Hot = FHotTrackCell;
  TColumnZk* Col = Hot.X >= FIndicatorOffset && Hot.Y >= 0 ? ColumnAtGridCol(Hot.X) : nullptr;
  TRect Cell = Col ? CellScreenRect(Hot.X, Hot.Y) : TRect{};
  bool Changed = false;
  // In the in-row panel the master cell's column under the mouse is the hot one.
  if (Col && FGridRowPanel->Active()) {
    const bool TitleType = Hot.Y < FTitleOffset || Hot.Y >= RowCount();
    Col = RowPanelColumnAt(X, Y, TitleType);
    if (Col) Cell = TitleType ? RowPanelTitleClientRect(Col, Hot.Y) : RowPanelDataClientRect(Col, Hot.Y);
  }
  const int InRowCol = Col && FGridRowPanel->Active() ? Col->Index() : -1;
  if (InRowCol != FHotTrackInRowCol) {
    FHotTrackInRowCol = InRowCol;
    Changed = true;
  }
  if (!Col) {
    FHotTrackEditButton = -1;
    FHotTrackMultiTitleOver = false;
    if (Changed && SameCell && Hot.X >= 0) InvalidateOneCell(Hot.X, Hot.Y);
    return;
  }
  const int TitleRow = FTitleOffset - 1 - FilterRowCount();
  THeadTreeNode* Leaf = Hot.Y == TitleRow && IsUseMultiTitle() ? LeafNodeOf(Col) : nullptr;
  const bool Over = Leaf && Y < Cell.Bottom - Leaf->Height + 1;
  if (Over != FHotTrackMultiTitleOver) {
    FHotTrackMultiTitleOver = Over;
    Changed = true;
  }
  int Button = -1;
  if (Hot.Y < FTitleOffset) Button = TitleFilterButtonAt(this, Col, X, Y) ? 0 : -1;
  else if (Hot.Y < RowCount() && EditButtonsVisibleInCell(Col, Hot.Y == Row()))
    Button = EditButtonAtPos(Col, Cell, TPoint{X, Y});
  // Over a sizing edge or where the pointer takes another shape no button lights up.
  if (Button >= 0 && (SizingHitTest(X, Y) || SelectionCursorAt(X, Y) != crDefault)) Button = -1;
  if (Button != FHotTrackEditButton) {
    FHotTrackEditButton = Button;
    Changed = true;
  }
  if (Changed && SameCell) InvalidateOneCell(Hot.X, Hot.Y);
}

bool TCustomDBGridZk::NeedBufferedPaint() { return false; }

// --- footers --------------------------------------------------------------------------------------

bool TCustomDBGridZk::AllowWordWrap() {
  TBitmap Scratch;
  Scratch.Canvas()->Font()->Assign(Font());
  const TTextMetric M = Scratch.Canvas()->TextMetrics();
  return M.tmExternalLeading + M.tmHeight + M.tmInternalLeading + Interlinear() <
         FStdDefaultRowHeight;
}

void TCustomDBGridZk::InvalidateFooter() {
  if (!HandleAllocated()) return;
  for (int R = 0; R < FFooterRowCount; ++R) InvalidateRowCells(RowCount() + R);
}

String TCustomDBGridZk::GetFooterValue(int FooterNo, TColumnZk* Column) {
  TColumnFooterZk* F = Column->UsedFooter(FooterNo);
  TDataSet* D = FDataLink->Active() ? DataSet() : nullptr;
  switch (F->ValueType()) {
    case fvtNon: return String();
    case fvtStaticText: return F->Value();
    case fvtFieldValue: {
      // A field the dataset lacks paints nothing instead of raising on every paint.
      TField* Field = D && !F->FieldName().empty() ? D->FindField(F->FieldName()) : nullptr;
      if (!Field) return String();
      if (!F->DisplayFormat().empty() && !Field->IsNull() && dynamic_cast<TNumericField*>(Field))
        return FormatFloat(F->DisplayFormat(), Field->AsFloat());
      return Field->DisplayText();
    }
    case fvtCount: {
      TDBSum* S = F->SumItem();
      const double Count = S ? S->SumValue.ToDouble() : 0.0;
      return F->DisplayFormat().empty() ? FloatToStr(Count) : FormatFloat(F->DisplayFormat(), Count);
    }
    case fvtSum: case fvtAvg: {
      TField* Field = D ? D->FindField(F->SumFieldName()) : nullptr;
      TDBSum* S = F->SumItem();
      if (!Field || !S) return u"0";
      const double V = S->SumValue.ToDouble();
      auto* Num = dynamic_cast<TNumericField*>(Field);
      if (!F->DisplayFormat().empty()) return FormatFloat(F->DisplayFormat(), V);
      if (Num && !Num->DisplayFormat().empty()) return FormatFloat(Num->DisplayFormat(), V);
      switch (Field->DataType()) {
        case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
          return IntToStr(static_cast<long long>(S->SumValue.Raw() / Currency::Scale));
        case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd: {
          auto* Flt = dynamic_cast<TFloatField*>(Field);
          auto* Bcd = dynamic_cast<TBCDField*>(Field);
          const bool IsCurrency = Flt ? Flt->currency() : Bcd ? Bcd->currency() : false;
          const int Precision = Flt ? Flt->Precision() : Bcd ? Bcd->Precision() : 15;
          return IsCurrency ? FloatToStrF(V, ffCurrency, Precision, FormatSettings.CurrencyDecimals)
                            : FloatToStrF(V, ffGeneral, Precision, 0);
        }
        default: return u"0";
      }
    }
  }
  return String();
}

String TCustomDBGridZk::GetFooterText(TColumnZk* Column, int FooterNo) {
  return GetFooterValue(FooterNo, Column);
}

void TCustomDBGridZk::DoGetFooterParams(int DataCol, int Row, TColumnZk* Column, TFont* AFont,
                                        TColor& Background, TAlignment& Alignment,
                                        TGridDrawState State, String& Text) {
  if (FOnGetFooterParams)
    FOnGetFooterParams(this, DataCol, Row, Column, AFont, Background, Alignment, State, Text);
}

void TCustomDBGridZk::DrawFooterCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  TColumnZk* Col = ColumnAtGridCol(ACol);
  if (!Col) return DrawIndicatorCell(ACol, ARow, ARect, AState);
  const int FooterNo = ARow - RowCount();
  const bool Is3D = CellDrawn3D(ACol, ARow, AState);
  const bool Themed = CellDrawnThemed(ACol, ARow);
  TRect Inner = ARect;
  int DX = 2;
  if (Is3D) {
    DX = Themed ? 3 : 1;
    if (Themed) InflateRect(Inner, 1, 1);
    else if (Flat()) ++Inner.Left, ++Inner.Top;
    else InflateRect(Inner, -1, -1);
  }
  const int DY = Flat() ? DX - 1 : DX;
  TColumnFooterZk* F = Col->UsedFooter(FooterNo);
  C->Font()->Assign(F->Font());
  TColor Back = F->Color();
  TAlignment Align = F->Alignment();
  String Text = GetFooterValue(FooterNo, Col);
  DoGetFooterParams(GridColToColumnIndex(ACol), FooterNo, Col, C->Font(), Back, Align, AState,
                    Text);
  const bool Highlight =
      SelectedFixedCellColor(ACol, ARow, GridColToColumnIndex(ACol), FooterNo, catFooter, AState,
                             FixedCellInSelection(ACol, ARow), Back, C->Font());
  C->Brush()->SetColor(Back);
  if (FDefaultDrawingZk) {
    const bool ThemedFill = Is3D && (Themed || (Flat() && ThemesActive()));
    if (ThemedFill) FillCellBackground(Themed, ARect, false, Highlight, TRect{}, Is3D);
    WriteCellText(Col, C, Inner, !ThemedFill, DX, DY, Text, Align, Col->Layout(),
                  F->WordWrap() && AllowWordWrap(), F->EndEllipsis(), 0, 0);
  }
  if (Is3D && !Themed) DrawCell3DFrame(C, ARect, false, Highlight, true, !(Flat() && ThemesActive()));
  if (FOnDrawFooterCell)
    FOnDrawFooterCell(this, GridColToColumnIndex(ACol), FooterNo, Col, ARect, AState);
}

// --- default painting for the drawing events ------------------------------------------------------

// Insets of the helpers below: 1 inside a raised footer (the rect loses its frame), else 2.
static int DefaultCellInset(bool Footer3D, TRect& R) {
  if (!Footer3D) return 2;
  InflateRect(R, -1, -1);
  return 1;
}

void TCustomDBGridZk::DefaultDrawFooterCell(const TRect& Rect, int DataCol, int Row,
                                            TColumnZk* Column, TGridDrawState State) {
  TCanvas* C = Canvas();
  TRect R = Rect;
  const int DX = DefaultCellInset(FOptionsZk.Contains(dghFooter3D), R);
  const int DY = Flat() ? DX - 1 : DX;
  String Text = GetFooterValue(Row, Column);
  TColor Back = C->Brush()->Color();
  TAlignment Align = Column->Footer()->Alignment();
  DoGetFooterParams(DataCol, Row, Column, Font(), Back, Align, State, Text);
  C->Brush()->SetColor(Back);
  TColumnFooterZk* F = Column->Footer();
  WriteCellText(Column, C, R, true, DX, DY, Text, Align, Column->Layout(),
                F->WordWrap() && AllowWordWrap(), F->EndEllipsis(), 0, 0);
}

void TCustomDBGridZk::DefaultDrawColumnCell(const TRect& Rect, int, TColumnZk* Column,
                                            TGridDrawState) {
  TCanvas* C = Canvas();
  TRect R = Rect;
  const int DX = DefaultCellInset(FOptionsZk.Contains(dghFooter3D), R);
  const int DY = Flat() ? DX - 1 : DX;
  switch (Column->GetColumnType()) {
    case ctKeyImageList:
      C->FillRect(R);
      DrawCellImage(Column->ImageList(), nullptr, C, R, Column->GetImageIndex(), 0, taCenter);
      break;
    case ctCheckboxes:
      C->FillRect(R);
      DrawCheckbox(R, Column->CheckboxState());
      break;
    case ctGraphicData: DrawGraphicDataCell(R, Column); break;
    default: {
      // The wrap test asks about the height of the row being painted.
      IMemTableZk* MT = FDataLink->Active() ? FDataLink->MemTable() : nullptr;
      const int RowH = MT ? RowHeight(MT->GetInstantReadCurRow() + FTitleOffset)
                          : FStdDefaultRowHeight;
      WriteCellText(Column, C, R, true, DX, DY, Column->DisplayText(), Column->Alignment(),
                    Column->Layout(),
                    Column->WordWrap() && Column->CurLineWordWrap(RowH), Column->EndEllipsis(),
                    0, 0);
      break;
    }
  }
}

void TCustomDBGridZk::DefaultDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState) {
  WriteSimpleCellText(Canvas(), Rect, 2, 2, Field ? Field->DisplayText() : String(),
                      Field ? Field->Alignment() : taLeftJustify);
}
