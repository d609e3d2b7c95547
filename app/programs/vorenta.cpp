// vorenta.cpp - the program entry: starts the libraries, creates the seven windows and runs the
// message loop until the main window closes.
//
// An exception that escapes is shown by the application's exception display (any other thrown
// object as an exception with an empty message) and the program ends with 1. Without a display
// there is nobody to show it to: the message goes to the standard error.
#include <cstdio>
#include <cstdlib>

#include "app/AppMessageBoxes.h"
#include "app/AppStartup.h"
#include "app/SA_Main.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/Exceptions.h"

namespace {

int Fail(const Exception& E) {
  std::fprintf(stderr, "vorenta: %s\n", StringToUtf8(E.Message()).c_str());
  if (Application && !dynamic_cast<const EOSError*>(&E)) Application->ShowException(E);
  return 1;
}

// For the start-up benchmark (VORENTA_STARTUP_PROBE=1): one line once the main window has
// painted for the first time.
void PrintStartupProbe() {
  if (!std::getenv("VORENTA_STARTUP_PROBE")) return;
  SAMAIN->SetOnPaint([](TObject*) {
    std::printf("vorenta: main window painted\n");
    std::fflush(stdout);
    SAMAIN->SetOnPaint(nullptr);
  });
}

}  // namespace

int main() {
  int Code = 0;
  try {
    AppStartup();
    Application->Initialize();
    Application->SetTitle(u"V o r e n t a");
    UsePlatformMessageBoxes();
    CreateAppWindows();
    PrintStartupProbe();
    Application->Run();
  } catch (const Exception& E) {
    Code = Fail(E);
  } catch (...) {
    Code = Fail(Exception(String()));
  }
  DestroyAppWindows();
  AppShutdown();
  return Code;
}
