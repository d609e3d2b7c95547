// vqrClassPicture.h - the line object (straight or diagonal, with arrow heads) and the
// picture object, which recognises its graphic's format from the bytes themselves.
#pragma once

#include <memory>

#include "platform/graphics/Picture.h"
#include "report/core/vqrClassViews.h"

class TStream;

// The platform's invalid-argument result code.
constexpr int vqrE_INVALIDARG = static_cast<int>(0x80070057u);

class TvqrCustomLineView : public TvqrStretcheable {
  VORENTA_CLASS(TvqrCustomLineView, TvqrStretcheable)
public:
  explicit TvqrCustomLineView(TComponent* AOwner);
  // Flags: 0 plain, 1 diagonal, 2 end arrow, 3 start arrow, 4 both.
  static TvqrCustomLineView* DesignCreate(TComponent* AOwner, Word Flags);

  bool Diagonal() const { return FDiagonal; }
  void SetDiagonal(bool Value) { FDiagonal = Value; }
  bool ArrowEnd() const { return FArrowEnd; }
  void SetArrowEnd(bool Value) { FArrowEnd = Value; }
  int ArrowLength() const { return FArrowLength; }
  void SetArrowLength(int Value) { FArrowLength = Value; }
  bool ArrowSolid() const { return FArrowSolid; }
  void SetArrowSolid(bool Value) { FArrowSolid = Value; }
  bool ArrowStart() const { return FArrowStart; }
  void SetArrowStart(bool Value) { FArrowStart = Value; }
  int ArrowWidth() const { return FArrowWidth; }
  void SetArrowWidth(int Value) { FArrowWidth = Value; }

  // A straight line becomes vertical (Width 0, left side) or horizontal (Height 0, top side).
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;
  String GetDescription() const override;
  // The two wing points of an arrow head with its tip at (X2, Y2) on the line from (X1, Y1).
  void ArrowWings(Extended X1, Extended Y1, Extended X2, Extended Y2, Extended& WX1,
                  Extended& WY1, Extended& WX2, Extended& WY2) const;

private:
  void DrawArrow(Extended X1, Extended Y1, Extended X2, Extended Y2);

  bool FDiagonal = false;
  bool FArrowEnd = false;
  int FArrowLength = 20;
  bool FArrowSolid = false;
  bool FArrowStart = false;
  int FArrowWidth = 5;
};

class TvqrLineView : public TvqrCustomLineView {
  VORENTA_CLASS(TvqrLineView, TvqrCustomLineView)
public:
  explicit TvqrLineView(TComponent* AOwner) : TvqrCustomLineView(AOwner) {}
};

class TvqrPictureView : public TvqrView {
  VORENTA_CLASS(TvqrPictureView, TvqrView)
public:
  explicit TvqrPictureView(TComponent* AOwner);
  ~TvqrPictureView() override;

  bool AutoSize() const { return FAutoSize; }
  // True takes the picture's size (directly, not through the setters).
  void SetAutoSize(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value) { FCenter = Value; }
  const String& FileLink() const { return FFileLink; }
  void SetFileLink(const String& Value) { FFileLink = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  bool IsImageIndexStored() const { return FIsImageIndexStored; }
  void SetIsImageIndexStored(bool Value) { FIsImageIndexStored = Value; }
  bool IsPictureStored() const { return FIsPictureStored; }
  void SetIsPictureStored(bool Value) { FIsPictureStored = Value; }
  bool KeepAspectRatio() const { return FKeepAspectRatio; }
  void SetKeepAspectRatio(bool Value) { FKeepAspectRatio = Value; }
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  bool PictureChanged() const { return FPictureChanged; }
  void SetPictureChanged(bool Value) { FPictureChanged = Value; }
  bool Stretched() const { return FStretched; }
  void SetStretched(bool Value) { FStretched = Value; }
  bool HightQuality() const { return FHightQuality; }
  void SetHightQuality(bool Value) { FHightQuality = Value; }
  bool Transparent() const { return FTransparent; }
  // True makes Color clNone, false white.
  void SetTransparent(bool Value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value) { FTransparentColor = Value; }

  // Recognises BMP, JPEG, PNG, WMF, EMF and icons from the bytes (after an optional 8-byte
  // database graphic header): 0, or vqrE_INVALIDARG and an empty picture. Image data that
  // does not decode also leaves the picture empty.
  int LoadPictureFromStream(TStream* S, bool ResetStreamPos);
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;
  // Hands a changed picture to the prepared pages first; then the view's differences,
  // " ImageIndex", " Transparent", " TransparentColor".
  String Diff(TvqrComponent* AComponent) const override;
  String GetDescription() const override;
  // The target rectangle of a stretched or unstretched picture of that size in the drawing
  // rectangle (X, Y, X1, Y1) set by BeginDraw.
  TRect PictureRect(int PicWidth, int PicHeight) const;

private:
  void PictureChangedNotify();

  bool FAutoSize = false;
  bool FCenter = false;
  String FFileLink;
  int FImageIndex = 0;
  bool FIsImageIndexStored = false;
  bool FIsPictureStored = true;
  bool FKeepAspectRatio = true;
  std::unique_ptr<TPicture> FPicture;
  mutable bool FPictureChanged = false;
  bool FStretched = true;
  bool FHightQuality = false;
  bool FTransparent = false;
  TColor FTransparentColor = clWhite;
};
