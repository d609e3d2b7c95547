// ShellOpen.h - opening a file or an address with the desktop's handler for it.
#pragma once

#include <functional>

#include "platform/rtl/Types.h"

// Starts the desktop's opener (xdg-open) for Target without waiting for it; false when the
// opener could not be started.
bool ShellOpen(const String& Target);

// for tests
// Replaces the opener (nullptr restores xdg-open); returns the previous replacement.
using TShellOpener = std::function<bool(const String& Target)>;
TShellOpener SetShellOpenerForTests(TShellOpener Opener);
