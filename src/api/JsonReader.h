#pragma once
// Read access to a parsed JSON reply with the rules every server call relies on: a JSON null
// read as text is "null", a missing member fails, and so on. Every failure throws JsonError
// with a message that is never empty, so callers can put it into log lines and errMsg.

#include <QString>

#include <memory>
#include <stdexcept>

#include <nlohmann/json_fwd.hpp>

class JsonError : public std::runtime_error {
 public:
  explicit JsonError(const QString& message);
  QString Message() const { return QString::fromUtf8(what()); }
  const char* KindName() const { return "EJsonError"; }
};

class JsonArray;

// One object inside a parsed document. Copies are cheap and share the document.
class JsonObject {
 public:
  // Fails for anything that is not a JSON object, the empty text included.
  static JsonObject Parse(const QString& text);

  // A string's text, "null" for null, the JSON text of anything else; fails when missing.
  QString Text(const char* name) const;
  // True when the member is missing or null.
  bool IsNull(const char* name) const;
  // Fail when the member is missing, null or of another type.
  JsonObject Object(const char* name) const;
  JsonArray Array(const char* name) const;
  // true/false, or the texts "true"/"false" in any letter case.
  bool Bool(const char* name) const;
  // A number, or a text holding a decimal number; rounded to the nearest integer.
  int Int(const char* name) const;

 private:
  friend class JsonArray;
  JsonObject(std::shared_ptr<const nlohmann::json> doc, const nlohmann::json* node)
      : doc_(std::move(doc)), node_(node) {}
  const nlohmann::json& Member(const char* name) const;

  std::shared_ptr<const nlohmann::json> doc_;
  const nlohmann::json* node_;
};

class JsonArray {
 public:
  int Length() const;
  // Fails past the end and for an element that is not an object.
  JsonObject ObjectAt(int index) const;

 private:
  friend class JsonObject;
  JsonArray(std::shared_ptr<const nlohmann::json> doc, const nlohmann::json* node)
      : doc_(std::move(doc)), node_(node) {}

  std::shared_ptr<const nlohmann::json> doc_;
  const nlohmann::json* node_;
};
