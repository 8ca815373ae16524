#pragma once
// The one HTTPS operation: POST a JSON body, get the reply text. Never throws: a failed request
// (resolution, connection, TLS, time-out, HTTP status 400 or more) is logged and gives an empty
// reply. Server certificates are verified against the system store plus server.ini's CaFile
// unless VerifyTls=0 there.

#include <QByteArray>
#include <QString>

void HTTPS_POST(const QString& url, const QByteArray& body, QString& reply);
