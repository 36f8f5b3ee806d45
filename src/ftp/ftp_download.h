// The log download: fetches the log named by the FTP settings into the
// local folder, and creates local folders on request.
#pragma once

#include <string>

#include "platform/ftp_client.h"

namespace vorel::ftp {

// Fetches FtpFileName from FtpHostDir on FtpServerName into FtpLocalFolder +
// "/" + FtpFileName, as the parameter store holds them. The file arrives in a
// temporary file beside the target and replaces it only when the whole
// transfer succeeded. Failures are shown to the user; true exactly when the
// file was fetched. `pulse` runs often during the transfer.
bool DownloadLog(const platform::FtpPulse& pulse = nullptr);

// Creates every missing folder of a path whose levels are separated by "/":
// from the root for an absolute path, else from the current folder, which
// stays as it was. False when a level cannot be created or is no folder.
bool MakeFolderPath(const std::string& path);

// The local file a download writes: folder + "/" + name.
std::string LocalTargetPath(const std::string& folder, const std::string& name);

}  // namespace vorel::ftp
