#pragma once

#include <cstdint>
#include <optional>
#include <string>

class LanguageTable;

// The status texts of a size query, by string ID.
namespace SizeQueryMessages {

enum Id : std::uint32_t {
  kBadAddress = 1002,
  kConnecting = 1003,
  kConnectionFailed = 1004,
  kConnected = 1005,
  kNotFound = 1006,
  kNotSupported = 1007,
  kRequestError = 1008,
  kServerError = 1009,
  kUnknownError = 1010,
  kUnknownErrorCode = 1011,  // template: the status code
  kAnswerReceived = 1012,
  kSizeQueryError = 1013,    // template: the error code
  kAskingAnotherWay = 1014,  // the server gave no size; asking it in another way
};

// The built-in (Russian) text of a message.
const std::string& BuiltInText(Id id);
// The language table's text for `id`, else the built-in one.
std::string Text(const LanguageTable& texts, Id id);

struct HttpVerdict {
  Id message;
  bool failed;  // the size must not be shown
};

// Chooses the final message of an HTTP query from what the answer's head gave.
HttpVerdict ChooseHttpVerdict(std::optional<std::uint32_t> statusCode, bool hasLength);

}  // namespace SizeQueryMessages
