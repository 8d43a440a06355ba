// Measures whole runs of a program and processes that wait:
//   measure run N -- COMMAND...   wall time and peak resident memory of N runs
//   measure idle SECONDS PID      processor time PID uses over SECONDS
//   measure rss PID               peak resident memory of PID so far
//   measure compare N -- BASE... -- COMMAND...
//                                 N runs of each, in turn: median wall and
//                                 processor time, and COMMAND's as a multiple of BASE's
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: measure run N -- COMMAND... | measure idle SECONDS PID | measure rss PID |\n"
               "       measure compare N -- BASE... -- COMMAND...\n");
  return 2;
}

int runMany(int count, char** command) {
  std::vector<double> times;
  long peakKb = 0;
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      execvp(command[0], command);
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    peakKb = std::max(peakKb, usage.ru_maxrss);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "measure: run %d ended with status %d\n", i + 1, status);
      return 1;
    }
  }
  std::sort(times.begin(), times.end());
  double sum = 0;
  for (double t : times) sum += t;
  std::printf("runs %d  wall ms: min %.2f  median %.2f  mean %.2f  peak RSS %.1f MB\n", count,
              times.front(), times[times.size() / 2], sum / count, peakKb / 1024.0);
  return 0;
}

double cpuSeconds(const std::string& pid) {
  std::ifstream in("/proc/" + pid + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) {
      stime = std::stoull(field);
      break;
    }
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

int idle(double seconds, const std::string& pid) {
  const double before = cpuSeconds(pid);
  if (before < 0) return usage();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const double after = cpuSeconds(pid);
  std::printf("cpu over %.0f s: %.3f s = %.2f%% of one core\n", seconds, after - before,
              100.0 * (after - before) / seconds);
  return 0;
}

// One whole run of a command with its output thrown away: wall and processor
// milliseconds; negative when it failed.
std::pair<double, double> timeOneRun(char** command) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    execvp(command[0], command);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const double cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {-1, -1};
  return {wall, cpu};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Runs taken in turn share whatever else the machine is doing.
int compare(int count, char** base, char** command) {
  std::vector<double> baseWall, baseCpu, wall, cpu;
  for (int i = 0; i < count; ++i) {
    const auto [bw, bc] = timeOneRun(base);
    const auto [w, c] = timeOneRun(command);
    if (bw < 0 || w < 0) {
      std::fprintf(stderr, "measure: run %d failed\n", i + 1);
      return 1;
    }
    baseWall.push_back(bw);
    baseCpu.push_back(bc);
    wall.push_back(w);
    cpu.push_back(c);
  }
  std::printf(
      "runs %d  median wall ms %.2f (base %.2f) = %.2f x  median cpu ms %.2f (base %.2f) = %.2f "
      "x\n",
      count, median(wall), median(baseWall), median(wall) / median(baseWall), median(cpu),
      median(baseCpu), median(cpu) / std::max(median(baseCpu), 1e-3));
  return 0;
}

int rss(const std::string& pid) {
  std::ifstream in("/proc/" + pid + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("VmHWM:", 0) == 0) {
      std::printf("peak RSS: %.1f MB\n", std::atof(line.c_str() + 6) / 1024.0);
      return 0;
    }
  }
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 5 && std::strcmp(argv[1], "run") == 0 && std::strcmp(argv[3], "--") == 0) {
    return runMany(std::atoi(argv[2]), argv + 4);
  }
  if (argc >= 6 && std::strcmp(argv[1], "compare") == 0 && std::strcmp(argv[3], "--") == 0) {
    char** base = argv + 4;
    char** command =
        std::find_if(base, argv + argc, [](const char* a) { return std::strcmp(a, "--") == 0; });
    if (command == base || command + 1 >= argv + argc) return usage();
    *command++ = nullptr;
    return compare(std::atoi(argv[2]), base, command);
  }
  if (argc == 4 && std::strcmp(argv[1], "idle") == 0) return idle(std::atof(argv[2]), argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "rss") == 0) return rss(argv[2]);
  return usage();
}
