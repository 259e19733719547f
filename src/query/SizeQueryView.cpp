#include "query/SizeQueryView.h"

bool SizeQueryView::TryBeginQuery() {
  std::lock_guard lock(m_csQuery);
  if (m_bQueryRunning) return false;
  m_bQueryRunning = true;
  return true;
}

void SizeQueryView::EndQuery() {
  std::lock_guard lock(m_csQuery);
  m_bQueryRunning = false;
}
