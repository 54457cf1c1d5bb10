// The property file reader: a file it loads, saved and loaded again, gives the same values.
#include "fuzz_support.h"
#include "automation/property_bag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = quelo::fuzz::scratchPath(".frm");
  static const std::string saved = quelo::fuzz::scratchPath("-saved.frm");
  quelo::fuzz::writeFile(path, quelo::fuzz::asText(data, size));
  auto first = quelo::FilePropertyBag::load(path);
  if (!first) return 0;
  if (auto s = first.value().save(saved); !s) quelo::fuzz::finding("save: " + s.error().message);
  auto second = quelo::FilePropertyBag::load(saved);
  if (!second) quelo::fuzz::finding("the saved file is refused: " + second.error().message);
  const auto &a = first.value().entries(), &b = second.value().entries();
  if (a.size() != b.size()) quelo::fuzz::finding("another count of values after the save");
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].first != b[i].first) quelo::fuzz::finding("key " + a[i].first + " comes back as " + b[i].first);
    if (!(a[i].second == b[i].second)) quelo::fuzz::finding("the value of " + a[i].first + " changed on the save");
  }
  return 0;
}
