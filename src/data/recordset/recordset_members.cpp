// The record set's members by name, for hosts and scripts that reach it as an automation object:
// the Recordset itself, its Fields collection and each Field. Bound on first use, so record sets
// made in bulk (the reporter's pages and sections) cost nothing for it.
#include <memory>

#include "automation/member_dispatch.h"
#include "data/recordset/recordset.h"

namespace quelo {
namespace {

using Handler = MemberDispatch::Handler;

Result<Variant> done(const Status& s) {
  if (!s) return s.error();
  return Variant();
}

bool given(const Args& args, size_t i) { return i < args.size() && !args[i].isMissing(); }

Result<int32_t> longArg(const Args& args, size_t i, int32_t fallback) {
  if (!given(args, i)) return fallback;
  return toLong(args[i]);
}

Variant countVariant(int64_t n) {
  if (n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<int32_t>(n));
  return Variant(n);
}

// A field's description, read when asked: a Requery may have changed the fields since.
template <class Read>
MemberDispatch::Handler describing(std::shared_ptr<Recordset> rs, int index, Read read) {
  return [rs, index, read](Args&) -> Result<Variant> {
    if (index >= rs->fields().count()) return ado::error(ado::kErrItemNotFound);
    return Variant(read(rs->fields()[index]));
  };
}

std::shared_ptr<Dispatch> fieldObject(std::shared_ptr<Recordset> rs, int index) {
  auto field = std::make_shared<MemberDispatch>();
  field->bind("Name", InvokeKind::PropertyGet, describing(rs, index, [](const FieldInfo& f) { return f.name; }));
  field->bind("Type", InvokeKind::PropertyGet, describing(rs, index, [](const FieldInfo& f) { return f.type; }));
  field->bind("DefinedSize", InvokeKind::PropertyGet,
              describing(rs, index, [](const FieldInfo& f) { return f.definedSize; }));
  field->bind("Attributes", InvokeKind::PropertyGet,
              describing(rs, index, [](const FieldInfo& f) { return f.attributes; }));
  field->bind("Value", InvokeKind::PropertyGet, [rs, index](Args&) { return rs->value(index); });
  field->bind("Value", InvokeKind::PropertyPut, [rs, index](Args& a) -> Result<Variant> {
    if (a.empty()) return makeError(err::kArgumentNotOptional, "Argument not optional");
    return done(rs->setValue(index, a.back()));
  });
  return field;
}

Result<int> fieldPosition(const Recordset& rs, const Variant& key) {
  if (key.isString()) return rs.fieldIndex(key.asString());
  auto index = toLong(key);
  if (!index || index.value() < 0 || index.value() >= rs.fields().count())
    return ado::error(ado::kErrItemNotFound);
  return static_cast<int>(index.value());
}

std::shared_ptr<Dispatch> fieldsObject(std::shared_ptr<Recordset> rs) {
  auto fields = std::make_shared<MemberDispatch>();
  fields->bind("Count", InvokeKind::PropertyGet,
               [rs](Args&) -> Result<Variant> { return Variant(static_cast<int32_t>(rs->fields().count())); });
  fields->bind("Item", InvokeKind::PropertyGet, [rs](Args& a) -> Result<Variant> {
    if (a.empty()) return makeError(err::kArgumentNotOptional, "Argument not optional");
    auto index = fieldPosition(*rs, a[0]);
    if (!index) return index.error();
    return Variant(fieldObject(rs, index.value()));
  });
  fields->bind("Append", InvokeKind::Method, [rs](Args& a) -> Result<Variant> {
    if (a.size() < 2) return makeError(err::kArgumentNotOptional, "Argument not optional");
    auto name = toString(a[0]);
    auto type = toLong(a[1]);
    auto size = longArg(a, 2, 0);
    if (!name || !type || !size) return ado::error(ado::kErrArguments);
    std::optional<int32_t> attributes;
    if (given(a, 3)) {
      auto attr = toLong(a[3]);
      if (!attr) return ado::error(ado::kErrArguments);
      if (attr.value() != -1) attributes = attr.value();  // adFldUnspecified
    }
    return done(rs->appendField(name.value(), type.value(), size.value(), attributes));
  });
  return fields;
}

std::shared_ptr<Dispatch> connectionObject(const std::string& description) {
  auto connection = std::make_shared<MemberDispatch>();
  connection->bind("ConnectionString", InvokeKind::PropertyGet,
                   [description](Args&) -> Result<Variant> { return Variant(description); });
  return connection;
}

// A member that takes no arguments and only succeeds or fails.
Handler action(Recordset& rs, Status (Recordset::*step)()) {
  return [&rs, step](Args&) { return done((rs.*step)()); };
}

}  // namespace

std::unique_ptr<MemberDispatch> bindRecordsetMembers(Recordset& rs) {
  auto m = std::make_unique<MemberDispatch>();
  auto self = [&rs] { return rs.shared_from_this(); };
  m->bind("Fields", InvokeKind::PropertyGet, [self](Args&) -> Result<Variant> { return Variant(fieldsObject(self())); });
  m->bind("EOF", InvokeKind::PropertyGet, [&rs](Args&) -> Result<Variant> { return Variant(rs.eof()); });
  m->bind("BOF", InvokeKind::PropertyGet, [&rs](Args&) -> Result<Variant> { return Variant(rs.bof()); });
  m->bind("State", InvokeKind::PropertyGet, [&rs](Args&) -> Result<Variant> {
    return Variant(rs.isOpen() ? int32_t{ado::adStateOpen} : int32_t{ado::adStateClosed});
  });
  m->bind("MoveFirst", InvokeKind::Method, action(rs, &Recordset::moveFirst));
  m->bind("MoveLast", InvokeKind::Method, action(rs, &Recordset::moveLast));
  m->bind("MoveNext", InvokeKind::Method, action(rs, &Recordset::moveNext));
  m->bind("MovePrevious", InvokeKind::Method, action(rs, &Recordset::movePrevious));
  m->bind("Move", InvokeKind::Method, [&rs](Args& a) -> Result<Variant> {
    if (a.empty()) return makeError(err::kArgumentNotOptional, "Argument not optional");
    auto n = toLongLong(a[0]);
    if (!n) return n.error();
    return done(rs.move(n.value()));
  });
  m->bind("RecordCount", InvokeKind::PropertyGet, [&rs](Args&) -> Result<Variant> {
    auto n = rs.recordCount();
    if (!n) return n.error();
    return countVariant(n.value());
  });
  m->bind("Bookmark", InvokeKind::PropertyGet, [&rs](Args&) { return rs.bookmark(); });
  m->bind("Bookmark", InvokeKind::PropertyPut, [&rs](Args& a) -> Result<Variant> {
    if (a.empty()) return makeError(err::kArgumentNotOptional, "Argument not optional");
    return done(rs.setBookmark(a.back()));
  });
  m->bind("CursorType", InvokeKind::PropertyGet, [&rs](Args&) -> Result<Variant> { return Variant(rs.cursorType()); });
  m->bind("CursorType", InvokeKind::PropertyPut, [&rs](Args& a) -> Result<Variant> {
    auto t = longArg(a, a.empty() ? 0 : a.size() - 1, ado::adOpenUnspecified);
    if (!t) return t.error();
    return done(rs.setCursorType(t.value()));
  });
  m->bind("LockType", InvokeKind::PropertyGet, [&rs](Args&) -> Result<Variant> { return Variant(rs.lockType()); });
  m->bind("LockType", InvokeKind::PropertyPut, [&rs](Args& a) -> Result<Variant> {
    auto t = longArg(a, a.empty() ? 0 : a.size() - 1, ado::adLockUnspecified);
    if (!t) return t.error();
    return done(rs.setLockType(t.value()));
  });
  // Open(Source, ActiveConnection, CursorType, LockType): only an in-memory record set without a
  // source can be opened by name; data sources are opened by the program that owns them.
  m->bind("Open", InvokeKind::Method, [&rs](Args& a) -> Result<Variant> {
    const bool hasSource = given(a, 0) && !(a[0].isString() && a[0].asString().empty()) && !a[0].isEmpty();
    if (hasSource || given(a, 1)) return ado::error(ado::kErrArguments);
    auto cursor = longArg(a, 2, rs.cursorType());
    auto lock = longArg(a, 3, rs.lockType());
    if (!cursor || !lock) return ado::error(ado::kErrArguments);
    if (Status s = rs.setCursorType(cursor.value()); !s) return s.error();
    if (Status s = rs.setLockType(lock.value()); !s) return s.error();
    return done(rs.open());
  });
  m->bind("Close", InvokeKind::Method, action(rs, &Recordset::close));
  m->bind("AddNew", InvokeKind::Method, action(rs, &Recordset::addNew));
  m->bind("Update", InvokeKind::Method, action(rs, &Recordset::update));
  m->bind("CancelUpdate", InvokeKind::Method, action(rs, &Recordset::cancelUpdate));
  m->bind("Requery", InvokeKind::Method, action(rs, &Recordset::requery));
  m->bind("GetRows", InvokeKind::Method, [&rs](Args& a) -> Result<Variant> {
    auto rows = longArg(a, 0, ado::adGetRowsRest);
    if (!rows) return rows.error();
    auto array = rs.getRows(rows.value());
    if (!array) return array.error();
    return Variant(array.value());
  });
  m->bind("Clone", InvokeKind::Method, [&rs](Args&) -> Result<Variant> {
    auto copy = rs.clone();
    if (!copy) return copy.error();
    return Variant(std::shared_ptr<Dispatch>(copy.value()));
  });
  m->bind("ActiveConnection", InvokeKind::PropertyGet, [&rs](Args&) -> Result<Variant> {
    if (!rs.hasActiveConnection()) return Variant(std::shared_ptr<Dispatch>());
    return Variant(connectionObject(rs.connectionDescription()));
  });
  return m;
}

}  // namespace quelo
