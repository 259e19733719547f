#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <functional>

// Opens a link's target (a web address, a "mailto:" address) the way the desktop does, with
// `xdg-open`, and when that cannot, with the program registered for web pages.
//
// Results keep the old convention: greater than 32 is success, 32 or less an error code.
// A helper is never waited for on the UI thread: its end comes back as an event, and each
// has a bound. `xdg-open` has opened the target only when it ends with status 0; one still
// running after kOpenerTimeoutMs has handed the target to a program that it runs in the
// foreground (it fails at once otherwise), so it counts as opened and is left to run.
// `xdg-mime`, asked which program handles web pages, that does not answer within
// kHandlerQueryTimeoutMs counts as no answer.
class LinkOpener : public QObject {
  Q_OBJECT
 public:
  static constexpr int kOpened = 33;
  // Nothing on this desktop opens the target, and no usable web page handler is registered.
  static constexpr int kNoAssociation = 31;
  // The registered handler's program could not be started.
  static constexpr int kHandlerNotStarted = 2;

  static constexpr int kOpenerTimeoutMs = 5000;
  static constexpr int kHandlerQueryTimeoutMs = 3000;
  // xdg-mime answers with one desktop file name; anything longer is no answer.
  static constexpr qint64 kMaxHandlerAnswerBytes = 4096;

  using Done = std::function<void(int result)>;

  // Opens `target`; `done` is called once with the result, later, from the event loop.
  // Nothing is called once `context` is gone.
  static void Open(const QString& target, QObject* context, Done done);
  ~LinkOpener() override;

 private:
  LinkOpener(const QString& target, QObject* context, Done done);
  void RunOpener();
  void OnOpenerEnded();
  void AskHandler();
  void OnHandlerOutput();
  void OnHandlerAnswered();
  int StartHandler(const QByteArray& answer);
  void Finish(int result);
  void EndWhenOpenerHasEnded();

  QString m_target;
  QPointer<QObject> m_context;
  Done m_done;
  QProcess m_opener;
  QTimer m_openerDeadline;
  QProcess m_query;
  QTimer m_queryDeadline;
  QByteArray m_answer;
  bool m_finished = false;
};
