// The write floor of a report: the time one process takes to write the files of a folder, held in
// memory, as new files into another folder, for bench/report_html.sh to print beside the time of
// 'quelo report' that wrote them.
//   quelo-bench-write-floor FROM TO     prints "SECONDS BYTES FILES"; TO must not exist yet
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool writeFile(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return ::close(fd) == 0 && done == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quelo-bench-write-floor FROM TO\n");
    return 2;
  }
  std::vector<std::pair<std::string, std::string>> files;  // name, bytes
  size_t bytes = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(argv[1])) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    files.emplace_back(e.path().filename().string(), std::string(std::istreambuf_iterator<char>(in), {}));
    bytes += files.back().second.size();
  }
  const auto start = std::chrono::steady_clock::now();
  const std::string to = std::string(argv[2]) + "/";
  if (!fs::create_directory(to)) return 1;
  for (const auto& [name, text] : files)
    if (!writeFile(to + name, text)) {
      std::perror(name.c_str());
      return 1;
    }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.6f %zu %zu\n", took.count(), bytes, files.size());
  return 0;
}
