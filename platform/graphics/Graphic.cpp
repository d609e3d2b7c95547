// Graphic.cpp - TGraphic: change notification and the stream and file forms of loading.
#include "platform/graphics/Graphic.h"

#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"

REGISTER_CLASS(TGraphic) {}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::SetModified(bool Value) {
  if (Value) Changed();
  else FModified = false;
}

void TGraphic::Changed() {
  FModified = true;
  if (FOnChange) FOnChange(this);
}

void TGraphic::LoadFromStream(TStream* Stream) { LoadFromBytes(ReadRestOfStream(Stream)); }

void TGraphic::SaveToStream(TStream* Stream) const {
  const std::string Data = SaveToBytes();
  if (!Data.empty()) Stream->WriteBuffer(Data.data(), Int64(Data.size()));
}

void TGraphic::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TGraphic::SaveToFile(const String& FileName) const {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}
