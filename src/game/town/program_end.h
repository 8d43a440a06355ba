#pragma once

#include "runtime/errors.h"

namespace kestrun::game {

struct Game;

// Ends the program: clears the screen and stops.
[[noreturn]] void endProgram(Game& g);
// The end after an error nothing can mend: "ウィンドウを閉じてください" with
// the error's code and line, until the player closes the window; what
// happened and where goes to standard error in one line.
[[noreturn]] void closeWithError(Game& g, const rt::RuntimeError& error);
// Waits for "Y" (also "y", "+") or "N" (also "n", "-"), ignoring other keys;
// leaves "Y" or "N" in KeyAnswer.
void YesNoKey(Game& g);
// "本当に終了してよろしいですか ?": "Y" ends the program, "N" blanks the
// question and returns.
void quitConfirmation(Game& g);

}  // namespace kestrun::game
