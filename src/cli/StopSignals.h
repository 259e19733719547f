#pragma once

#include <functional>

// Ctrl+C (SIGINT) and SIGTERM end a run at once, however busy its threads are: the
// signals are blocked everywhere and taken by a thread of their own, which hands them
// to the handler. The handler ends the process; it never returns.
class StopSignals {
 public:
  using Handler = std::function<void(int signal)>;

  // Blocks both signals in the calling thread and so in every thread it starts later;
  // call it before any thread is started.
  static void Block();
  // Starts the thread that waits for either signal and calls `handler` with it.
  static void Listen(Handler handler);
};
