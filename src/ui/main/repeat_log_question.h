// Before an additional analysis: a log the result already holds would have
// its accesses counted twice, so the user is asked first (default No).
#pragma once

#include <string>

namespace vorel::platform {
class Prompter;
}

namespace vorel::ui {

inline constexpr const char* kLogAlreadyAnalysedQuestion =
    "このログはすでに解析に含まれています。もう一度追加しますか？";

// True when the additional analysis of `path` may go on: the result does not
// hold the log yet, or the user answered Yes.
bool MayAddLogAgain(platform::Prompter& prompter, const std::string& path);

}  // namespace vorel::ui
