#include "platform/posix/chromium_renderer.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/posix/json_message.h"
#include "platform/posix/pdf_book.h"
#include "platform/posix/pipe_process.h"
#include "platform/posix/private_file.h"

namespace quelo {
namespace {

using Deadline = PipeProcess::Deadline;

Deadline after(std::chrono::milliseconds span) {
  return std::chrono::steady_clock::now() + span;
}

Result<std::string> base64Decoded(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  unsigned bits = 0;
  int pending = 0;  // bits read and not yet written out
  for (const char c : text) {
    int v;
    if (c >= 'A' && c <= 'Z')
      v = c - 'A';
    else if (c >= 'a' && c <= 'z')
      v = c - 'a' + 26;
    else if (c >= '0' && c <= '9')
      v = c - '0' + 52;
    else if (c == '+')
      v = 62;
    else if (c == '/')
      v = 63;
    else if (c == '=')
      break;
    else
      return makeError(err::kIoError, "The renderer sent a document that is not base64");
    bits = (bits << 6) | static_cast<unsigned>(v);
    pending += 6;
    if (pending >= 8) {
      pending -= 8;
      out += static_cast<char>((bits >> pending) & 0xFF);
    }
  }
  return out;
}

// A run's folder holds its lock for as long as the run lives: a folder of this user whose lock
// can be taken is left by a run that was killed, and is removed.
void removeFoldersOfDeadRuns(const std::string& parent) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(parent, error)) {
    const std::string path = entry.path().string();
    struct stat info;
    if (!entry.path().filename().string().starts_with("quelo-render-") ||
        lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
      continue;
    const int lock = open((path + "/lock").c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (lock < 0) continue;
    if (flock(lock, LOCK_EX | LOCK_NB) == 0) std::filesystem::remove_all(path, error);
    close(lock);
  }
}

// A folder only this user can enter, removed with all its content when dropped, and locked while
// it lives. The lock is taken before it gets its name, so no other run sees it unlocked.
class PrivateFolder {
 public:
  PrivateFolder() {
    removeFoldersOfDeadRuns(temporaryDirectory());
    std::string pattern = temporaryDirectory() + "/quelo-render-XXXXXX";
    if (!mkdtemp(pattern.data())) return;
    path_ = pattern;
    lock_ = open((path_ + "/lock.new").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (lock_ < 0 || flock(lock_, LOCK_EX) != 0 ||
        rename((path_ + "/lock.new").c_str(), (path_ + "/lock").c_str()) != 0)
      removeAll();
  }
  ~PrivateFolder() { removeAll(); }
  const std::string& path() const { return path_; }

 private:
  void removeAll() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    if (lock_ >= 0) close(lock_);
    path_.clear();
    lock_ = -1;
  }

  std::string path_;
  int lock_ = -1;
};

// Keeps one printed page in `folder` till the pages are bound: a long report is never held in
// memory.
Result<std::string> keptPage(const std::string& folder, size_t index, std::string_view pdf) {
  const std::string path = folder + "/page-" + std::to_string(index) + ".pdf";
  std::FILE* file = std::fopen(path.c_str(), "wbx");
  int why = file ? 0 : errno;
  if (file && std::fwrite(pdf.data(), 1, pdf.size(), file) != pdf.size()) why = errno;
  if (file && std::fclose(file) != 0 && why == 0) why = errno;
  if (why == 0) return path;
  return makeError(why == ENOSPC ? err::kDiskFull : err::kIoError,
                   "Cannot keep the printed page " + path + ": " + std::strerror(why));
}

std::vector<std::string> browserArguments(const std::string& program, const std::string& profile) {
  std::vector<std::string> argv{
      program, "--headless", "--remote-debugging-pipe", "--user-data-dir=" + profile,
      "--no-first-run", "--no-default-browser-check", "--disable-gpu", "--disable-extensions",
      "--disable-background-networking", "--disable-component-update", "--disable-default-apps",
      "--disable-sync", "--disable-domain-reliability", "--disable-client-side-phishing-detection",
      "--mute-audio",
      // No name resolves: a request that slipped past the refusal
      // below reaches no server either.
      "--host-resolver-rules=MAP * ~NOTFOUND"};
  // Its sandbox refuses to start as root; elsewhere it stays on.
  if (geteuid() == 0) argv.push_back("--no-sandbox");
  return argv;
}

// One browser tab driven over the pipe: commands answered by id, events handled as they come.
class Tab {
 public:
  explicit Tab(PipeProcess& browser) : browser_(browser) {}

  Status open(Deadline deadline);
  Status load(const std::string& url, Deadline deadline);
  Result<std::string> printPdf(Deadline deadline);
  void close(Deadline deadline) { (void)send("Browser.close", "{}", false, deadline); }

 private:
  Result<int> send(const std::string& method, const std::string& params, bool inTab,
                   Deadline deadline);
  Result<Json> call(const std::string& method, const std::string& params, bool inTab,
                    Deadline deadline);
  Result<Json> next(Deadline deadline);
  Status refuseRemote(const Json& params, Deadline deadline);

  PipeProcess& browser_;
  int lastId_ = 0;
  std::string session_;
  bool loaded_ = false;
};

Result<int> Tab::send(const std::string& method, const std::string& params, bool inTab,
                      Deadline deadline) {
  std::string message = "{\"id\":" + std::to_string(++lastId_) +
                        ",\"method\":" + jsonQuoted(method) + ",\"params\":" + params;
  if (inTab) message += ",\"sessionId\":" + jsonQuoted(session_);
  if (Status s = browser_.send(message + "}", deadline); !s) return s.error();
  return lastId_;
}

// The next message that is no request to let through or refuse.
Result<Json> Tab::next(Deadline deadline) {
  for (;;) {
    auto text = browser_.receive(deadline);
    if (!text) return text.error();
    auto message = parseJson(text.value());
    if (!message) return makeError(err::kIoError, "The renderer sent a message that is not JSON");
    const std::string& method = (*message)["method"].text;
    if (method == "Page.loadEventFired") loaded_ = true;
    if (method != "Fetch.requestPaused") return std::move(*message);
    if (Status s = refuseRemote((*message)["params"], deadline); !s) return s.error();
  }
}

// Local files are read; anything else (a picture on a web server) is refused unread.
Status Tab::refuseRemote(const Json& params, Deadline deadline) {
  const std::string id = jsonQuoted(params["requestId"].text);
  const bool local = params["request"]["url"].text.starts_with("file:");
  auto sent = local ? send("Fetch.continueRequest", "{\"requestId\":" + id + "}", true, deadline)
                    : send("Fetch.failRequest",
                           "{\"requestId\":" + id + ",\"errorReason\":\"BlockedByClient\"}", true,
                           deadline);
  if (!sent) return sent.error();
  return Status::ok();
}

Result<Json> Tab::call(const std::string& method, const std::string& params, bool inTab,
                       Deadline deadline) {
  auto id = send(method, params, inTab, deadline);
  if (!id) return id.error();
  for (;;) {
    auto message = next(deadline);
    if (!message) return message.error();
    if (!message.value().has("id") || message.value()["id"].number != id.value()) continue;
    if (message.value().has("error"))
      return makeError(err::kIoError, "The renderer refused " + method + ": " +
                                          message.value()["error"]["message"].text);
    return std::move(message.value()["result"]);
  }
}

Status Tab::open(Deadline deadline) {
  auto target = call("Target.createTarget", "{\"url\":\"about:blank\"}", false, deadline);
  if (!target) return target.error();
  auto attached =
      call("Target.attachToTarget",
           "{\"targetId\":" + jsonQuoted(target.value()["targetId"].text) + ",\"flatten\":true}",
           false, deadline);
  if (!attached) return attached.error();
  session_ = attached.value()["sessionId"].text;
  for (const auto& [method, params] : {std::pair{"Page.enable", "{}"},
                                       {"Emulation.setScriptExecutionDisabled", "{\"value\":true}"},
                                       {"Fetch.enable", "{\"patterns\":[{\"urlPattern\":\"*\"}]}"}})
    if (auto r = call(method, params, true, deadline); !r) return r.error();
  return Status::ok();
}

Status Tab::load(const std::string& url, Deadline deadline) {
  loaded_ = false;
  auto navigated = call("Page.navigate", "{\"url\":" + jsonQuoted(url) + "}", true, deadline);
  if (!navigated) return navigated.error();
  if (const std::string& why = navigated.value()["errorText"].text; !why.empty())
    return makeError(err::kFileNotFound, "Cannot render " + url + ": " + why);
  while (!loaded_)
    if (auto message = next(deadline); !message) return message.error();
  return Status::ok();
}

Result<std::string> Tab::printPdf(Deadline deadline) {
  auto printed = call("Page.printToPDF", "{\"printBackground\":true}", true, deadline);
  if (!printed) return printed.error();
  return base64Decoded(printed.value()["data"].text);
}

}  // namespace

std::string ChromiumRenderer::programFromEnvironment() {
  const char* program = std::getenv("QUELO_CHROMIUM");
  return program && *program ? program : "chromium";
}

Result<std::string> ChromiumRenderer::renderPdf(const std::vector<PageToRender>& pages) {
  for (const PageToRender& page : pages)
    if (!page.url.starts_with("file://"))
      return makeError(err::kInvalidProcedureCall,
                       "Only local pages are rendered, not " + page.url);
  PrivateFolder profile;
  if (profile.path().empty())
    return makeError(err::kIoError, "No private temporary folder for the renderer");
  auto browser = PipeProcess::start(browserArguments(program_, profile.path()));
  if (!browser && browser.error().number == err::kFileNotFound)
    return makeError(err::kFileNotFound, "no HTML renderer: " + program_ +
                                             " is not installed (Debian package chromium)");
  if (!browser) return browser.error();
  Tab tab(*browser.value());
  if (Status s = tab.open(after(limits_.start)); !s) return s.error();
  std::vector<PdfPart> parts;
  for (const PageToRender& page : pages) {
    const Deadline deadline = after(limits_.perPage);
    if (Status s = tab.load(page.url, deadline); !s) return s.error();
    auto pdf = tab.printPdf(deadline);
    if (!pdf) return pdf.error();
    auto kept = keptPage(profile.path(), parts.size() + 1, pdf.value());
    if (!kept) return kept.error();
    parts.push_back({page.title, std::move(kept).value()});
  }
  tab.close(after(std::chrono::seconds(1)));
  return bindPdf(parts);
}

}  // namespace quelo
