// PaintBox.cpp - the paint box.
#include "platform/controls/PaintBox.h"

#include "platform/classes/TypeRegistry.h"

REGISTER_CLASS(TPaintBox) {}

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  Canvas()->Font()->Assign(Font());
  Canvas()->Brush()->SetColor(Color());
  if (FOnPaint) FOnPaint(this);
}
