// AppWindowBench.cpp - the program's start-up to the main window's first paint, on the sample
// database and on a generated catalogue of 50,000 colours: the median of 10 starts each, beside
// the floor (QtTableFloor: a QTableView over a QSqlQueryModel on the same rows, all fetched).
//
// Needs a display (run under xvfb-run) and the program and its database maker, built in the
// same build folder (VORENTA_PROGRAM_DIR). Goals: 0.5 s on the sample, 1.5 s on 50,000 colours,
// and within twice the floor.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Seconds from the program's start to its "painted" line; the program is then stopped.
double StartOnce(const std::string& Program, const fs::path& Dir, const char* Argument = nullptr) {
  int Pipe[2];
  if (pipe(Pipe) != 0) return -1;
  const auto Start = std::chrono::steady_clock::now();
  const pid_t Child = fork();
  if (Child == 0) {
    dup2(Pipe[1], STDOUT_FILENO);
    close(Pipe[0]);
    fs::current_path(Dir);
    setenv("VORENTA_STARTUP_PROBE", "1", 1);
    execl(Program.c_str(), Program.c_str(), Argument, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(Pipe[1]);
  std::string Line;
  char C;
  while (read(Pipe[0], &C, 1) == 1 && C != '\n') Line += C;
  const double Seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  close(Pipe[0]);
  kill(Child, SIGTERM);
  waitpid(Child, nullptr, 0);
  return Line.find("painted") == std::string::npos ? -1 : Seconds;
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

}  // namespace

int main() {
  const fs::path Bin = VORENTA_PROGRAM_DIR;
  const fs::path Work = fs::temp_directory_path() / "vorenta_window_bench";
  struct TCase {
    const char* Name;
    const char* Colours;
    double Goal;
  };
  const TCase Cases[] = {{"sample", nullptr, 0.5}, {"50000 colours", "50000", 1.5}};
  for (const TCase& Case : Cases) {
    fs::remove_all(Work);
    fs::create_directories(Work);
    std::string Make = (Bin / "vorenta-makedb").string();
    if (Case.Colours) Make += std::string(" --colours ") + Case.Colours;
    Make += " " + (Work / "DATA/vorenta.data").string() + " >/dev/null";
    if (std::system(Make.c_str()) != 0) return 1;
    const std::string Database = (Work / "DATA/vorenta.data").string();
    std::vector<double> Times, Floor;
    for (int I = 0; I < 10; ++I) {
      const double T = StartOnce((Bin / "vorenta").string(), Work);
      const double F = StartOnce(VORENTA_FLOOR_PROGRAM, Work, Database.c_str());
      if (T < 0 || F < 0) {
        std::fprintf(stderr, "%s did not paint its window\n", T < 0 ? "the program" : "the floor");
        return 1;
      }
      Times.push_back(T);
      Floor.push_back(F);
    }
    const double Ours = Median(Times), Qt = Median(Floor);
    std::printf("%-14s median %.3f s (goal %.1f s), QTableView floor %.3f s, ratio %.2f (goal 2)\n",
                Case.Name, Ours, Case.Goal, Qt, Ours / Qt);
  }
  fs::remove_all(Work);
  return 0;
}
