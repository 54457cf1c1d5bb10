// The write floor of a report: the time one process takes to write the files of a folder, held in
// memory, as new files into another folder, for bench/report_html.sh to print beside the time of
// 'quelo report' that wrote them.
//   quelo-bench-write-floor FROM TO     prints "SECONDS BYTES FILES"; TO must not exist yet
// The files are held in one region with huge pages advised: a report writes each page from a
// buffer it reuses, and 1.8 GB held in small pages would make the floor pay for walking 400,000
// page-table entries (five times the copy itself on a virtual machine) that quelo never meets.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct File {
  std::string name;
  size_t offset;
  size_t size;
};

// Reads or writes (`io`) all `size` bytes at `at`, in as many calls as it takes.
template <typename Io, typename Byte>
bool whole(Io io, int fd, Byte* at, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = io(fd, at + done, size - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done == size;
}

bool readFile(const fs::path& path, char* into, size_t size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool read = whole(::read, fd, into, size);
  ::close(fd);
  return read;
}

bool writeFile(const std::string& path, const char* bytes, size_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = whole(::write, fd, bytes, size);
  return ::close(fd) == 0 && written;
}

// The regular files of FROM with their places in one region; the region is mapped by the caller.
std::vector<File> listFiles(const char* from, size_t& total) {
  std::vector<File> files;
  total = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(from)) {
    if (!e.is_regular_file()) continue;
    files.push_back({e.path().filename().string(), total, static_cast<size_t>(e.file_size())});
    total += files.back().size;
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quelo-bench-write-floor FROM TO\n");
    return 2;
  }
  size_t bytes = 0;
  const std::vector<File> files = listFiles(argv[1], bytes);
  // One byte more than the files hold: a folder of empty files still maps a region.
  void* mapped =
      ::mmap(nullptr, bytes + 1, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) {
    std::perror("mmap");
    return 1;
  }
  char* region = static_cast<char*>(mapped);
  ::madvise(region, bytes + 1, MADV_HUGEPAGE);  // advice only: small pages still work
  for (const File& f : files)
    if (!readFile(fs::path(argv[1]) / f.name, region + f.offset, f.size)) {
      std::perror(f.name.c_str());
      return 1;
    }
  const auto start = std::chrono::steady_clock::now();
  const std::string to = std::string(argv[2]) + "/";
  if (!fs::create_directory(to)) return 1;
  for (const File& f : files)
    if (!writeFile(to + f.name, region + f.offset, f.size)) {
      std::perror(f.name.c_str());
      return 1;
    }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.6f %zu %zu\n", took.count(), bytes, files.size());
  return 0;
}
