// The internet client behind the log download: one FTP session with the
// three steps the download needs, each answering 0 or the client library's
// result code. The desktop program uses libcurl; the server text is
// "host", "host:port" or "ftps://host[:port]" (explicit TLS, required on the
// control and data connections, certificate checked).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vorel::platform {

struct FtpAccount {
  std::string server;
  std::string user;
  std::string password;
};

// Receives the file's bytes as they arrive; false stops the transfer.
using FtpDataSink = std::function<bool(std::string_view bytes)>;

// Called often while the session waits or receives, with the bytes received
// so far in the current step; lets a window repaint.
using FtpPulse = std::function<void(uint64_t received)>;

// Result codes the session gives itself, in the client library's numbering.
inline constexpr int kFtpBadArgument = 43;  // a text the protocol cannot carry
inline constexpr int kFtpWriteError = 23;   // the sink refused the data

class FtpSession {
 public:
  virtual ~FtpSession() = default;
  // Connects and logs in.
  virtual int Connect(const FtpAccount& account) = 0;
  // One change-directory command with the text exactly as given.
  virtual int ChangeDirectory(const std::string& directory) = 0;
  // Fetches a file of the current directory in ASCII type. Lines reach the
  // sink ending in CR LF.
  virtual int GetAsciiFile(const std::string& name, const FtpDataSink& sink) = 0;
  // After a refused login in clear: whether the server refused it because it
  // wants an encrypted (TLS) connection.
  virtual bool LoginNeedsTls() const { return false; }
};

std::unique_ptr<FtpSession> OpenFtpSession(FtpPulse pulse = nullptr);

// Limits: connecting (TCP, TLS and login) and the longest time without any
// data or answer before a step fails.
struct FtpTimeouts {
  long connectSeconds = 30;
  long stallSeconds = 60;
};
void SetFtpTimeouts(const FtpTimeouts& timeouts);
FtpTimeouts GetFtpTimeouts();

// Certificates trusted for ftps:// besides none: empty means the system's.
void SetFtpTrustedCertificatesForTesting(std::string caFile);

// Splits the server text; false when it is no usable host. Exposed for tests.
struct FtpServerAddress {
  bool tls = false;
  std::string host;  // as typed; IPv6 literals keep their brackets
  int port = 21;
};
bool ParseFtpServer(std::string_view text, FtpServerAddress& address);

}  // namespace vorel::platform
