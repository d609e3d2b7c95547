// AppMessageBoxes.h - the application's boxes shown through the platform's message-box service.
//
// The program installs this handler at start-up; AppDialogs stays free of windows so that the
// data module's tests need none.
#pragma once

#include "app/AppDialogs.h"

// Shows one box through MessageBox: a question with Yes/No and the question icon, a notice with
// OK and no icon, the system box and the error display with OK and the exclamation icon.
bool ShowPlatformBox(TAppBoxKind Kind, const String& Text, const String& Caption);

// Routes every application box to ShowPlatformBox.
void UsePlatformMessageBoxes();
