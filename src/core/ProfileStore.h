#pragma once

#include <cstdint>
#include <string>

// The per-user store of preferences: named values grouped in sections.
// Numbers are 32-bit; a value that cannot be read gives the caller's default.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  virtual std::int32_t GetProfileInt(const std::string& section, const std::string& entry,
                                     std::int32_t defaultValue) = 0;
  virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                       const std::string& defaultValue) = 0;
  virtual bool WriteProfileInt(const std::string& section, const std::string& entry, std::int32_t value) = 0;
  virtual bool WriteProfileString(const std::string& section, const std::string& entry,
                                  const std::string& value) = 0;
};
