#include "net/FtpFileFind.h"

#include <curl/curl.h>

#include "net/FtpConnection.h"

namespace {

// Takes the listing line by line and stops the transfer at the first entry, so a
// huge directory is never read whole; a listing that brings no entry within its
// first FtpFileFind::kMaxListingBytes is not read any further.
struct ListingReader {
  static constexpr std::size_t kMaxLine = 8192;
  std::string pending;
  bool overlong = false;  // the current line outgrew kMaxLine: skip to its end
  std::size_t taken = 0;
  bool capped = false;
  std::optional<FtpListEntry> entry;

  // Returns false once the entry is found, or once the listing has run too long.
  bool Take(std::string_view data) {
    for (char c : data) {
      if (++taken > FtpFileFind::kMaxListingBytes) {
        capped = true;
        return false;
      }
      if (c == '\n') {
        if (!overlong) entry = FtpListParser::ParseLine(pending);
        pending.clear();
        overlong = false;
        if (entry) return false;
      } else if (pending.size() < kMaxLine) {
        pending.push_back(c);
      } else {
        overlong = true;
      }
    }
    return true;
  }

  void Finish() {
    if (!entry && !overlong && !pending.empty()) entry = FtpListParser::ParseLine(pending);
  }
};

std::size_t OnListing(char* data, std::size_t size, std::size_t count, void* reader) {
  const std::size_t bytes = size * count;
  return static_cast<ListingReader*>(reader)->Take({data, bytes}) ? bytes : 0;
}

}  // namespace

bool FtpFileFind::FindFile(const std::string& path) {
  m_entry.reset();
  ListingReader reader;
  const std::string command = "LIST " + path;
  CURL* curl = m_connection.PrepareCommand();
  curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, command.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnListing);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reader);
  const CURLcode result = m_connection.Perform();
  if (!reader.capped) reader.Finish();
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &m_replyCode);

  m_entry = reader.entry;
  if (m_entry) return true;
  if (reader.capped) {
    m_lastError = kNoEntry;
    return false;
  }
  if (result != CURLE_OK && m_replyCode >= 400)
    m_lastError = m_replyCode;
  else if (result == CURLE_OK)
    m_lastError = kNoEntry;
  else
    m_lastError = result;
  return false;
}
