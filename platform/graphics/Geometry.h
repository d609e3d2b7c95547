// Geometry.h - points, sizes and rectangles as the drawing routines take them.
//
// A rectangle's Right and Bottom lie outside it, as everywhere in the drawing calls: a rectangle
// (0, 0, 10, 5) covers 10 x 5 pixels.
#pragma once

#include <algorithm>

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint P) const { return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int X, int Y) { return {X, Y}; }
inline TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
inline TRect Bounds(int Left, int Top, int Width, int Height) {
  return {Left, Top, Left + Width, Top + Height};
}

inline void OffsetRect(TRect& R, int DX, int DY) {
  R.Left += DX;
  R.Right += DX;
  R.Top += DY;
  R.Bottom += DY;
}

inline void InflateRect(TRect& R, int DX, int DY) {
  R.Left -= DX;
  R.Right += DX;
  R.Top -= DY;
  R.Bottom += DY;
}

// The common part of A and B; false (and an all-zero Dest) when they do not overlap.
inline bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B) {
  Dest = {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
          std::min(A.Bottom, B.Bottom)};
  if (Dest.IsEmpty()) {
    Dest = {};
    return false;
  }
  return true;
}

// The smallest rectangle holding A and B; an empty operand does not count.
inline bool UnionRect(TRect& Dest, const TRect& A, const TRect& B) {
  if (A.IsEmpty()) Dest = B;
  else if (B.IsEmpty()) Dest = A;
  else
    Dest = {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
            std::max(A.Bottom, B.Bottom)};
  return !Dest.IsEmpty();
}

inline bool PtInRect(const TRect& R, TPoint P) { return R.Contains(P); }
