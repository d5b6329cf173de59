#pragma once
// What an interruption does: Ctrl-C, Ctrl-Break or closing the console
// window on Windows; SIGINT, SIGTERM or SIGHUP elsewhere.
//
// `removeFiles` removes the run's temporary files by name and must be safe
// inside a signal handler. Outside Windows it runs at once, in the handler
// (an open file can be removed), and the signal then ends the process as it
// would have. On Windows a file cannot be removed while it is open, so the
// handler, which runs on a thread of its own, first asks the main thread to
// stop: its next interruptionPoint() throws Interrupted, the unwinding
// closes every file, and whoever catches it removes the files and calls
// endInterrupted(). If the main thread does not come by in time (the
// window is closing during a long computation), the handler removes what it
// can itself.

namespace eco::platform {

struct Interrupted {};

// Installs the handler once; later calls change nothing. A signal the
// caller of the program chose to ignore stays ignored.
void installInterruptHandler(void (*removeFiles)());

// Throws Interrupted when an interruption waits for the main thread.
void interruptionPoint();

// Ends the process after an Interrupted was caught and the files removed.
[[noreturn]] void endInterrupted();

// Delivers an interruption the way the system does (a signal; on Windows
// the console handler on a thread of its own): for tests.
void deliverInterrupt();

}  // namespace eco::platform
