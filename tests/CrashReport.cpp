// CrashReport.cpp - linked into every test program: a test that dies of a fatal signal names
// itself and prints the call stack before the process ends, so a rare crash in a CI run can be
// found from its log alone.
#include <csignal>
#include <cstdio>
#include <cstring>

#include <execinfo.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

char CurrentTest[512] = "(no test started)";

void Put(const char* S) { (void)!write(2, S, std::strlen(S)); }

void OnFatalSignal(int Signal) {
  // Only async-signal-safe calls besides backtrace, whose first call may allocate: it was
  // warmed up when the handler was installed.
  Put("\n*** fatal signal ");
  Put(strsignal(Signal));
  Put(" in test ");
  Put(CurrentTest);
  Put("; call stack:\n");
  void* Frames[64];
  backtrace_symbols_fd(Frames, backtrace(Frames, 64), 2);
  std::signal(Signal, SIG_DFL);
  std::raise(Signal);
}

class TNameKeeper : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo& Info) override {
    std::snprintf(CurrentTest, sizeof CurrentTest, "%s.%s", Info.test_suite_name(), Info.name());
  }
  void OnTestEnd(const testing::TestInfo& Info) override {
    std::snprintf(CurrentTest, sizeof CurrentTest, "(after %s.%s ended)", Info.test_suite_name(),
                  Info.name());
  }
};

struct TInstaller {
  TInstaller() {
    void* Warm[1];
    backtrace(Warm, 1);
    static char AltStack[1 << 16];
    stack_t Ss{};
    Ss.ss_sp = AltStack;
    Ss.ss_size = sizeof AltStack;
    sigaltstack(&Ss, nullptr);
    struct sigaction Sa {};
    Sa.sa_handler = OnFatalSignal;
    Sa.sa_flags = SA_ONSTACK;
    // A sanitizer that installed its own handler reports better: keep it.
    for (int Signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
      struct sigaction Old {};
      sigaction(Signal, nullptr, &Old);
      if (Old.sa_handler == SIG_DFL) sigaction(Signal, &Sa, nullptr);
    }
    testing::UnitTest::GetInstance()->listeners().Append(new TNameKeeper);
  }
};

// Runs before the other static constructors, so a crash while they run is reported too.
__attribute__((init_priority(101))) TInstaller Installer;

}  // namespace
