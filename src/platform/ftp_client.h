// The internet client behind the log download: one FTP session with the
// three steps the download needs, each answering 0 or the client library's
// result code. The desktop program uses libcurl; the server text is
// "host", "host:port" or "ftps://host[:port]" (explicit TLS, required on the
// control and data connections, certificate checked).
#pragma once

#include <atomic>
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
// so far in the current step and the file's size where the server told it
// (0 otherwise). Runs on the thread that runs the session.
using FtpPulse = std::function<void(uint64_t received, uint64_t total)>;

// Result codes the session gives itself, in the client library's numbering.
inline constexpr int kFtpBadArgument = 43;  // a text the protocol cannot carry
inline constexpr int kFtpWriteError = 23;   // the sink refused the data
inline constexpr int kFtpCancelled = 42;    // the cancel flag was raised

class FtpSession {
 public:
  virtual ~FtpSession() = default;
  // Connects and logs in.
  virtual int Connect(const FtpAccount& account) = 0;
  // One change-directory command with the text exactly as given.
  virtual int ChangeDirectory(const std::string& directory) = 0;
  // Fetches a file of the current directory as text: lines reach the sink
  // ending in CR LF, whatever ends them on the server. The bytes travel
  // unchanged (binary type) and the line ends are made here, which spares
  // the server a conversion and gives the transfer its full speed.
  virtual int GetAsciiFile(const std::string& name, const FtpDataSink& sink) = 0;
  // After a refused login in clear: whether the server refused it because it
  // wants an encrypted (TLS) connection.
  virtual bool LoginNeedsTls() const { return false; }
};

// A raised `cancel` flag ends the step under way (a connect as well as a
// transfer) within a twentieth of a second with kFtpCancelled.
std::unique_ptr<FtpSession> OpenFtpSession(FtpPulse pulse = nullptr, const std::atomic<bool>* cancel = nullptr);

// The bytes of a text as the local file gets them: every LF not preceded
// by CR becomes CR LF. `lastByte` carries the last byte across pieces.
void AppendWithCrLf(std::string_view piece, char& lastByte, std::string& out);

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
