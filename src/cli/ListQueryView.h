#pragma once

#include <string>

#include "query/SizeQueryReport.h"
#include "query/SizeQueryView.h"

// A list worker's view: one address at a time, asked on the worker's own thread.
// Nothing is narrated; the query's report becomes the address's line.
class ListQueryView : public SizeQueryView {
 public:
  // What the user asked for beyond a plain query.
  struct Choices {
    bool asksHttps = false;
    bool asksOtherWays = false;
  };

  ListQueryView(const LanguageTable& texts, Choices choices) : m_texts(texts), m_choices(choices) {}

  // Asks one address, with every rule of a single query.
  SizeQueryReport Ask(const std::string& address);

  std::string ReadAddress() override { return m_address; }
  void SetStatusText(const std::string&) override {}
  void SetSizeText(const std::string&) override {}
  void ShowFileSize(std::uint64_t) override {}
  void SetQueryButtonsEnabled(bool) override {}
  const LanguageTable& LanguageTexts() const override { return m_texts; }
  bool AsksHttps() override { return m_choices.asksHttps; }
  bool AsksOtherWays() override { return m_choices.asksOtherWays; }
  void ReportQuery(const SizeQueryReport& report) override { m_report = report; }

 private:
  const LanguageTable& m_texts;
  const Choices m_choices;
  std::string m_address;
  SizeQueryReport m_report;
};
