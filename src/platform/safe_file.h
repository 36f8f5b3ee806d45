// Writing a file so that a failure never leaves a half-written file in place of
// a good one: the bytes go to a temporary file in the same folder, which is
// renamed over the target only when everything has been written and flushed.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vorel::platform {

// Writes `bytes` to `path`, replacing any existing file. When a step fails,
// asks Retry/Cancel through the prompter with `failureText` (error icon,
// title "エラー"); Retry repeats the step, Cancel removes the temporary file,
// keeps any old file and returns false.
bool WriteFileSafely(const std::string& path, std::string_view bytes, const std::string& failureText);

// Test hook: while set, it is asked before each write step (0 create, 1 write,
// 2 flush, 3 rename) and a true answer makes that step fail as if the disk were full.
void SetWriteFaultForTesting(std::function<bool(int step)> fault);

}  // namespace vorel::platform
