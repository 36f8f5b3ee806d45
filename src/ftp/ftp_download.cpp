#include "ftp/ftp_download.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "ftp/ftp_error_text.h"
#include "platform/prompter.h"
#include "platform/safe_file.h"
#include "settings/param_store.h"

namespace vorel::ftp {
namespace {

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The file being received: created beside the target with an unpredictable
// name, exclusively and without following links; removed unless committed.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) : target_(target) {
    fd_ = platform::CreateTemporaryFile(target, path_);
    if (fd_ < 0) path_.clear();
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !path_.empty()) ::unlink(path_.c_str());
    if (!path_.empty()) platform::ReleaseTemporaryFile(path_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }

  bool Write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
  }

  // Flushed to the disk, given the permissions of the file it replaces (or
  // the usual ones for a new file) and renamed into place.
  bool Commit() {
    struct stat old {};
    mode_t mode;
    if (::stat(target_.c_str(), &old) == 0) {
      mode = old.st_mode & 07777;
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) return false;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    if (::rename(path_.c_str(), target_.c_str()) != 0) return false;
    committed_ = true;
    return true;
  }

 private:
  std::string target_;
  std::string path_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace

std::string LocalTargetPath(const std::string& folder, const std::string& name) { return folder + "/" + name; }

bool DownloadLog(const platform::FtpPulse& pulse) {
  const std::string server = settings::ParamText("FtpServerName");
  const std::string user = settings::ParamText("FtpUserName");
  const std::string password = settings::ParamText("FtpPassword");
  const std::string hostDir = settings::ParamText("FtpHostDir");
  const std::string localFolder = settings::ParamText("FtpLocalFolder");
  const std::string fileName = settings::ParamText("FtpFileName");

  std::string message;
  bool fetched = false;
  {
    // The session closes its connection on every path out of this block.
    std::unique_ptr<platform::FtpSession> session = platform::OpenFtpSession(pulse);
    if (const int code = session->Connect({server, user, password}); code != 0) {
      message = FtpFailureMessage("接続できませんでした。", code, session->LoginNeedsTls());
    } else if (const int cwd = session->ChangeDirectory(hostDir); cwd != 0) {
      message = FtpFailureMessage("ディレクトリの移動ができませんでした。", cwd) + "\r\n(" + hostDir + ")";
    } else {
      TemporaryFile file(LocalTargetPath(localFolder, fileName));
      // The local side's own failures: no file can be made, written or put in place.
      bool localFailed = !file.IsOpen();
      int code = platform::kFtpWriteError;
      if (file.IsOpen()) {
        code = session->GetAsciiFile(fileName, [&file, &localFailed](std::string_view bytes) {
          localFailed = !file.Write(bytes);
          return !localFailed;
        });
        if (code == 0 && !file.Commit()) {
          code = platform::kFtpWriteError;
          localFailed = true;
        }
      }
      if (localFailed)
        message = LocalFolderFailureMessage(localFolder);
      else if (code != 0)
        message = FtpFailureMessage("ファイルの取得ができませんでした。", code) + "\r\n(" + hostDir + "/" + fileName + ")";
      fetched = code == 0;
    }
  }
  if (!message.empty()) platform::ShowError(message);
  return fetched;
}

bool MakeFolderPath(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  std::string walked = path.front() == '/' ? "/" : "";
  size_t start = path.front() == '/' ? 1 : 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string level = path.substr(start, end - start);
    start = end + 1;
    // Doubled or trailing separators name no level.
    if (level.empty()) continue;
    walked += level;
    if (!IsFolder(walked) && ::mkdir(walked.c_str(), 0777) != 0 && !(errno == EEXIST && IsFolder(walked)))
      return false;
    walked += "/";
  }
  return true;
}

}  // namespace vorel::ftp
