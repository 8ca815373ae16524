#pragma once
// One running copy per user. The name "Mutex_TalvenOrder" is a local socket in the user's own
// runtime folder: whoever listens on it is the running copy, and a later start hands over by
// sending it a message number instead of starting a second client.

#include <QLocalServer>
#include <QObject>
#include <QString>

class QLocalSocket;

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Outcome {
    Owner,          // this process holds the name
    OtherCopyRuns,  // a running copy took the hand-over
    Unguarded,      // the name cannot be held here; the client runs without the guard
  };

  // $XDG_RUNTIME_DIR/Mutex_TalvenOrder, else the temporary folder with the user id appended,
  // so two users on one machine never share a name.
  static QString DefaultServerPath();

  // Sends message to the copy listening on path. True when a copy holds the name (it took the
  // message, or it is too busy to accept); false when nobody listens. Creates no file and
  // needs no application object.
  static bool NotifyRunningCopy(const QString& path, quint32 message);

  explicit SingleInstance(QString path, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Takes the name, clearing the socket file a crashed copy left behind. When another copy
  // got there first, it is sent handOver instead. Needs the application object (the server
  // runs on its event loop).
  Outcome Acquire(quint32 handOver);
  // Gives the name up at once so a new copy can take it.
  void Release();
  bool IsOwner() const { return server_.isListening(); }
  const QString& Path() const { return path_; }

 signals:
  void MessageReceived(quint32 message);

 private:
  void AcceptConnections();
  void ReadMessages(QLocalSocket* client);

  QString path_;
  QLocalServer server_;
};
