#include "query/ClipboardCaptureRule.h"

#include "net/ParsedUrl.h"
#include "query/QuerySizeThread.h"

ClipboardCapture CaptureFromClipboard(const std::string& clipboardText, const std::string& urlBoxText,
                                      bool asksHttps) {
  std::string address = CompleteQueryAddress(clipboardText);
  if (address == urlBoxText) return {ClipboardCapture::Verdict::SameAsUrlBox, std::move(address)};
  const auto parsed = ParsedUrl::Parse(address);
  const bool asked = parsed && (parsed->service == ServiceType::Http || parsed->service == ServiceType::Ftp ||
                                (parsed->service == ServiceType::Https && asksHttps));
  return {asked ? ClipboardCapture::Verdict::Take : ClipboardCapture::Verdict::Reject, std::move(address)};
}
