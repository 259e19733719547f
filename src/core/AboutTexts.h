#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/ProductVersion.h"

// The program's own facts as the About box tells them.
namespace AboutFacts {
// The project has no page of its own yet: the reserved example.org domain stands in.
inline constexpr const char* kHomePageAddress = "https://www.example.org/quorvane/";
inline constexpr const char* kHomePageShown = "www.example.org";
inline constexpr const char* kSupportAddress = "help@example.org";
// The program is credited to its project, not to a person: "Quorvane developers" in the
// language file's words, "Разработчики Quorvane" built in. The institution is the organisation
// the settings are kept under, by its own name in both scripts; the year is the source's.
inline constexpr const char* kDevelopersBuiltIn = "Разработчики Quorvane";
inline constexpr const char* kInstitution = kProductOrganisation;
inline constexpr const char* kYear = kSourceYear;
}  // namespace AboutFacts

// The About box's caption and control texts, UTF-8, line breaks as the language table keeps them.
struct AboutTexts {
  std::string caption;      // 50
  std::string program;      // control 1009, string 52
  std::string version;      // 1010, 53
  std::string developer;    // 1011, 54
  std::string institution;  // 1012, by the same lookup of 54
  std::string rights;       // 1013, 55
  std::string homePage;     // 1014, 56
  std::string email;        // 1015, 57
  std::string ok;           // button 1, 58

  bool operator==(const AboutTexts&) const = default;
};

// Gives the table's text for an ID and true, or false when the table has none.
using TextLookup = std::function<bool(std::uint32_t id, std::string& text)>;

// Composes the texts from one lookup per string ID. A text for 54 is the developer line in the
// file's language (word order differs: "Quorvane developers", "Разработчики Quorvane"), and the
// institution line follows it in Latin form; without one both are the built-in Russian lines. The version line is its label,
// one blank and `versionText`, also when that is empty.
AboutTexts ComposeAboutTexts(const TextLookup& lookup, const std::string& versionText);
