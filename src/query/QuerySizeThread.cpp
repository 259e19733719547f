#include "query/QuerySizeThread.h"

#include <thread>

#include "localisation/LanguageTable.h"
#include "localisation/NumberTemplate.h"
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

  SizeQueryOutcome Run() {
    const auto address = CompleteQueryAddress(m_view.ReadAddress());
    const auto url = ParsedUrl::Parse(address);
    if (!url) {
      Show(kBadAddress);
      return SizeQueryOutcome::BadAddress;
    }
    const bool asksHttps = m_view.AsksHttps();
    m_view.SetQueryButtonsEnabled(false);
    const auto outcome = Ask(*url, address, asksHttps);
    m_view.SetQueryButtonsEnabled(true);
    return outcome;
  }

 private:
  SizeQueryOutcome Ask(const ParsedUrl& url, const std::string& address, bool asksHttps) {
    if (url.service == ServiceType::Other || (url.service == ServiceType::Https && !asksHttps))
      return SizeQueryOutcome::OtherService;
    try {
      if (url.service == ServiceType::Http || url.service == ServiceType::Https)
        AskHttp(address);
      else
        AskFtp(url);
    } catch (const InternetException&) {
      m_session.Close();
      Show(kConnectionFailed);
    }
    return m_sizeShown ? SizeQueryOutcome::SizeShown : SizeQueryOutcome::NoSize;
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
    file->Close();
    if (verdict.message == kUnknownErrorCode)
      m_view.SetStatusText(FillNumberTemplate(Text(m_view.LanguageTexts(), verdict.message), code));
    else
      Show(verdict.message);
    if (!verdict.failed) ShowSize(size);
  }

  void AskFtp(const ParsedUrl& url) {
    StartAsking();
    auto connection = m_session.GetFtpConnection(url.server, url.userName, url.password, url.port);
    Show(kConnected);
    FtpFileFind finder(*connection);
    if (!finder.FindFile(url.objectPath)) {
      m_view.SetStatusText(
          FillNumberTemplate(Text(m_view.LanguageTexts(), kSizeQueryError), finder.LastError()));
    } else {
      finder.FindNextFile();
      const std::uint64_t size = finder.GetLength();
      Show(kAnswerReceived);
      ShowSize(size);
    }
    finder.Close();
    connection->Close();
  }

  void StartAsking() {
    m_view.SetSizeText("");
    Show(kConnecting);
  }

  void Show(Id message) { m_view.SetStatusText(Text(m_view.LanguageTexts(), message)); }

  void ShowSize(std::uint64_t size) {
    m_view.ShowFileSize(size);
    m_sizeShown = true;
  }

  SizeQueryView& m_view;
  InternetSession m_session;
  bool m_sizeShown = false;
};

}  // namespace

std::string CompleteQueryAddress(const std::string& address) {
  return address.starts_with("www.") ? "http://" + address : address;
}

SizeQueryOutcome QuerySizeThread(SizeQueryView& view) {
  if (!view.TryBeginQuery()) return SizeQueryOutcome::Refused;
  // The next query may start while this one still says goodbye to its server.
  SizeQuery query(view);
  const SizeQueryOutcome outcome = query.Run();
  view.EndQuery();
  return outcome;
}

void StartSizeQuery(std::shared_ptr<SizeQueryView> view, std::function<void()> onEnd) {
  std::thread([view = std::move(view), onEnd = std::move(onEnd)] {
    QuerySizeThread(*view);
    if (onEnd) onEnd();
  }).detach();
}
