#include "shell/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QtEndian>

#include <unistd.h>

namespace {

constexpr char kName[] = "Mutex_TalvenOrder";
constexpr int kConnectTimeoutMs = 1000;
constexpr qint64 kMessageSize = sizeof(quint32);

}  // namespace

QString SingleInstance::DefaultServerPath() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
    return QDir::cleanPath(runtime) + "/" + kName;
  return QDir::tempPath() + "/" + kName + "-" + QString::number(getuid());
}

bool SingleInstance::NotifyRunningCopy(const QString& path, quint32 message) {
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(kConnectTimeoutMs)) {
    // A copy whose queue is full still holds the name; only "nobody there" lets us start.
    return socket.error() == QLocalSocket::SocketTimeoutError;
  }
  quint32 wire = qToBigEndian(message);
  socket.write(reinterpret_cast<const char*>(&wire), kMessageSize);
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

SingleInstance::SingleInstance(QString path, QObject* parent)
    : QObject(parent), path_(std::move(path)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
}

SingleInstance::~SingleInstance() { Release(); }

SingleInstance::Outcome SingleInstance::Acquire(quint32 handOver) {
  if (IsOwner()) return Outcome::Owner;
  // Two copies started together must not both find the name free and remove each other's
  // socket: the check and the take-over happen under one lock.
  QLockFile lock(path_ + ".lock");
  lock.tryLock(3 * kConnectTimeoutMs);
  if (NotifyRunningCopy(path_, handOver)) return Outcome::OtherCopyRuns;
  QLocalServer::removeServer(path_);  // a crashed copy's socket file answers nobody
  return server_.listen(path_) ? Outcome::Owner : Outcome::Unguarded;
}

void SingleInstance::Release() {
  if (server_.isListening()) server_.close();  // also removes the socket file
}

void SingleInstance::AcceptConnections() {
  while (QLocalSocket* client = server_.nextPendingConnection()) {
    connect(client, &QLocalSocket::readyRead, this, [this, client] { ReadMessages(client); });
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    ReadMessages(client);
  }
}

void SingleInstance::ReadMessages(QLocalSocket* client) {
  while (client->bytesAvailable() >= kMessageSize) {
    quint32 wire = 0;
    client->read(reinterpret_cast<char*>(&wire), kMessageSize);
    emit MessageReceived(qFromBigEndian(wire));
  }
}
