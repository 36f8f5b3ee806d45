#include "platform/ftp_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

namespace vorel::platform {
namespace {

// The library's receive buffer, and what is gathered before the sink gets it:
// large pieces keep the per-call costs out of a fast transfer.
constexpr long kReceiveBufferBytes = 512 * 1024;
constexpr size_t kSinkChunkBytes = 1024 * 1024;
// How long the session waits on its sockets before it looks at the cancel flag again.
constexpr int kCancelPollMs = 50;

FtpTimeouts g_timeouts;
std::string g_caFile;

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// CR, LF or NUL in a text would end the command early and start another.
bool FitsInOneCommand(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

bool ValidHostName(std::string_view host) {
  if (host.empty()) return false;
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    return std::all_of(host.begin() + 1, host.end() - 1,
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.'; });
  }
  return std::all_of(host.begin(), host.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    // Letters, digits, '-', '.', '_' and the bytes of international names.
    return std::isalnum(u) || c == '-' || c == '.' || c == '_' || u >= 0x80;
  });
}

class CurlSession : public FtpSession {
 public:
  CurlSession(FtpPulse pulse, const std::atomic<bool>* cancel) : pulse_(std::move(pulse)), cancel_(cancel) {
    GlobalInit();
    curl_ = curl_easy_init();
    // The steps run through a multi handle of the session's own, which keeps
    // the connection between them and lets the session wait in short slices.
    multi_ = curl_multi_init();
  }
  ~CurlSession() override {
    // Closes the connection (QUIT) together with the handles.
    if (curl_) curl_easy_cleanup(curl_);
    if (multi_) curl_multi_cleanup(multi_);
  }

  int Connect(const FtpAccount& account) override {
    if (!curl_ || !multi_) return CURLE_FAILED_INIT;
    FtpServerAddress address;
    if (!ParseFtpServer(account.server, address)) return CURLE_URL_MALFORMAT;
    if (!FitsInOneCommand(account.user) || !FitsInOneCommand(account.password)) return kFtpBadArgument;
    base_ = "ftp://" + address.host + ":" + std::to_string(address.port) + "/";
    tls_ = address.tls;
    user_ = account.user;
    password_ = account.password;
    // Logging in is all this step does: no directory, no transfer.
    Prepare(base_);
    curl_easy_setopt(curl_, CURLOPT_NOBODY, 1L);
    const int result = Perform();
    loginNeedsTls_ = result == CURLE_LOGIN_DENIED && !tls_ && AsksForTls(lastReply_);
    char* entry = nullptr;
    entryPath_.clear();
    if (result == CURLE_OK && curl_easy_getinfo(curl_, CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry &&
        FitsInOneCommand(entry))
      entryPath_ = entry;
    return result;
  }

  int ChangeDirectory(const std::string& directory) override {
    if (!curl_ || base_.empty()) return CURLE_FAILED_INIT;
    if (!FitsInOneCommand(directory)) return kFtpBadArgument;
    directory_ = "CWD " + directory;
    curl_slist* commands = curl_slist_append(nullptr, directory_.c_str());
    Prepare(base_);
    curl_easy_setopt(curl_, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl_, CURLOPT_QUOTE, commands);
    const int result = Perform();
    curl_easy_setopt(curl_, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(commands);
    if (result != CURLE_OK) directory_.clear();
    return result;
  }

  bool LoginNeedsTls() const override { return loginNeedsTls_; }

  int GetAsciiFile(const std::string& name, const FtpDataSink& sink) override {
    if (!curl_ || base_.empty()) return CURLE_FAILED_INIT;
    if (!FitsInOneCommand(name) || name.empty()) return kFtpBadArgument;
    char* escaped = curl_easy_escape(curl_, name.c_str(), static_cast<int>(name.size()));
    if (!escaped) return CURLE_OUT_OF_MEMORY;
    const std::string url = base_ + escaped;
    curl_free(escaped);

    // The connection normally still stands in the directory. Should it have
    // been opened anew, the login folder and the directory are entered again,
    // just before the file is asked for, so the name means the same file.
    curl_slist* commands = nullptr;
    if (!directory_.empty() && !entryPath_.empty()) {
      commands = curl_slist_append(commands, ("CWD " + entryPath_).c_str());
      commands = curl_slist_append(commands, directory_.c_str());
    }
    Prepare(url);
    curl_easy_setopt(curl_, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(curl_, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(curl_, CURLOPT_PREQUOTE, commands);
    sink_ = &sink;
    lastByte_ = 0;
    pending_.clear();
    pending_.reserve(kSinkChunkBytes + kReceiveBufferBytes * 2);
    int result = Perform();
    if (result == CURLE_OK && !FlushToSink()) result = kFtpWriteError;
    sink_ = nullptr;
    pending_ = std::string();
    curl_easy_setopt(curl_, CURLOPT_PREQUOTE, nullptr);
    curl_slist_free_all(commands);
    if (result == CURLE_OK && sinkFailed_) return kFtpWriteError;
    return result;
  }

 private:
  void Prepare(const std::string& url) {
    curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl_, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl_, CURLOPT_USERNAME, user_.c_str());
    curl_easy_setopt(curl_, CURLOPT_PASSWORD, password_.c_str());
    // The path names a file of the current directory; no directory walk.
    curl_easy_setopt(curl_, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    // Passive: the client opens the data connection, which gets through home routers.
    curl_easy_setopt(curl_, CURLOPT_FTPPORT, nullptr);
    curl_easy_setopt(curl_, CURLOPT_FTP_USE_EPSV, 1L);
    curl_easy_setopt(curl_, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl_, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, g_timeouts.connectSeconds);
    curl_easy_setopt(curl_, CURLOPT_SERVER_RESPONSE_TIMEOUT, g_timeouts.stallSeconds);
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_TIME, g_timeouts.stallSeconds);
    if (tls_) {
      curl_easy_setopt(curl_, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
      curl_easy_setopt(curl_, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
      curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYPEER, 1L);
      curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYHOST, 2L);
      if (!g_caFile.empty()) curl_easy_setopt(curl_, CURLOPT_CAINFO, g_caFile.c_str());
    } else {
      curl_easy_setopt(curl_, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
    }
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, &CurlSession::OnData);
    curl_easy_setopt(curl_, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, &CurlSession::OnProgress);
    curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, this);
    // The server's replies pass through OnDebug, which keeps the last one.
    curl_easy_setopt(curl_, CURLOPT_DEBUGFUNCTION, &CurlSession::OnDebug);
    curl_easy_setopt(curl_, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(curl_, CURLOPT_VERBOSE, 1L);
    lastReply_.clear();
    received_ = 0;
    sinkFailed_ = false;
  }

  // One step: the library works in slices of at most kCancelPollMs, and a
  // raised cancel flag ends the step between two slices.
  int Perform() {
    if (Cancelled()) return kFtpCancelled;
    if (curl_multi_add_handle(multi_, curl_) != CURLM_OK) return CURLE_FAILED_INIT;
    int result = CURLE_OK;
    int running = 1;
    while (running) {
      if (Cancelled()) {
        result = kFtpCancelled;
        break;
      }
      if (curl_multi_perform(multi_, &running) != CURLM_OK) {
        result = CURLE_FAILED_INIT;
        break;
      }
      if (running && curl_multi_poll(multi_, nullptr, 0, kCancelPollMs, nullptr) != CURLM_OK) {
        result = CURLE_FAILED_INIT;
        break;
      }
    }
    if (!running) {
      int left = 0;
      while (CURLMsg* message = curl_multi_info_read(multi_, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == curl_) result = message->data.result;
    }
    curl_multi_remove_handle(multi_, curl_);
    return result;
  }

  bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

  bool FlushToSink() {
    if (pending_.empty() || !sink_) return true;
    const bool written = (*sink_)(pending_);
    pending_.clear();
    return written;
  }

  static size_t OnData(char* data, size_t size, size_t count, void* self) {
    auto* session = static_cast<CurlSession*>(self);
    const size_t length = size * count;
    session->received_ += length;
    if (!session->sink_) return length;
    AppendWithCrLf(std::string_view(data, length), session->lastByte_, session->pending_);
    if (session->pending_.size() >= kSinkChunkBytes && !session->FlushToSink()) {
      session->sinkFailed_ = true;
      return CURL_WRITEFUNC_ERROR;
    }
    return length;
  }

  static int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
    if (type == CURLINFO_HEADER_IN) static_cast<CurlSession*>(self)->lastReply_.assign(data, std::min<size_t>(size, 512));
    return 0;
  }

  // A refusal that names encryption: "530 Non-anonymous sessions must use
  // encryption.", "550 SSL/TLS required on the control channel." and the like.
  static bool AsksForTls(const std::string& reply) {
    std::string lower(reply);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* word : {"tls", "ssl", "encrypt", "secure"})
      if (lower.find(word) != std::string::npos) return true;
    return false;
  }

  static int OnProgress(void* self, curl_off_t total, curl_off_t, curl_off_t, curl_off_t) {
    auto* session = static_cast<CurlSession*>(self);
    if (session->pulse_) session->pulse_(session->received_, total > 0 ? static_cast<uint64_t>(total) : 0);
    return session->Cancelled() ? 1 : 0;
  }

  CURL* curl_ = nullptr;
  CURLM* multi_ = nullptr;
  FtpPulse pulse_;
  const std::atomic<bool>* cancel_;
  std::string pending_;
  std::string base_;
  bool tls_ = false;
  std::string user_;
  std::string password_;
  std::string directory_;
  std::string entryPath_;
  const FtpDataSink* sink_ = nullptr;
  char lastByte_ = 0;
  uint64_t received_ = 0;
  bool sinkFailed_ = false;
  std::string lastReply_;
  bool loginNeedsTls_ = false;
};

}  // namespace

bool ParseFtpServer(std::string_view text, FtpServerAddress& address) {
  address = FtpServerAddress{};
  if (StartsWithIgnoreCase(text, "ftps://")) {
    address.tls = true;
    text.remove_prefix(7);
  }
  std::string_view host = text;
  // A port follows the last ':', unless that ':' lies inside an IPv6 literal.
  const size_t colon = text.rfind(':');
  const size_t bracket = text.rfind(']');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    host = text.substr(0, colon);
    const std::string_view port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5 ||
        !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return false;
    const int number = std::stoi(std::string(port));
    if (number < 1 || number > 65535) return false;
    address.port = number;
  }
  if (!ValidHostName(host)) return false;
  address.host = std::string(host);
  return true;
}

std::unique_ptr<FtpSession> OpenFtpSession(FtpPulse pulse, const std::atomic<bool>* cancel) {
  return std::make_unique<CurlSession>(std::move(pulse), cancel);
}

void AppendWithCrLf(std::string_view piece, char& lastByte, std::string& out) {
  while (!piece.empty()) {
    const void* found = std::memchr(piece.data(), '\n', piece.size());
    const size_t line = found ? static_cast<size_t>(static_cast<const char*>(found) - piece.data()) : piece.size();
    out.append(piece.data(), line);
    if (line > 0) lastByte = piece[line - 1];
    if (!found) return;
    if (lastByte != '\r') out.push_back('\r');
    out.push_back('\n');
    lastByte = '\n';
    piece.remove_prefix(line + 1);
  }
}

void SetFtpTimeouts(const FtpTimeouts& timeouts) { g_timeouts = timeouts; }
FtpTimeouts GetFtpTimeouts() { return g_timeouts; }

void SetFtpTrustedCertificatesForTesting(std::string caFile) { g_caFile = std::move(caFile); }

}  // namespace vorel::platform
