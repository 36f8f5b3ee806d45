#include "platform/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"
#include "platform/safe_file.h"

namespace vorel::platform {
namespace {

constexpr char kStoreName[] = "registry.txt";
constexpr char kLockName[] = "registry.lock";

std::string& FolderOverride() {
  static std::string folder;
  return folder;
}

std::function<bool(std::string_view)>& WriteFault() {
  static std::function<bool(std::string_view)> fault;
  return fault;
}

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadStoreFile(const std::string& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return ReadResult::Failed;
  }
  bytes.clear();
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd, buffer, sizeof(buffer));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return ReadResult::Failed;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return ReadResult::Ok;
}

RegistryDocument ReadDocument() {
  std::string bytes;
  if (ReadStoreFile(RegistryStorePath(), bytes) != ReadResult::Ok) return {};
  return ParseRegistryText(bytes);
}

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Temporary file, flushed to the disk, then renamed over the store.
bool ReplaceStoreFile(const std::string& path, std::string_view bytes) {
  std::string temp;
  int fd = CreateTemporaryFile(path, temp);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  ReleaseTemporaryFile(temp);
  return ok;
}

// Holds the store's lock for as long as it lives. The lock file is separate
// from the store because the store itself is replaced by each change.
class StoreLock {
 public:
  explicit StoreLock(const std::string& folder) {
    fd_ = ::open(JoinPath(folder, kLockName).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    int rc;
    while ((rc = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (rc != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~StoreLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Reads the store afresh under the lock, lets `change` edit it and writes it
// back when `change` reports that something changed.
bool ModifyStore(std::string_view faultName, const std::function<bool(RegistryDocument&)>& change) {
  if (WriteFault() && WriteFault()(faultName)) return false;
  const std::string folder = RegistryFolder();
  if (!MakeFolders(folder)) return false;
  StoreLock lock(folder);
  if (!lock.held()) return false;
  const std::string path = RegistryStorePath();
  std::string bytes;
  ReadResult read = ReadStoreFile(path, bytes);
  if (read == ReadResult::Failed) return false;  // never overwrite a store we could not read
  RegistryDocument document = read == ReadResult::Ok ? ParseRegistryText(bytes) : RegistryDocument{};
  if (!change(document)) return true;
  return ReplaceStoreFile(path, FormatRegistryText(document));
}

}  // namespace

std::string RegistryFolder() {
  if (!FolderOverride().empty()) return FolderOverride();
  return JoinPath(UserConfigFolder(), "vorel");
}

std::string RegistryStorePath() { return JoinPath(RegistryFolder(), kStoreName); }

void SetRegistryFolderForTesting(std::string folder) { FolderOverride() = std::move(folder); }

void SetRegistryWriteFaultForTesting(std::function<bool(std::string_view)> fault) { WriteFault() = std::move(fault); }

std::optional<std::string> RegistryReadValue(std::string_view key, std::string_view name) {
  RegistryDocument document = ReadDocument();
  RegistryKey* found = FindRegistryKey(document, key);
  if (!found) return std::nullopt;
  RegistryValue* value = FindRegistryValue(*found, name);
  if (!value) return std::nullopt;
  return value->text;
}

std::string RegistryGetValue(std::string_view key, std::string_view name, std::string_view defaultText) {
  auto value = RegistryReadValue(key, name);
  return value ? *value : std::string(defaultText);
}

std::vector<RegistryValue> RegistryListValues(std::string_view key) {
  RegistryDocument document = ReadDocument();
  RegistryKey* found = FindRegistryKey(document, key);
  return found ? found->values : std::vector<RegistryValue>{};
}

bool RegistryWriteValue(std::string_view key, std::string_view name, std::string_view text) {
  return ModifyStore(name, [&](RegistryDocument& document) {
    RegistryKey* found = FindRegistryKey(document, key);
    if (!found) {
      document.push_back(RegistryKey{std::string(key), {}});
      found = &document.back();
    }
    if (RegistryValue* value = FindRegistryValue(*found, name)) {
      if (value->text == text) return false;
      value->text = std::string(text);
    } else {
      found->values.push_back(RegistryValue{std::string(name), std::string(text)});
    }
    return true;
  });
}

bool RegistryDeleteValue(std::string_view key, std::string_view name) {
  return ModifyStore(name, [&](RegistryDocument& document) {
    RegistryKey* found = FindRegistryKey(document, key);
    if (!found) return false;
    for (auto it = found->values.begin(); it != found->values.end(); ++it) {
      if (SameRegistryName(it->name, name)) {
        found->values.erase(it);
        return true;
      }
    }
    return false;
  });
}

bool RegistryDeleteKey(std::string_view key) {
  return ModifyStore(key, [&](RegistryDocument& document) {
    const size_t before = document.size();
    std::erase_if(document, [&](const RegistryKey& k) {
      return SameRegistryName(k.path, key) ||
             (k.path.size() > key.size() && k.path[key.size()] == '\\' &&
              SameRegistryName(std::string_view(k.path).substr(0, key.size()), key));
    });
    return document.size() != before;
  });
}

}  // namespace vorel::platform
