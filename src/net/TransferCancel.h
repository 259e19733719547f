#pragma once

#include <atomic>
#include <mutex>

// A cancel that any thread may give at any time, and that the transfer running
// at that moment hears at once: it wakes whatever the transfer waits on.
// A cancel given before a transfer starts, or between two transfers, is kept
// and ends the next one before it asks anything.
class TransferCancel {
 public:
  // What a transfer waits on; Wake must be safe to call from any thread.
  class Waiter {
   public:
    virtual void Wake() = 0;

   protected:
    ~Waiter() = default;
  };

  void Cancel();
  bool IsCancelled() const { return m_cancelled.load(); }
  const std::atomic<bool>& Flag() const { return m_cancelled; }

  // The waiter that a Cancel wakes from now on (one at a time; null for none).
  // Attaching after a Cancel wakes the new waiter at once.
  void Attach(Waiter* waiter);
  // Stops waking `waiter`; returns once no Cancel is waking it any more.
  void Detach(Waiter* waiter);

 private:
  std::mutex m_lock;  // held around the waiter, so a Cancel never wakes one that is gone
  std::atomic<bool> m_cancelled{false};
  Waiter* m_waiter = nullptr;
};
