// vqrDock.cpp - the tool-bar panel.
#include "report/output/vqrDock.h"

#include "platform/classes/TypeRegistry.h"

REGISTER_CLASS(TvqrTBPanel) {}

TvqrTBPanel::TvqrTBPanel(TComponent* AOwner) : TPanel(AOwner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 8, 8);
  SetBevelInner(bvNone);
  SetBevelOuter(bvNone);
  SetControlStyle(ControlStyle() - TControlStyle{csParentBackground} + TControlStyle{csOpaque});
}

void TvqrTBPanel::SetParent(TWinControl* AParent) {
  TPanel::SetParent(AParent);
  if (ComponentState().Contains(csDestroying)) return;
  if (auto* P = dynamic_cast<TPanel*>(AParent)) {
    const TWinControl* Outer = P->Parent();
    const bool Side = Outer && (Outer->Align() == alLeft || Outer->Align() == alRight);
    SetAlign(Side ? alTop : alLeft);
  }
}
