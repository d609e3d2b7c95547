// vqrExcel.cpp - the spreadsheet wrapper over the stand-in application.
#include "report/output/vqrExcel.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/shell/Spreadsheet.h"
#include "report/core/vqrRes.h"
#include "report/output/vqrExportProgress.h"

namespace {

constexpr std::size_t MaxAddressText = 255;

String ListSeparator() { return String(1, FormatSettings.ListSeparator); }

TvqrExcel::TApplyHook& ApplyHook() {
  static TvqrExcel::TApplyHook Hook;
  return Hook;
}

void Applying(int Kind, const String& Text) {
  if (ApplyHook()) ApplyHook()(Kind, Text);
}

bool Cancelled(TvqrExportProgress* P) { return P && P->Terminated(); }

// Joins addresses of one value into texts of at most 255 characters and hands each text to
// Apply; a new value closes the text before it.
template <class TApply>
void GroupAddresses(const std::vector<TvqrRangeItem>& List, const String& Separator,
                    TvqrExportProgress* Progress, TApply Apply) {
  if (List.empty()) return;
  String Text = List[0].Address;
  int Value = List[0].Value;
  for (std::size_t I = 1; I < List.size() && !Cancelled(Progress); ++I) {
    const TvqrRangeItem& E = List[I];
    if (E.Value == Value) {
      if (E.Address.size() + Text.size() + 1 > MaxAddressText) {
        Apply(Text, Value);
        Text = E.Address;
      } else {
        Text += Separator + E.Address;
      }
    } else {
      Apply(Text, Value);
      Text = E.Address;
      Value = E.Value;
    }
    if (Progress) Progress->Tick();
  }
  Apply(Text, Value);
}

}  // namespace

void TvqrExcel::SetApplyHookForTests(TApplyHook Hook) { ApplyHook() = std::move(Hook); }

TvqrExcel::TvqrExcel() = default;
TvqrExcel::~TvqrExcel() = default;

void TvqrExcel::OpenExcel() {
  FIsOpened = false;
  FExcel = std::make_unique<TSpreadsheetApplication>();
  FExcel->ScreenUpdating = false;
  FExcel->DisplayAlerts = false;
  FWorkBook = FExcel->Workbooks().Add();
  FWorkSheet = FWorkBook->Worksheets(1);
  FIsOpened = true;
}

void TvqrExcel::SetVisible(bool Value) {
  if (!FIsOpened) return;
  FExcel->SetVisible(Value);
  FIsVisible = Value;
}

void TvqrExcel::Release() {
  FRange.reset();
  if (FExcel) FExcel->Quit();
  FExcel.reset();
  FWorkBook = nullptr;
  FWorkSheet = nullptr;
  FIsOpened = false;
}

String TvqrExcel::ColumnLetters(int x) {
  auto Letter = [](int Code) { return String(1, static_cast<Char>(Code)); };
  if (x < 27) return Letter(64 + x);
  if (x % 26 != 0) return Letter(64 + x / 26) + Letter(64 + x % 26);
  return Letter(63 + x / 26) + u"Z";
}

String TvqrExcel::CellName(int x, int y) { return ColumnLetters(x) + IntToStr(y); }

void TvqrExcel::SetRange(int x, int y, int dx, int dy) {
  FRange.reset();
  if (x > 255) x = 255;
  if (x + dx > 255) dx = 255 - x;
  if (dx <= 0 || dy <= 0 || !FWorkSheet) return;
  try {
    FRange = std::make_unique<TSheetRange>(
        FWorkSheet->Range(CellName(x, y), CellName(x + dx - 1, y + dy - 1)));
  } catch (const Exception&) {
    // As the application's range errors: the object simply gets no range.
  }
}

void TvqrExcel::SetColSize(int x, Extended Size) {
  if (!(Size > 0 && Size < 256 && x < 256)) return;
  try {
    FWorkSheet->Columns().Columns(x).SetColumnWidth(static_cast<double>(Size));
  } catch (const Exception&) {
    // A column the sheet refuses keeps its width; the export goes on.
  }
}

void TvqrExcel::SetRowSize(int y, Extended Size) {
  if (Size <= 0) return;
  FWorkSheet->Rows().Rows(y).SetRowHeight(static_cast<double>(std::min<Extended>(Size, 409)));
}

void TvqrExcel::MergeCells() {
  if (FRange) FRange->SetMergeCells(true);
}

void TvqrExcel::SetCellFrame(TvqrFrameTypes Frame) {
  if (!FRange) return;
  if (Frame.Contains(ftLeft)) FRange->Cells().Borders(xlEdgeLeft).SetLineStyle(xlContinuous);
  if (Frame.Contains(ftRight)) FRange->Cells().Borders(xlEdgeRight).SetLineStyle(xlContinuous);
  if (Frame.Contains(ftTop)) FRange->Borders(xlEdgeTop).SetLineStyle(xlContinuous);
  if (Frame.Contains(ftBottom)) FRange->Borders(xlEdgeBottom).SetLineStyle(xlContinuous);
}

void TvqrExcel::SetPageMargin(Extended Left, Extended Right, Extended Top, Extended Bottom,
                              TPrinterOrientation Orientation) {
  if (!FExcel || !FExcel->ActiveSheet()) return;
  TSheetPageSetup& P = FExcel->ActiveSheet()->PageSetup();
  P.LeftMargin = static_cast<double>(Left);
  P.RightMargin = static_cast<double>(Right);
  P.TopMargin = static_cast<double>(Top);
  P.BottomMargin = static_cast<double>(Bottom);
  FWorkSheet->PageSetup().Orientation = Orientation == poLandscape ? xlLandscape : xlPortrait;
}

void TvqrExcel::ApplyGroupedRanges(const std::vector<TvqrRangeItem>& List, TvqrGroupKind Kind,
                                   TvqrExportProgress* Progress) {
  if (Progress && !Progress->Terminated())
    Progress->Execute(static_cast<int>(List.size()),
                      StringTable()->Get(u"ProgressStyles") + u" - " +
                          IntToStr(static_cast<int>(Kind) + 1),
                      true, true);
  GroupAddresses(List, ListSeparator(), Progress, [&](const String& Text, int Value) {
    if (Text.empty() || (Kind == gkFrames && Value == 0)) return;
    Applying(Kind, Text);
    try {
      TSheetRange R = FWorkSheet->Range(Text);
      if (Kind == gkStyle) {
        R.SetStyle(String(u"S") + IntToStr(Value));
      } else if (Kind == gkFrames) {
        const TvqrFrameTypes F = TvqrFrameTypes::FromBits(static_cast<unsigned>(Value));
        const std::pair<TvqrFrameType, int> Lines[] = {
            {ftLeft, xlEdgeLeft}, {ftTop, xlEdgeTop}, {ftBottom, xlEdgeBottom},
            {ftRight, xlEdgeRight}};
        for (const auto& [Line, Index] : Lines)
          if (F.Contains(Line)) R.Cells().Borders(Index).SetLineStyle(xlContinuous);
      } else {
        R.SetMergeCells(true);
      }
    } catch (const Exception&) {
      // One group the sheet refuses does not stop the others.
    }
  });
}

void TvqrExcel::ApplyNumberFormats(const std::vector<String>& List, TvqrExportProgress* Progress) {
  if (Progress) Progress->Execute(static_cast<int>(List.size()), u"Data formats", true, true);
  std::vector<TvqrRangeItem> Cells;
  std::vector<String> Formats;
  for (const String& E : List) {
    const std::size_t Eq = E.rfind(u'=');
    const String Format = Eq == String::npos ? String() : E.substr(0, Eq);
    auto Known = std::find(Formats.begin(), Formats.end(), Format);
    if (Known == Formats.end()) Known = Formats.insert(Formats.end(), Format);
    Cells.push_back({Eq == String::npos ? E : E.substr(Eq + 1),
                     static_cast<int>(Known - Formats.begin())});
  }
  GroupAddresses(Cells, ListSeparator(), Progress, [&](const String& Text, int Value) {
    if (Text.empty()) return;
    Applying(3, Text);
    try {
      FWorkSheet->Range(Text).SetNumberFormat(Formats[static_cast<std::size_t>(Value)]);
    } catch (const Exception&) {
      // A format the sheet refuses leaves those cells in the general format.
    }
  });
}

void TvqrExcel::ApplyRowHeights(const std::vector<TvqrRangeItem>& List,
                                const std::vector<Extended>& Heights,
                                TvqrExportProgress* Progress, int Rows, int Common) {
  if (List.empty()) return;
  if (Progress && !Progress->Terminated())
    Progress->Execute(static_cast<int>(List.size()), StringTable()->Get(u"ProgressRows") + u" - 2",
                      true, true);
  auto Height = [&](int Index) {
    return static_cast<double>(Heights.at(static_cast<std::size_t>(Index)));
  };
  auto Apply = [&](const String& Text, int Index) {
    Applying(4, Text);
    try {
      FWorkSheet->Range(Text).SetRowHeight(Height(Index));
    } catch (const Exception&) {
      // Rows the sheet refuses keep the common height.
    }
  };
  Apply(String(u"A1:A") + IntToStr(Rows), Common);
  String Text = List[0].Address;
  int Current = List[0].Value;
  for (std::size_t I = 1; I < List.size() && !Cancelled(Progress); ++I) {
    const TvqrRangeItem& E = List[I];
    if (E.Value == Common) continue;
    if (E.Value == Current) {
      if (E.Address.size() + Text.size() + 1 > MaxAddressText) {
        Apply(Text, Current);
        Text = E.Address;
      } else {
        Text += String(u";") + E.Address;
      }
    } else {
      if (Current != Common) Apply(Text, Current);
      Text = E.Address;
      Current = E.Value;
    }
    if (Progress) Progress->Tick();
  }
  if (!Text.empty()) {
    Applying(4, Text);
    try {
      FWorkSheet->Range(Text).Rows().SetRowHeight(Height(Current));
    } catch (const Exception&) {
      // As above.
    }
  }
}
