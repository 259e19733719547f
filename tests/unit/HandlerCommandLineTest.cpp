#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/DesktopEntry.h"
#include "core/HandlerCommandLine.h"

namespace {

struct PlaceholderCase {
  const char* name;
  std::string command;
  std::string commandLine;  // for the target "T"
};

}  // namespace

// The cut: at the quoted code's opening mark, else at the bare code; all after it goes; then
// one blank and the target, unquoted.
TEST(HandlerCommandLine, CutsAtThePlaceholderAndAppendsTheTarget) {
  const PlaceholderCase cases[] = {
      {"quoted", "browser \"%u\"", "browser  T"},
      {"bare", "browser %u", "browser  T"},
      {"none", "browser --new-window", "browser --new-window T"},
      {"quoted, further arguments dropped", "browser \"%U\" --private -x", "browser  T"},
      {"bare, further arguments dropped", "/opt/b/run -a %f -b %u", "/opt/b/run -a  T"},
      {"quoted wins over an earlier bare code", "b %F --x \"%u\" y", "b %F --x  T"},
      {"code inside a longer quoted word is bare", "b \"--url=%u\"", "b \"--url= T"},
      {"a percent sign is no code", "b 100%%u", "b 100%%u T"},
      {"codes that are no target stay", "b %i %c", "b %i %c T"},
      {"code at the very start", "%u", " T"},
      {"lone percent at the end", "b %", "b % T"},
      {"empty command", "", " T"},
  };
  for (const PlaceholderCase& each : cases)
    EXPECT_EQ(HandlerCommandLine(each.command, "T"), each.commandLine) << each.name;
}

TEST(HandlerCommandLine, ALongTargetIsKeptWhole) {
  const std::string target = "https://example.org/" + std::string(100000, 'a');
  EXPECT_EQ(HandlerCommandLine("b \"%u\" --x", target), "b  " + target);
  const auto launch = HandlerLaunchFor("b \"%u\" --x", target);
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->arguments, std::vector<std::string>{target});
}

// The words a program gets: the desktop-entry quoting undone and nothing else; what a shell
// would read as a command stays bytes of one argument.
TEST(HandlerCommandLine, SplitsIntoWordsWithoutAShell) {
  struct Case {
    const char* name;
    std::string command;
    std::vector<std::string> words;
  } cases[] = {
      {"plain", "browser  --a\t-b", {"browser", "--a", "-b"}},
      {"quoted blanks", "\"/opt/My Browser/run\" \"two words\"", {"/opt/My Browser/run", "two words"}},
      {"escapes in quotes", R"(b "a\"b" "\$HOME" "\`x\`" "c\\d" "e\f")", {"b", "a\"b", "$HOME", "`x`", "c\\d", "e\\f"}},
      {"shell syntax stays", "b ;rm $(id) `id` | x > y 'q'", {"b", ";rm", "$(id)", "`id`", "|", "x", ">", "y", "'q'"}},
      {"a newline is a byte", "b \"a\nb\"", {"b", "a\nb"}},
      {"empty quoted word", "b \"\" c", {"b", "", "c"}},
      {"other field codes dropped, %% is %", "b %i %c %k 50%% %d", {"b", "50%"}},
  };
  for (const Case& each : cases) {
    const auto words = SplitCommandWords(each.command);
    ASSERT_TRUE(words) << each.name;
    EXPECT_EQ(*words, each.words) << each.name;
  }
  for (const char* unusable : {"", "   ", "b \"open", "\"\" x", "%i"})
    EXPECT_FALSE(SplitCommandWords(unusable)) << '[' << unusable << ']';
}

TEST(HandlerCommandLine, TheTargetIsOneLastArgumentWhateverItHolds) {
  const std::string hostile = "https://example.org/a b\";rm -rf ~;$(touch x)\n`id`'";
  const auto launch = HandlerLaunchFor("\"/usr/bin/web browser\" --new \"%u\" --after", hostile);
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->program, "/usr/bin/web browser");
  EXPECT_EQ(launch->arguments, (std::vector<std::string>{"--new", hostile}));
  EXPECT_FALSE(HandlerLaunchFor("b \"--url=%u\"", hostile)) << "the cut leaves a quotation open";
}

TEST(DesktopEntry, FindsTheCommandOfTheMainGroup) {
  struct Case {
    const char* name;
    std::string text;
    std::optional<std::string> exec;
  } cases[] = {
      {"plain", "[Desktop Entry]\nName=B\nExec=b %u\n", "b %u"},
      {"CR LF, blanks around =", "[Desktop Entry]\r\nExec = b %u \r\n", "b %u"},
      {"string escapes", "[Desktop Entry]\nExec=b\\sx \"a\\\\\\\\b\" \\$\n", "b x \"a\\\\b\" \\$"},
      {"localised key is another key", "[Desktop Entry]\nExec[de]=x\nExec=b\n", "b"},
      {"first Exec counts", "[Desktop Entry]\nExec=first\nExec=second\n", "first"},
      {"other groups ignored", "[Desktop Action New]\nExec=x\n[Desktop Entry]\n#Exec=y\nExec=b\n", "b"},
      {"Exec only in another group", "[Desktop Entry]\nName=B\n[Desktop Action New]\nExec=x\n", std::nullopt},
      {"no group", "Exec=b\n", std::nullopt},
      {"blank value", "[Desktop Entry]\nExec=  \n", std::nullopt},
      {"similar key", "[Desktop Entry]\nExecutable=b\nTryExec=b\n", std::nullopt},
      {"no line end", "[Desktop Entry]\nExec=b", "b"},
      {"empty", "", std::nullopt},
  };
  for (const Case& each : cases) EXPECT_EQ(DesktopEntryExec(each.text), each.exec) << each.name;
}

TEST(DesktopEntry, TakesOnlyPlainDesktopFileNames) {
  for (const char* good : {"firefox-esr.desktop", "org.example.Browser.desktop"})
    EXPECT_TRUE(IsDesktopFileId(good)) << good;
  for (const std::string& bad : std::vector<std::string>{"", ".desktop", "browser", "../../x.desktop", "sub/x.desktop", "a\nb.desktop",
                                "-x.desktop", std::string(300, 'a') + ".desktop"})
    EXPECT_FALSE(IsDesktopFileId(bad)) << bad;
}
