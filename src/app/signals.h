#pragma once

#include <memory>

#include "runtime/frontend.h"

namespace kestrun::app {

// SIGTERM, SIGHUP and SIGINT end the game as the close box does. The
// signal's number is remembered, so that the program can end with the status
// a killed program has (128 + the signal) and scripts and desktops can tell.
// A signal that whoever started the game ignores (nohup) stays ignored.
//
// Installed after the front end has opened: a handler the front end put in
// place (the terminal restores itself, SDL turns the signal into its quit
// event) still runs after the signal is noted.
void watchEndingSignals();
// The ending signal that arrived first, or 0.
int endingSignal();
// The exit status for a session that ended with `status`: 128 + the signal
// when one ended it.
int statusAfterSignals(int status);

// Wraps a front end so that a noted signal reaches the game as the close
// request at its next wait, even where the front end itself knows nothing of
// signals (headless).
std::unique_ptr<rt::Frontend> closingOnSignals(std::unique_ptr<rt::Frontend> frontend);

}  // namespace kestrun::app
