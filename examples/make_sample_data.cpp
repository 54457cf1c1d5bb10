// Builds the bundled sample data of 'quelo report' from its checked-in text:
//   quelo-make-sample PRODUCTS_SQL OUT_DIR
// writes OUT_DIR/products.db (the SQL run into a new database, replaced whole) and one small
// PNG picture per file name in its Picture column under OUT_DIR/pictures/.
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "png_writer.h"

namespace fs = std::filesystem;
using quelo::sample::Rgb;
using quelo::sample::RgbImage;

namespace {

constexpr int kPictureSize = 64;

bool fail(const std::string& message) {
  std::cerr << "quelo-make-sample: " << message << "\n";
  return false;
}

bool readFile(const fs::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return fail("cannot read " + path.string());
  std::ostringstream all;
  all << in.rdbuf();
  text = all.str();
  return true;
}

bool writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  return out ? true : fail("cannot write " + path.string());
}

// Runs the SQL into a new database beside `target`, then moves it into place.
bool buildDatabase(const std::string& sql, const fs::path& target,
                   std::vector<std::string>& pictures) {
  const fs::path fresh = target.string() + ".new";
  std::error_code ignored;
  fs::remove(fresh, ignored);
  sqlite3* db = nullptr;
  bool ok = sqlite3_open(fresh.c_str(), &db) == SQLITE_OK;
  char* error = nullptr;
  ok = ok && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
  sqlite3_stmt* names = nullptr;
  ok = ok &&
       sqlite3_prepare_v2(db, "SELECT DISTINCT Picture FROM products WHERE Picture IS NOT NULL", -1,
                          &names, nullptr) == SQLITE_OK;
  while (ok && sqlite3_step(names) == SQLITE_ROW)
    pictures.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(names, 0)));
  const std::string message = error ? error : db ? sqlite3_errmsg(db) : "out of memory";
  sqlite3_free(error);
  sqlite3_finalize(names);
  sqlite3_close(db);
  if (!ok) return fail(fresh.string() + ": " + message);
  std::error_code renamed;
  fs::rename(fresh, target, renamed);
  return !renamed || fail("cannot replace " + target.string() + ": " + renamed.message());
}

uint32_t hashOf(const std::string& text) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (unsigned char c : text) h = (h ^ c) * 16777619u;
  return h;
}

// A light background and a darker shape (disc, square or diamond), both picked by the name.
RgbImage pictureFor(const std::string& name) {
  const uint32_t h = hashOf(name);
  const Rgb dark{static_cast<uint8_t>(40 + (h & 0x7F)),
                 static_cast<uint8_t>(40 + ((h >> 7) & 0x7F)),
                 static_cast<uint8_t>(40 + ((h >> 14) & 0x7F))};
  const Rgb light{static_cast<uint8_t>(255 - (255 - dark.r) / 4),
                  static_cast<uint8_t>(255 - (255 - dark.g) / 4),
                  static_cast<uint8_t>(255 - (255 - dark.b) / 4)};
  const int shape = static_cast<int>((h >> 21) % 3);
  RgbImage image{kPictureSize, kPictureSize, {}};
  const int c = kPictureSize / 2, r = kPictureSize * 3 / 8;
  for (int y = 0; y < kPictureSize; ++y) {
    for (int x = 0; x < kPictureSize; ++x) {
      const int dx = std::abs(x - c), dy = std::abs(y - c);
      const bool inside = shape == 0   ? dx * dx + dy * dy <= r * r
                          : shape == 1 ? dx <= r * 4 / 5 && dy <= r * 4 / 5
                                       : dx + dy <= r;
      image.pixels.push_back(inside ? dark : light);
    }
  }
  return image;
}

// Only plain file names: a picture never lands outside its folder.
bool plainName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: quelo-make-sample PRODUCTS_SQL OUT_DIR\n";
    return 2;
  }
  const fs::path out = argv[2];
  std::string sql;
  std::vector<std::string> pictures;
  std::error_code ignored;
  fs::create_directories(out / "pictures", ignored);
  if (!readFile(argv[1], sql) || !buildDatabase(sql, out / "products.db", pictures)) return 1;
  for (const std::string& name : pictures) {
    const bool written = plainName(name) ? writeFile(out / "pictures" / name,
                                                     quelo::sample::encodePng(pictureFor(name)))
                                         : fail("not a plain picture file name: " + name);
    if (!written) return 1;
  }
  return 0;
}
