#pragma once

#include <functional>

// A logout or `kill` sends SIGTERM (SIGHUP when the terminal goes away,
// SIGINT for Ctrl+C). Left to their default, they end the program at once
// and the player's progress of the whole session, written only at shutdown,
// is lost. Once this is installed, each of them instead calls `end` on the
// event loop, so the program ends in order and writes the profile.
// Install once, after the application object exists.
void endOnTerminationSignals(std::function<void()> end);
