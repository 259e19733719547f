#include <curl/curl.h>
#include <gtest/gtest.h>

// As in the programs: curl's global state is set up once, before any thread uses it.
int main(int argc, char** argv) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  curl_global_cleanup();
  return result;
}
