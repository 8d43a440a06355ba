#include "frontends/tty/terminal.h"

#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "frontends/frontends.h"

namespace kestrun::fe {

namespace {

constexpr std::string_view kEnterScreen = "\x1b[?1049h\x1b[?25l\x1b[?7l";
constexpr std::string_view kLeaveScreen = "\x1b[0m\x1b[?7h\x1b[?25h\x1b[?1049l";
constexpr int kQuitSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Shared with the signal handlers, hence plain globals of async-signal-safe types.
struct TerminalState {
  termios saved{};
  termios raw{};
  int wakeRead = -1;
  int wakeWrite = -1;
  volatile sig_atomic_t active = 0;
  volatile sig_atomic_t closeSignals = 0;
  volatile sig_atomic_t resized = 0;
};
TerminalState state;

void writeAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void wake() {
  const int savedErrno = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(state.wakeWrite, &byte, 1);
  errno = savedErrno;
}

// Safe inside signal handlers.
void leaveGameMode() {
  writeAll(kLeaveScreen);
  tcsetattr(STDIN_FILENO, TCSANOW, &state.saved);
}

void enterGameMode() {
  tcsetattr(STDIN_FILENO, TCSANOW, &state.raw);
  writeAll(kEnterScreen);
}

void restoreAtExit() {
  if (state.active) {
    state.active = 0;
    leaveGameMode();
  }
}

void setHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

void onCloseSignal(int signal) {
  if (state.closeSignals > 0) {
    // The game did not end after the first request: restore and die.
    if (state.active) leaveGameMode();
    setHandler(signal, SIG_DFL);
    raise(signal);
    return;
  }
  state.closeSignals = 1;
  wake();
}

void onResize(int) {
  state.resized = 1;
  wake();
}

void onSuspend(int) {
  const int savedErrno = errno;
  leaveGameMode();
  setHandler(SIGTSTP, SIG_DFL);
  sigset_t suspend;
  sigemptyset(&suspend);
  sigaddset(&suspend, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &suspend, nullptr);
  raise(SIGTSTP);
  // Continued: take the terminal back and draw everything again.
  setHandler(SIGTSTP, onSuspend);
  enterGameMode();
  state.resized = 1;
  wake();
  errno = savedErrno;
}

// A signal ignored by whoever started us (nohup, a shell without job
// control) stays ignored.
void catchUnlessIgnored(int signal, void (*handler)(int)) {
  struct sigaction previous {};
  sigaction(signal, nullptr, &previous);
  if (previous.sa_handler != SIG_IGN) setHandler(signal, handler);
}

void installHandlers() {
  for (const int signal : kQuitSignals) catchUnlessIgnored(signal, onCloseSignal);
  setHandler(SIGWINCH, onResize);
  catchUnlessIgnored(SIGTSTP, onSuspend);
}

void releaseUnlessIgnored(int signal) {
  struct sigaction current {};
  sigaction(signal, nullptr, &current);
  if (current.sa_handler != SIG_IGN) setHandler(signal, SIG_DFL);
}

void removeHandlers() {
  for (const int signal : kQuitSignals) releaseUnlessIgnored(signal);
  setHandler(SIGWINCH, SIG_DFL);
  releaseUnlessIgnored(SIGTSTP);
}

void openWakePipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw FrontendError(std::string("the terminal front end cannot start: ") +
                        std::strerror(errno));
  }
  state.wakeRead = fds[0];
  state.wakeWrite = fds[1];
}

termios rawMode(termios mode) {
  // Keys arrive one by one and unechoed; ISIG stays so Ctrl+C still signals.
  mode.c_lflag &= ~(ECHO | ICANON | IEXTEN);
  mode.c_iflag &= ~(IXON | ICRNL | INLCR | IGNCR | ISTRIP);
  mode.c_cc[VMIN] = 1;
  mode.c_cc[VTIME] = 0;
  return mode;
}

bool environmentNamesLocale() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

bool ctypeIsUtf8(const char* locale) {
  return std::setlocale(LC_CTYPE, locale) != nullptr &&
         std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

}  // namespace

bool hasUtf8Locale() {
  // Only the character type is consulted, and put back afterwards: number
  // formatting must stay in the C locale.
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  const bool utf8 = ctypeIsUtf8("") || (!environmentNamesLocale() && ctypeIsUtf8("C.UTF-8"));
  std::setlocale(LC_CTYPE, previous.c_str());
  return utf8;
}

Terminal::Terminal() {
  if (state.wakeRead >= 0) throw FrontendError("the terminal is already in use");
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    throw FrontendError(
        "the terminal front end needs standard input and output to be a terminal; use "
        "--frontend sdl or headless");
  }
  if (!hasUtf8Locale()) {
    throw FrontendError("the terminal front end needs a UTF-8 locale, e.g. LANG=C.UTF-8");
  }
  if (tcgetattr(STDIN_FILENO, &state.saved) != 0) {
    throw FrontendError(std::string("cannot read the terminal mode: ") + std::strerror(errno));
  }
  state.raw = rawMode(state.saved);
  openWakePipe();
  static const bool registered = std::atexit(restoreAtExit) == 0;
  (void)registered;
  state.closeSignals = 0;
  state.resized = 0;
  installHandlers();
  enterGameMode();
  state.active = 1;
}

Terminal::~Terminal() {
  restoreAtExit();
  removeHandlers();
  close(state.wakeRead);
  close(state.wakeWrite);
  state.wakeRead = state.wakeWrite = -1;
}

void Terminal::write(std::string_view bytes) {
  writeAll(bytes);
}

TerminalSize Terminal::size() const {
  winsize ws{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) != 0) return {};
  return {ws.ws_col, ws.ws_row, ws.ws_xpixel, ws.ws_ypixel};
}

std::string Terminal::ask(std::string_view queries,
                          const std::function<bool(std::string_view)>& complete, int timeoutMs) {
  writeAll(queries);
  std::string answers;
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long elapsed =
        (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
    if (elapsed >= timeoutMs || state.closeSignals != 0) break;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, static_cast<int>(timeoutMs - elapsed)) <= 0) continue;
    char buffer[512];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) break;
    answers.append(buffer, static_cast<size_t>(n));
    if (complete(answers)) break;
  }
  return answers;
}

int Terminal::inputFd() const {
  return STDIN_FILENO;
}

int Terminal::wakeFd() const {
  return state.wakeRead;
}

void Terminal::drainWake() {
  char buffer[64];
  while (read(state.wakeRead, buffer, sizeof buffer) > 0) {
  }
}

bool Terminal::closeRequested() const {
  return state.closeSignals != 0;
}

bool Terminal::takeResize() {
  if (!state.resized) return false;
  state.resized = 0;
  return true;
}

}  // namespace kestrun::fe
