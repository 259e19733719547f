#include "core/AboutTexts.h"

namespace {

constexpr const char* kProgramName = "Quorvane";
constexpr const char* kCopyrightSign = "©";

}  // namespace

AboutTexts ComposeAboutTexts(const TextLookup& lookup, const std::string& versionText) {
  // The table's text for `id`, or the built-in one.
  auto text = [&lookup](std::uint32_t id, const char* builtIn) {
    std::string found;
    return lookup(id, found) ? found : std::string(builtIn);
  };

  AboutTexts texts;
  texts.caption = text(50, "О программе");
  texts.program = text(52, "Программа:") + " " + kProgramName;
  texts.version = text(53, "Версия:") + " " + versionText;

  if (lookup(54, texts.developer)) {
    texts.institution = std::string(AboutFacts::kInstitution) + ", " + AboutFacts::kYear;
  } else {
    texts.developer = AboutFacts::kDevelopersBuiltIn;
    texts.institution = std::string(AboutFacts::kInstitution) + ", " + AboutFacts::kYear + " г.";
  }

  std::string rights;
  texts.rights = lookup(55, rights) ? std::string(kCopyrightSign) + " " + rights
                                    : std::string(kCopyrightSign) + " Все права защищены.";
  texts.homePage = text(56, "Домашняя страница:");
  texts.email = text(57, "E-mail:");
  texts.ok = text(58, "OK");
  return texts;
}
