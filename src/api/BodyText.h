#pragma once
// Filling the format strings of addresses and request bodies, and escaping every text the
// client writes into a JSON body or a GraphQL document, so that no value can change the
// structure around it (a token holding a quote stays one string argument).

#include <QString>
#include <QStringList>

// Replaces each "%s" of format, in order, with the next value, as it is. Placeholders beyond the
// values stay as they are.
QString FillFormat(const QString& format, const QStringList& values);

// The text as the inside of a JSON string literal: backslash, quote and control characters
// escaped; everything else unchanged.
QString JsonText(const QString& text);

// A GraphQL string argument's inside, for a document that is itself carried in a JSON string
// (the body's "query" member): escaped once for the document, then once for the JSON.
QString GqlStringInBody(const QString& text);

// An argument written without quotes (an id): kept bare when it is a GraphQL integer or name,
// otherwise written as a quoted, escaped string so it stays one value.
QString GqlIdInBody(const QString& id);
