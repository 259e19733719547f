#include "desktop/LinkOpener.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

#include "core/DesktopEntry.h"
#include "desktop/DesktopLog.h"
#include "core/HandlerCommandLine.h"

void LinkOpener::Open(const QString& target, QObject* context, Done done) {
  // Owned by the application, not by `context`: an opener still running when the dialog
  // closes goes on opening the target; only the answer is no longer told.
  auto* opener = new LinkOpener(target, context, std::move(done));
  opener->RunOpener();
}

LinkOpener::LinkOpener(const QString& target, QObject* context, Done done)
    : QObject(QCoreApplication::instance()), m_target(target), m_context(context), m_done(std::move(done)) {
  // With the dialog gone, nobody is told and nothing more is tried.
  connect(context, &QObject::destroyed, this, [this] {
    m_context = nullptr;
    Finish(kNoAssociation);
  });

  m_openerDeadline.setSingleShot(true);
  m_openerDeadline.setInterval(kOpenerTimeoutMs);
  connect(&m_openerDeadline, &QTimer::timeout, this, [this] {
    qCInfo(lcDesktop) << "xdg-open still runs after" << kOpenerTimeoutMs << "ms: taken as opened";
    Finish(kOpened);
  });
  // The programs it starts inherit these: nothing of theirs reaches our terminal or waits on it.
  m_opener.setStandardInputFile(QProcess::nullDevice());
  m_opener.setStandardOutputFile(QProcess::nullDevice());
  m_opener.setStandardErrorFile(QProcess::nullDevice());
  connect(&m_opener, &QProcess::finished, this, &LinkOpener::OnOpenerEnded);
  connect(&m_opener, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;  // the end is told by finished()
    qCInfo(lcDesktop) << "xdg-open could not be started:" << m_opener.errorString();
    OnOpenerEnded();
  });

  m_queryDeadline.setSingleShot(true);
  m_queryDeadline.setInterval(kHandlerQueryTimeoutMs);
  connect(&m_queryDeadline, &QTimer::timeout, this, [this] {
    qCInfo(lcDesktop) << "xdg-mime gave no answer within" << kHandlerQueryTimeoutMs << "ms";
    Finish(kNoAssociation);
  });
  m_query.setStandardInputFile(QProcess::nullDevice());
  m_query.setStandardErrorFile(QProcess::nullDevice());
  connect(&m_query, &QProcess::readyReadStandardOutput, this, &LinkOpener::OnHandlerOutput);
  connect(&m_query, &QProcess::finished, this, &LinkOpener::OnHandlerAnswered);
  connect(&m_query, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    qCInfo(lcDesktop) << "xdg-mime could not be started:" << m_query.errorString();
    Finish(kNoAssociation);
  });
}

// The program quits: xdg-open alone is ended, what it started goes on.
LinkOpener::~LinkOpener() {
  if (m_opener.state() == QProcess::NotRunning) return;
  m_opener.kill();
  m_opener.waitForFinished(1000);  // a killed helper is gone at once; this only reaps it
}

void LinkOpener::RunOpener() {
  m_openerDeadline.start();
  m_opener.start("xdg-open", {m_target});
}

// Ended, killed or never started: only status 0 says the target was opened.
void LinkOpener::OnOpenerEnded() {
  m_openerDeadline.stop();
  if (m_finished) {
    EndWhenOpenerHasEnded();
    return;
  }
  if (m_opener.error() != QProcess::FailedToStart && m_opener.exitStatus() == QProcess::NormalExit &&
      m_opener.exitCode() == 0) {
    Finish(kOpened);
    return;
  }
  if (m_opener.error() != QProcess::FailedToStart)
    qCInfo(lcDesktop) << "xdg-open could not open the target: exit code" << m_opener.exitCode() << "status"
                      << m_opener.exitStatus();
  AskHandler();
}

void LinkOpener::AskHandler() {
  m_queryDeadline.start();
  m_query.start("xdg-mime", {"query", "default", "text/html"}, QIODevice::ReadOnly);
}

void LinkOpener::OnHandlerOutput() {
  m_answer += m_query.read(kMaxHandlerAnswerBytes + 1 - m_answer.size());
  if (m_answer.size() > kMaxHandlerAnswerBytes) {
    qCInfo(lcDesktop) << "xdg-mime said more than a desktop file name";
    Finish(kNoAssociation);
  }
}

void LinkOpener::OnHandlerAnswered() {
  if (m_finished) return;
  OnHandlerOutput();
  if (m_finished) return;
  if (m_query.exitStatus() != QProcess::NormalExit || m_query.exitCode() != 0) {
    qCInfo(lcDesktop) << "xdg-mime failed with exit code" << m_query.exitCode();
    Finish(kNoAssociation);
    return;
  }
  Finish(StartHandler(m_answer));
}

int LinkOpener::StartHandler(const QByteArray& answer) {
  const std::string id = answer.trimmed().toStdString();
  if (!IsDesktopFileId(id)) {
    qCInfo(lcDesktop) << "no usable handler for web pages:" << answer.left(200);
    return kNoAssociation;
  }
  // Looked up in $XDG_DATA_HOME/applications first, then in each of $XDG_DATA_DIRS.
  const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, QString::fromStdString(id));
  if (path.isEmpty()) {
    qCInfo(lcDesktop) << "the handler's desktop file was not found:" << id.c_str();
    return kNoAssociation;
  }
  const std::optional<std::string> exec = ReadDesktopEntryExec(QFile::encodeName(path).toStdString());
  if (!exec) {
    qCInfo(lcDesktop) << "the handler's desktop file has no readable Exec line:" << path;
    return kNoAssociation;
  }
  const std::optional<HandlerLaunch> launch = HandlerLaunchFor(*exec, m_target.toStdString());
  if (!launch) {
    qCInfo(lcDesktop) << "the handler's Exec line cannot be split into words:" << path;
    return kNoAssociation;
  }
  QStringList arguments;
  for (const std::string& argument : launch->arguments) arguments << QString::fromStdString(argument);
  // Started directly with its words as they are: no shell ever reads the target or the line.
  if (!QProcess::startDetached(QString::fromStdString(launch->program), arguments)) {
    qCInfo(lcDesktop) << "the handler could not be started:" << launch->program.c_str();
    return kHandlerNotStarted;
  }
  return kOpened;
}

void LinkOpener::Finish(int result) {
  if (m_finished) return;
  m_finished = true;
  m_queryDeadline.stop();
  if (m_query.state() != QProcess::NotRunning) {
    m_query.kill();
    m_query.waitForFinished(1000);  // a killed helper is gone at once; this only reaps it
  }
  EndWhenOpenerHasEnded();
  // The callback may run a modal message box; this object is gone only after it returns.
  if (m_done && m_context) m_done(result);
}

// An opener that still runs is left to its work; it is reaped when it ends.
void LinkOpener::EndWhenOpenerHasEnded() {
  if (m_opener.state() == QProcess::NotRunning) deleteLater();
}
