#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "cli/CliOptions.h"
#include "query/SizeQueryReport.h"
#include "query/SizeQueryView.h"

// The size query's view in a terminal for one address: status texts go to one
// stream, one line each, and the size to another.
class CliSizeView : public SizeQueryView {
 public:
  CliSizeView(const CliOptions& options, const LanguageTable& texts, std::ostream& statusOut, std::ostream& sizeOut)
      : m_address(options.addresses.at(0)),
        m_groupDigits(options.groupDigits),
        m_asksHttps(options.asksHttps),
        m_asksOtherWays(options.asksOtherWays),
        m_human(options.human),
        m_texts(texts),
        m_statusOut(statusOut),
        m_sizeOut(sizeOut) {}

  std::string ReadAddress() override { return m_address; }
  void SetStatusText(const std::string& text) override;
  void SetSizeText(const std::string& text) override;
  void ShowFileSize(std::uint64_t size) override;
  void SetQueryButtonsEnabled(bool) override {}
  const LanguageTable& LanguageTexts() const override { return m_texts; }
  bool AsksHttps() override { return m_asksHttps; }
  bool AsksOtherWays() override { return m_asksOtherWays; }
  void ReportQuery(const SizeQueryReport& report) override { m_report = report; }

  // How the query ended; nothing before it has.
  const std::optional<SizeQueryReport>& Report() const { return m_report; }

  // A text's line breaks become blanks, so that one text stays one line.
  static std::string OneLine(std::string text);

 private:
  std::string m_address;
  bool m_groupDigits;
  bool m_asksHttps;
  bool m_asksOtherWays;
  bool m_human;  // the size in binary units too
  const LanguageTable& m_texts;
  std::ostream& m_statusOut;
  std::ostream& m_sizeOut;
  std::optional<SizeQueryReport> m_report;
};
