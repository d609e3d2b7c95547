// StdCtrlsCommon.cpp - the helpers the standard controls share: clipboard text,
// accelerators, and the registration of the unit's classes.
#include "platform/controls/StdCtrls_p.h"

#include <cstdlib>
#include <vector>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/Controls_p.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

String ClipboardText() { return Clipboard()->AsText(); }

void SetClipboardText(const String& Value) { Clipboard()->SetAsText(Value); }

int CharIndexAtX(TCanvas* Canvas, const String& Text, int X) {
  std::vector<int> Extents;
  GetTextExtentExPoint(Canvas, Text, 0, nullptr, &Extents);
  int Best = 0, BestDistance = std::abs(X);
  for (size_t I = 0; I < Extents.size(); ++I) {
    // Never between the two halves of a surrogate pair.
    if (I + 1 < Text.size() && Text[I] >= 0xD800 && Text[I] < 0xDC00 && Text[I + 1] >= 0xDC00 &&
        Text[I + 1] < 0xE000)
      continue;
    const int D = std::abs(Extents[I] - X);
    if (D < BestDistance) {
      Best = int(I + 1);
      BestDistance = D;
    }
  }
  return Best;
}

namespace {
// The accelerator character of a caption ("&Ok" -> 'O'), or 0.
Char AccelCharOf(const String& Caption) {
  for (size_t I = 0; I + 1 < Caption.size(); ++I) {
    if (Caption[I] != u'&') continue;
    if (Caption[I + 1] == u'&') {
      ++I;
      continue;
    }
    return Caption[I + 1];
  }
  return 0;
}
}  // namespace

bool IsAccel(Char C, const String& Caption) {
  const Char A = AccelCharOf(Caption);
  return A && AnsiUpperCase(String(1, A)) == AnsiUpperCase(String(1, C));
}

void RegisterStdCtrlsClasses() {
  RegisterClasses({TEdit::ClassInfo(), TButton::ClassInfo(), TCheckBox::ClassInfo(),
                   TRadioButton::ClassInfo(), TLabel::ClassInfo(), TStaticText::ClassInfo(),
                   TGroupBox::ClassInfo(), TListBox::ClassInfo(), TComboBox::ClassInfo()});
}

void PaintGroupFrame(TCanvas* C, const TRect& ClientRect, const String& Caption, TColor Color,
                     bool Enabled) {
  const int H = C->TextHeight(u"0");
  TRect R = ClientRect;
  C->Brush()->SetColor(Color);
  C->FillRect(R);
  R.Top += H / 2;
  DrawEdge(C, R, EDGE_ETCHED, BF_RECT);
  if (Caption.empty()) return;
  TRect T = Rect(0, 0, 0, H);
  DrawText(C, Caption, T, DT_SINGLELINE | DT_CALCRECT);
  OffsetRect(T, 8, 0);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  if (!Enabled) C->Font()->SetColor(clGrayText);
  DrawText(C, Caption, T, DT_SINGLELINE);
}
