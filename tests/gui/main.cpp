#include <gtest/gtest.h>

#include <curl/curl.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "localisation/CLocalizedApp.h"

// Widget tests share one application object; settings go to a fresh folder so the
// user's own are never touched and no run sees another's leftovers.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  std::string config = (std::filesystem::temp_directory_path() / "quorvane-gui-XXXXXX").string();
  if (!mkdtemp(config.data())) return 1;
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
  curl_global_init(CURL_GLOBAL_DEFAULT);
  int result = 0;
  {
    CLocalizedApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  curl_global_cleanup();
  std::filesystem::remove_all(config);
  return result;
}
