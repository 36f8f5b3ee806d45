#include "platform/ftp_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

namespace vorel::platform {
namespace {

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
  explicit CurlSession(FtpPulse pulse) : pulse_(std::move(pulse)) {
    GlobalInit();
    curl_ = curl_easy_init();
  }
  ~CurlSession() override {
    // Closes the connection (QUIT) together with the handle.
    if (curl_) curl_easy_cleanup(curl_);
  }

  int Connect(const FtpAccount& account) override {
    if (!curl_) return CURLE_FAILED_INIT;
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
    curl_easy_setopt(curl_, CURLOPT_TRANSFERTEXT, 1L);
    curl_easy_setopt(curl_, CURLOPT_PREQUOTE, commands);
    sink_ = &sink;
    lastByte_ = 0;
    const int result = Perform();
    sink_ = nullptr;
    curl_easy_setopt(curl_, CURLOPT_PREQUOTE, nullptr);
    curl_easy_setopt(curl_, CURLOPT_TRANSFERTEXT, 0L);
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

  int Perform() { return static_cast<int>(curl_easy_perform(curl_)); }

  static size_t OnData(char* data, size_t size, size_t count, void* self) {
    auto* session = static_cast<CurlSession*>(self);
    const size_t length = size * count;
    session->received_ += length;
    if (!session->sink_) return length;
    // The library hands ASCII lines over with bare LF; the file gets CR LF.
    std::string text;
    text.reserve(length + length / 16 + 1);
    for (size_t i = 0; i < length; ++i) {
      if (data[i] == '\n' && session->lastByte_ != '\r') text.push_back('\r');
      text.push_back(data[i]);
      session->lastByte_ = data[i];
    }
    if (!(*session->sink_)(text)) {
      session->sinkFailed_ = true;
      return CURL_WRITEFUNC_ERROR;
    }
    if (session->pulse_) session->pulse_(session->received_);
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

  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* session = static_cast<CurlSession*>(self);
    if (session->pulse_) session->pulse_(session->received_);
    return 0;
  }

  CURL* curl_ = nullptr;
  FtpPulse pulse_;
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

std::unique_ptr<FtpSession> OpenFtpSession(FtpPulse pulse) { return std::make_unique<CurlSession>(std::move(pulse)); }

void SetFtpTimeouts(const FtpTimeouts& timeouts) { g_timeouts = timeouts; }
FtpTimeouts GetFtpTimeouts() { return g_timeouts; }

void SetFtpTrustedCertificatesForTesting(std::string caFile) { g_caFile = std::move(caFile); }

}  // namespace vorel::platform
