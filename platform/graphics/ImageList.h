// ImageList.h - TImageList: equal-sized images drawn with masks, blends, overlays and the
// disabled look.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/graphics/Bitmap.h"

VORENTA_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent);
VORENTA_ENUM(TImageType, itImage, itMask);

class TCustomImageList;

// A user's subscription to an image list's changes: OnChange runs after every change of the
// list; when the list is freed, Sender becomes nullptr and OnFree runs, so the user can drop
// its reference. A link unregisters itself when it is destroyed.
class TChangeLink {
public:
  TChangeLink() = default;
  ~TChangeLink();
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;
  TCustomImageList* Sender() const { return FSender; }
  TNotifyEvent OnChange;
  TNotifyEvent OnFree;

private:
  TCustomImageList* FSender = nullptr;
  friend class TCustomImageList;
};

class TCustomImageList : public TPersistent {
  VORENTA_CLASS(TCustomImageList, TPersistent)
public:
  TCustomImageList(int Width = 16, int Height = 16);
  ~TCustomImageList() override;
  void Assign(TPersistent* Source) override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Changing the size empties the list, as the library's image lists do.
  void SetSize(int Width, int Height);
  int Count() const { return int(FImages.size()); }
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value) { FBkColor = Value; }
  // The colour dsFocus and dsSelected blend toward; clNone or clDefault mean clHighlight.
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value) { FBlendColor = Value; }
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value) { FDrawingStyle = Value; }
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType Value) { FImageType = Value; }

  // Adds Image (cut into Width-wide pieces when it is wider) with Mask (black = keep) or no
  // mask; returns the index of the first image added.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Adds Image with MaskColor transparent (clDefault: the bottom-left pixel).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  void Delete(int Index);
  void Clear();
  // Copies image Index into Image (Width x Height, transparent parts in BkColor or white).
  void GetBitmap(int Index, TBitmap* Image) const;
  // Makes image ImageIndex overlay number Overlay (0..14).
  bool Overlay(int ImageIndex, int Overlay);

  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;
  void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle Style, TImageType Type,
            bool Enabled = true) const;
  void DrawOverlay(TCanvas* Canvas, int X, int Y, int ImageIndex, int Overlay,
                   bool Enabled = true) const;

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }
  // Links told of every change after OnChange (a link registers with one list at a time).
  void RegisterChanges(TChangeLink* Link);
  void UnRegisterChanges(TChangeLink* Link);

private:
  void Changed();
  bool Valid(int Index) const { return Index >= 0 && Index < Count(); }

  int FWidth, FHeight;
  std::vector<std::unique_ptr<TBitmap>> FImages;   // 32 bits, alpha from the mask
  int FOverlays[15];
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  TNotifyEvent FOnChange;
  std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
  VORENTA_CLASS(TImageList, TCustomImageList)
public:
  using TCustomImageList::TCustomImageList;
};
