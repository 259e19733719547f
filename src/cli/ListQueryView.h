#pragma once

#include <string>

#include "query/SizeQueryReport.h"
#include "query/SizeQueryView.h"

// A list worker's view: one address at a time, asked on the worker's own thread.
// Nothing is narrated; the query's report becomes the address's line.
class ListQueryView : public SizeQueryView {
 public:
  ListQueryView(const LanguageTable& texts, bool asksHttps) : m_texts(texts), m_asksHttps(asksHttps) {}

  // Asks one address, with every rule of a single query.
  SizeQueryReport Ask(const std::string& address);

  std::string ReadAddress() override { return m_address; }
  void SetStatusText(const std::string&) override {}
  void SetSizeText(const std::string&) override {}
  void ShowFileSize(std::uint64_t) override {}
  void SetQueryButtonsEnabled(bool) override {}
  const LanguageTable& LanguageTexts() const override { return m_texts; }
  bool AsksHttps() override { return m_asksHttps; }
  void ReportQuery(const SizeQueryReport& report) override { m_report = report; }

 private:
  const LanguageTable& m_texts;
  const bool m_asksHttps;
  std::string m_address;
  SizeQueryReport m_report;
};
