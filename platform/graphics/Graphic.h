// Graphic.h - TGraphic, the base of every picture kind (bitmap, PNG, JPEG, icon, metafile).
//
// A graphic reads itself from the bytes of its own file format and writes them back; a stream
// is read from its position to its end. Draw paints it stretched into a rectangle of a canvas.
#pragma once

#include <string>
#include <string_view>

#include "platform/classes/Object.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Graphics.h"

class TCanvas;
class TStream;

class TGraphic : public TPersistent {
  VORENTA_CLASS(TGraphic, TPersistent)
public:
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual int Height() const = 0;
  virtual void SetHeight(int Value) = 0;
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return FModified; }
  void SetModified(bool Value);

  virtual void Draw(TCanvas* Canvas, const TRect& Rect) = 0;

  // Raises EInvalidGraphic when the bytes are not a picture of this kind.
  virtual void LoadFromBytes(std::string_view Data) = 0;
  virtual std::string SaveToBytes() const = 0;
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream) const;
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName) const;

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

protected:
  virtual void Changed();

private:
  bool FTransparent = false;
  bool FModified = false;
  TNotifyEvent FOnChange;
};
