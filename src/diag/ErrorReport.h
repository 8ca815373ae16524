#pragma once
// The parts of an error report: the machine's environment text and the five form fields.

#include <QList>
#include <QString>

#include "diag/FormPost.h"
#include "platform/SystemFacts.h"

// "OS : <name> <service pack> / IP : ... / Free Physical : ... / ... / Total Virtual : ...",
// trimmed; amounts through SizeText.
QString EnvironmentText(const platform::SystemFacts& facts);
QString CollectEnvironmentText();

// package, version, device, env, log: in this order, env and log trimmed.
QList<FormField> ErrorReportFields(const QString& appName, const QString& report, const QString& env);
