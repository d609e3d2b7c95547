// vqrExportMatrixPrepare.cpp - the export matrix's Prepare: positions, placement, cells,
// overlap cutting, frame optimisation and the removal of empty rows.
#include <algorithm>
#include <cmath>

#include "report/core/vqrRes.h"
#include "report/output/vqrExportMatrix.h"
#include "report/output/vqrExportProgress.h"

namespace {
constexpr int PositionWindow = 100;  // AddPosition looks back this far for an equal value
}

void TvqrIEMatrix::AddPosition(TPosList& List, Extended Value) {
  const std::size_t From = List.size() > PositionWindow ? List.size() - PositionWindow : 0;
  for (std::size_t I = From; I < List.size(); ++I)
    if (List[I] == Value) return;
  List.push_back(Value);
}

void TvqrIEMatrix::OrderPositions(TPosList& List, bool Vertical) {
  std::sort(List.begin(), List.end());
  for (std::size_t I = 0; I + 1 < List.size();) {
    if (Inaccuracy > List[I + 1] - List[I])
      List.erase(List.begin() + static_cast<std::ptrdiff_t>(I));
    else
      ++I;
  }
  const Extended Limit = Vertical ? MaxCellHeight : MaxCellWidth;
  if (Limit <= 0) return;
  const std::size_t Count = List.size();
  bool Added = false;
  for (std::size_t I = 0; I + 1 < Count; ++I) {
    const Extended Gap = List[I + 1] - List[I];
    if (Gap <= Limit) continue;
    const Extended Base = List[I];
    const auto N = static_cast<long>(std::floor(static_cast<double>(Gap / Limit)));
    for (long K = 1; K <= N; ++K) AddPosition(List, Base + K * Limit);
    Added = true;
  }
  if (Added) std::sort(List.begin(), List.end());
}

int TvqrIEMatrix::FindPosition(const TPosList& List, Extended Value) {
  int Lo = 0, Hi = static_cast<int>(List.size()) - 1;
  while (Lo <= Hi) {
    const int Mid = (Lo + Hi) / 2;
    const Extended P = List[static_cast<std::size_t>(Mid)];
    if (P == Value) return Mid;
    if (P < Value)
      Lo = Mid + 1;
    else
      Hi = Mid - 1;
  }
  return Lo;
}

void TvqrIEMatrix::Step() {
  if (FProgress) FProgress->Tick();
}

void TvqrIEMatrix::PlaceObjects() {
  OrderPositions(FXPos, false);
  Step();
  OrderPositions(FYPos, true);
  Step();
  auto Span = [](const TPosList& List, int From, Extended End) {
    int J = From;
    const int Last = static_cast<int>(List.size()) - 1;
    while (J < Last && List[static_cast<std::size_t>(J)] < End) ++J;
    return J - From;
  };
  for (TvqrIEMObjectList& P : FIEMObjectList) {
    const TvqrIEMObject& O = *P.Obj;
    const int X = FindPosition(FXPos, O.Left);
    if (X < static_cast<int>(FXPos.size())) {
      P.x = X;
      P.dx = Span(FXPos, X, O.Left + O.Width);
    }
    const int Y = FindPosition(FYPos, O.Top);
    if (Y < static_cast<int>(FYPos.size())) {
      P.y = Y;
      P.dy = Span(FYPos, Y, O.Top + O.Height);
    }
  }
  Step();
}

void TvqrIEMatrix::BuildCells() {
  FMatrix.assign(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), -1);
  for (std::size_t I = 0; I < FIEMObjectList.size(); ++I) {
    TvqrIEMObjectList& P = FIEMObjectList[I];
    TvqrIEMObject* O = P.Obj.get();
    const int Under = GetCell(P.x, P.y);
    if (O->Style && O->Style->Color == clNone && Under >= 0 && Under != static_cast<int>(I)) {
      const TvqrIEMStyle* Below = GetObjectById(Under)->Style;
      const TColor Fill = Below ? Below->Color : clNone;
      if (Fill != O->Style->Color && Fill != O->Style->Font->Color())
        SetStyleOf(O, AddStyleCopy(*O->Style, Fill, O->Style->FrameTyp));
    }
    for (int Y = P.y; Y < std::min(P.y + P.dy, FHeight); ++Y)
      for (int X = P.x; X < std::min(P.x + P.dx, FWidth); ++X)
        FMatrix[static_cast<std::size_t>(X + Y * FWidth)] = static_cast<int>(I);
  }
  Step();
}

void TvqrIEMatrix::MeasureCellRun(int x, int y, int& dx, int& dy) const {
  const int Index = GetCell(x, y);
  dx = 0;
  while (GetCell(x + dx, y) == Index) ++dx;
  dy = 1;
  for (int Y = y + 1; Y < FHeight; ++Y) {
    int Run = 0;
    while (Run < dx && GetCell(x + Run, Y) == Index) ++Run;
    if (Run < dx) break;
    ++dy;
  }
}

void TvqrIEMatrix::CutOverlaps() {
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const int Index = GetCell(x, y);
      if (Index < 0 || FIEMObjectList[static_cast<std::size_t>(Index)].Exist) continue;
      int DX, DY;
      MeasureCellRun(x, y, DX, DY);
      TvqrIEMObjectList& P = FIEMObjectList[static_cast<std::size_t>(Index)];
      if (P.x == x && P.y == y && P.dx == DX && P.dy == DY)
        P.Exist = true;
      else
        CutPiece(Index, x, y, DX, DY);
    }
  Step();
}

void TvqrIEMatrix::CutPiece(int Index, int x, int y, int dx, int dy) {
  TvqrIEMObject* Old = FIEMObjectList[static_cast<std::size_t>(Index)].Obj.get();
  auto Piece = std::make_unique<TvqrIEMObject>();
  Piece->StyleIndex = Old->StyleIndex;
  Piece->Style = Old->Style;
  Piece->Left = GetXPosById(x);
  Piece->Top = GetYPosById(y);
  Piece->Width = GetXPosById(x + dx) - Piece->Left;
  Piece->Height = GetYPosById(y + dy) - Piece->Top;
  Piece->Parent = Old;
  Piece->IsText = Old->IsText;
  Piece->IsRichText = Old->IsRichText;
  Piece->HTMLTags = Old->HTMLTags;
  if (Old->Top + Old->Height - Piece->Top > Old->Height / 3 &&
      Old->Left + Old->Width - Piece->Left > Old->Width / 3) {
    Piece->Image = std::move(Old->Image);
    Piece->Link = Old->Link;
    Piece->IsText = Old->IsText;
    Piece->Memo->Assign(Old->Memo.get());
    Old->Memo->Clear();
    Old->IsText = true;
    Old->Link = nullptr;
  }
  TvqrIEMObjectList P;
  P.Obj = std::move(Piece);
  P.x = x;
  P.y = y;
  P.dx = dx;
  P.dy = dy;
  FIEMObjectList.push_back(std::move(P));
  const int NewIndex = static_cast<int>(FIEMObjectList.size()) - 1;
  for (int Y = y; Y < y + dy; ++Y)
    for (int X = x; X < x + dx; ++X) {
      int& Cell = FMatrix[static_cast<std::size_t>(X + Y * FWidth)];
      if (Cell == Index) Cell = NewIndex;
    }
  FitPieceFrame(Index, NewIndex);
  FIEMObjectList.back().Exist = true;
}

// A piece keeps a frame line of its object only along the object's own edge. Edges are
// compared by cell, so a boundary moved by the merge of near positions still counts.
void TvqrIEMatrix::FitPieceFrame(int OldIndex, int NewIndex) {
  const TvqrIEMObjectList& O = FIEMObjectList[static_cast<std::size_t>(OldIndex)];
  const TvqrIEMObjectList& N = FIEMObjectList[static_cast<std::size_t>(NewIndex)];
  TvqrIEMObject* Piece = N.Obj.get();
  if (!O.Obj->Style || !Piece->Style) return;
  const TvqrFrameTypes Old = O.Obj->Style->FrameTyp;
  TvqrFrameTypes F;
  if (Old.Contains(ftTop) && N.y == O.y) F.Include(ftTop);
  if (Old.Contains(ftLeft) && N.x == O.x) F.Include(ftLeft);
  if (Old.Contains(ftBottom) && N.y + N.dy == O.y + O.dy) F.Include(ftBottom);
  if (Old.Contains(ftRight) && N.x + N.dx == O.x + O.dx) F.Include(ftRight);
  if (F != Piece->Style->FrameTyp)
    SetStyleOf(Piece, AddStyleCopy(*O.Obj->Style, O.Obj->Style->Color, F));
}

void TvqrIEMatrix::OptimizeFrames() {
  auto SameLine = [](const TvqrIEMStyle* A, const TvqrIEMStyle* B) {
    return A->FrameWidth == B->FrameWidth && A->FrameColor == B->FrameColor;
  };
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const int Index = GetCell(x, y);
      TvqrIEMObject* O = GetObjectById(Index);
      if (!O || !O->Style) continue;
      TvqrFrameTypes F = O->Style->FrameTyp;
      if (F.Contains(ftTop) && y > 0 && GetCell(x, y - 1) != Index) {
        const TvqrIEMStyle* Above = GetObject(x, y - 1) ? GetObject(x, y - 1)->Style : nullptr;
        if (Above && Above->FrameTyp.Contains(ftBottom) && SameLine(Above, O->Style))
          F.Exclude(ftTop);
      }
      if (F.Contains(ftLeft) && x > 0 && GetCell(x - 1, y) != Index) {
        const TvqrIEMStyle* Before = GetObject(x - 1, y) ? GetObject(x - 1, y)->Style : nullptr;
        if (Before && Before->FrameTyp.Contains(ftRight) && SameLine(Before, O->Style))
          F.Exclude(ftLeft);
      }
      if (F != O->Style->FrameTyp) SetStyleOf(O, AddStyleCopy(*O->Style, O->Style->Color, F));
    }
  Step();
}

void TvqrIEMatrix::Prepare() {
  std::unique_ptr<TvqrExportProgress> Progress;
  if (ShowProgress) {
    Progress = NewExportProgress();
    Progress->Execute(11, StringTable()->Get(u"ProgressWait"), false, true);
    FProgress = Progress.get();
  }
  struct TClose {
    TvqrExportProgress*& P;
    ~TClose() { P = nullptr; }
  } Close{FProgress};

  if (AreaFill) {
    auto Fill = std::make_unique<TvqrIEMStyle>();
    Fill->Color = clWhite;
    auto Item = std::make_unique<TvqrIEMObject>();
    SetStyleOf(Item.get(), FindOrAddStyle(std::move(Fill)));
    Item->Left = CropAreaFill ? FMinLeft : 0;
    Item->Top = CropAreaFill ? FMinTop : 0;
    Item->Width = FMaxWidth;
    Item->Height = FMaxHeight;
    TvqrIEMObjectList P;
    P.Obj = std::move(Item);
    FIEMObjectList.insert(FIEMObjectList.begin(), std::move(P));
    AddPosition(FXPos, 0);
    AddPosition(FYPos, 0);
  }
  Step();
  PlaceObjects();
  FWidth = static_cast<int>(FXPos.size());
  FHeight = static_cast<int>(FYPos.size());
  BuildCells();
  CutOverlaps();
  if (FramesOptimization) OptimizeFrames();
  Step();
  Progress.reset();
  FProgress = nullptr;

  if (!EmptyLines) {
    int y = 0;
    while (y < FHeight - 1) {
      bool Empty = true;
      for (int x = 0; x < FWidth && Empty; ++x) Empty = GetCell(x, y) < 0;
      if (Empty)
        DeleteMatrixLine(y);
      else
        ++y;
    }
  }
}

// The removed row's height also comes off every page break below it, so the breaks stay on
// the rows they were on.
void TvqrIEMatrix::DeleteMatrixLine(int y) {
  if (y < 0 || y >= FHeight) return;
  const Extended Top = FYPos[static_cast<std::size_t>(y)];
  const Extended Bottom = y + 1 < FHeight ? FYPos[static_cast<std::size_t>(y) + 1] : Top;
  const Extended D = Bottom - Top;
  for (std::size_t I = static_cast<std::size_t>(y) + 1; I < FYPos.size(); ++I) FYPos[I] -= D;
  FYPos.erase(FYPos.begin() + y);
  for (TvqrIEMPage& P : FPages) {
    if (P.Value >= Bottom)
      P.Value -= D;
    else if (P.Value > Top)
      P.Value = Top;
  }
  const auto Row = FMatrix.begin() + static_cast<std::ptrdiff_t>(y) * FWidth;
  FMatrix.erase(Row, Row + FWidth);
  --FHeight;
}
