#include "data/public_value.h"

#include "automation/date_time.h"
#include "data/public_records.h"

namespace varnikquelo {

Value::Value(Records records) : v_(std::make_shared<const Records>(std::move(records))) {}

Value Value::date(std::chrono::system_clock::time_point t) { return Date{quelo::dateFromTimePoint(t).serial}; }

std::chrono::system_clock::time_point Value::asTimePoint() const {
  return quelo::timePointFromDate(quelo::Date{asDate().serial});
}

std::string Value::text() const {
  if (kind() == Kind::Records) return "[Records]";
  auto v = quelo::variantOf(*this);
  return v ? quelo::toString(v.value()).valueOr("") : "";
}

bool Value::operator==(const Value& other) const {
  if (kind() == Kind::Records && other.kind() == Kind::Records) {
    const auto& a = RecordsAccess::impl(asRecords());
    const auto& b = RecordsAccess::impl(other.asRecords());
    return a == b || (a && b && a->recordset && a->recordset == b->recordset);
  }
  return v_ == other.v_;
}

}  // namespace varnikquelo

namespace quelo {

using varnikquelo::Value;

Result<Variant> variantOf(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::Empty: return Variant();
    case Value::Kind::Null: return Variant::null();
    case Value::Kind::Boolean: return Variant(value.asBool());
    case Value::Kind::Int32: return Variant(value.asInt32());
    case Value::Kind::Int64: return Variant(value.asInt64());
    case Value::Kind::Double: return Variant(value.asDouble());
    case Value::Kind::Date: return Variant(Date{value.asDate().serial});
    case Value::Kind::Text: return Variant(value.asText());
    case Value::Kind::Records: break;
  }
  return makeError(err::kTypeMismatch, "a record set where a value is expected");
}

Result<Variant> argumentOf(const Value& value, FileSystem& files) {
  if (value.kind() != Value::Kind::Records) return variantOf(value);
  auto records = openRecords(value.asRecords(), files);
  if (!records) return records.error();
  return Variant(std::static_pointer_cast<Dispatch>(records.value()));
}

Result<Value> valueOf(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Missing: return Value();
    case VarType::Null: return Value(varnikquelo::Null{});
    case VarType::Boolean: return Value(v.asBool());
    case VarType::Integer: return Value(int32_t{v.asInteger()});
    case VarType::Long: return Value(v.asLong());
    case VarType::LongLong: return Value(v.asLongLong());
    case VarType::Double: return Value(v.asDouble());
    case VarType::Date: return Value(varnikquelo::Date{v.asDate().serial});
    case VarType::String: return Value(v.asString());
    case VarType::Object:
      if (!v.asObject()) return Value();
      if (auto records = std::dynamic_pointer_cast<Recordset>(v.asObject())) return Value(recordsOf(records));
      break;
    case VarType::Array: break;
  }
  return makeError(err::kTypeMismatch, "an " + std::string(typeName(v.type())) + " value has no public form");
}

}  // namespace quelo
