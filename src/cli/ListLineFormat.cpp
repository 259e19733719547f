#include "cli/ListLineFormat.h"

#include <ctime>
#include <nlohmann/json.hpp>

#include "query/FileSizeFormat.h"

namespace {

using Json = nlohmann::ordered_json;

// Tabs and line breaks inside a field would break the columns.
std::string OneField(std::string text, bool keepTabs) {
  std::string field;
  field.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    field.push_back(c == '\r' || c == '\n' || (c == '\t' && !keepTabs) ? ' ' : c);
  }
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
  return size + '\t' + OneField(report.verdictText, false) + '\t' + OneField(address, true);
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
