// The log download: fetches the log named by the FTP settings into the
// local folder, and creates local folders on request.
#pragma once

#include <string>

#include "platform/ftp_client.h"

namespace vorel::ftp {

// What a download takes from the parameter store, read at once before it
// starts: the store belongs to the interface thread, the transfer may run on
// another.
struct DownloadRequest {
  std::string server, user, password, hostDir, localFolder, fileName;
};
DownloadRequest ReadDownloadRequest();

enum class DownloadStatus { Fetched, Failed, Cancelled };
struct DownloadOutcome {
  DownloadStatus status = DownloadStatus::Fetched;
  std::string message;  // Failed: what the user is told
};

// Fetches `fileName` from `hostDir` on `server` into localFolder + "/" +
// fileName. The file arrives in a temporary file beside the target and
// replaces it only when the whole transfer succeeded; a failed or cancelled
// transfer keeps the old file and leaves no temporary one. Shows nothing,
// so it may run on a worker thread; `pulse` runs often meanwhile.
DownloadOutcome Download(const DownloadRequest& request, const platform::FtpPulse& pulse = nullptr,
                         const std::atomic<bool>* cancel = nullptr);

// The download with the settings as the parameter store holds them, its
// failure shown to the user; true exactly when the file was fetched.
bool DownloadLog(const platform::FtpPulse& pulse = nullptr);

// Creates every missing folder of a path whose levels are separated by "/":
// from the root for an absolute path, else from the current folder, which
// stays as it was. False when a level cannot be created or is no folder.
bool MakeFolderPath(const std::string& path);

// The local file a download writes: folder + "/" + name.
std::string LocalTargetPath(const std::string& folder, const std::string& name);

}  // namespace vorel::ftp
