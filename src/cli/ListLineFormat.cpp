#include "cli/ListLineFormat.h"

#include <algorithm>
#include <ctime>
#include <nlohmann/json.hpp>

#include "cli/CliSizeView.h"
#include "query/FileSizeFormat.h"

namespace {

using Json = nlohmann::ordered_json;

// A verdict's tabs would break the columns; its line breaks, like the address's, the line.
std::string VerdictField(const std::string& text) {
  std::string field = CliSizeView::OneLine(text);
  std::replace(field.begin(), field.end(), '\t', ' ');
  return field;
}

template <typename T>
Json OrNull(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

}  // namespace

const char* OutcomeName(SizeQueryOutcome outcome) {
  switch (outcome) {
    case SizeQueryOutcome::SizeShown: return "size";
    case SizeQueryOutcome::BadAddress: return "bad-address";
    case SizeQueryOutcome::OtherService: return "not-asked";
    case SizeQueryOutcome::Refused:
    case SizeQueryOutcome::NoSize: break;
  }
  return "no-size";
}

std::string IsoUtcTime(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  char text[32];
  if (!gmtime_r(&time, &utc) || std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0) return {};
  return text;
}

std::string TsvLine(const std::string& address, const SizeQueryReport& report, bool human) {
  std::string size;
  if (report.size) size = human ? FormatBinaryUnits(*report.size) : FormatFileSize(*report.size, false);
  return size + '\t' + VerdictField(report.verdictText) + '\t' + CliSizeView::OneLine(address);
}

std::string JsonLine(const std::string& address, const SizeQueryReport& report) {
  const AnswerFacts& facts = report.facts;
  Json line;
  line["address"] = address;
  line["final_address"] = facts.finalAddress.empty() ? Json(nullptr) : Json(facts.finalAddress);
  line["size"] = OrNull(report.size);
  line["verdict"] = report.verdict ? Json(report.verdictText) : Json(nullptr);
  line["verdict_id"] = report.verdict ? Json(static_cast<std::uint32_t>(*report.verdict)) : Json(nullptr);
  line["outcome"] = OutcomeName(report.outcome);
  line["status"] = OrNull(facts.replyCode);
  line["content_type"] = OrNull(facts.contentType);
  const std::string modified = facts.lastModified ? IsoUtcTime(*facts.lastModified) : std::string();
  line["last_modified"] = modified.empty() ? Json(nullptr) : Json(modified);
  line["accepts_ranges"] = OrNull(facts.acceptsRanges);
  return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}
