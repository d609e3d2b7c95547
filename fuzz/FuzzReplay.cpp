// FuzzReplay.cpp - runs a fuzz target over the files of its corpus without libFuzzer.
//
// Linked with one target's source into <target>_replay, which the ordinary test suite runs on
// fuzz/corpus/<target>/: every seed and every regression input is fed once, so a build with
// any compiler catches a parser that crashes, hangs or lets a foreign exception out again.
// Arguments are files or folders (a folder's files in name order). On a crash or an escaping
// exception the file being run is named before the process ends.
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace {

namespace fs = std::filesystem;

char CurrentFile[4096] = "";

void SayCurrentFile(const char* What) {
  // Only async-signal-safe calls: this also runs inside a signal handler.
  auto Put = [](const char* S) { (void)!write(2, S, std::strlen(S)); };
  Put("\nfuzz replay: ");
  Put(What);
  Put(" while running ");
  Put(CurrentFile);
  Put("\n");
}

void OnFatalSignal(int Signal) {
  SayCurrentFile(Signal == SIGSEGV ? "segmentation fault (stack overflow?)" : "fatal signal");
  std::signal(Signal, SIG_DFL);
  std::raise(Signal);
}

void InstallHandlers() {
  // The handler needs its own stack: a stack overflow leaves none on the ordinary one.
  static std::vector<char> AltStack(1 << 16);
  stack_t Ss{};
  Ss.ss_sp = AltStack.data();
  Ss.ss_size = AltStack.size();
  sigaltstack(&Ss, nullptr);
  struct sigaction Sa {};
  Sa.sa_handler = OnFatalSignal;
  Sa.sa_flags = SA_ONSTACK;
  // A sanitizer that installed its own handler reports better than we do: keep it.
  for (int Signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
    struct sigaction Old {};
    sigaction(Signal, nullptr, &Old);
    if (Old.sa_handler == SIG_DFL) sigaction(Signal, &Sa, nullptr);
  }
  std::set_terminate([] {
    SayCurrentFile("an exception that is not the project's escaped");
    std::abort();
  });
}

std::vector<fs::path> InputFiles(int argc, char** argv) {
  std::vector<fs::path> Files;
  for (int i = 1; i < argc; ++i) {
    fs::path Arg(argv[i]);
    if (!fs::is_directory(Arg)) {
      Files.push_back(Arg);
      continue;
    }
    std::vector<fs::path> InFolder;
    for (const auto& Entry : fs::directory_iterator(Arg))
      if (Entry.is_regular_file()) InFolder.push_back(Entry.path());
    std::sort(InFolder.begin(), InFolder.end());
    Files.insert(Files.end(), InFolder.begin(), InFolder.end());
  }
  return Files;
}

}  // namespace

int main(int argc, char** argv) {
  InstallHandlers();
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<fs::path> Files = InputFiles(argc, argv);
  if (Files.empty()) {
    std::fprintf(stderr, "fuzz replay: no input files\n");
    return 1;
  }
  for (const fs::path& File : Files) {
    std::snprintf(CurrentFile, sizeof CurrentFile, "%s", File.c_str());
    std::ifstream In(File, std::ios::binary);
    if (!In) {
      std::fprintf(stderr, "fuzz replay: cannot read %s\n", File.c_str());
      return 1;
    }
    std::vector<std::uint8_t> Bytes((std::istreambuf_iterator<char>(In)),
                                    std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(Bytes.data(), Bytes.size());
  }
  std::printf("fuzz replay: %zu inputs ran cleanly\n", Files.size());
  return 0;
}
