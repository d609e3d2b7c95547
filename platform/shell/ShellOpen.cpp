// ShellOpen.cpp - opening a file or an address through xdg-open, started with posix_spawn.
#include "platform/shell/ShellOpen.h"

#include <spawn.h>
#include <sys/wait.h>

#include <string>

#include "platform/rtl/SysUtils.h"

extern char** environ;

namespace {

TShellOpener& Replacement() {
  static TShellOpener Opener;
  return Opener;
}

// A short-lived shell starts xdg-open in the background and exits, so the opener is not waited
// for and leaves no child behind; the shell's status tells whether xdg-open exists.
bool SpawnXdgOpen(const String& Target) {
  std::string Arg = StringToUtf8(Target);
  char Shell[] = "/bin/sh", Dash[] = "-c", Name[] = "sh";
  char Script[] = "command -v xdg-open >/dev/null || exit 127; xdg-open \"$1\" >/dev/null 2>&1 &";
  char* Argv[] = {Shell, Dash, Script, Name, Arg.data(), nullptr};
  pid_t Pid = 0;
  if (posix_spawn(&Pid, Shell, nullptr, nullptr, Argv, environ) != 0) return false;
  int Status = 0;
  if (waitpid(Pid, &Status, 0) != Pid) return false;
  return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}

}  // namespace

bool ShellOpen(const String& Target) {
  if (Replacement()) return Replacement()(Target);
  return SpawnXdgOpen(Target);
}

TShellOpener SetShellOpenerForTests(TShellOpener Opener) {
  TShellOpener Previous = std::move(Replacement());
  Replacement() = std::move(Opener);
  return Previous;
}
