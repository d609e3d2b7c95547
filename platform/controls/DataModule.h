// DataModule.h - TDataModule: a container of non-visual components (datasets, dialogs,
// timers) that owns them as a form does, without a window.
#pragma once

#include "platform/classes/Component.h"

class TDataModule : public TComponent {
  VORENTA_CLASS(TDataModule, TComponent)
public:
  explicit TDataModule(TComponent* AOwner) : TComponent(AOwner) {}
};
