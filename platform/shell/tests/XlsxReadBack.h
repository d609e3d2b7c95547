// XlsxReadBack.h - for tests: reading a saved workbook back with openpyxl.
//
// The script runs with the system's python3 (the one Debian's python3-openpyxl serves) and
// gets `wb` (the workbook) and `ws` (its first sheet); what it prints comes back as text.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/rtl/tests/CommandOutput.h"

namespace xlsxtest {

inline const char* Python() { return "/usr/bin/python3"; }

// True when openpyxl can be imported.
inline bool HaveOpenpyxl() {
  std::string Cmd = std::string(Python()) + " -c 'import openpyxl' 2>/dev/null";
  return std::system(Cmd.c_str()) == 0;
}

// Runs Script over the workbook at Path and returns its standard output.
inline std::string ReadBack(const std::string& Path, const std::string& Script) {
  namespace fs = std::filesystem;
  const fs::path Py = fs::temp_directory_path() /
                      ("vorenta-readback-" + std::to_string(::getpid()) + ".py");
  {
    std::ofstream F(Py);
    F << "import sys, openpyxl\nwb = openpyxl.load_workbook(sys.argv[1])\nws = wb.worksheets[0]\n"
      << Script << "\n";
  }
  std::string Cmd = std::string(Python()) + " " + Py.string() + " '" + Path + "' 2>&1";
  const std::string Out = CommandOutput(Cmd);
  fs::remove(Py);
  return Out;
}

}  // namespace xlsxtest
