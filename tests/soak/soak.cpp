// Random-key soak of the bundled scenario. Each session plays a fresh copy
// of the compiled sample, with a party of six in town and six more waiting,
// under weighted random keys; whenever the game ends before its keys are
// used up (it saved and ended), the next run of the same session starts it
// again on that roster. Every run must end normally and in time and leave a
// roster the forge accepts. The summary counts keys, runs and the screens
// the sessions reached; every failure is told with the command that
// replays it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kLetter = "1";
constexpr const char* kRoster = "1-C.DAT";
// The title asks for the scenario's letter; every run starts with it.
constexpr const char* kTitleKeys = "1{Enter}";
constexpr int kTitleKeyCount = 2;
constexpr int kTraceFd = 3;

struct Options {
  std::string kestrun = KESTRUN_SOAK_GAME;
  std::string forge;
  std::string scenario = KESTRUN_SOAK_SCENARIO;
  std::string roster = KESTRUN_SOAK_ROSTER;
  std::string work;
  int sessions = 12;
  int keys = 600;
  int jobs = 2;
  int timeoutSeconds = 60;
  int firstSeed = 1;
  bool screens = true;
  bool keep = false;
  bool help = false;
};

// A key the game reads, in key-script notation, and how often it is drawn.
// Walking forward (the cursor key rather than 8, which opens the camp's
// settings) comes up most, then the town's dungeon key; the stairs'
// question (up to town?) is answered N more often than Y, and 0 leaves the
// camp and the facilities (in the town menu it saves and ends, and the next
// run starts again), so that parties walk on into battles.
struct WeightedKeys {
  std::vector<std::string> keys;
  int weight;
};

const std::vector<WeightedKeys>& keyDeck() {
  static const std::vector<WeightedKeys> deck = {
      {{"{Up}"}, 10},
      {{"7"}, 8},
      {{"{Enter}"}, 5},
      {{"F", "N"}, 4},
      {{"1", "4", "8", "K", "R"}, 3},
      {{"0", "2", "5", "L", "Y"}, 2},
      {{"3", "6", "9", "B", "A", "G", "P", "O", "Z", "C", "S", "T", "U", "V", "y", "n"}, 1},
      {{"{Esc}", "{Down}", "{Left}", "{Right}", "{Bs}", " ", "/", "*", "=", "+", "-"}, 1},
  };
  return deck;
}

// What one draw can give: a key, or a few keys in a row.
struct Choice {
  std::vector<std::string> keys;
  int weight;
};

// Keys in a row that make headway wherever they fall: the way from the town
// menu past the camp and the stairs' question, a few steps ahead, a turn and
// steps, a door opened and gone through, and names for the prompts that ask
// for one.
const std::vector<Choice>& keyRuns() {
  static const std::vector<Choice> runs = {
      {{"7", "0", "N"}, 4},
      {{"{Up}", "{Up}", "{Up}"}, 4},
      {{"6", "{Up}", "{Up}"}, 2},
      {{"4", "{Up}", "{Up}"}, 2},
      {{"K", "{Up}"}, 2},
      {{"B", "r", "a", "m", "{Enter}"}, 1},
      {{"K", "a", "i", "{Enter}"}, 1},
      {{"W", "i", "l"}, 1},
  };
  return runs;
}

const std::vector<Choice>& choices() {
  static const std::vector<Choice> list = [] {
    std::vector<Choice> all;
    for (const WeightedKeys& group : keyDeck()) {
      for (const std::string& key : group.keys) all.push_back({{key}, group.weight});
    }
    all.insert(all.end(), keyRuns().begin(), keyRuns().end());
    return all;
  }();
  return list;
}

const Choice& drawChoice(std::mt19937& random) {
  static const int total = [] {
    int sum = 0;
    for (const Choice& c : choices()) sum += c.weight;
    return sum;
  }();
  int draw = static_cast<int>(random() % static_cast<uint32_t>(total));
  for (const Choice& c : choices()) {
    if (draw < c.weight) return c;
    draw -= c.weight;
  }
  return choices().back();
}

// The session's keys, one key per element, drawn from the seed alone so that
// a seed replays the same session anywhere.
std::vector<std::string> drawKeys(int seed, int count) {
  std::mt19937 random(static_cast<uint32_t>(seed));
  std::vector<std::string> keys;
  while (static_cast<int>(keys.size()) < count) {
    const Choice& c = drawChoice(random);
    keys.insert(keys.end(), c.keys.begin(), c.keys.end());
  }
  keys.resize(static_cast<size_t>(count));
  return keys;
}

// Texts on the screen that show a session got somewhere.
enum Screen { Town, Dungeon, Battle, Chest, Camp, kScreenCount };
constexpr std::array<const char*, kScreenCount> kScreenNames = {"town", "dungeon", "battle",
                                                                "chest", "camp"};
// Leaving the camp at the gate shows the stairs of floor 1, as every stairs do.
constexpr std::array<const char*, kScreenCount> kScreenTexts = {
    "どこへ行きますか", "階段があります", "直接戦闘", "宝箱", "パーティーは休息しています"};

// Looks for the screen texts in the trace as it streams by; a text found
// once is not looked for again.
class ScreenScan {
 public:
  void feed(const char* data, size_t size) {
    if (allSeen()) return;
    carry_.append(data, size);
    for (int s = 0; s < kScreenCount; ++s) {
      if (!seen_[s] && carry_.find(kScreenTexts[s]) != std::string::npos) seen_[s] = true;
    }
    const size_t keep = 64;
    if (carry_.size() > keep) carry_.erase(0, carry_.size() - keep);
  }
  bool seen(int screen) const { return seen_[screen]; }

 private:
  bool allSeen() const {
    for (bool s : seen_) {
      if (!s) return false;
    }
    return true;
  }
  std::array<bool, kScreenCount> seen_{};
  std::string carry_;
};

// One program run to its end, or killed at its deadline.
struct RunResult {
  int status = -1;
  int signal = 0;
  bool timedOut = false;
  std::string output;
  double cpuSeconds = 0;
};

class Pipe {
 public:
  Pipe() {
    if (pipe2(fds_, O_CLOEXEC) != 0)
      throw std::runtime_error("pipe: " + std::string(strerror(errno)));
  }
  ~Pipe() {
    closeRead();
    closeWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  int readEnd() const { return fds_[0]; }
  int writeEnd() const { return fds_[1]; }
  void closeRead() { closeEnd(fds_[0]); }
  void closeWrite() { closeEnd(fds_[1]); }

 private:
  static void closeEnd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  int fds_[2] = {-1, -1};
};

pid_t spawn(const std::vector<std::string>& args, const Pipe& output, const Pipe* trace) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output.writeEnd(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output.writeEnd(), STDERR_FILENO);
  if (trace) posix_spawn_file_actions_adddup2(&actions, trace->writeEnd(), kTraceFd);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start " + args[0] + ": " + strerror(failed));
  return pid;
}

// Reads the program's output and trace until both close or the deadline
// passes; true when they closed in time.
bool drain(const Pipe& output, const Pipe* trace, ScreenScan* scan,
           std::chrono::steady_clock::time_point deadline, std::string& text) {
  std::vector<pollfd> fds = {{output.readEnd(), POLLIN, 0}};
  if (trace) fds.push_back({trace->readEnd(), POLLIN, 0});
  size_t open = fds.size();
  std::vector<char> buffer(1 << 16);
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    if (poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0 && errno != EINTR) {
      return false;
    }
    for (size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = read(fds[i].fd, buffer.data(), buffer.size());
      if (got <= 0) {
        fds[i].fd = -1;
        --open;
      } else if (i == 0) {
        text.append(buffer.data(), static_cast<size_t>(got));
      } else if (scan) {
        scan->feed(buffer.data(), static_cast<size_t>(got));
      }
    }
  }
  return true;
}

double processorSeconds(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

RunResult run(const std::vector<std::string>& args, int timeoutSeconds, ScreenScan* scan) {
  Pipe output;
  std::optional<Pipe> trace;
  if (scan) trace.emplace();
  const pid_t pid = spawn(args, output, trace ? &*trace : nullptr);
  output.closeWrite();
  if (trace) trace->closeWrite();
  RunResult result;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  if (!drain(output, trace ? &*trace : nullptr, scan, deadline, result.output)) {
    result.timedOut = true;
    kill(pid, SIGKILL);
  }
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  result.cpuSeconds = processorSeconds(usage);
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

// The game's note of the scripted keys it never took (none: no note).
int keysLeft(const std::string& output) {
  const std::string note = "kestrun: the game ended with ";
  const size_t at = output.find(note);
  return at == std::string::npos ? 0 : std::atoi(output.c_str() + at + note.size());
}

// Output other than the note of keys left.
std::string unexpectedOutput(const std::string& output) {
  std::istringstream lines(output);
  std::string line;
  std::string rest;
  while (std::getline(lines, line)) {
    if (line.rfind("kestrun: the game ended with ", 0) != 0) rest += line + "\n";
  }
  return rest;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The text rows of a screen dump that show something.
std::string shownRows(const fs::path& dump) {
  std::istringstream rows(readFile(dump));
  std::string row;
  std::string shown;
  while (std::getline(rows, row) && row != "--") {
    if (row.find_first_not_of(' ') != std::string::npos) shown += "    | " + row + "\n";
  }
  return shown;
}

struct SessionResult {
  int seed = 0;
  long keys = 0;
  int runs = 0;
  double gameCpu = 0;
  double forgeCpu = 0;
  std::array<bool, kScreenCount> reached{};
  std::string failure;
};

class Session {
 public:
  Session(const Options& o, const fs::path& game, int seed)
      : o_(o), game_(game), dir_(fs::path(o.work) / ("seed-" + std::to_string(seed))) {
    result_.seed = seed;
  }

  SessionResult play() {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy(game_, dir_ / "game");
    const std::vector<std::string> keys = drawKeys(result_.seed, o_.keys);
    for (size_t next = 0; next < keys.size() && result_.failure.empty();) {
      next += playRun(keys, next);
    }
    if (result_.failure.empty() && !o_.keep) fs::remove_all(dir_);
    return result_;
  }

 private:
  // One run from key `first` on; the number of the session's keys it took.
  size_t playRun(const std::vector<std::string>& keys, size_t first) {
    ++result_.runs;
    fs::copy_file(dir_ / "game" / kRoster, dir_ / "roster-before-run.DAT",
                  fs::copy_options::overwrite_existing);
    writeKeys(keys, first);
    fs::remove(dir_ / "end.txt");
    ScreenScan scan;
    const RunResult game = run(gameCommand(), o_.timeoutSeconds, o_.screens ? &scan : nullptr);
    result_.gameCpu += game.cpuSeconds;
    for (int s = 0; s < kScreenCount; ++s) result_.reached[s] = result_.reached[s] || scan.seen(s);
    const size_t given = keys.size() - first;
    const size_t taken = given + kTitleKeyCount - static_cast<size_t>(keysLeft(game.output));
    result_.keys += static_cast<long>(taken);
    if (const std::string problem = gameProblem(game); !problem.empty()) {
      fail(problem, unexpectedOutput(game.output));
      return given;
    }
    checkRoster();
    if (taken <= kTitleKeyCount) fail("the game took none of the session's keys");
    return taken > kTitleKeyCount ? taken - kTitleKeyCount : given;
  }

  void writeKeys(const std::vector<std::string>& keys, size_t first) const {
    std::ofstream out(dir_ / "keys.txt", std::ios::binary);
    out << kTitleKeys;
    for (size_t k = first; k < keys.size(); ++k) out << keys[k];
  }

  std::vector<std::string> gameCommand() const {
    std::vector<std::string> args = {o_.kestrun,
                                     "--frontend",
                                     "headless",
                                     "--dir",
                                     (dir_ / "game").string(),
                                     "--seed",
                                     std::to_string(result_.seed),
                                     "--keys-file",
                                     (dir_ / "keys.txt").string(),
                                     "--dump-screen",
                                     (dir_ / "end.txt").string()};
    if (o_.screens) {
      args.push_back("--trace");
      args.push_back("/dev/fd/" + std::to_string(kTraceFd));
    }
    return args;
  }

  std::string gameProblem(const RunResult& game) const {
    if (game.timedOut) return "no end within " + std::to_string(o_.timeoutSeconds) + " s (killed)";
    if (game.signal != 0) return "killed by signal " + std::to_string(game.signal);
    if (game.status != 0) return "exit status " + std::to_string(game.status);
    const std::string extra = unexpectedOutput(game.output);
    if (!extra.empty()) return "unexpected output";
    return {};
  }

  void checkRoster() {
    const RunResult forge =
        run({o_.forge, "roster", (dir_ / "game").string(), kLetter}, o_.timeoutSeconds, nullptr);
    result_.forgeCpu += forge.cpuSeconds;
    if (forge.timedOut || forge.signal != 0 || forge.status != 0) {
      fail("the forge rejects the roster", forge.output.substr(0, 400));
    }
  }

  // Keeps what replays the failed run: the game as it was before it, and
  // its keys.
  void fail(const std::string& problem, const std::string& details = {}) {
    const fs::path replay = dir_ / "replay";
    fs::remove_all(replay);
    fs::copy(game_, replay);
    fs::copy_file(dir_ / "roster-before-run.DAT", replay / kRoster,
                  fs::copy_options::overwrite_existing);
    std::ostringstream text;
    text << "FAIL seed " << result_.seed << ", run " << result_.runs << ": " << problem << "\n"
         << "  replay: " << o_.kestrun << " --frontend headless --dir " << replay.string()
         << " --seed " << result_.seed << " --keys-file " << (dir_ / "keys.txt").string()
         << " --dump-screen end.txt\n"
         << "  or the whole session: kestrun_soak --seed " << result_.seed << " --keys " << o_.keys
         << "\n";
    std::istringstream lines(details);
    for (std::string line; std::getline(lines, line);) text << "    > " << line << "\n";
    const std::string screen = shownRows(dir_ / "end.txt");
    if (!screen.empty()) text << "  the last screen:\n" << screen;
    result_.failure = text.str();
  }

  const Options& o_;
  fs::path game_;
  fs::path dir_;
  SessionResult result_;
};

// The sample with the soak's party, compiled once for every session.
fs::path buildGame(const Options& o) {
  const fs::path source = fs::path(o.work) / "source";
  const fs::path game = fs::path(o.work) / "game";
  fs::remove_all(source);
  fs::remove_all(game);
  fs::copy(o.scenario, source, fs::copy_options::recursive);
  fs::copy_file(o.roster, source / "roster.toml", fs::copy_options::overwrite_existing);
  const RunResult forge = run({o.forge, "build", source.string(), game.string(), "--new-roster"},
                              o.timeoutSeconds, nullptr);
  if (forge.status != 0)
    throw std::runtime_error("the forge cannot build the game:\n" + forge.output);
  return game;
}

std::vector<SessionResult> playAll(const Options& o, const fs::path& game) {
  std::vector<SessionResult> results(static_cast<size_t>(o.sessions));
  std::atomic<int> next{0};
  std::mutex printing;
  auto worker = [&] {
    for (int i = next++; i < o.sessions; i = next++) {
      results[static_cast<size_t>(i)] = Session(o, game, o.firstSeed + i).play();
      if (results[static_cast<size_t>(i)].failure.empty()) continue;
      const std::lock_guard lock(printing);
      std::cout << results[static_cast<size_t>(i)].failure << std::flush;
    }
  };
  std::vector<std::thread> workers;
  for (int j = 0; j < o.jobs; ++j) workers.emplace_back(worker);
  for (std::thread& w : workers) w.join();
  return results;
}

double ownCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return processorSeconds(usage);
}

// The processor time of a start that does no more than print the version:
// what every run pays before the game begins (the program's libraries).
double startSeconds(const Options& o) {
  double least = 1e9;
  for (int i = 0; i < 5; ++i) {
    least = std::min(least, run({o.kestrun, "--version"}, o.timeoutSeconds, nullptr).cpuSeconds);
  }
  return least;
}

struct Totals {
  long keys = 0;
  int runs = 0;
  int failures = 0;
  double gameCpu = 0;
  double forgeCpu = 0;
  std::array<int, kScreenCount> reached{};
};

Totals addUp(const std::vector<SessionResult>& results) {
  Totals t;
  for (const SessionResult& r : results) {
    t.keys += r.keys;
    t.runs += r.runs;
    t.failures += r.failure.empty() ? 0 : 1;
    t.gameCpu += r.gameCpu;
    t.forgeCpu += r.forgeCpu;
    for (int s = 0; s < kScreenCount; ++s) t.reached[s] += r.reached[s] ? 1 : 0;
  }
  return t;
}

double perSecond(double count, double seconds) {
  return seconds > 0 ? count / seconds : 0.0;
}

void printProcessorTime(const Totals& t, double start, double wallSeconds) {
  const double starts = start * t.runs;
  const auto keys = static_cast<double>(t.keys);
  std::printf("game: %.2f s of processor time, %.0f keys/s\n", t.gameCpu,
              perSecond(keys, t.gameCpu));
  std::printf("  of it starting the program %.1f ms a run, %.2f s; the rest %.0f keys/s\n",
              start * 1000, starts, perSecond(keys, std::max(t.gameCpu - starts, 0.0)));
  std::printf("roster checks %.2f s, the soak itself %.2f s; %.1f s elapsed\n", t.forgeCpu,
              ownCpuSeconds(), wallSeconds);
}

// Prints the summary; the number of failed sessions.
int report(const Options& o, const std::vector<SessionResult>& results, double start,
           double wallSeconds) {
  const Totals t = addUp(results);
  std::printf("soak: %zu sessions of %d keys, seeds %d..%d, -j %d\n", results.size(), o.keys,
              o.firstSeed, o.firstSeed + static_cast<int>(results.size()) - 1, o.jobs);
  std::printf("keys typed: %ld in %d runs\n", t.keys, t.runs);
  if (o.screens) {
    std::printf("sessions that reached:");
    for (int s = 0; s < kScreenCount; ++s) std::printf(" %s %d", kScreenNames[s], t.reached[s]);
    std::printf("\n");
  }
  printProcessorTime(t, start, wallSeconds);
  std::printf("failures: %d\n", t.failures);
  return t.failures;
}

void usage(std::ostream& out) {
  out << "usage: kestrun_soak [options]\n"
         "  --sessions N      sessions to play (12), seeds from --first-seed (1) on\n"
         "  --keys N          keys of every session (600)\n"
         "  -j N              sessions at a time (2)\n"
         "  --seed S          play session S alone and keep its folder\n"
         "  --timeout SECONDS the longest a run may take before it is killed (60)\n"
         "  --no-screens      no trace: the screens reached are not counted\n"
         "  --keep            keep every session's folder\n"
         "  --work DIR        the folder for the sessions (a new one in the temporary folder)\n"
         "  --kestrun PATH    the game (kestrun-forge is looked for beside it)\n"
         "  --scenario DIR    the scenario source; --roster FILE its party\n";
}

int number(const char* text) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < 1 || value > 100'000'000) throw std::invalid_argument(text);
  return static_cast<int>(value);
}

std::optional<Options> parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--help") {
      o.help = true;
    } else if (a == "--no-screens") {
      o.screens = false;
    } else if (a == "--keep") {
      o.keep = true;
    } else if (!hasValue) {
      return std::nullopt;
    } else if (a == "--sessions") {
      o.sessions = number(argv[++i]);
    } else if (a == "--keys") {
      o.keys = number(argv[++i]);
    } else if (a == "-j") {
      o.jobs = number(argv[++i]);
    } else if (a == "--timeout") {
      o.timeoutSeconds = number(argv[++i]);
    } else if (a == "--first-seed") {
      o.firstSeed = number(argv[++i]);
    } else if (a == "--seed") {
      o.firstSeed = number(argv[++i]);
      o.sessions = 1;
      o.keep = true;
    } else if (a == "--work") {
      o.work = argv[++i];
    } else if (a == "--kestrun") {
      o.kestrun = argv[++i];
    } else if (a == "--scenario") {
      o.scenario = argv[++i];
    } else if (a == "--roster") {
      o.roster = argv[++i];
    } else {
      return std::nullopt;
    }
  }
  o.forge = (fs::path(o.kestrun).parent_path() / "kestrun-forge").string();
  return o;
}

std::string makeWorkFolder() {
  std::string pattern = (fs::temp_directory_path() / "kestrun-soak-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a work folder");
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<Options> o;
  try {
    o = parse(argc, argv);
  } catch (const std::invalid_argument& bad) {
    std::cerr << "kestrun_soak: not a number: " << bad.what() << "\n";
  }
  if (!o) {
    usage(std::cerr);
    return 2;
  }
  if (o->help) {
    usage(std::cout);
    return 0;
  }
  try {
    const bool ownWork = o->work.empty();
    if (ownWork) o->work = makeWorkFolder();
    fs::create_directories(o->work);
    const fs::path game = buildGame(*o);
    const double start = startSeconds(*o);
    const auto began = std::chrono::steady_clock::now();
    const std::vector<SessionResult> results = playAll(*o, game);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - began;
    const int failures = report(*o, results, start, wall.count());
    if (failures > 0 || o->keep) {
      std::printf("sessions kept in %s\n", o->work.c_str());
    } else if (ownWork) {
      fs::remove_all(o->work);
    }
    return failures > 0 ? 1 : 0;
  } catch (const std::exception& e) {
    std::cerr << "kestrun_soak: " << e.what() << "\n";
    return 2;
  }
}
