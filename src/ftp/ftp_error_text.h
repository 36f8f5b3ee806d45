// The words for what went wrong in a download step, from the FTP client's
// result code (libcurl's numbering). The message shows the words, then the code.
#pragma once

#include <string>

namespace vorel::ftp {

// What the code means for the user; empty when the code adds nothing to the
// step's own message. `serverWantsTls`: the server refused a login in clear.
std::string FtpFailureReason(int code, bool serverWantsTls = false);

// A step's failure message: what failed, why (when known) and the code.
std::string FtpFailureMessage(const std::string& step, int code, bool serverWantsTls = false);

// The local folder could not take the downloaded file.
std::string LocalFolderFailureMessage(const std::string& folder);

}  // namespace vorel::ftp
