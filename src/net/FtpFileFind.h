#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "net/FtpListParser.h"

class FtpConnection;

// Looks a path up in the server's listing (LIST <path>) on a logged-in connection.
class FtpFileFind {
 public:
  // The error code of a failed FindFile: the server's reply code when it refused
  // the listing, ENOENT when the listing held no entry, otherwise curl's error number.
  static constexpr long kNoEntry = 2;  // ENOENT
  // A listing is read no further than this when no entry has come (the same
  // ENOENT then); a first entry is one line, and a line is at most 8 KiB.
  static constexpr std::size_t kMaxListingBytes = 64 * 1024;

  explicit FtpFileFind(FtpConnection& connection) : m_connection(connection) {}

  bool FindFile(const std::string& path);
  long LastError() const { return m_lastError; }
  // The server's last reply to the listing (0 when it gave none).
  long LastReplyCode() const { return m_replyCode; }
  // Moves onto the found entry; there is only ever the first one.
  bool FindNextFile() { return m_entry.has_value(); }
  std::uint64_t GetLength() const { return m_entry ? m_entry->size : 0; }
  void Close() { m_entry.reset(); }

 private:
  FtpConnection& m_connection;
  std::optional<FtpListEntry> m_entry;
  long m_lastError = 0;
  long m_replyCode = 0;
};
