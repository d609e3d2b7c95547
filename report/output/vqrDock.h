// vqrDock.h - TvqrTBPanel: a borderless panel of a tool bar, a spacer or the holder of an
// edit or combo box. Placed on a panel whose own parent is aligned left or right, it aligns to
// the top, else to the left.
#pragma once

#include "platform/controls/ExtCtrls.h"

class TvqrTBPanel : public TPanel {
  VORENTA_CLASS(TvqrTBPanel, TPanel)
public:
  explicit TvqrTBPanel(TComponent* AOwner);
  void SetParent(TWinControl* AParent) override;
};
