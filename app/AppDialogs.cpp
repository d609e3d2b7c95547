// AppDialogs.cpp - the application's message boxes routed to the installed handler.
#include "app/AppDialogs.h"

#include <utility>

namespace {

TAppBoxHandler& Handler() {
  static TAppBoxHandler Current;
  return Current;
}

bool Show(TAppBoxKind Kind, const String& Text, const String& Caption) {
  return Handler() ? Handler()(Kind, Text, Caption) : false;
}

}  // namespace

bool AskYesNo(const String& Text, const String& Caption) {
  return Show(TAppBoxKind::Question, Text, Caption);
}

void ShowNotice(const String& Text, const String& Caption) {
  Show(TAppBoxKind::Notice, Text, Caption);
}

void ShowSystemError(const String& Text, const String& Caption) {
  Show(TAppBoxKind::SystemError, Text, Caption);
}

void ShowAppError(const String& Text) { Show(TAppBoxKind::Error, Text, String()); }

TAppBoxHandler SetAppBoxHandler(TAppBoxHandler NewHandler) {
  return std::exchange(Handler(), std::move(NewHandler));
}
