// What the fuzz targets share: the input as text, cut into parts, and a scratch file per process.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelo::fuzz {

inline std::string_view asText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The input cut at every `separator` byte (so a target reads several texts from one input).
inline std::vector<std::string> cutAt(std::string_view input, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = input.find(separator, start)) != std::string_view::npos; start = at + 1)
    parts.emplace_back(input.substr(start, at - start));
  parts.emplace_back(input.substr(start));
  return parts;
}

// A path of this process's own in the temporary folder, ending in `suffix`.
inline std::string scratchPath(const std::string& suffix) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/quelo-fuzz-" + std::to_string(::getpid()) + suffix;
}

inline void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Stops the run with a finding: the fuzzer keeps the input that led here.
[[noreturn]] inline void finding(const std::string& what) {
  std::fprintf(stderr, "oracle failed: %s\n", what.c_str());
  std::abort();
}

}  // namespace quelo::fuzz
