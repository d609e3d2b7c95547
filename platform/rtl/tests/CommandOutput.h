// CommandOutput.h - runs a shell command line for a test or benchmark that reads a file back with
// an outside tool (qpdf, pdftotext, pdfinfo, python3), and gives what it wrote to its standard
// output.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

// ExitCode, when asked for, is the command's exit status, or -1 when it did not run or did not
// end by itself.
inline std::string CommandOutput(const std::string& CommandLine, int* ExitCode = nullptr) {
  std::string Out;
  FILE* Pipe = popen(CommandLine.c_str(), "r");
  if (Pipe) {
    char Buffer[4096];
    std::size_t N;
    while ((N = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0) Out.append(Buffer, N);
  }
  const int Status = Pipe ? pclose(Pipe) : -1;
  if (ExitCode) *ExitCode = Status != -1 && WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  return Out;
}
