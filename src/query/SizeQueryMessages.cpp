#include "query/SizeQueryMessages.h"

#include <map>

#include "core/LanguageTable.h"

namespace SizeQueryMessages {

const std::string& BuiltInText(Id id) {
  static const std::map<Id, std::string> kBuiltIn = {
      {kBadAddress, "Неправильный формат адреса!"},
      {kConnecting, "Установка соединения..."},
      {kConnectionFailed, "Ошибка соединения!"},
      {kConnected, "Соединение установлено. Запрос размера..."},
      {kNotFound, "Файл не найден!"},
      {kNotSupported, "Сервер не поддерживает требуемую функцию!"},
      {kRequestError, "Ошибка запроса!"},
      {kServerError, "Ошибка сервера!"},
      {kUnknownError, "Неизвестная ошибка!"},
      {kUnknownErrorCode, "Неизвестная ошибка! Код: %d."},
      {kAnswerReceived, "Ответ получен."},
      {kSizeQueryError, "Ошибка при запросе размера. Код ошибки: %d"},
      {kAskingAnotherWay, "Размер не сообщён. Запрос другим способом..."},
  };
  return kBuiltIn.at(id);
}

std::string Text(const LanguageTable& texts, Id id) { return texts.Text(id, BuiltInText(id)); }

HttpVerdict ChooseHttpVerdict(std::optional<std::uint32_t> statusCode, bool hasLength) {
  if (!statusCode) return {hasLength ? kAnswerReceived : kUnknownError, !hasLength};
  const std::uint32_t code = *statusCode;
  const bool failed = !hasLength || code >= 400;
  if (code == 404) return {kNotFound, failed};
  if (code == 405) return {kNotSupported, failed};
  if (code >= 400 && code <= 499) return {kRequestError, failed};
  if (code >= 500 && code <= 599) return {kServerError, failed};
  return {hasLength ? kAnswerReceived : kUnknownErrorCode, failed};
}

}  // namespace SizeQueryMessages
