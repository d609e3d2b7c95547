// Graphics.cpp - TFont, TPen and TBrush.
#include "platform/graphics/Graphics.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Math.h"

namespace {

// The character sets' names in component streams.
const TIdentMapEntry kCharsets[] = {
    {0, u"ANSI_CHARSET"},        {1, u"DEFAULT_CHARSET"},     {2, u"SYMBOL_CHARSET"},
    {77, u"MAC_CHARSET"},        {128, u"SHIFTJIS_CHARSET"},  {129, u"HANGEUL_CHARSET"},
    {130, u"JOHAB_CHARSET"},     {134, u"GB2312_CHARSET"},    {136, u"CHINESEBIG5_CHARSET"},
    {161, u"GREEK_CHARSET"},     {162, u"TURKISH_CHARSET"},   {163, u"VIETNAMESE_CHARSET"},
    {177, u"HEBREW_CHARSET"},    {178, u"ARABIC_CHARSET"},    {186, u"BALTIC_CHARSET"},
    {204, u"RUSSIAN_CHARSET"},   {222, u"THAI_CHARSET"},      {238, u"EASTEUROPE_CHARSET"},
    {255, u"OEM_CHARSET"}};

}  // namespace

REGISTER_CLASS(TGraphicsObject) {}

void TGraphicsObject::Changed() {
  if (FOnChange) FOnChange(this);
}

REGISTER_CLASS(TFont) {
  Class.Property("Charset", &TFont::Charset, &TFont::SetCharset, TFontCharset(DEFAULT_CHARSET))
      .Idents(kCharsets)
      .Property("Color", &TFont::Color, &TFont::SetColor, clWindowText)
      .Idents(ColorIdents())
      .Property("Height", &TFont::Height, &TFont::SetHeight)
      .Property("Name", &TFont::Name, &TFont::SetName)
      .Property("Orientation", &TFont::Orientation, &TFont::SetOrientation, 0)
      .Property("Pitch", &TFont::Pitch, &TFont::SetPitch, fpDefault)
      .Property("Size", &TFont::Size, &TFont::SetSize)
      .Property("Style", &TFont::Style, &TFont::SetStyle, TFontStyles());
}

TFont::TFont() = default;

void TFont::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TFont*>(Source);
  if (!Other) return inherited::Assign(Source);
  FName = Other->FName;
  FHeight = MulDiv(Other->FHeight, FPixelsPerInch, Other->FPixelsPerInch);
  FStyle = Other->FStyle;
  FColor = Other->FColor;
  FCharset = Other->FCharset;
  FPitch = Other->FPitch;
  FOrientation = Other->FOrientation;
  Changed();
}

void TFont::SetName(const String& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }

void TFont::SetPixelsPerInch(int Value) {
  if (Value <= 0 || Value == FPixelsPerInch) return;
  const int Points = Size();
  FPixelsPerInch = Value;
  FHeight = -MulDiv(Points, FPixelsPerInch, 72);
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Changed();
}

void TFont::SetOrientation(int Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Changed();
}

REGISTER_CLASS(TPen) {
  Class.Property("Color", &TPen::Color, &TPen::SetColor, clBlack)
      .Idents(ColorIdents())
      .Property("Mode", &TPen::Mode, &TPen::SetMode, pmCopy)
      .Property("Style", &TPen::Style, &TPen::SetStyle, psSolid)
      .Property("Width", &TPen::Width, &TPen::SetWidth, 1);
}

void TPen::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TPen*>(Source);
  if (!Other) return inherited::Assign(Source);
  FColor = Other->FColor;
  FWidth = Other->FWidth;
  FStyle = Other->FStyle;
  FMode = Other->FMode;
  Changed();
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  Changed();
}

REGISTER_CLASS(TBrush) {
  Class.Property("Color", &TBrush::Color, &TBrush::SetColor, clWhite)
      .Idents(ColorIdents())
      .Property("Style", &TBrush::Style, &TBrush::SetStyle, bsSolid);
}

void TBrush::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TBrush*>(Source);
  if (!Other) return inherited::Assign(Source);
  FColor = Other->FColor;
  FStyle = Other->FStyle;
  Changed();
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && !(Value != clNone && FStyle == bsClear)) return;
  FColor = Value;
  if (Value == clNone) FStyle = bsClear;
  else if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void RegisterGraphicsClasses() {
  RegisterClasses({TFont::ClassInfo(), TPen::ClassInfo(), TBrush::ClassInfo()});
}
