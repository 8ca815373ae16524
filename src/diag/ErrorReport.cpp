#include "diag/ErrorReport.h"

#include "diag/SupportRoutines.h"

QString EnvironmentText(const platform::SystemFacts& facts) {
  const QString text = QStringLiteral("OS : ") + facts.productName + ' ' + facts.servicePack +
                       QStringLiteral(" / IP : ") + facts.ipv4 +
                       QStringLiteral(" / Free Physical : ") + SizeText(facts.availablePhysical) +
                       QStringLiteral(" / Free Virtual : ") + SizeText(facts.availableVirtual) +
                       QStringLiteral(" / Total Physical : ") + SizeText(facts.totalPhysical) +
                       QStringLiteral(" / Total Virtual : ") + SizeText(facts.totalVirtual);
  return text.trimmed();
}

QString CollectEnvironmentText() { return EnvironmentText(platform::CollectSystemFacts()); }

QList<FormField> ErrorReportFields(const QString& appName, const QString& report, const QString& env) {
  return {
      {QStringLiteral("package"), appName},
      {QStringLiteral("version"), FileVersionText()},
      {QStringLiteral("device"), OsFamilyName()},
      {QStringLiteral("env"), env.trimmed()},
      {QStringLiteral("log"), report.trimmed()},
  };
}
