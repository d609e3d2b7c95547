// vqrExportXLSPaths.cpp - the spreadsheet export's two ways of filling the sheet from the
// matrix: cell by cell, and fast (row heights, styles, frames, merges and number formats
// grouped into address lists).
#include <algorithm>
#include <cmath>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Picture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/shell/Spreadsheet.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUnicodeUtils.h"
#include "report/output/vqrExcel.h"
#include "report/output/vqrExportMatrix.h"
#include "report/output/vqrExportProgress.h"
#include "report/output/vqrExportXLS.h"

namespace {

constexpr Extended RowScale = 1.315L;     // pixels per point of row height
constexpr Extended ColumnScale = 8;       // pixels per character of column width
constexpr Extended PictureScale = 1.38L;  // pixels per point of picture size
constexpr std::size_t MaxCellText = 900;

// The object's lines joined by line feeds, without carriage returns or trailing line feeds,
// cut to 900 characters (never inside a surrogate pair).
String CleanCellText(const TvqrIEMObject* O) {
  String T;
  for (Char C : O->Memo->Text())
    if (C != u'\r') T += C;
  while (!T.empty() && T.back() == u'\n') T.pop_back();
  if (T.size() > MaxCellText) {
    std::size_t N = MaxCellText;
    if (T[N - 1] >= 0xD800 && T[N - 1] <= 0xDBFF) --N;
    T.resize(N);
  }
  return T;
}

int AlignH(TvqrHAlign A) {
  switch (A) {
    case haRight: return xlRight;
    case haCenter: return xlCenter;
    case haBlock: return xlJustify;
    default: return xlLeft;
  }
}

int AlignV(TvqrVAlign A) {
  switch (A) {
    case vaBottom: return xlBottom;
    case vaCenter: return xlCenter;
    default: return xlTop;
  }
}

Extended RowHeight(const TvqrIEMatrix& M, int y) {
  return (M.GetCellYPos(y) - M.GetCellYPos(y - 1)) / RowScale;
}

Extended ColumnWidth(const TvqrIEMatrix& M, int x) {
  return (M.GetCellXPos(x) - M.GetCellXPos(x - 1)) / ColumnScale;
}

// A numeric cell's text in the file's form: no thousands separators, "." for decimals.
String NumericValue(const String& Text, const TvqrFormat* F) {
  const Char Decimal = F->DecimalSeparator().empty() ? FormatSettings.DecimalSeparator
                                                     : F->DecimalSeparator()[0];
  const String& Own = F->ThousandSeparator();
  String Out;
  for (Char C : Text) {
    if (C == FormatSettings.ThousandSeparator || (!Own.empty() && C == Own[0]) || C == u' ' ||
        C == u'\u00A0')
      continue;
    Out += C == Decimal ? u'.' : C;
  }
  return Out;
}

// Orders a list by value, equal values in the order they were added (as inserting each item
// after the last one of its value would).
void SortByValue(std::vector<TvqrRangeItem>& List) {
  std::stable_sort(List.begin(), List.end(),
                   [](const TvqrRangeItem& A, const TvqrRangeItem& B) { return A.Value < B.Value; });
}

}  // namespace

// =============================================================================================
// Shared steps
// =============================================================================================

void TvqrXLSExport::StartProgress(int Max, const String& Message) {
  if (!ShowProgress()) return;
  if (!FProgress) FProgress = NewExportProgress();
  FProgress->Execute(Max, Message, true, true);
}

bool TvqrXLSExport::Cancelled() const { return FProgress && FProgress->Terminated(); }

void TvqrXLSExport::PageSetup() {
  FExcel->SetPageMargin(FPageLeft, FPageRight, FPageTop, FPageBottom, FPageOrientation);
}

// A page that ends at or above row y's bottom gets its break two rows down: past the thin
// row that separates pages.
void TvqrXLSExport::BreakTest(int y, int& Page) {
  if (!FpageBreaks) return;
  if (FMatrix->GetPageBreak(Page) <= FMatrix->GetCellYPos(y)) {
    FExcel->WorkSheet()->Rows(y + 2).SetPageBreak(xlPageBreakManual);
    ++Page;
  }
}

void TvqrXLSExport::ApplyStyles(bool Fast) {
  StartProgress(FMatrix->GetStylesCount(), StringTable()->Get(u"ProgressStyles"));
  TSheetStyles* Styles = FExcel->WorkBook()->Styles();
  for (int I = 0; I < FMatrix->GetStylesCount() && !Cancelled(); ++I) {
    const TvqrIEMStyle* S = FMatrix->GetStyleById(I);
    TSheetStyle* W = Styles->Add(String(u"S") + IntToStr(I));
    const TFontStyles FS = S->Font->Style();
    W->Font.Bold = FS.Contains(fsBold);
    W->Font.Italic = FS.Contains(fsItalic);
    W->Font.Underline = FS.Contains(fsUnderline);
    W->Font.Name = S->Font->Name();
    W->Font.Size = S->Font->Size();
    W->Font.Color = ColorToRGB(S->Font->Color());
    if (!Fast) {
      // Transparent cells read as white, which is what the sheet shows for them.
      W->Interior.Color = ColorToRGB(S->Color == clNone ? clWhite : S->Color);
    } else {
      if (S->Color != clWhite && S->Color != clNone) W->Interior.Color = ColorToRGB(S->Color);
      if (S->Rotation >= 1 && S->Rotation <= 90) W->Orientation = S->Rotation;
      if (S->Rotation >= 270 && S->Rotation <= 359) W->Orientation = S->Rotation - 360;
    }
    W->VerticalAlignment = AlignV(S->VAlign);
    W->HorizontalAlignment = AlignH(S->HAlign);
    if (FProgress) FProgress->Tick();
  }
}

// Every object once, row by row and column by column, with its 1-based first cell and span.
void TvqrXLSExport::VisitObjects(
    const std::function<void(TvqrIEMObject* O, int x, int y, int dx, int dy)>& Visit) {
  TvqrIEMatrix& M = *FMatrix;
  for (int Y = 0; Y < M.Height() && !Cancelled(); ++Y) {
    for (int X = 0; X < M.Width(); ++X) {
      const int Index = M.GetCell(X, Y);
      TvqrIEMObject* O = M.GetObjectById(Index);
      if (!O || O->Counter) continue;
      O->Counter = 1;
      int PX, PY, DX = 1, DY = 1;
      M.GetObjectPos(Index, PX, PY, DX, DY);
      Visit(O, X + 1, Y + 1, DX, DY);
    }
    if (FProgress) FProgress->Tick();
  }
}

void TvqrXLSExport::PastePicture(TvqrIEMObject* Obj, int x, int y, int dx, int dy, int& Picture,
                                 bool Fast) {
  if (!Obj->Image && Obj->Metafile->Width() < 1) return;
  FExcel->SetRange(x, y, dx, dy);
  if (!FExcel->HasRange()) return;
  std::string Png;
  try {
    TPngImage Image;
    if (FExportEMF && Obj->Metafile->Width() >= 1) {
      // The recording is replayed at twice its size for a sharper picture.
      const int W = Obj->Metafile->Width() * 2, H = Obj->Metafile->Height() * 2;
      Image.Bitmap()->SetSize(W, H);
      Obj->Metafile->Draw(Image.Bitmap()->Canvas(), TRect{0, 0, W, H});
    } else if (Obj->Image) {
      Image.Bitmap()->Assign(Obj->Image.get());
    } else {
      return;
    }
    Png = Image.SaveToBytes();
    FExcel->Range()->PastePicture(Png);
  } catch (const Exception&) {
    return;  // a picture that cannot be drawn or encoded is left out
  }
  TSheetPicture& P = FExcel->WorkSheet()->Pictures(++Picture);
  P.SetWidth(static_cast<double>(Obj->Width / PictureScale));
  P.SetHeight(static_cast<double>(Obj->Height / PictureScale));
  if (Fast) {
    P.SetLeft(P.Left() + 1);
    P.SetTop(P.Top() + 1);
  }
}

// =============================================================================================
// Cell by cell
// =============================================================================================

void TvqrXLSExport::ExportCellByCell() {
  TvqrIEMatrix& M = *FMatrix;
  const int Rows = M.Height(), Cols = M.Width();
  PageSetup();
  StartProgress(Rows - 1, StringTable()->Get(u"ProgressRows"));
  int Page = 0;
  for (int y = 1; y < Rows && !Cancelled(); ++y) {
    FExcel->SetRowSize(y, RowHeight(M, y));
    BreakTest(y, Page);
    if (FProgress) FProgress->Tick();
  }
  StartProgress(Cols - 1, StringTable()->Get(u"ProgressColumns"));
  for (int x = 1; x < Cols && !Cancelled(); ++x) FExcel->SetColSize(x, ColumnWidth(M, x));
  ApplyStyles(false);

  TSheetValues Values(Rows, Cols, 0);
  StartProgress(Rows, StringTable()->Get(u"ProgressObjects"));
  int Picture = 0;
  VisitObjects([&](TvqrIEMObject* O, int x, int y, int DX, int DY) {
    if (!O->IsText) {
      PastePicture(O, x, y, DX, DY, Picture, false);
      return;
    }
    FExcel->SetRange(x, y, DX, DY);
    if (FExcel->HasRange()) {
      if (FExportStyles && O->StyleIndex >= 0)
        FExcel->Range()->SetStyle(String(u"S") + IntToStr(O->StyleIndex));
      if (FMergeCells && (DX > 1 || DY > 1)) FExcel->MergeCells();
      if (FExportStyles && O->Style) FExcel->SetCellFrame(O->Style->FrameTyp);
    }
    Values.At(y - 1, x - 1) = CleanCellText(O);
  });
  if (Rows > 1 && Cols > 1)
    FExcel->WorkSheet()
        ->Range(u"A1", TvqrExcel::CellName(std::min(Cols - 1, 256), Rows - 1))
        .SetValue(Values);
  FExcel->WorkSheet()->SetWrapText(true);
  FProgress.reset();
}

// =============================================================================================
// Fast
// =============================================================================================

void TvqrXLSExport::ExportFast() {
  TvqrIEMatrix& M = *FMatrix;
  const int Rows = M.Height(), Cols = M.Width();
  PageSetup();

  // Row heights at quarter points, grouped into runs of equal height.
  StartProgress(Rows - 1, StringTable()->Get(u"ProgressRows") + u" - 1");
  std::vector<Extended> Heights;
  std::vector<int> Uses;
  std::vector<TvqrRangeItem> Groups;
  int Common = 0, Page = 0, RunStart = 1, RunIndex = -1;
  auto CloseRun = [&](int Last) {
    String A = String(u"A") + IntToStr(RunStart);
    if (Last > RunStart) A += String(u":A") + IntToStr(Last);
    Groups.push_back({A, RunIndex});
  };
  for (int y = 1; y < Rows && !Cancelled(); ++y) {
    BreakTest(y, Page);
    const Extended H = std::round(RowHeight(M, y) * 4) / 4;
    auto Found = std::find(Heights.begin(), Heights.end(), H);
    int Index = static_cast<int>(Found - Heights.begin());
    if (Found == Heights.end()) {
      Heights.push_back(H);
      Uses.push_back(0);
    }
    if (++Uses[static_cast<std::size_t>(Index)] > Uses[static_cast<std::size_t>(Common)])
      Common = Index;
    if (Index != RunIndex) {
      if (RunIndex >= 0) CloseRun(y - 1);
      RunStart = y;
      RunIndex = Index;
    }
    if (FProgress) FProgress->Tick();
  }
  if (RunIndex >= 0) CloseRun(Rows - 1);
  SortByValue(Groups);
  FExcel->ApplyRowHeights(Groups, Heights, FProgress.get(), Rows, Common);

  StartProgress(Cols - 1, StringTable()->Get(u"ProgressColumns"));
  for (int x = 1; x < Cols && !Cancelled(); ++x) FExcel->SetColSize(x, ColumnWidth(M, x));
  ApplyStyles(true);

  TSheetValues Values(Rows, Cols, 1);
  std::vector<TvqrRangeItem> StyleList, MergeList, FrameList;
  std::vector<String> NumberFormats;
  StartProgress(Rows, StringTable()->Get(u"ProgressObjects"));
  int Picture = 0;
  VisitObjects([&](TvqrIEMObject* O, int x, int y, int DX, int DY) {
    if (!O->IsText) {
      PastePicture(O, x, y, DX, DY, Picture, true);
      return;
    }
    FExcel->SetRange(x, y, DX, DY);
    if (FExcel->HasRange()) {
      const int CX = std::min(DX, 255 - x);  // the columns the range kept
      const bool Span = CX > 1 || DY > 1;
      String Address = TvqrExcel::CellName(x, y);
      if (Span) Address += String(u":") + TvqrExcel::CellName(x + CX - 1, y + DY - 1);
      if (FExportStyles && O->StyleIndex >= 0) StyleList.push_back({Address, O->StyleIndex});
      if (FMergeCells && Span) MergeList.push_back({Address, 0});
      if (FExportStyles && O->Style && !O->Style->FrameTyp.Empty())
        FrameList.push_back({Address, static_cast<int>(O->Style->FrameTyp.Bits())});
    }
    String V = CleanCellText(O);
    const TvqrFormat* F = O->Style ? O->Style->DisplayFormat.get() : nullptr;
    if (FAsText) {
      V = String(u"'") + V;
    } else if (F && F->Kind() == fkNumeric) {
      if (!V.empty()) {
        V = NumericValue(V, F);
        if (!F->FormatStr().empty() && FExcel->HasRange())
          NumberFormats.push_back(ExcelNumberFormat(F->FormatStr()) + u"=" +
                                  TvqrExcel::CellName(x, y));
      }
    } else if (F && F->Kind() == fkText) {
      V = String(u"'") + V;
    }
    Values.At(y, x) = V;
  });
  SortByValue(StyleList);
  SortByValue(FrameList);
  if (FExportStyles) {
    FExcel->ApplyGroupedRanges(StyleList, gkStyle, FProgress.get());
    FExcel->ApplyGroupedRanges(FrameList, gkFrames, FProgress.get());
    FExcel->ApplyNumberFormats(NumberFormats, FProgress.get());
  }
  if (FMergeCells) FExcel->ApplyGroupedRanges(MergeList, gkMerge, FProgress.get());
  if (Rows > 0 && Cols > 0)
    FExcel->WorkSheet()
        ->Range(u"A1", TvqrExcel::CellName(std::min(Cols, 256), Rows))
        .SetValue(Values);
  FExcel->WorkSheet()->SetWrapText(true);
  FProgress.reset();
}
