#include "api/JsonReader.h"

#include <QByteArray>

#include <cmath>
#include <limits>

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

QString Quoted(const char* name) { return QStringLiteral("\"%1\"").arg(QString::fromUtf8(name)); }

const char* TypeName(const json& value) { return value.is_number() ? "number" : value.type_name(); }

// Rounds half away from zero; anything outside the 32-bit range fails rather than wrapping.
int ToInt(double value, const char* name) {
  const double rounded = std::round(value);
  if (!std::isfinite(rounded) || rounded < std::numeric_limits<int>::min() ||
      rounded > std::numeric_limits<int>::max()) {
    throw JsonError(QStringLiteral("member %1 is not an integer in range").arg(Quoted(name)));
  }
  return static_cast<int>(rounded);
}

}  // namespace

JsonError::JsonError(const QString& message) : std::runtime_error(message.toStdString()) {}

JsonObject JsonObject::Parse(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  auto doc = std::make_shared<json>(json::parse(utf8.cbegin(), utf8.cend(), nullptr, false));
  if (doc->is_discarded()) throw JsonError(QStringLiteral("reply is not valid JSON"));
  if (!doc->is_object()) {
    throw JsonError(QStringLiteral("reply is not a JSON object but %1").arg(TypeName(*doc)));
  }
  const json* root = doc.get();
  return JsonObject(std::move(doc), root);
}

const json& JsonObject::Member(const char* name) const {
  const auto it = node_->find(name);
  if (it == node_->end()) throw JsonError(QStringLiteral("member %1 not found").arg(Quoted(name)));
  return *it;
}

QString JsonObject::Text(const char* name) const {
  const json& value = Member(name);
  if (value.is_string()) return QString::fromStdString(value.get_ref<const std::string&>());
  return QString::fromStdString(value.dump(-1, ' ', false, json::error_handler_t::replace));
}

bool JsonObject::IsNull(const char* name) const {
  const auto it = node_->find(name);
  return it == node_->end() || it->is_null();
}

JsonObject JsonObject::Object(const char* name) const {
  const json& value = Member(name);
  if (!value.is_object()) {
    throw JsonError(
        QStringLiteral("member %1 is %2, not an object").arg(Quoted(name), TypeName(value)));
  }
  return JsonObject(doc_, &value);
}

JsonArray JsonObject::Array(const char* name) const {
  const json& value = Member(name);
  if (!value.is_array()) {
    throw JsonError(
        QStringLiteral("member %1 is %2, not an array").arg(Quoted(name), TypeName(value)));
  }
  return JsonArray(doc_, &value);
}

bool JsonObject::Bool(const char* name) const {
  const json& value = Member(name);
  if (value.is_boolean()) return value.get<bool>();
  if (value.is_string()) {
    const QString text = QString::fromStdString(value.get_ref<const std::string&>());
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
  }
  throw JsonError(QStringLiteral("member %1 is not a boolean").arg(Quoted(name)));
}

int JsonObject::Int(const char* name) const {
  const json& value = Member(name);
  if (value.is_number_integer()) {
    if (value.is_number_unsigned())
      return ToInt(static_cast<double>(value.get<std::uint64_t>()), name);
    return ToInt(static_cast<double>(value.get<std::int64_t>()), name);
  }
  if (value.is_number_float()) return ToInt(value.get<double>(), name);
  if (value.is_string()) {
    bool ok = false;
    const double number =
        QString::fromStdString(value.get_ref<const std::string&>()).trimmed().toDouble(&ok);
    if (ok) return ToInt(number, name);
  }
  throw JsonError(QStringLiteral("member %1 is not an integer").arg(Quoted(name)));
}

int JsonArray::Length() const { return static_cast<int>(node_->size()); }

JsonObject JsonArray::ObjectAt(int index) const {
  if (index < 0 || index >= Length()) {
    throw JsonError(QStringLiteral("index %1 is outside the array of %2").arg(index).arg(Length()));
  }
  const json& value = (*node_)[static_cast<std::size_t>(index)];
  if (!value.is_object()) {
    throw JsonError(
        QStringLiteral("element %1 is %2, not an object").arg(index).arg(TypeName(value)));
  }
  return JsonObject(doc_, &value);
}
