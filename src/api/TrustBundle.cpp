#include "api/TrustBundle.h"

#include <QFile>

namespace {

bool ReadAll(const QString& path, std::string& out) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = f.readAll();
  out.append(bytes.constData(), static_cast<size_t>(bytes.size()));
  // PEM blocks of the next file must start on a line of their own.
  if (!out.empty() && out.back() != '\n') out += '\n';
  return true;
}

}  // namespace

TrustBundle MakeTrustBundle(const QString& systemBundlePath, const QString& caFile) {
  TrustBundle bundle;
  if (!systemBundlePath.isEmpty()) ReadAll(systemBundlePath, bundle.pem);
  if (!caFile.trimmed().isEmpty() && !ReadAll(caFile.trimmed(), bundle.pem))
    bundle.problem = "CaFile cannot be read: " + caFile.trimmed();
  return bundle;
}
