#include "query/QuerySizeThread.h"

#include "core/LanguageTable.h"
#include "core/NumberTemplate.h"
#include "net/FtpConnection.h"
#include "net/FtpFileFind.h"
#include "net/HttpFile.h"
#include "net/InternetException.h"
#include "net/InternetSession.h"
#include "net/ParsedUrl.h"
#include "query/SizeQueryMessages.h"
#include "query/SizeQueryView.h"

namespace {

using namespace SizeQueryMessages;

class SizeQuery {
 public:
  explicit SizeQuery(SizeQueryView& view)
      : m_view(view), m_session(view.ConnectionOptions(), &view.Cancellation()) {}

  SizeQueryReport Run() {
    const auto address = CompleteQueryAddress(m_view.ReadAddress());
    const auto url = ParsedUrl::Parse(address);
    if (!url) {
      Show(kBadAddress);
      m_report.outcome = SizeQueryOutcome::BadAddress;
      return m_report;
    }
    const bool asksHttps = m_view.AsksHttps();
    m_asksOtherWays = m_view.AsksOtherWays();
    m_view.SetQueryButtonsEnabled(false);
    m_report.outcome = Ask(*url, address, asksHttps);
    m_view.SetQueryButtonsEnabled(true);
    return m_report;
  }

 private:
  SizeQueryOutcome Ask(const ParsedUrl& url, const std::string& address, bool asksHttps) {
    if (url.service == ServiceType::Other || (url.service == ServiceType::Https && !asksHttps))
      return SizeQueryOutcome::OtherService;
    m_report.facts.finalAddress = address;  // until an answer says where it came from
    try {
      if (url.service == ServiceType::Http || url.service == ServiceType::Https)
        AskHttp(address);
      else
        AskFtp(url);
    } catch (const InternetException&) {
      m_session.Close();
      Show(kConnectionFailed);
    }
    return m_report.size ? SizeQueryOutcome::SizeShown : SizeQueryOutcome::NoSize;
  }

  void AskHttp(const std::string& address) {
    StartAsking();
    auto file = m_session.OpenURL(address);
    Show(kConnected);
    std::uint64_t size = 0;
    const bool hasLength = file->QueryInfoContentLength(size);
    std::uint32_t code = 0;
    std::optional<std::uint32_t> statusCode;
    if (file->QueryInfoStatusCode(code)) statusCode = code;
    const auto verdict = ChooseHttpVerdict(statusCode, hasLength);
    m_report.facts = file->Facts();
    file->Close();
    if (verdict.message == kUnknownErrorCode && m_asksOtherWays && AskFirstByte()) return;
    if (verdict.message == kUnknownErrorCode)
      Show(verdict.message, code);
    else
      Show(verdict.message);
    if (!verdict.failed) ShowSize(size);
  }

  // A server that streams a file without a length mostly tells it in a range answer
  // (206, "Content-Range: bytes 0-0/N"), or a plain length to a second GET. Whatever
  // else comes back, the first answer's verdict stands.
  bool AskFirstByte() {
    Show(kAskingAnotherWay);
    try {
      auto file = m_session.OpenFirstByte(m_report.facts.finalAddress);
      std::uint32_t code = 0;
      std::uint64_t size = 0;
      const bool answered = file->QueryInfoStatusCode(code) &&
                            ((code == 206 && file->QueryInfoRangeTotal(size)) ||
                             (code == 200 && file->QueryInfoContentLength(size)));
      if (!answered) return false;
      m_report.facts = file->Facts();
      Show(kAnswerReceived);
      ShowSize(size);
      return true;
    } catch (const InternetException&) {
      return false;
    }
  }

  void AskFtp(const ParsedUrl& url) {
    StartAsking();
    auto connection = m_session.GetFtpConnection(url.server, url.userName, url.password, url.port);
    Show(kConnected);
    FtpFileFind finder(*connection);
    const bool found = finder.FindFile(url.objectPath);
    if (finder.LastReplyCode() > 0) m_report.facts.replyCode = finder.LastReplyCode();
    if (!found) {
      const auto size = m_asksOtherWays ? AskFtpSize(*connection, url.objectPath) : std::nullopt;
      if (size) {
        Show(kAnswerReceived);
        ShowSize(*size);
      } else {
        Show(kSizeQueryError, finder.LastError());
      }
    } else {
      finder.FindNextFile();
      const std::uint64_t size = finder.GetLength();
      Show(kAnswerReceived);
      ShowSize(size);
    }
    finder.Close();
    connection->Close();
  }

  // A path the listing gives no readable entry for may still have a size the server
  // tells on the same connection.
  std::optional<std::uint64_t> AskFtpSize(FtpConnection& connection, const std::string& path) {
    Show(kAskingAnotherWay);
    try {
      return connection.QuerySize(path);
    } catch (const InternetException&) {
      return std::nullopt;
    }
  }

  void StartAsking() {
    m_view.SetSizeText("");
    Show(kConnecting);
  }

  void Show(Id message) { ShowText(message, Text(m_view.LanguageTexts(), message)); }
  // A message that carries a number (its template's first "%d").
  void Show(Id message, std::int64_t number) {
    ShowText(message, FillNumberTemplate(Text(m_view.LanguageTexts(), message), number));
  }

  void ShowText(Id message, const std::string& text) {
    m_view.SetStatusText(text);
    m_report.verdict = message;
    m_report.verdictText = text;
  }

  void ShowSize(std::uint64_t size) {
    m_view.ShowFileSize(size);
    m_report.size = size;
  }

  SizeQueryView& m_view;
  InternetSession m_session;
  SizeQueryReport m_report;
  bool m_asksOtherWays = false;
};

}  // namespace

std::string CompleteQueryAddress(const std::string& address) {
  return address.starts_with("www.") ? "http://" + address : address;
}

SizeQueryOutcome QuerySizeThread(SizeQueryView& view) {
  if (!view.TryBeginQuery()) return SizeQueryOutcome::Refused;
  // The next query may start while this one still says goodbye to its server.
  SizeQuery query(view);
  const SizeQueryReport report = query.Run();
  view.EndQuery();
  view.ReportQuery(report);
  return report.outcome;
}
