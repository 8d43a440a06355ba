// Kills the game with SIGKILL while it saves its roster, try after try, and
// checks what every kill leaves behind: a roster that is byte for byte the
// one before the save or the one after it, that the forge calls sound and
// the game starts on, and no unfinished roster that blocks the next save.
//
// One uninterrupted session first gives the roster after the save and the
// times the save takes. Each try then kills a fresh session either after a
// random time from its start, or once the unfinished roster appears and a
// random delay has passed: a short one, or one up to twice the save's time.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Micros = std::chrono::microseconds;

// The longest a session may take before the try counts as hung.
constexpr auto kSessionLimit = std::chrono::seconds(30);
constexpr int kPollMillis = 5;
// The short delays after the unfinished roster appears: the time the game
// takes to fill it.
constexpr int64_t kShortDelayMicros = 2000;
// The long delays reach past the save's time in the uninterrupted session, as
// the disk may be slower now, so that some kills come after the new roster is
// in place.
constexpr int64_t kSaveTimeMargin = 2;

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  std::string kestrun;
  std::string forge;
  std::string game;
  std::string keys;
  std::string scenario = "1";
  std::string startShows = "どこへ行きますか";
  std::string name = "save";
  int tries = 0;
  unsigned seed = 1;
};

Options parseOptions(int argc, char** argv) {
  Options o;
  std::map<std::string, std::string*> texts = {
      {"--kestrun", &o.kestrun}, {"--forge", &o.forge},       {"--game", &o.game},
      {"--keys", &o.keys},       {"--scenario", &o.scenario}, {"--start-shows", &o.startShows},
      {"--name", &o.name}};
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const std::string value = argv[i + 1];
    if (auto text = texts.find(option); text != texts.end()) {
      *text->second = value;
    } else if (option == "--tries") {
      o.tries = std::stoi(value);
    } else if (option == "--seed") {
      o.seed = static_cast<unsigned>(std::stoul(value));
    } else {
      throw Failure("unknown option " + option);
    }
  }
  if (argc % 2 == 0 || o.kestrun.empty() || o.forge.empty() || o.game.empty() || o.keys.empty() ||
      o.tries <= 0) {
    throw Failure(
        "usage: kestrun_killsave --kestrun BIN --forge BIN --game DIR --keys KEYS --tries N "
        "[--seed N] [--scenario LETTER] [--start-shows TEXT] [--name NAME]");
  }
  return o;
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw Failure("cannot write " + path.string());
}

// Starts a program with its output thrown away; returns its process id.
pid_t spawn(const std::vector<std::string>& args, const std::string& output = "/dev/null") {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) throw Failure("fork failed");
  if (pid == 0) {
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

int reap(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw Failure("waitpid failed");
  }
  return status;
}

bool hasEnded(pid_t pid) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == pid;
}

std::string describeStatus(int status) {
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "exit status " + std::to_string(WEXITSTATUS(status));
}

void sleepUntil(Clock::time_point when) {
  while (Clock::now() < when) {
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(when - Clock::now());
    timespec pause{static_cast<time_t>(left.count() / 1000000000),
                   static_cast<long>(left.count() % 1000000000)};
    nanosleep(&pause, nullptr);
  }
}

// Sees a file of one name being created in a directory.
class CreationWatch {
 public:
  CreationWatch(const fs::path& directory, std::string name) : name_(std::move(name)) {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0 || inotify_add_watch(fd_, directory.c_str(), IN_CREATE) < 0) {
      throw Failure("cannot watch " + directory.string());
    }
  }
  CreationWatch(const CreationWatch&) = delete;
  CreationWatch& operator=(const CreationWatch&) = delete;
  ~CreationWatch() { close(fd_); }

  // Waits until the file is created; false when the process ends or hangs first.
  bool waitForCreation(pid_t pid) {
    const auto deadline = Clock::now() + kSessionLimit;
    const int before = seen_;
    while (Clock::now() < deadline) {
      pollfd ready{fd_, POLLIN, 0};
      poll(&ready, 1, kPollMillis);
      drain();
      if (seen_ > before) return true;
      if (hasEnded(pid)) {
        drain();
        return seen_ > before;
      }
    }
    return false;
  }

  // How often the file has been created so far.
  int creations() {
    drain();
    return seen_;
  }

 private:
  void drain() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      const ssize_t got = read(fd_, buffer, sizeof buffer);
      if (got <= 0) return;
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0 && name_ == event->name) ++seen_;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
  }

  int fd_ = -1;
  std::string name_;
  int seen_ = 0;
};

// What one try left behind.
struct Outcome {
  bool killed = false;
  bool oldRoster = false;
  bool leftover = false;
  size_t leftoverBytes = 0;
};

struct Tally {
  int tries = 0;
  int killed = 0;
  int oldRoster = 0;
  int newRoster = 0;
  int killedWithNewRoster = 0;
  int leftovers = 0;
  int emptyLeftovers = 0;
  int completeLeftovers = 0;
};

class KillTest {
 public:
  explicit KillTest(Options o)
      : o_(std::move(o)),
        game_(o_.game),
        roster_(game_ / (o_.scenario + "-C.DAT")),
        fresh_(game_ / (o_.scenario + "-C.DAT.NEW")),
        scratch_(fs::temp_directory_path() / ("killsave-" + std::to_string(getpid()) + ".txt")),
        random_(o_.seed) {}
  ~KillTest() {
    std::error_code ignored;
    fs::remove(scratch_, ignored);
  }
  KillTest(const KillTest&) = delete;
  KillTest& operator=(const KillTest&) = delete;

  // The uninterrupted session: the roster it saves and how long it takes.
  void calibrate() {
    old_ = readBytes(roster_);
    if (fs::exists(fresh_)) throw Failure("an unfinished roster is there before the first save");
    CreationWatch watch(game_, fresh_.filename());
    const auto start = Clock::now();
    const pid_t pid = spawn(session());
    const bool saving = watch.waitForCreation(pid);
    const auto created = Clock::now();
    if (!saving) kill(pid, SIGKILL);
    const int status = reap(pid);
    const auto ended = Clock::now();
    if (!saving) throw Failure("the session did not write " + fresh_.filename().string());
    if (status != 0) throw Failure("the uninterrupted session: " + describeStatus(status));
    if (watch.creations() != 1) {
      throw Failure("the keys save " + std::to_string(watch.creations()) + " times, not once");
    }
    new_ = readBytes(roster_);
    if (new_ == old_) throw Failure("the save leaves the roster as it was");
    if (fs::exists(fresh_)) throw Failure("the uninterrupted save left its unfinished roster");
    checkSound("the new roster");
    sessionMicros_ = std::chrono::duration_cast<Micros>(ended - start).count();
    saveMicros_ = std::chrono::duration_cast<Micros>(ended - created).count();
  }

  void run() {
    for (int t = 1; t <= o_.tries; ++t) {
      try {
        record(tryOnce());
      } catch (const Failure& failure) {
        throw Failure("try " + std::to_string(t) + " (" + how_ + "): " + failure.what());
      }
    }
  }

  void report() const {
    std::printf(
        "%s: tries %d, killed %d, old %d, new %d (%d killed), leftovers %d (empty %d, complete "
        "%d), "
        "session %lld us, save %lld us\n",
        o_.name.c_str(), tally_.tries, tally_.killed, tally_.oldRoster, tally_.newRoster,
        tally_.killedWithNewRoster, tally_.leftovers, tally_.emptyLeftovers,
        tally_.completeLeftovers, static_cast<long long>(sessionMicros_),
        static_cast<long long>(saveMicros_));
  }

 private:
  std::vector<std::string> session() const {
    return {o_.kestrun, "--frontend", "headless", "--dir", o_.game,
            "--seed",   "1",          "--keys",   o_.keys};
  }

  int64_t uniform(int64_t high) { return std::uniform_int_distribution<int64_t>(0, high)(random_); }

  // Starts a session on the old roster and kills it: one try in four at a
  // random time from its start, the others once the unfinished roster appears.
  Outcome tryOnce() {
    writeBytes(roster_, old_);
    fs::remove(fresh_);
    const bool fromStart = uniform(3) == 0;
    std::optional<CreationWatch> watch;
    if (!fromStart) watch.emplace(game_, fresh_.filename());
    const auto start = Clock::now();
    const pid_t pid = spawn(session());
    bool saving = true;
    if (fromStart) {
      const int64_t delay = uniform(sessionMicros_);
      how_ = "killed " + std::to_string(delay) + " us after the start";
      sleepUntil(start + Micros(delay));
    } else {
      const int64_t delay = uniform(uniform(1) ? kShortDelayMicros : saveMicros_ * kSaveTimeMargin);
      how_ = "killed " + std::to_string(delay) + " us after the unfinished roster appeared";
      saving = watch->waitForCreation(pid);
      sleepUntil(Clock::now() + Micros(delay));
    }
    kill(pid, SIGKILL);
    const int status = reap(pid);
    if (!saving) throw Failure("the session did not save");
    Outcome outcome;
    outcome.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (!outcome.killed && status != 0) throw Failure("the session: " + describeStatus(status));
    checkAfterKill(outcome);
    return outcome;
  }

  void checkAfterKill(Outcome& outcome) {
    const std::string roster = readBytes(roster_);
    if (roster != old_ && roster != new_) {
      throw Failure("the roster (" + std::to_string(roster.size()) +
                    " bytes) is neither the old nor the new one");
    }
    outcome.oldRoster = roster == old_;
    outcome.leftover = fs::exists(fresh_);
    if (outcome.leftover) {
      const std::string unfinished = readBytes(fresh_);
      outcome.leftoverBytes = unfinished.size();
      if (unfinished != new_.substr(0, unfinished.size())) {
        throw Failure("the unfinished roster is not the start of the new one");
      }
    }
    checkSound("the roster after the kill");
    checkStarts();
    if (outcome.leftover) checkNextSave();
  }

  void checkSound(const std::string& what) const {
    const pid_t pid = spawn({o_.forge, "roster", o_.game, o_.scenario}, scratch_);
    const int status = reap(pid);
    const std::string report = readBytes(scratch_);
    const std::string firstLine = report.substr(0, report.find('\n'));
    if (status != 0 || !firstLine.ends_with(": sound")) {
      throw Failure(what + " is not sound: " + firstLine);
    }
  }

  // The game starts on the roster and comes to the town.
  void checkStarts() const {
    const pid_t pid = spawn({o_.kestrun, "--frontend", "headless", "--dir", o_.game, "--seed", "1",
                             "--keys", o_.scenario + "{Enter}", "--dump-screen", scratch_});
    const int status = reap(pid);
    if (status != 0) throw Failure("the game does not start on it: " + describeStatus(status));
    if (readBytes(scratch_).find(o_.startShows) == std::string::npos) {
      throw Failure("the game started on it does not show \"" + o_.startShows + "\"");
    }
  }

  // The same save again, with the unfinished roster in the way.
  void checkNextSave() {
    writeBytes(roster_, old_);
    const int status = reap(spawn(session()));
    if (status != 0) throw Failure("the next save: " + describeStatus(status));
    if (readBytes(roster_) != new_) throw Failure("the next save did not write the new roster");
    if (fs::exists(fresh_)) throw Failure("the next save left an unfinished roster");
  }

  void record(const Outcome& outcome) {
    ++tally_.tries;
    tally_.killed += outcome.killed;
    tally_.oldRoster += outcome.oldRoster;
    tally_.newRoster += !outcome.oldRoster;
    tally_.killedWithNewRoster += outcome.killed && !outcome.oldRoster;
    tally_.leftovers += outcome.leftover;
    tally_.emptyLeftovers += outcome.leftover && outcome.leftoverBytes == 0;
    tally_.completeLeftovers += outcome.leftover && outcome.leftoverBytes == new_.size();
  }

  Options o_;
  fs::path game_;
  fs::path roster_;
  fs::path fresh_;
  // The forge's report or the screen of the last check.
  fs::path scratch_;
  std::mt19937_64 random_;
  std::string old_;
  std::string new_;
  int64_t sessionMicros_ = 0;
  int64_t saveMicros_ = 0;
  std::string how_;
  Tally tally_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string name = "killsave";
  try {
    Options options = parseOptions(argc, argv);
    name += ": " + options.name;
    KillTest test(std::move(options));
    test.calibrate();
    test.run();
    test.report();
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), failure.what());
    return 1;
  }
  return 0;
}
