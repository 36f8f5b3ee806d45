// Which referrers may be handed to the desktop to open. A logged referrer is
// text a visitor wrote, so only web and FTP addresses pass: never a local
// file, a script URL or anything the desktop might run as a command.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorel::ui {

// The address to open for a referrer, or nothing when it must not be
// opened. Accepted: "http://", "https://" or "ftp://" (scheme in any letter
// case, handed on in lower case) followed by a host. Control characters refuse the address; spaces and
// the other characters a URL may not hold in plain form (" < > \ ^ ` { | })
// are percent-encoded, so the browser reads the address as the visitor wrote
// it and nothing on the way can take it for something else.
std::optional<std::string> OpenableUrl(std::string_view referrer);

}  // namespace vorel::ui
