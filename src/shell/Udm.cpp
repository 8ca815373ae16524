#include "shell/Udm.h"

Tdm::Tdm(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("dm")); }
