#pragma once
// The data module: the long-lived components the session shares (printer ports, the
// notification channel, the version check's HTTP client). Created first, destroyed last.

#include <QObject>

class Tdm : public QObject {
  Q_OBJECT

 public:
  explicit Tdm(QObject* parent = nullptr);
};
