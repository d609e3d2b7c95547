// DBGridZkImpExpScreenTest.cpp - the grid's copy and paste through a real X clipboard: xclip
// lists the formats and reads the CSV and RTF bytes (without the terminator), and text xclip
// offers is pasted into the grid.
//
// Runs only on the xcb platform:
//   QT_QPA_PLATFORM=xcb xvfb-run -a vorenta_grid_tests --gtest_filter=DBGridExchangeScreen.*
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "gridlib/grid/DBGridZkImpExp.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/classes/Streams.h"
#include "platform/controls/Clipboard.h"
#include "platform/db/Fields.h"
#include "platform/rtl/CodePage.h"

extern char** environ;

namespace {

void Pump(int Rounds = 10) {
  for (int I = 0; I < Rounds; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// Starts a command line with its standard output on a pipe (or from a file); returns its id.
pid_t Start(const std::string& CommandLine, int* Output, const std::string& Input = {}) {
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  int Pipe[2] = {-1, -1};
  if (Output) {
    if (pipe(Pipe) != 0) return -1;
    posix_spawn_file_actions_adddup2(&Actions, Pipe[1], 1);
    posix_spawn_file_actions_addclose(&Actions, Pipe[0]);
  }
  if (!Input.empty()) posix_spawn_file_actions_addopen(&Actions, 0, Input.c_str(), O_RDONLY, 0);
  const char* Argv[] = {"/bin/sh", "-c", CommandLine.c_str(), nullptr};
  pid_t Pid = -1;
  posix_spawn(&Pid, "/bin/sh", &Actions, nullptr, const_cast<char**>(Argv), environ);
  posix_spawn_file_actions_destroy(&Actions);
  if (Output) {
    close(Pipe[1]);
    fcntl(Pipe[0], F_SETFL, O_NONBLOCK);
    *Output = Pipe[0];
  }
  return Pid;
}

// Runs an xclip reading from the clipboard while this program keeps answering the X server
// (it owns the clipboard, so it must serve the request).
std::string ReadWithXclip(const std::string& Args) {
  int Fd = -1;
  const pid_t Pid = Start("exec xclip -selection clipboard " + Args + " -o", &Fd);
  std::string Out;
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < Deadline) {
    Application->ProcessMessages();
    char Buffer[4096];
    const ssize_t N = read(Fd, Buffer, sizeof Buffer);
    if (N > 0) Out.append(Buffer, static_cast<std::size_t>(N));
    else if (N == 0) break;
    else std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  close(Fd);
  int Status = 0;
  if (waitpid(Pid, &Status, WNOHANG) == 0) {
    kill(Pid, SIGTERM);
    waitpid(Pid, &Status, 0);
  }
  return Out;
}

TEST(DBGridExchangeScreen, CopyAndPasteThroughTheXClipboard) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  InitControls();
  Application->Initialize();
  TDBGridOnForm F(3, 400, 200);
  F.Grid->Columns()->Clear();
  for (const char16_t* N : {u"ID", u"NAME", u"QTY"}) F.Grid->Columns()->Add()->SetFieldName(N);
  Pump();

  CopyGridSelectionToClipboard(F.Grid, true);
  Pump();
  const std::string Targets = ReadWithXclip("-t TARGETS");
  for (const char* T : {"text/csv", "text/rtf", "application/x-vorenta-VCLDBIF",
                        "text/plain;charset=utf-16le", "text/plain;charset=windows-1251"})
    EXPECT_NE(Targets.find(T), std::string::npos) << T << " in\n" << Targets;
  auto Written = [&](TDBGridZkExportClass Class) {
    TMemoryStream S;
    RunGridExporter(Class, F.Grid, &S, true);
    S.SetPosition(0);
    return ReadRestOfStream(&S);
  };
  EXPECT_EQ(ReadWithXclip("-t text/csv"), Written(NewGridExporter<TDBGridZkExportAsCSV>));
  EXPECT_EQ(ReadWithXclip("-t text/rtf"), Written(NewGridExporter<TDBGridZkExportAsRTF>));
  EXPECT_EQ(ReadWithXclip("-t 'text/plain;charset=windows-1251'"),
            Written(NewGridExporter<TDBGridZkExportAsText>));

  // xclip offers UTF-8 text and serves it until it is ended.
  const std::string Offered = "/tmp/vorenta-xclip-" + std::to_string(getpid()) + ".txt";
  std::ofstream(Offered, std::ios::binary) << "7\tиз xclip\t1\r\n8\tвторая\t2";
  const pid_t Xclip = Start("exec xclip -selection clipboard -i -quiet >/dev/null", nullptr, Offered);
  for (int I = 0; I < 100 && Clipboard()->AsText().find(u"xclip") == String::npos; ++I) Pump(1);
  F.Set->First();
  F.Grid->SetCol(F.Grid->IndicatorOffset());
  PasteClipboardIntoGrid(F.Grid, false);
  kill(Xclip, SIGTERM);
  waitpid(Xclip, nullptr, 0);
  std::remove(Offered.c_str());
  F.Set->First();
  EXPECT_EQ(F.Set->FieldByName(u"ID")->AsInteger(), 7);
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"из xclip");
  F.Set->Next();
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"вторая");
}

}  // namespace
