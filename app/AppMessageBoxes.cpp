// AppMessageBoxes.cpp - the application's boxes as platform message boxes.
#include "app/AppMessageBoxes.h"

#include "platform/controls/Dialogs.h"

namespace {

unsigned BoxFlags(TAppBoxKind Kind) {
  switch (Kind) {
    case TAppBoxKind::Question: return MB_YESNO | MB_ICONQUESTION;
    case TAppBoxKind::Notice: return MB_OK;
    case TAppBoxKind::SystemError:
    case TAppBoxKind::Error: return MB_OK | MB_ICONEXCLAMATION;
  }
  return MB_OK;
}

}  // namespace

bool ShowPlatformBox(TAppBoxKind Kind, const String& Text, const String& Caption) {
  return MessageBox(nullptr, Text, Caption, BoxFlags(Kind)) == IDYES;
}

void UsePlatformMessageBoxes() { SetAppBoxHandler(ShowPlatformBox); }
