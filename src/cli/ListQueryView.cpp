#include "cli/ListQueryView.h"

#include "query/QuerySizeThread.h"

SizeQueryReport ListQueryView::Ask(const std::string& address) {
  m_address = address;
  m_report = {};
  QuerySizeThread(*this);
  return m_report;
}
