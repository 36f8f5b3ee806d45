// A real FTP server for the download tests: the system's Python with
// pyftpdlib, on 127.0.0.1 and a free port, with a home folder of its own and
// one user. Stopped when the object goes away; never outlives the test.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/test_files.h"

namespace vorel::testing {

class FtpTestServer {
 public:
  static constexpr const char* kUser = "logger";
  static constexpr const char* kPassword = "s3cret";

  // With `tls`, the server requires explicit TLS with a certificate it makes.
  // A `bytesPerSecond` above 0 sends files no faster than that.
  explicit FtpTestServer(bool tls = false, long bytesPerSecond = 0) : bytesPerSecond_(bytesPerSecond) {
    std::filesystem::create_directories(home_.path() + "/public_html");
    if (tls) certFolder_ = home_.path();
    Start();
  }
  ~FtpTestServer() { Stop(); }
  FtpTestServer(const FtpTestServer&) = delete;
  FtpTestServer& operator=(const FtpTestServer&) = delete;

  // The server's root folder; the user logs in there.
  const std::string& home() const { return home_.path(); }
  int port() const { return port_; }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  // The certificate the TLS server uses, to be trusted by the client.
  std::string certificate() const { return certFolder_ + "/server.pem"; }
  // A file in the home folder, written as given.
  std::string Put(const std::string& name, const std::string& bytes) const { return home_.Write(name, bytes); }

  // Kills the server at once, as a crash or a pulled cable would.
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  // Freezes and resumes the server (a stalled connection).
  void Pause() const { ::kill(pid_, SIGSTOP); }
  void Resume() const { ::kill(pid_, SIGCONT); }

 private:
  void Start() {
    const std::string script = std::string(VOREL_SOURCE_DIR) + "/tests/support/ftp_server.py";
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe failed");
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (::getppid() != parent) ::_exit(1);
      if (bytesPerSecond_ > 0) ::setenv("VOREL_FTP_SERVER_RATE", std::to_string(bytesPerSecond_).c_str(), 1);
      ::dup2(out[1], 1);
      ::close(out[0]);
      ::close(out[1]);
      const char* args[] = {"/usr/bin/python3", script.c_str(), home_.path().c_str(), kUser, kPassword,
                            certFolder_.empty() ? nullptr : certFolder_.c_str(), nullptr};
      ::execv(args[0], const_cast<char* const*>(args));
      ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    pollfd wait{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&wait, 1, 20000) > 0) {
      char buffer[64];
      const ssize_t n = ::read(out[0], buffer, sizeof buffer);
      if (n <= 0) break;
      line.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    port_ = std::atoi(line.c_str());
    if (port_ <= 0) {
      Stop();
      throw std::runtime_error("the test FTP server did not start (is python3-pyftpdlib installed?)");
    }
  }

  TempDir home_;
  long bytesPerSecond_ = 0;
  std::string certFolder_;
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace vorel::testing
