#include <gtest/gtest.h>

#include "core/LanguageTable.h"
#include "query/SizeQueryMessages.h"

using namespace SizeQueryMessages;

TEST(SizeQueryMessages, ChoosesTheHttpVerdictFromStatusAndLength) {
  struct Case {
    std::optional<std::uint32_t> status;
    bool hasLength;
    Id message;
    bool failed;
  };
  const Case cases[] = {
      {200, true, kAnswerReceived, false},
      {200, false, kUnknownErrorCode, true},  // chunked answer: no size
      {204, true, kAnswerReceived, false},
      {404, true, kNotFound, true},  // an error page's length is no file size
      {404, false, kNotFound, true},
      {405, true, kNotSupported, true},
      {403, true, kRequestError, true},
      {400, true, kRequestError, true},
      {499, false, kRequestError, true},
      {500, true, kServerError, true},
      {503, false, kServerError, true},
      {599, true, kServerError, true},
      {600, true, kAnswerReceived, true},  // unknown status: looks answered, no size
      {999, false, kUnknownErrorCode, true},
      {std::nullopt, true, kAnswerReceived, false},
      {std::nullopt, false, kUnknownError, true},
  };
  for (const auto& c : cases) {
    const auto verdict = ChooseHttpVerdict(c.status, c.hasLength);
    EXPECT_EQ(verdict.message, c.message) << c.status.value_or(0) << " length=" << c.hasLength;
    EXPECT_EQ(verdict.failed, c.failed) << c.status.value_or(0) << " length=" << c.hasLength;
  }
}

TEST(SizeQueryMessages, EveryMessageHasItsBuiltInText) {
  LanguageTable emptyTable;
  EXPECT_EQ(Text(emptyTable, kConnecting), "Установка соединения...");
  EXPECT_EQ(Text(emptyTable, kSizeQueryError), "Ошибка при запросе размера. Код ошибки: %d");
  for (std::uint32_t id = kBadAddress; id <= kSizeQueryError; ++id)
    EXPECT_FALSE(BuiltInText(static_cast<Id>(id)).empty()) << id;
}
