// vqrExcel.h - TvqrExcel: the thin layer through which the spreadsheet export drives the
// spreadsheet application: the workbook, the current range, cell addressing, sizes, page
// setup, frames and merging, and styles, frames, merges, number formats and row heights
// applied to many ranges at once through address lists of at most 255 characters.
//
// Calls that ignore errors: SetRange, SetColSize, SetPageMargin and every application inside
// the grouped calls. SetRowSize, SetCellFrame, MergeCells and SetVisible let them through.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "report/core/vqrClassBase.h"
#include "report/core/vqrClassViews.h"

class TSpreadsheetApplication;
class TWorkbook;
class TWorksheet;
class TSheetRange;
class TvqrExportProgress;

// One address ("B3" or "B3:D4") with its value: a style id, a frame-line set or a height index.
struct TvqrRangeItem {
  String Address;
  int Value = 0;
};

enum TvqrGroupKind { gkStyle = 0, gkFrames = 1, gkMerge = 2 };

class TvqrExcel {
public:
  TvqrExcel();
  ~TvqrExcel();
  TvqrExcel(const TvqrExcel&) = delete;
  TvqrExcel& operator=(const TvqrExcel&) = delete;

  // Starts the application and adds a workbook; raises when that fails.
  void OpenExcel();
  bool IsOpened() const { return FIsOpened; }
  bool Visible() const { return FIsVisible; }
  void SetVisible(bool Value);

  // x, y: 1-based first column and row; dx, dy: columns and rows. Columns stop at 254; with
  // nothing left no range is formed (HasRange is false) and the caller skips the object.
  void SetRange(int x, int y, int dx, int dy);
  bool HasRange() const { return FRange != nullptr; }
  TSheetRange* Range() const { return FRange.get(); }
  void SetColSize(int x, Extended Size);
  void SetRowSize(int y, Extended Size);
  void MergeCells();
  void SetCellFrame(TvqrFrameTypes Frame);
  void SetPageMargin(Extended Left, Extended Right, Extended Top, Extended Bottom,
                     TPrinterOrientation Orientation);

  static String ColumnLetters(int x);
  static String CellName(int x, int y);

  // Kinds 0 and 1 need the list sorted by value.
  void ApplyGroupedRanges(const std::vector<TvqrRangeItem>& List, TvqrGroupKind Kind,
                          TvqrExportProgress* Progress);
  // Entries "format=cell" in cell order.
  void ApplyNumberFormats(const std::vector<String>& List, TvqrExportProgress* Progress);
  // Row groups ("A3:A7", "A9") with indexes into Heights, sorted by index; Common is the
  // index of the height most rows have.
  void ApplyRowHeights(const std::vector<TvqrRangeItem>& List,
                       const std::vector<Extended>& Heights, TvqrExportProgress* Progress,
                       int Rows, int Common);

  TSpreadsheetApplication* Excel() const { return FExcel.get(); }
  TWorkbook* WorkBook() const { return FWorkBook; }
  TWorksheet* WorkSheet() const { return FWorkSheet; }
  // Quits the application and releases it (the workbook goes with it).
  void Release();

  // --- for tests ----------------------------------------------------------------------------
  // Sees every address text a grouped call applies: Kind 0 styles, 1 frames, 2 merges,
  // 3 number formats, 4 row heights.
  using TApplyHook = std::function<void(int Kind, const String& Text)>;
  static void SetApplyHookForTests(TApplyHook Hook);

private:
  bool FIsOpened = false;
  bool FIsVisible = false;
  std::unique_ptr<TSpreadsheetApplication> FExcel;
  TWorkbook* FWorkBook = nullptr;
  TWorksheet* FWorkSheet = nullptr;
  std::unique_ptr<TSheetRange> FRange;
};
