#pragma once
// Plain HTTP form POST used for error reports.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <chrono>

using FormField = QPair<QString, QString>;

// application/x-www-form-urlencoded: UTF-8, unreserved bytes kept, blank as "+", the rest %XX.
QByteArray FormUrlEncode(const QList<FormField>& fields);

// Posts the fields and discards the reply. True only for a completed exchange with a status
// below 400; a refused connection, an error status or the time-out give false.
bool PostForm(const QString& url, const QList<FormField>& fields,
              std::chrono::milliseconds timeout = std::chrono::seconds(10));
