#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <functional>

// Opens a link's target (a web address, a "mailto:" address) the way the desktop does,
// and when the desktop cannot, with the program registered for web pages.
//
// Results keep the old convention: greater than 32 is success, 32 or less an error code.
// Asking which program handles web pages runs `xdg-mime`; that is never waited for on the
// UI thread: the answer comes back as an event, and a helper that does not answer within
// kHandlerQueryTimeoutMs counts as no answer.
class LinkOpener : public QObject {
  Q_OBJECT
 public:
  static constexpr int kOpened = 33;
  // Nothing on this desktop opens the target, and no usable web page handler is registered.
  static constexpr int kNoAssociation = 31;
  // The registered handler's program could not be started.
  static constexpr int kHandlerNotStarted = 2;

  static constexpr int kHandlerQueryTimeoutMs = 3000;
  // xdg-mime answers with one desktop file name; anything longer is no answer.
  static constexpr qint64 kMaxHandlerAnswerBytes = 4096;

  using Done = std::function<void(int result)>;

  // Opens `target`; `done` is called once with the result, at once when the desktop opened
  // it, else later from the event loop. Nothing is called once `context` is gone.
  static void Open(const QString& target, QObject* context, Done done);

 private:
  LinkOpener(const QString& target, QObject* context, Done done);
  void AskHandler();
  void OnHandlerOutput();
  void OnHandlerAnswered();
  int StartHandler(const QByteArray& answer);
  void Finish(int result);

  QString m_target;
  Done m_done;
  QProcess m_query;
  QTimer m_deadline;
  QByteArray m_answer;
  bool m_finished = false;
};
