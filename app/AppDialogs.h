// AppDialogs.h - the application's message boxes: questions, notices and the start-up box.
//
// Every box goes through one replaceable handler so that the data module's operations run
// without windows: the program installs a handler that shows the platform's modal message box,
// tests install one that records the boxes and answers the questions. Without a handler a
// question is answered No and a notice is dropped (a program without windows has nobody to
// ask).
#pragma once

#include <functional>

#include "platform/rtl/Types.h"

enum class TAppBoxKind {
  Question,     // Yes and No buttons, question icon
  Notice,       // OK button, no icon
  SystemError,  // system box without owner, exclamation icon, OK button
  Error         // the application's error display
};

// Shows one box; returns true when a question was answered Yes.
using TAppBoxHandler =
    std::function<bool(TAppBoxKind Kind, const String& Text, const String& Caption)>;

// The application's Yes/No question; true when Yes was pressed.
bool AskYesNo(const String& Text, const String& Caption);
// The application's notice with an OK button.
void ShowNotice(const String& Text, const String& Caption);
// The system's message box without an owner window (the connection failure at start-up).
void ShowSystemError(const String& Text, const String& Caption);
// The application's display of an error that an operation reports itself.
void ShowAppError(const String& Text);

// Installs the handler every box goes through; returns the previous one.
TAppBoxHandler SetAppBoxHandler(TAppBoxHandler Handler);
