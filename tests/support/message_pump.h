#pragma once

// Helpers for tests on real windows and message loops.

#include <windows.h>

#include <functional>

namespace testsupport {

// Dispatches every message waiting in the thread's queue, without waiting for more.
// A quit request is left where it is.
void pumpUntilIdle();

// Whether a quit request waits in the queue (it stays there).
bool quitRequestWaiting();

// Runs the step from the message loop that dispatches it, after the messages already queued.
void postStep(std::function<void()> step);

}  // namespace testsupport
