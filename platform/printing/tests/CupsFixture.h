// CupsFixture.h - a private print server for tests: cupsd started as a child in a temporary
// folder (its own socket, spool, logs and state), with one queue "vorenta-test" writing each
// job to <folder>/out.pdf through a PPD that declares A4, A5 and Letter, three input slots,
// duplex and 600 dpi and hands the job's PDF through pdftopdf to the file. Header-only so the
// report tests can use it too. Without cupsd or lpadmin, Start() reports why and tests skip.
#pragma once

#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/rtl/tests/CommandOutput.h"

extern char** environ;

class TCupsFixture {
public:
  static constexpr const char* Skipped = "CUPS tests skipped: cupsd or lpadmin not installed";
  static constexpr const char* Queue = "vorenta-test";

  ~TCupsFixture() { Stop(); }

  // Empty on success, else the reason (the skip message when the tools are missing).
  std::string Start() {
    const std::string Cupsd = Find("cupsd", {"/usr/sbin/cupsd", "/usr/bin/cupsd"});
    const std::string Lpadmin = Find("lpadmin", {"/usr/sbin/lpadmin", "/usr/bin/lpadmin"});
    if (Cupsd.empty() || Lpadmin.empty()) return Skipped;
    char Template[] = "/tmp/vorenta-cups-XXXXXX";
    if (!mkdtemp(Template)) return "cannot make a temporary folder";
    Dir = Template;
    chmod(Dir.c_str(), 0777);  // a root server's filters and backend run as lp
    for (const char* Sub : {"spool", "spool/tmp", "cache", "state", "ppd"}) {
      std::filesystem::create_directories(Dir + "/" + Sub);
      chmod((Dir + "/" + Sub).c_str(), 0777);
    }
    Socket = Dir + "/cups.sock";
    WriteFiles();
    const std::string Conf = Dir + "/cupsd.conf", Files = Dir + "/cups-files.conf";
    std::vector<std::string> Args{Cupsd, "-f", "-c", Conf, "-s", Files};
    if (!Spawn(Args, Pid)) return "cannot start cupsd";
    for (int I = 0; I < 200 && !std::filesystem::exists(Socket); ++I)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    if (!std::filesystem::exists(Socket)) return "cupsd did not open its socket (see " + Dir + "/error_log)";
    setenv("CUPS_SERVER", Socket.c_str(), 1);
    cupsSetServer(Socket.c_str());
    if (Run({Lpadmin, "-p", Queue, "-E", "-v", "file://" + Dir + "/out.pdf", "-P", Dir + "/test.ppd",
             "-o", "media-default=iso_a4_210x297mm"}) != 0)
      return "lpadmin could not add the test queue";
    return std::string();
  }

  void Stop() {
    if (Pid > 0) {
      kill(Pid, SIGTERM);
      int Status = 0;
      waitpid(Pid, &Status, 0);
      Pid = -1;
    }
    if (!Socket.empty()) {
      cupsSetServer(nullptr);
      unsetenv("CUPS_SERVER");
    }
    if (!Dir.empty()) {
      std::error_code E;
      std::filesystem::remove_all(Dir, E);
      Dir.clear();
    }
  }

  // Runs a CUPS tool of the fixture's server (cupsreject, cupsaccept, ...).
  int Tool(const std::string& Name, const std::vector<std::string>& Args) {
    const std::string Path = Find(Name, {"/usr/sbin/" + Name, "/usr/bin/" + Name});
    if (Path.empty()) return -1;
    std::vector<std::string> All{Path};
    All.insert(All.end(), Args.begin(), Args.end());
    return Run(All);
  }

  // Waits until the server has no job left to do (at most Seconds).
  bool WaitForJobs(int Seconds = 30) {
    for (int I = 0; I < Seconds * 20; ++I) {
      cups_job_t* Jobs = nullptr;
      const int Active = cupsGetJobs2(CUPS_HTTP_DEFAULT, &Jobs, Queue, 0, CUPS_WHICHJOBS_ACTIVE);
      cupsFreeJobs(Active, Jobs);
      if (Active == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  std::string Output() const { return Dir + "/out.pdf"; }

  // The page count qpdf reads from a PDF file; -1 when it cannot.
  static int PdfPages(const std::string& File) {
    const std::string Out = CommandOutput("qpdf --show-npages '" + File + "' 2>/dev/null");
    return Out.empty() ? -1 : std::atoi(Out.c_str());
  }
  const std::string& Folder() const { return Dir; }

private:
  static std::string Find(const std::string& Name, const std::vector<std::string>& Places) {
    for (const std::string& P : Places)
      if (access(P.c_str(), X_OK) == 0) return P;
    (void)Name;
    return std::string();
  }

  static bool Spawn(const std::vector<std::string>& Args, pid_t& Child) {
    std::vector<char*> Argv;
    for (const std::string& A : Args) Argv.push_back(const_cast<char*>(A.c_str()));
    Argv.push_back(nullptr);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
    const int Rc = posix_spawn(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ);
    posix_spawn_file_actions_destroy(&Actions);
    return Rc == 0;
  }

  static int Run(const std::vector<std::string>& Args) {
    pid_t Child = -1;
    if (!Spawn(Args, Child)) return -1;
    int Status = 0;
    waitpid(Child, &Status, 0);
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  }

  void WriteFiles() {
    const bool Root = geteuid() == 0;
    std::ofstream(Dir + "/cupsd.conf")
        << "Listen " << Socket << "\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
        << "LogLevel warn\nMaxLogSize 0\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
        << "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n</Policy>\n";
    std::ofstream Files(Dir + "/cups-files.conf");
    Files << "ServerRoot " << Dir << "\nRequestRoot " << Dir << "/spool\nTempDir " << Dir
          << "/spool/tmp\nCacheDir " << Dir << "/cache\nStateDir " << Dir << "/state\n"
          << "AccessLog " << Dir << "/access_log\nErrorLog " << Dir << "/error_log\nPageLog " << Dir
          << "/page_log\nFileDevice Yes\n";
    if (Root) {
      Files << "User lp\nGroup lp\nSystemGroup root\n";
    } else {
      const std::string User = getenv("USER") ? getenv("USER") : "nobody";
      Files << "User " << User << "\nGroup " << getgid() << "\nSystemGroup " << getgid() << "\n";
    }
    Files.close();
    std::ofstream(Dir + "/test.ppd") << Ppd;
  }

  static constexpr const char* Ppd =
      "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
      "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"VORENTA.PPD\"\n"
      "*Manufacturer: \"Vorenta\"\n*Product: \"(Vorenta Test)\"\n*ModelName: \"Vorenta Test\"\n"
      "*ShortNickName: \"Vorenta Test\"\n*NickName: \"Vorenta Test\"\n*PSVersion: \"(3010.000) 0\"\n"
      "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n*FileSystem: False\n"
      "*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
      "*cupsVersion: 2.4\n*cupsManualCopies: True\n"
      "*cupsFilter2: \"application/vnd.cups-pdf application/pdf 0 -\"\n"
      "*OpenUI *PageSize/Media Size: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n"
      "*DefaultPageSize: A4\n"
      "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
      "*PageSize A5/A5: \"<</PageSize[420 595]>>setpagedevice\"\n"
      "*PageSize Letter/Letter: \"<</PageSize[612 792]>>setpagedevice\"\n*CloseUI: *PageSize\n"
      "*OpenUI *PageRegion: PickOne\n*OrderDependency: 10 AnySetup *PageRegion\n"
      "*DefaultPageRegion: A4\n"
      "*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
      "*PageRegion A5/A5: \"<</PageSize[420 595]>>setpagedevice\"\n"
      "*PageRegion Letter/Letter: \"<</PageSize[612 792]>>setpagedevice\"\n*CloseUI: *PageRegion\n"
      "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"14.17 14.17 580.83 827.83\"\n"
      "*ImageableArea A5/A5: \"14.17 14.17 405.83 580.83\"\n"
      "*ImageableArea Letter/Letter: \"18 18 594 774\"\n"
      "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n"
      "*PaperDimension A5/A5: \"420 595\"\n*PaperDimension Letter/Letter: \"612 792\"\n"
      "*OpenUI *InputSlot/Media Source: PickOne\n*OrderDependency: 10 AnySetup *InputSlot\n"
      "*DefaultInputSlot: Auto\n*InputSlot Auto/Auto: \"\"\n*InputSlot Tray1/Tray 1: \"\"\n"
      "*InputSlot Manual/Manual: \"\"\n*CloseUI: *InputSlot\n"
      "*OpenUI *Duplex/Two-Sided: PickOne\n*OrderDependency: 10 AnySetup *Duplex\n"
      "*DefaultDuplex: None\n*Duplex None/Off: \"\"\n*Duplex DuplexNoTumble/Long Edge: \"\"\n"
      "*Duplex DuplexTumble/Short Edge: \"\"\n*CloseUI: *Duplex\n"
      "*OpenUI *Resolution/Resolution: PickOne\n*OrderDependency: 10 AnySetup *Resolution\n"
      "*DefaultResolution: 600dpi\n*Resolution 600dpi/600 DPI: \"\"\n*CloseUI: *Resolution\n";

  std::string Dir, Socket;
  pid_t Pid = -1;
};
