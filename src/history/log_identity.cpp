#include "history/log_identity.h"

#include <openssl/sha.h>

namespace vorel::history {

std::string LogIdentity(std::string_view head) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(head.data()), head.size(), digest);
  return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

}  // namespace vorel::history
