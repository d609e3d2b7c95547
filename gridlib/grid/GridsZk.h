// GridsZk.h - TCustomGridZk, the base grid control of the grid family, and its cell editor.
//
// A windowed control that shows a rectangle of cells: fixed title columns and rows (the last
// of them may be frozen: they stay put but can be current), scrolled cells, contra columns and
// rows pinned to the right and bottom edges, and out-boundary strips along the four client
// edges. It knows nothing of data; the data-aware grid derives from it and overrides the
// virtual operations below, which are listed in one block in a fixed order.
//
// The layout (TGridMetrics) is recomputed from the extents on every paint, hit test and scroll
// and never kept between messages. The unit is split by concern:
//   GridsZk.cpp        model, counts, extents, conversions, invalidation, streaming
//   GridsZkScroll.cpp  scrolling, scroll bars, sizing with the mouse
//   GridsZkPaint.cpp   painting, line colours and the line cache
//   GridsZkInput.cpp   current cell, selection, keys, mouse, moving, the auto-scroll timer
//   GridsZkEdit.cpp    TInplaceEdit and the grid's side of editing
// The marker windows shown while columns are moved are in GridMarkersZk.h.
//
// The platform lays out left to right only, so the grid has no mirrored branches.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/Mask.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/Exceptions.h"

class TCustomGridZk;
class TInplaceEdit;
class TGridLinesCacheZk;

// --- types ----------------------------------------------------------------------------------------

VORENTA_DECLARE_EXCEPTION(EInvalidGridOperationZk, Exception);

struct TGridCoord {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Cell indexes, bounds inclusive.
struct TGridCellRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const TGridCellRect&, const TGridCellRect&) = default;
};
TGridCellRect NormalizedCellRect(TGridCoord A, TGridCoord B);
bool CellInCellRect(TGridCoord Cell, const TGridCellRect& R);

// An extents array: element 0 holds the count n, elements 1..n the values (cell i at i + 1).
// Empty means nothing is stored and every cell takes the default.
using TIntegerArray = std::vector<int>;

// Bit i of the 16-bit option set.
VORENTA_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
             goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing,
             goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking, goExtendVertLines);
VORENTA_SET(TGridOptions, TGridOption);

// 2..3 are the sizing states, 4..5 the moving states.
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

VORENTA_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed, gdHotTrack, gdCurrent);
VORENTA_SET(TGridDrawState, TGridDrawStateItem);

enum TGridCellBorderTypeZk { cbtTopZk, cbtLeftZk, cbtBottomZk, cbtRightZk };

VORENTA_ENUM(TCornerDrawPriorityZk, crpHorizontalDataPriorityZk, crpVerticalDataPriorityZk);

using TGridZkCellMouseEvent = std::function<void(TCustomGridZk* Grid, const TGridCoord& Cell,
                                                 TMouseButton Button, TShiftState Shift, int X,
                                                 int Y)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

// --- extents arrays -------------------------------------------------------------------------------

// Keeps the entries, adds new ones with Default.
void SetExtentsCount(TIntegerArray& Extents, int Count, int Default);
// Inserts (Amount > 0) or deletes cells at Index; every entry from Index on takes Default.
void ResizeExtents(TIntegerArray& Extents, int Index, int Amount, int Default);
// Moves entry From to To (cell indexes), shifting those between.
void MoveExtentEntry(TIntegerArray& Extents, int From, int To);
bool SameExtents(const TIntegerArray& A, const TIntegerArray& B);

// The cells Lo..Hi of an axis outside which every extent is the default: spans outside the
// band are counted, not walked. The band grows as extents are set or moved and shrinks only
// when entries take the default; once stale (the default itself changed) one walk finds it again.
struct TExtentBandZk {
  int Lo = 0, Hi = -1;
  bool Stale = false;
  bool Empty() const { return Hi < Lo; }
  void Clear() { *this = {}; }
  void Include(int Index);
  // A move From -> To shifts the cells between: a band touching them takes them all.
  void Moved(int From, int To);
  // Every entry from Index on took the default.
  void CutFrom(int Index) { Hi = std::min(Hi, Index - 1); }
  // Walks the extents when stale.
  void Refresh(const TIntegerArray& Extents, int Default);
};

// --- layout ---------------------------------------------------------------------------------------

// The layout of one axis in client pixels; see CalcMetrics.
struct TGridAxisMetrics {
  int AxisLineWidth = 0;     // grid line width when the axis draws lines, else 0
  int FixedEnd = 0;          // end of the fixed cells
  int VisibleEnd = 0;        // end of the last (partly) visible scrolled cell
  int ScrollAreaEnd = 0;     // end of the scrolled area (= ContraStart)
  int LastWholeCell = 0;     // last scrolled cell that ends within the scrolled area
  int LastWholeEnd = 0;
  int FixedCount = 0;
  int FirstScrolledCell = 0;
  int CellCount = 0;         // without contra cells
  int FrozenStart = 0;
  int FrozenCount = 0;
  int ContraCount = 0;
  int ContraStart = 0;
  int ClientLimit = 0;       // client extent less the far indent
  int ClientExtent = 0;
  int DataEnd = 0;
  int AllCellCount = 0;      // with contra cells
  int PixelOffset = 0;
  int ScrolledStart = 0;     // pixel start of the first scrolled cell
  int NearIndent = 0;
  int FarIndent = 0;
  const TCustomGridZk* Grid = nullptr;
  bool Rows = false;
  // The extent of cell Index of this axis (ColWidth / RowHeight).
  int ExtentOf(int Index) const;
};

struct TGridMetrics {
  TGridAxisMetrics Horz;
  TGridAxisMetrics Vert;
};

// --- line colours ---------------------------------------------------------------------------------

// The colours of the grid lines; each stored colour is clDefault until set, and the getters
// then answer the default built on the dark and bright colours.
class TGridLineColorsZk : public TPersistent {
  VORENTA_CLASS(TGridLineColorsZk, TPersistent)
public:
  explicit TGridLineColorsZk(TCustomGridZk* Grid = nullptr);
  TCustomGridZk* Grid() const { return FGrid; }

  virtual TColor GetDarkColor();
  virtual TColor GetBrightColor();
  virtual TColor GetCellColor(int ACol, int ARow);
  virtual TColor GetLeftBorderCellColor(int ACol, int ARow);
  virtual TColor GetTopBorderCellColor(int ACol, int ARow);
  virtual TColor GetRightBorderCellColor(int ACol, int ARow);
  virtual TColor GetDownBorderCellColor(int ACol, int ARow);
  virtual TColor GetFixedVertColor();
  virtual TColor GetFixedHorzColor();
  virtual TColor GetVertAreaFrozenVertColor();
  virtual TColor GetVertAreaFrozenHorzColor();
  virtual TColor GetHorzAreaFrozenVertColor();
  virtual TColor GetHorzAreaFrozenHorzColor();
  virtual TColor GetVertAreaFrozenBorderColor();
  virtual TColor GetHorzAreaFrozenBorderColor();
  virtual TColor GetDataVertColor();
  virtual TColor GetDataHorzColor();
  virtual TColor GetVertAreaContraVertColor();
  virtual TColor GetVertAreaContraHorzColor();
  virtual TColor GetHorzAreaContraVertColor();
  virtual TColor GetHorzAreaContraHorzColor();
  virtual TColor GetVertAreaContraBorderColor();
  virtual TColor GetHorzAreaContraBorderColor();

  // The stored colours, published under these names (ORDER LINECOLORS: as the fields).
  enum TColorIndex {
    lcBright, lcDark, lcDataHorz, lcDataVert, lcFixedHorz, lcFixedVert, lcHorzAreaContraBorder,
    lcHorzAreaContraHorz, lcHorzAreaContraVert, lcHorzAreaFrozenBorder, lcHorzAreaFrozenHorz,
    lcHorzAreaFrozenVert, lcVertAreaContraBorder, lcVertAreaContraHorz, lcVertAreaContraVert,
    lcVertAreaFrozenBorder, lcVertAreaFrozenHorz, lcVertAreaFrozenVert, lcCount
  };
  TColor Stored(TColorIndex Index) const { return FColors[Index]; }
  void SetStored(TColorIndex Index, TColor Value);
  template <TColorIndex I> TColor StoredColor() const { return FColors[I]; }
  template <TColorIndex I> void SetStoredColor(TColor Value) { SetStored(I, Value); }

  // The stored colour, or Default while it is clDefault.
  TColor Pick(TColorIndex Index, TColor Default) const;

protected:
  TCustomGridZk* FGrid;

private:
  TColor FColors[lcCount];
};

// --- out-boundary strips --------------------------------------------------------------------------

class TGridOutBoundaryDataZk : public TPersistent {
  VORENTA_CLASS(TGridOutBoundaryDataZk, TPersistent)
public:
  explicit TGridOutBoundaryDataZk(TCustomGridZk* Grid = nullptr);
  int LeftIndent() const { return FLeftIndent; }
  void SetLeftIndent(int Value);
  int TopIndent() const { return FTopIndent; }
  void SetTopIndent(int Value);
  int RightIndent() const { return FRightIndent; }
  void SetRightIndent(int Value);
  int BottomIndent() const { return FBottomIndent; }
  void SetBottomIndent(int Value);
  TCornerDrawPriorityZk LeftTopDrawPriority() const { return FLeftTopDrawPriority; }
  void SetLeftTopDrawPriority(TCornerDrawPriorityZk Value);
  TCornerDrawPriorityZk RightTopDrawPriority() const { return FRightTopDrawPriority; }
  void SetRightTopDrawPriority(TCornerDrawPriorityZk Value);
  TCornerDrawPriorityZk LeftBottomDrawPriority() const { return FLeftBottomDrawPriority; }
  void SetLeftBottomDrawPriority(TCornerDrawPriorityZk Value);
  TCornerDrawPriorityZk RightBottomDrawPriority() const { return FRightBottomDrawPriority; }
  void SetRightBottomDrawPriority(TCornerDrawPriorityZk Value);

  // The strip on one side; false when its indent is 0.
  bool GetOutBoundaryRect(TRect& ARect, TGridCellBorderTypeZk OutBoundaryType) const;
  void InvalidateOutBoundary(TGridCellBorderTypeZk OutBoundaryType);

private:
  void Changed(int& Field, int Value);
  int FLeftIndent = 0, FTopIndent = 0, FRightIndent = 0, FBottomIndent = 0;
  TCornerDrawPriorityZk FLeftTopDrawPriority = crpHorizontalDataPriorityZk;
  TCornerDrawPriorityZk FRightTopDrawPriority = crpHorizontalDataPriorityZk;
  TCornerDrawPriorityZk FLeftBottomDrawPriority = crpHorizontalDataPriorityZk;
  TCornerDrawPriorityZk FRightBottomDrawPriority = crpHorizontalDataPriorityZk;
  TCustomGridZk* FGrid;
};

// --- the grid -------------------------------------------------------------------------------------

class TCustomGridZk : public TCustomControl {
  VORENTA_CLASS(TCustomGridZk, TCustomControl)
public:
  explicit TCustomGridZk(TComponent* AOwner);
  ~TCustomGridZk() override;

  // --- counts
  int ColCount() const { return FColCount; }
  void SetColCount(int Value);
  int RowCount() const { return FRowCount; }
  void SetRowCount(int Value);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int Value);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int Value);
  int FrozenColCount() const { return FFrozenColCount; }
  void SetFrozenColCount(int Value);
  int FrozenRowCount() const { return FFrozenRowCount; }
  void SetFrozenRowCount(int Value);
  int ContraColCount() const { return FContraColCount; }
  void SetContraColCount(int Value);
  int ContraRowCount() const { return FContraRowCount; }
  void SetContraRowCount(int Value);
  int FullColCount() const { return FColCount + FContraColCount; }
  int FullRowCount() const { return FRowCount + FContraRowCount; }
  void SetCounts(int ACols, int ARows);

  // --- extents
  int ColWidth(int Index) const;
  void SetColWidth(int Index, int Value);
  int RowHeight(int Index) const;
  void SetRowHeight(int Index, int Value);
  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int Value);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int Value);
  bool IsTabStop(int Index) const;
  void SetTabStop(int Index, bool Value);
  using TCustomControl::SetTabStop;
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  // The pixels of cells First..Last - 1 of an axis, each with Line added; without stored
  // extents this takes no walk, so huge counts stay cheap.
  long long ExtentsSpan(bool Rows, int First, int Last, int Line) const;
  const TIntegerArray& ColWidthsArray() const { return FColWidths; }
  const TIntegerArray& RowHeightsArray() const { return FRowHeights; }
  bool SaveCellExtents() const { return FSaveCellExtents; }
  void SetSaveCellExtents(bool Value) { FSaveCellExtents = Value; }

  // --- position
  int LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int Value);
  int TopRow() const { return FTopLeft.Y; }
  void SetTopRow(int Value);
  int Col() const { return FCurrent.X; }
  void SetCol(int Value);
  int Row() const { return FCurrent.Y; }
  void SetRow(int Value);
  TGridCoord Current() const { return FCurrent; }
  TGridCoord Anchor() const { return FAnchor; }
  TGridCellRect CurrentSelection() const { return NormalizedCellRect(FCurrent, FAnchor); }
  TSize DataOffset() const { return FDataOffset; }
  TSize DataPageSize() const { return FDataPageSize; }
  TSize GridDataSize() const { return FGridDataSize; }
  TPoint SmoothPos() const { return FSmoothPos; }
  TGridState GridState() const { return FGridState; }

  // --- look and options
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  TColor FixedLineColor() const { return FFixedLineColor; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
  bool VirtualView() const { return FVirtualView; }
  void SetVirtualView(bool Value) { FVirtualView = Value; }
  TGridLineColorsZk* GridLineColors() const { return FGridLineColors.get(); }
  void SetGridLineColors(TGridLineColorsZk* Value) { FGridLineColors->Assign(Value); }
  TGridOutBoundaryDataZk* OutBoundaryData() const { return FOutBoundaryData.get(); }

  // --- editor
  bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

  // --- geometry
  TGridMetrics CalcMetrics() const;
  // The cell under a client point (-1 for a coordinate outside the cells).
  TGridCoord CellAtPoint(int X, int Y, const TGridMetrics& Metrics) const;
  TGridCoord MouseCoord(int X, int Y) const;
  int CellLinePos(const TGridAxisMetrics& Axis, int Index) const;
  bool CellRangePixels(const TGridAxisMetrics& Axis, int First, int Last, bool IncludeLine,
                       int& Start, int& End) const;
  TRect CellsScreenRect(const TGridMetrics& Metrics, const TGridCellRect& Cells,
                        bool IncludeLine) const;
  TRect CellsBoxRect(int ALeft, int ATop, int ARight, int ABottom) const;
  TRect CellScreenRect(int ACol, int ARow) const { return CellsBoxRect(ACol, ARow, ACol, ARow); }
  TRect CellRect(int ACol, int ARow) { TRect R; GetCellRect(ACol, ARow, R); return R; }
  int VisibleColCount() const;
  int VisibleRowCount() const;
  int GridHeight() const;
  int GridWidth() const;
  // The client size: the window's client area, or Width/Height before the window exists.
  TSize GridClientSize() const;

  // --- invalidation (with a window only)
  void InvalidateCellRect(const TGridCellRect& R);
  void InvalidateOneCell(int ACol, int ARow);
  void InvalidateColumnCells(int ACol);
  void InvalidateRowCells(int ARow);
  void InvalidateWholeGrid();
  void InvalidateSelectionChange(const TGridCellRect& OldSelection);

  // --- moving and scrolling
  void SetCurrentCell(int ACol, int ARow, bool MoveAnchor, bool ScrollX, bool ScrollY);
  void ExtendSelectionTo(TGridCoord Cell, bool Scroll);
  void ScrollCellIntoView(TGridCoord Cell, bool OnX, bool OnY);
  void SetFirstScrolledCells(int ACol, int ARow);
  int MaxFirstScrolledCell(const TGridAxisMetrics& Axis, int Cell) const;
  void ScrollPixelsBy(int DX, int DY);
  void ScrollPixelsClamped(int DX, int DY);
  void RelocateColumn(int FromIndex, int ToIndex);
  void RelocateRow(int FromIndex, int ToIndex);
  void InitializeCurrent();
  void StartColumnMove(int Index, int X, int Y, const TGridMetrics& Metrics);
  // Whether a point lies on a sizing line (in any state other than gsNormal: true).
  bool SizingHitTest(int X, int Y);
  // The interval of timer 1 while a column is moved beyond the scrolled area's edge: Distance
  // is the cursor's distance beyond the edge, Budget the room beyond it (up to the desktop's
  // edge), both in screen pixels.
  static unsigned ColumnMoveTimerInterval(int Distance, int Budget);

  // --- locking and state
  void LockPaint() { ++FLockPaint; }
  void UnlockPaint() { if (FLockPaint > 0) --FLockPaint; }
  bool PaintLocked() const { return FLockPaint > 0; }
  bool GridIsActive() const;

  // --- editing (grid side)
  bool EnsureEditor();
  // Stores the editor's text and hides it; the data grid adds its own steps.
  virtual void StoreAndHideEditor();
  void OpenEditorWithChar(Char Ch);
  void ReloadEditor();

  // --- line drawing helpers
  void DrawPolyLines(TCanvas* Canvas, const std::vector<TPoint>& Points,
                     const std::vector<int>& Strokes, int Count);
  void DrawPolyline(TCanvas* Canvas, const std::vector<TPoint>& Points, int Count);
  void DrawLineRect(TCanvas* Canvas, const TRect& R, TColor LineColor, TColor Color);

  const TGridZkCellMouseEvent& OnCellMouseClick() const { return FOnCellMouseClick; }
  void SetOnCellMouseClick(TGridZkCellMouseEvent Value) { FOnCellMouseClick = std::move(Value); }

  void Dispatch(TMessage& Message) override;
  // "ColWidths" and "RowHeights", one entry per column and row, after the published counts.
  void DefineProperties(TFiler* Filer) override;
  // The grid of the ancestor form this one is inherited from: its extents are written only
  // where they differ from the ancestor's.
  void SetStreamAncestor(const TCustomGridZk* Value) { FStreamAncestor = Value; }

  // --- virtual operations, in this order ----------------------------------------------------------
  virtual void HideMoveMarker();
  virtual bool BeginColumnMove(int& Origin, int& Destination, TPoint MousePt);
  virtual bool BeginRowMove(int& Origin, int& Destination, TPoint MousePt);
  virtual bool EditorAcceptsChar(Char Key);
  virtual bool EditorMayModify();
  virtual bool EditorMayShow();
  virtual bool GridAcceptsKey(Word Key, TShiftState Shift);
  virtual void GetCellRect(int ACol, int ARow, TRect& R);
  // Where the cell editor of a cell goes: the cell's rectangle.
  virtual TRect EditorCellRect(int ACol, int ARow);
  virtual bool CanCellMouseClick(const TMessage& MouseMessage);
  virtual bool CheckColumnMove(int& Origin, int& Destination, TPoint MousePt);
  virtual bool CheckRowMove(int& Origin, int& Destination, TPoint MousePt);
  virtual TInplaceEdit* MakeEditor();
  virtual TGridLineColorsZk* CreateGridLineColors();
  virtual bool EndColumnMove(int& Origin, int& Destination, TPoint MousePt);
  virtual bool EndRowMove(int& Origin, int& Destination, TPoint MousePt);
  virtual int EditorTextLimit();
  virtual String CellEditMask(int ACol, int ARow);
  virtual int EditorKindQuery();
  virtual String CellEditText(int ACol, int ARow);
  virtual int HorzScrollStep();
  virtual int VertScrollStep();
  virtual bool HorzSmoothScroll();
  virtual bool VertSmoothScroll();
  virtual bool CanHotTrackCell(int ACol, int ARow);
  virtual bool CellMayBeCurrent(int ACol, int ARow);
  virtual void ChangeCellCount(int Index, int Amount, bool Rows);
  virtual void FindSizingLine(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                              int& SizingOfs, TGridMetrics& Metrics);
  virtual void CancelMode();
  virtual void CellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift,
                              int X, int Y);
  virtual void GetCellBorder(int ACol, int ARow, TGridCellBorderTypeZk Border, bool& Draw,
                             TColor& Color, bool& Extend);
  virtual void AfterColumnMove(int FromIndex, int ToIndex);
  virtual void ColumnWidthsChanged();
  virtual void SizingLineBounds(const TGridMetrics& Metrics, int& Start, int& Finish);
  virtual void RemoveColumn(int ACol);
  virtual void RemoveRow(int ARow);
  virtual void PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
  virtual void DrawOutBoundaryData();
  // Paints one out-boundary strip; the base fills it with FixedColor.
  virtual void DrawOutBoundaryArea(TGridCellBorderTypeZk Side, const TRect& ARect);
  virtual void DrawSizingMarker(const TGridMetrics& Metrics);
  virtual void FlatChanged();
  virtual void GoToCell(int ACol, int ARow, bool MoveAnchor);
  virtual void CloseEditor();
  virtual void InvalidateGridArea();
  virtual void RowHeightsUpdated();
  virtual void AfterRowMove(int FromIndex, int ToIndex);
  virtual void ScrollContents(int DX, int DY);
  virtual void SetContraCounts(int ACols, int ARows);
  virtual void TakeEditText(int ACol, int ARow, const String& Value);
  virtual void OpenEditor();
  virtual void CountsChanged(int OldColCount, int OldRowCount);
  // Directions: 1 left, 2 right, 4 up, 8 down.
  virtual void StepAnchorByTimer(int Directions);
  virtual void UpdateEditorPos();
  virtual void UpdateFixedLineColor();
  virtual void RefreshEditor();
  virtual void StoreEditorText();
  virtual void UpdateHotTrackCell(int X, int Y);
  virtual void DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button,
                                     TShiftState Shift, int X, int Y);
  // Called after the first scrolled cells moved; the base updates the editor's place.
  virtual void TopLeftChanged();

protected:
  void Paint() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void DoExit() override;

  // --- scrolling internals
  void RecalcHorzDataSize();
  void RecalcVertDataSize();
  void ExtentChanged(int Index, int OldExtent, int NewExtent, bool Rows);
  void FirstScrolledCellsMoved(TGridCoord OldTopLeft, TSize OldOffset);
  void ScrollContentsWindow(int DX, int DY, const TGridMetrics& Metrics);
  void UpdateScrollBarPositions();
  void UpdateScrollBarRanges();
  void ScrollBarMessage(int Bar, unsigned Code, int Pos);
  int NewSizedExtent(const TGridAxisMetrics& Axis) const;

  // --- fields the descendants use
  TGridCoord FAnchor;
  TBorderStyle FBorderStyle = bsSingle;
  bool FCanEditModify = true;
  int FColCount = 0;
  int FColOffset = 0;
  TIntegerArray FColWidths;
  int FContraColCount = 0, FContraRowCount = 0;
  TGridCoord FCurrent;
  int FDefaultColWidth = 64;
  bool FDefaultDrawing = true;
  int FDefaultRowHeight = 24;
  bool FEditorMode = false;
  TColor FFixedColor = clBtnFace;
  int FFixedCols = 0, FFixedRows = 0;
  bool FFlat = false;
  int FFrozenColCount = 0, FFrozenRowCount = 0;
  std::unique_ptr<TGridLineColorsZk> FGridLineColors;
  int FGridLineWidth = 1;
  TPoint FHitTest;
  int FInplaceCol = -1, FInplaceRow = -1;
  TInplaceEdit* FInplaceEdit = nullptr;
  TGridZkCellMouseEvent FOnCellMouseClick;
  TGridOptions FOptions;
  int FRowCount = 0;
  TIntegerArray FRowHeights;
  mutable TExtentBandZk FRowBand, FColBand;
  TScrollStyle FScrollBars = ssBoth;
  TIntegerArray FTabStops;
  TGridCoord FTopLeft;
  std::unique_ptr<TGridOutBoundaryDataZk> FOutBoundaryData;
  TSize FDataOffset;
  TSize FDataPageSize;
  TSize FGridDataSize;
  TPoint FSmoothPos;
  TColor FFixedLineColor = clBlack;
  TGridState FGridState = gsNormal;
  int FLockPaint = 0;
  TGridCoord FMouseDownCell;
  bool FSaveCellExtents = true;
  bool FVirtualView = false;
  int FSizingIndex = 0, FSizingPos = 0, FSizingOfs = 0;
  TGridCoord FHotTrackCell{-1, -1};
  TPoint FHotTrackInCellPos{-1, -1};
  std::unique_ptr<TGridLinesCacheZk> FGridLinesCache;
  int FMoveIndex = 0, FMovePos = 0;
  bool FMovePosRightSite = false;
  // The sizing line and the row-move line are shown by Paint while these are set.
  bool FSizingLineShown = false;
  bool FMoveLineShown = false;
  const TCustomGridZk* FStreamAncestor = nullptr;

  // --- moving and the marker lines
  void MoveAdjust(int Pos, int Cell, TPoint Point, bool Rows, const TGridAxisMetrics& Axis);
  void DrawMoveMarker();
  void ShowSizingLine(bool Show);
  void ShowMoveLine(bool Show);
  TRect SizingLineRect() const;
  TRect MoveLineRect() const;
  // Timer 1: auto-scroll while selecting or moving.
  void TimerTick();

  // --- message handlers (Dispatch routes to them; a descendant's Dispatch may call them)
  void WMHScroll(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMMouseButton(TMessage& Message);
  void CMCancelMode(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMWantSpecialKey(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

private:
  friend class TInplaceEdit;
  friend struct TGridPainter;
  void ReadColWidths(TReader* Reader);
  void WriteColWidths(TWriter* Writer);
  void ReadRowHeights(TReader* Reader);
  void WriteRowHeights(TWriter* Writer);
  void ApplyCounts(int ACols, int ARows);
  void UpdateAxisScrollBar(int Bar, const TGridAxisMetrics& Axis, int ClientExtent);
  void SetScrollInfoIfChanged(int Bar, int Min, int Max, int Page, int Pos);
  void ScrollBarPixelRule(int Bar, unsigned Code, int Pos);
  void ScrollBarCellRule(int Bar, unsigned Code, int Pos);
  void PaintMarkerLines();
};

// --- the cell editor ------------------------------------------------------------------------------

class TInplaceEdit : public TCustomMaskEdit {
  VORENTA_CLASS(TInplaceEdit, TCustomMaskEdit)
public:
  explicit TInplaceEdit(TComponent* AOwner);

  TCustomGridZk* Grid() const { return FGrid; }
  void AttachGrid(TCustomGridZk* Grid) { FGrid = Grid; }
  unsigned ClickTime() const { return FClickTime; }
  void SetClickTime(unsigned Value) { FClickTime = Value; }

  void Deselect();
  void Invalidate();
  void Hide();
  bool PosEqual(const TRect& R) const;
  void UpdateLoc(const TRect& Loc) { PlaceEditor(Loc, false); }
  void Move(const TRect& Loc) { PlaceEditor(Loc, true); }
  bool EditorVisible() const;
  void SetFocus() override;

  virtual void EditorBoundsChanged();
  virtual void ReloadContents();

  void Dispatch(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

protected:
  bool EditCanModify() override;
  void CreateParams(TCreateParams& Params) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void PlaceEditor(const TRect& Loc, bool Redraw);

  TCustomGridZk* FGrid = nullptr;
  unsigned FClickTime = 0;

private:
  void SendToGrid(Word& Key, TShiftState Shift);
  bool CaretAtLeft();
  bool CaretAtRight();
};

void RegisterGridsClasses();
