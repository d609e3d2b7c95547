// Graphics.h - the drawing tools: TFont, TPen and TBrush.
//
// Each tool is a TPersistent with an OnChange event raised after every change, so that the
// canvas or control holding it can react. A font's Height is in device pixels (negative: the em
// size; positive: the cell height); its Size is in points at PixelsPerInch, and setting one sets
// the other.
#pragma once

#include <functional>

#include "platform/classes/Object.h"
#include "platform/classes/TypeInfo.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/FontService.h"

using TNotifyEvent = std::function<void(TObject* Sender)>;

VORENTA_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame,
             psUserStyle, psAlternate);
VORENTA_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot,
             pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask,
             pmXor, pmNotXor);
VORENTA_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
             bsCross, bsDiagCross);
VORENTA_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed);
using TFontCharset = Byte;

// The base of the drawing tools: change notification.
class TGraphicsObject : public TPersistent {
  VORENTA_CLASS(TGraphicsObject, TPersistent)
public:
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

protected:
  virtual void Changed();

private:
  TNotifyEvent FOnChange;
};

class TFont : public TGraphicsObject {
  VORENTA_CLASS(TFont, TGraphicsObject)
public:
  TFont();
  void Assign(TPersistent* Source) override;

  const String& Name() const { return FName; }
  void SetName(const String& Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int Size() const;
  void SetSize(int Value);
  int PixelsPerInch() const { return FPixelsPerInch; }
  // Keeps the point size: the height is recomputed for the new resolution.
  void SetPixelsPerInch(int Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // Escapement and orientation in tenths of a degree, counter-clockwise.
  int Orientation() const { return FOrientation; }
  void SetOrientation(int Value);

  // What the font service needs to measure this font.
  TFontRequest Request() const { return {FName, FHeight, FStyle.Contains(fsBold), FStyle.Contains(fsItalic)}; }

private:
  String FName = u"Tahoma";
  int FHeight = -11;
  int FPixelsPerInch = 96;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  int FOrientation = 0;
};

class TPen : public TGraphicsObject {
  VORENTA_CLASS(TPen, TGraphicsObject)
public:
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

class TBrush : public TGraphicsObject {
  VORENTA_CLASS(TBrush, TGraphicsObject)
public:
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  // A colour other than clNone makes a clear brush solid again, as the library's brush does.
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

// Registers the drawing tools' classes for streaming (RegisterClass).
void RegisterGraphicsClasses();
