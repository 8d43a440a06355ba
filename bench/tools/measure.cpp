// Measures whole runs of a program and processes that wait:
//   measure run N -- COMMAND...   wall time and peak resident memory of N runs
//   measure idle SECONDS PID      processor time PID uses over SECONDS
//   measure rss PID               peak resident memory of PID so far
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
               "usage: measure run N -- COMMAND... | measure idle SECONDS PID | measure rss PID\n");
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
  if (argc == 4 && std::strcmp(argv[1], "idle") == 0) return idle(std::atof(argv[2]), argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "rss") == 0) return rss(argv[2]);
  return usage();
}
