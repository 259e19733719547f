#include "net/TransferCancel.h"

void TransferCancel::Cancel() {
  std::lock_guard lock(m_lock);
  m_cancelled = true;
  if (m_waiter) m_waiter->Wake();
}

void TransferCancel::Attach(Waiter* waiter) {
  std::lock_guard lock(m_lock);
  m_waiter = waiter;
  if (m_waiter && m_cancelled) m_waiter->Wake();
}

void TransferCancel::Detach(Waiter* waiter) {
  std::lock_guard lock(m_lock);
  if (m_waiter == waiter) m_waiter = nullptr;
}
