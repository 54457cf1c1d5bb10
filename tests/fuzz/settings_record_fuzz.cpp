// The stored settings record: any text reads without fault, and the record formatted from any
// settings reads back as the same settings. The input is read both as a record and as the twelve
// fields themselves, cut at NUL bytes.
#include <tuple>

#include "fuzz_support.h"
#include "report/report_settings.h"

namespace {

auto fields(const quelo::SettingsRecord& s) {
  return std::tie(s.fontName, s.header, s.footer, s.useNotes, s.notesPosition, s.notes, s.logo,
                  s.signature, s.website, s.email, s.pagesOption, s.saveSettings);
}

int16_t number(const std::string& part) {
  int16_t n = 0;
  for (size_t i = 0; i < part.size() && i < 2; ++i)
    n = static_cast<int16_t>(n << 8 | static_cast<uint8_t>(part[i]));
  return n;
}

quelo::SettingsRecord fromParts(const std::vector<std::string>& parts) {
  std::string p[12];
  for (size_t i = 0; i < 12 && i < parts.size(); ++i) p[i] = parts[i];
  return {p[0], p[1], p[2], number(p[3]), number(p[4]),  p[5],
          p[6], p[7], p[8], p[9],         number(p[10]), number(p[11])};
}

void checkReadsBack(const quelo::SettingsRecord& s, const char* what) {
  quelo::SettingsRecord back;
  quelo::readSettingsRecord(quelo::formatSettingsRecord(s), back);
  if (fields(back) != fields(s))
    quelo::fuzz::finding(std::string("the formatted record reads back changed, from ") + what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = quelo::fuzz::asText(data, size);
  quelo::SettingsRecord read;
  quelo::readSettingsRecord(input, read);
  checkReadsBack(read, "a record");
  checkReadsBack(fromParts(quelo::fuzz::cutAt(input, '\0')), "fields");
  return 0;
}
