// The bar image of the HTML page: a fixed 92-byte GIF, one pixel wide and
// twelve high, shading from blue at the top to near-white at the bottom.
#pragma once

#include <string>
#include <string_view>

namespace vorel::reports {

// The image file, byte for byte.
std::string_view BarImageBytes();

// Puts "bar.gif" into `dir` (a folder ending in "/", or empty for the current
// folder) unless a file or a link of that name is already there, which is
// never replaced nor followed. Failures ask Retry/Cancel with "画像ファイルの書き込みに失敗しました。"
// and the image path. True when the image is in place.
bool WriteBarImage(const std::string& dir);

}  // namespace vorel::reports
