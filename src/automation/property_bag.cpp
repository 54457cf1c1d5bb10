#include "automation/property_bag.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "automation/text.h"

namespace quelo {
namespace {

std::string escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

Result<Variant> decode(std::string_view type, const std::string& text) {
  const Variant s(text);
  if (type == "String") return s;
  if (type == "Empty") return Variant();
  if (type == "Boolean") {
    auto b = toBool(s);
    if (!b) return b.error();
    return Variant(b.value());
  }
  if (type == "Integer") {
    auto i = toInteger(s);
    if (!i) return i.error();
    return Variant(i.value());
  }
  if (type == "Long") {
    auto l = toLong(s);
    if (!l) return l.error();
    return Variant(l.value());
  }
  if (type == "Double") {
    auto d = toDouble(s);
    if (!d) return d.error();
    return Variant(d.value());
  }
  return makeError(err::kTypeMismatch, "Unknown value type " + std::string(type));
}

// One "key<TAB>type<TAB>value" line; nothing when the line cannot be read.
std::optional<std::pair<std::string, Variant>> readLine(std::string_view line) {
  const size_t t1 = line.find('\t');
  const size_t t2 = t1 == std::string_view::npos ? t1 : line.find('\t', t1 + 1);
  if (t2 == std::string_view::npos) return std::nullopt;
  auto value = decode(line.substr(t1 + 1, t2 - t1 - 1), unescape(line.substr(t2 + 1)));
  if (!value) return std::nullopt;
  return std::pair{unescape(line.substr(0, t1)), std::move(value).value()};
}

// A number as the shortest text that reads back as the same double.
std::string exactNumber(double d) {
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  return ec == std::errc() ? std::string(buf, end) : formatNumber(d);
}

Error ioError(const std::string& what, const std::string& path) {
  return makeError(err::kIoError, what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

bool sameStoredValue(const Variant& a, const Variant& b) {
  if (a.isNumber() && b.isNumber()) return toDouble(a).value() == toDouble(b).value();
  if (a.isString() && b.isString()) return a.asString() == b.asString();
  return a.isEmpty() && b.isEmpty();
}

Result<Variant> MemoryPropertyBag::read(std::string_view key, const Variant& defaultValue) {
  for (const auto& [k, v] : entries_)
    if (equalsIgnoreCase(k, key)) return v;
  return defaultValue;
}

Status MemoryPropertyBag::write(std::string_view key, const Variant& value, const Variant& defaultValue) {
  if (sameStoredValue(value, defaultValue)) {
    std::erase_if(entries_, [&](const auto& e) { return equalsIgnoreCase(e.first, key); });
    return Status::ok();
  }
  set(std::string(key), value);
  return Status::ok();
}

void MemoryPropertyBag::set(std::string key, Variant value) {
  for (auto& [k, v] : entries_) {
    if (equalsIgnoreCase(k, key)) {
      v = std::move(value);
      return;
    }
  }
  entries_.emplace_back(std::move(key), std::move(value));
}

bool MemoryPropertyBag::contains(std::string_view key) const {
  for (const auto& e : entries_)
    if (equalsIgnoreCase(e.first, key)) return true;
  return false;
}

Result<FilePropertyBag> FilePropertyBag::load(const std::string& path) {
  FilePropertyBag bag;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (errno == ENOENT) return bag;
    return ioError("Cannot read", path);
  }
  std::string line;
  bool anyLine = false;
  for (bool first = true; std::getline(in, line); first = false) {
    if (first && line.starts_with(kUtf8Bom)) line.erase(0, kUtf8Bom.size());
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    anyLine = true;
    if (auto entry = readLine(line)) bag.set(std::move(entry->first), std::move(entry->second));
  }
  if (in.bad()) return ioError("Cannot read", path);
  if (anyLine && bag.entries().empty()) return makeError(err::kIoError, path + ": not a property record");
  return bag;
}

Status FilePropertyBag::save(const std::string& path) const {
  std::ostringstream out;
  for (const auto& [key, value] : entries_) {
    auto text = value.type() == VarType::Double ? Result<std::string>(exactNumber(value.asDouble())) : toString(value);
    if (!text) return text.error();
    out << escape(key) << '\t' << typeName(value.type()) << '\t' << escape(text.value()) << '\n';
  }
  std::string data = out.str();
  // A first key that starts with a byte-order mark gets one more in front, for load to take off.
  if (data.starts_with(kUtf8Bom)) data.insert(0, kUtf8Bom);
  const std::string temp = path + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return ioError("Cannot write", temp);
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const Error e = ioError("Cannot write", temp);
      ::close(fd);
      ::unlink(temp.c_str());
      return e;
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    ::unlink(temp.c_str());
    return ioError("Cannot write", temp);
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) return ioError("Cannot replace", path);
  return Status::ok();
}

}  // namespace quelo
