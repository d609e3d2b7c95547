// CloseUpOwnerZk.h - what the owner of a drop-down offers it: the drop-down asks its owner to
// close it, taking (Accept) or discarding the choice; the owner hides the drop-down.
#pragma once

class ICloseUpOwnerZk {
public:
  virtual ~ICloseUpOwnerZk() = default;
  virtual void CloseUp(bool Accept) = 0;
};
