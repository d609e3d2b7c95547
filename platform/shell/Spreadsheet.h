// Spreadsheet.h - the spreadsheet application stand-in: an application with one workbook of
// sheets, ranges and named styles, kept as a cell model and saved as an .xlsx workbook.
//
// Its members are the ones the spreadsheet export calls, with the same names and arguments
// (numbers are the application's own constants: alignments -4152/-4108/-4130/-4131 and
// -4107/-4108/-4160, border indices 7 left, 8 top, 9 bottom, 10 right, line style 1, page
// break -4135, orientation 1 portrait / 2 landscape). Nothing is late bound and starting it
// cannot fail.
//
// Values: a leading "'" makes text without it; a text that reads as a plain number with "."
// ("-12", "1234.50") is a number; anything else is text, never a formula. Number formats come
// in the locale's form ("# ##0,00") and are stored in the file's invariant form ("#,##0.00").
// Sizes: row heights in points, column widths in characters, page margins in points,
// pictures in points.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/rtl/Types.h"

class TSpreadsheetApplication;
class TWorkbook;
class TWorksheet;

constexpr int xlRight = -4152, xlCenter = -4108, xlJustify = -4130, xlLeft = -4131;
constexpr int xlBottom = -4107, xlTop = -4160, xlGeneral = 1;
constexpr int xlEdgeLeft = 7, xlEdgeTop = 8, xlEdgeBottom = 9, xlEdgeRight = 10;
constexpr int xlContinuous = 1;
constexpr int xlPageBreakManual = -4135;
constexpr int xlNormal = -4143;
constexpr int xlPortrait = 1, xlLandscape = 2;
// The file format's limits.
constexpr int SheetMaxRows = 1048576;
constexpr int SheetMaxPageBreaks = 1023;

// A named cell style ("S0", "S1", ...).
class TSheetStyle {
public:
  struct TStyleFont {
    bool Bold = false, Italic = false, Underline = false;
    String Name = u"Arial";
    double Size = 10;
    std::uint32_t Color = 0;  // 0xBBGGRR, as the colour values arrive
  } Font;
  struct TInterior {
    std::optional<std::uint32_t> Color;
  } Interior;
  int Orientation = 0;  // degrees, -90 .. 90
  int VerticalAlignment = xlBottom;
  int HorizontalAlignment = xlGeneral;
  String Name;
};

class TSheetStyles {
public:
  // A new style of that name (or the existing one).
  TSheetStyle* Add(const String& Name);
  TSheetStyle* Find(const String& Name) const;
  int Count() const { return static_cast<int>(FItems.size()); }

private:
  std::vector<std::unique_ptr<TSheetStyle>> FItems;
};

// One cell of the model.
struct TSheetCell {
  String Text;               // the text, or the number as it was written
  bool IsNumber = false;
  double Number = 0;
  const TSheetStyle* Style = nullptr;
  std::uint8_t Borders = 0;  // bit (index - 7) for border indices 7 .. 10
  String NumberFormat;       // invariant form
};

// A block of cells, 0-based and inclusive.
struct TSheetArea {
  int Row1 = 0, Col1 = 0, Row2 = 0, Col2 = 0;
  friend bool operator==(const TSheetArea&, const TSheetArea&) = default;
};

// A 2-D array of values for Range.Value, indexed from Base (0 or 1).
class TSheetValues {
public:
  TSheetValues(int Rows, int Cols, int Base);
  String& At(int Row, int Col);
  int Rows() const { return FRows; }
  int Cols() const { return FCols; }
  int Base() const { return FBase; }
  const String& Item(int Row, int Col) const;  // 0-based

private:
  int FRows, FCols, FBase;
  std::vector<String> FItems;
};

class TSheetRange;

// Range.Borders(i) and Range.Cells.Borders(i).
class TSheetBorder {
public:
  TSheetBorder(const TSheetRange* Range, int Index, bool EveryCell)
      : FRange(Range), FIndex(Index), FEveryCell(EveryCell) {}
  // 1 draws a thin line; an index outside 7 .. 10 raises.
  void SetLineStyle(int Value);

private:
  const TSheetRange* FRange;
  int FIndex;
  bool FEveryCell;
};

class TSheetRange {
public:
  TSheetRange(TWorksheet* Sheet, std::vector<TSheetArea> Areas, bool EveryCell = false)
      : FSheet(Sheet), FAreas(std::move(Areas)), FEveryCell(EveryCell) {}
  const std::vector<TSheetArea>& Areas() const { return FAreas; }
  TWorksheet* Sheet() const { return FSheet; }

  // The named style; an unknown name raises.
  void SetStyle(const String& Name);
  // From the range's first cell, one element per cell, as far as both reach.
  void SetValue(const TSheetValues& Values);
  void SetMergeCells(bool Value);
  // The same range with its border operations applied to every cell.
  TSheetRange Cells() const { return TSheetRange(FSheet, FAreas, true); }
  TSheetBorder Borders(int Index) const { return TSheetBorder(this, Index, FEveryCell); }
  TSheetRange Rows() const { return *this; }
  // The height of every row of the range; above 409 raises.
  void SetRowHeight(double Points);
  void SetNumberFormat(const String& LocaleFormat);
  void Select();
  // A PNG picture placed at the range's first cell at its own size (pixels at 96 per inch);
  // bytes that are not a PNG raise.
  void PastePicture(const std::string& Png);

private:
  friend class TSheetBorder;
  TWorksheet* FSheet;
  std::vector<TSheetArea> FAreas;
  bool FEveryCell;
};

class TSheetRow {
public:
  TSheetRow(TWorksheet* Sheet, int Row) : FSheet(Sheet), FRow(Row) {}
  void SetPageBreak(int Value);
  void SetRowHeight(double Points);

private:
  TWorksheet* FSheet;
  int FRow;  // 1-based
};

class TSheetRows {
public:
  explicit TSheetRows(TWorksheet* Sheet) : FSheet(Sheet) {}
  TSheetRow Rows(int Row) const { return TSheetRow(FSheet, Row); }

private:
  TWorksheet* FSheet;
};

class TSheetColumn {
public:
  TSheetColumn(TWorksheet* Sheet, int Col) : FSheet(Sheet), FCol(Col) {}
  void SetColumnWidth(double Characters);

private:
  TWorksheet* FSheet;
  int FCol;  // 1-based
};

class TSheetColumns {
public:
  explicit TSheetColumns(TWorksheet* Sheet) : FSheet(Sheet) {}
  TSheetColumn Columns(int Col) const { return TSheetColumn(FSheet, Col); }

private:
  TWorksheet* FSheet;
};

struct TSheetPageSetup {
  double LeftMargin = 54, RightMargin = 54, TopMargin = 72, BottomMargin = 72;  // points
  int Orientation = xlPortrait;
};

// A picture on the sheet, anchored at a cell; sizes and moves in points.
class TSheetPicture {
public:
  std::string Png;
  int Row = 0, Col = 0;           // 0-based anchor cell
  int PixelWidth = 0, PixelHeight = 0;
  double Width = 0, Height = 0;   // points
  double OffsetX = 0, OffsetY = 0;  // points from the anchor cell
  void SetWidth(double Points) { Width = Points; }
  void SetHeight(double Points) { Height = Points; }
  // Left and Top as the sheet measures them: the anchor cell's corner plus the offset.
  double Left() const;
  double Top() const;
  void SetLeft(double Points);
  void SetTop(double Points);

private:
  friend class TWorksheet;
  friend class TSheetRange;
  const TWorksheet* FSheet = nullptr;
};

class TWorksheet {
public:
  explicit TWorksheet(TWorkbook* Book) : FBook(Book) {}

  // Range("A1", "C3"), Range("A1:C3;E5") - address lists split at the locale's list
  // separator and at ";". A malformed address raises.
  TSheetRange Range(const String& Cell1, const String& Cell2) const;
  TSheetRange Range(const String& Addresses) const;
  // Cells.WrapText = true wraps the text of every cell.
  TSheetRange Cells() const;
  void SetWrapText(bool Value) { FWrapText = Value; }
  TSheetRow Rows(int Row) { return TSheetRow(this, Row); }
  TSheetRows Rows() { return TSheetRows(this); }
  TSheetColumns Columns() { return TSheetColumns(this); }
  TSheetPageSetup& PageSetup() { return FPageSetup; }
  // 1-based, in pasting order; out of range raises.
  TSheetPicture& Pictures(int Index);

  // --- the model, for the saver and for tests ------------------------------------------------
  const TSheetCell* Cell(int Row, int Col) const;  // 0-based; nullptr when never touched
  TSheetCell& CellAt(int Row, int Col);            // creates the cell
  std::optional<double> RowHeight(int Row) const;  // 0-based
  std::optional<double> ColumnWidth(int Col) const;
  const std::vector<int>& PageBreaks() const { return FPageBreaks; }  // 0-based rows, sorted
  const std::vector<TSheetArea>& Merges() const { return FMerges; }
  const std::map<std::pair<int, int>, TSheetCell>& CellMap() const { return FCells; }
  const std::map<int, double>& RowHeights() const { return FRowHeights; }
  const std::map<int, double>& ColumnWidths() const { return FColumnWidths; }
  const std::vector<std::unique_ptr<TSheetPicture>>& PictureList() const { return FPictures; }
  bool WrapText() const { return FWrapText; }
  TSheetArea Selection() const { return FSelection; }
  // The sheet as JSON: cells (row, col, value or number, format parts), merges, heights,
  // widths, breaks, margins and orientation. For comparing with other writers.
  std::string DumpJson() const;

private:
  friend class TSheetRange;
  friend class TSheetRow;
  friend class TSheetColumn;
  friend class TSheetBorder;
  friend class TSheetPicture;
  void CheckRow(int Row) const;
  double ColumnLeft(int Col) const;
  double RowTop(int Row) const;

  TWorkbook* FBook;
  std::map<std::pair<int, int>, TSheetCell> FCells;
  std::map<int, double> FRowHeights, FColumnWidths;
  std::vector<int> FPageBreaks;
  std::vector<TSheetArea> FMerges;
  std::vector<std::unique_ptr<TSheetPicture>> FPictures;
  TSheetPageSetup FPageSetup;
  bool FWrapText = false;
  TSheetArea FSelection;
};

class TWorkbook {
public:
  explicit TWorkbook(TSpreadsheetApplication* App);
  ~TWorkbook();
  TWorksheet* Worksheets(int Index);  // 1 is the only sheet
  TSheetStyles* Styles() { return &FStyles; }
  // Writes the workbook as .xlsx ("x.xls" is saved as "x.xlsx"); FileFormat and AccessMode
  // are the application's arguments. The file appears whole or not at all: a failure raises
  // EInOutError with the reason and leaves no file behind.
  void SaveAs(const String& FileName, int FileFormat = xlNormal, int AccessMode = 1);
  // The name the last SaveAs wrote.
  const String& FullName() const { return FFullName; }

private:
  TSpreadsheetApplication* FApp;
  TSheetStyles FStyles;
  std::unique_ptr<TWorksheet> FSheet;
  String FFullName;
};

class TWorkbooks {
public:
  explicit TWorkbooks(TSpreadsheetApplication* App) : FApp(App) {}
  TWorkbook* Add();

private:
  TSpreadsheetApplication* FApp;
};

class TSpreadsheetApplication {
public:
  TSpreadsheetApplication();
  ~TSpreadsheetApplication();
  TSpreadsheetApplication(const TSpreadsheetApplication&) = delete;
  TSpreadsheetApplication& operator=(const TSpreadsheetApplication&) = delete;

  bool ScreenUpdating = true;
  bool DisplayAlerts = true;
  bool Visible() const { return FVisible; }
  // Showing the application opens the workbook's file with the desktop's handler once it is
  // saved (at once when it already is).
  void SetVisible(bool Value);
  TWorkbooks Workbooks() { return TWorkbooks(this); }
  TWorkbook* ActiveWorkbook() const { return FBook.get(); }
  TWorksheet* ActiveSheet() const;
  // Releases the workbook.
  void Quit();

private:
  friend class TWorkbooks;
  friend class TWorkbook;
  void Saved(const String& FileName);
  bool FVisible = false;
  std::unique_ptr<TWorkbook> FBook;
};

// The invariant number format of a locale-form one ("# ##0,00" -> "#,##0.00").
String InvariantNumberFormat(const String& LocaleFormat);
// "AB12" -> row 11, column 27 (0-based); false for anything else.
bool ParseCellAddress(const String& Address, int& Row, int& Col);
