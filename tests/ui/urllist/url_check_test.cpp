// Which referrers reach the desktop: web and FTP addresses only, handed on in
// a form nothing on the way can misread.
#include <gtest/gtest.h>

#include <string>

#include "ui/urllist/url_check.h"

namespace vorel::ui {
namespace {

TEST(UrlCheckTest, WebAndFtpAddressesPassWithTheSchemeInLowerCase) {
  EXPECT_EQ(OpenableUrl("http://www.example.jp/link.html"), "http://www.example.jp/link.html");
  EXPECT_EQ(OpenableUrl("https://search.example.com/?q=vorel&lang=ja#top"),
            "https://search.example.com/?q=vorel&lang=ja#top");
  EXPECT_EQ(OpenableUrl("ftp://ftp.example.ne.jp/pub/"), "ftp://ftp.example.ne.jp/pub/");
  EXPECT_EQ(OpenableUrl("HTTP://Example.JP/Page.HTML"), "http://Example.JP/Page.HTML");
  EXPECT_EQ(OpenableUrl("hTTpS://user@host:8080/"), "https://user@host:8080/");
  // Text beyond ASCII (a search word) stays as the visitor's browser sent it.
  EXPECT_EQ(OpenableUrl("http://search.example.jp/検索?q=日本語"), "http://search.example.jp/検索?q=日本語");
}

TEST(UrlCheckTest, LocalFilesScriptsProgramsAndOtherSchemesAreRefused) {
  for (const char* referrer :
       {"file:///etc/passwd", "FILE:///etc/passwd", "javascript:alert(1)", "JavaScript:alert(1)", "/usr/bin/xterm",
        "xterm -e sh", "C:\\WINDOWS\\system32\\calc.exe", "\\\\server\\share\\run.bat", "mailto:someone@example.jp",
        "data:text/html,<script>alert(1)</script>", "vbscript:msgbox", "ssh://host/", "smb://host/share",
        "ftps://host/", "httpx://host/", "http:host/page", "http:/host/page", "ftp:/pub", "www.example.jp/page",
        "index.html", "-", "", " http://www.example.jp/", "\thttp://www.example.jp/", "http:\\\\host\\page",
        "javascript://www.example.jp/%0Aalert(1)"}) {
    EXPECT_EQ(OpenableUrl(referrer), std::nullopt) << referrer;
  }
}

TEST(UrlCheckTest, AnAddressWithoutAHostIsRefused) {
  for (const char* referrer : {"http://", "https://", "ftp://", "http:///etc/passwd", "https://?q=1", "ftp://#x",
                               "http:// host/", "http://\\host"}) {
    EXPECT_EQ(OpenableUrl(referrer), std::nullopt) << referrer;
  }
}

TEST(UrlCheckTest, ControlCharactersRefuseTheAddress) {
  EXPECT_EQ(OpenableUrl(std::string("http://host/a\nb")), std::nullopt);
  EXPECT_EQ(OpenableUrl(std::string("http://host/a\rb")), std::nullopt);
  EXPECT_EQ(OpenableUrl(std::string("http://host/\x1b[2J")), std::nullopt);
  EXPECT_EQ(OpenableUrl(std::string("http://host/a\x7f")), std::nullopt);
  EXPECT_EQ(OpenableUrl(std::string("http://host/a\0b", 15)), std::nullopt);
}

TEST(UrlCheckTest, CharactersAUrlCannotHoldPlainAreEncoded) {
  EXPECT_EQ(OpenableUrl("http://host/a b.html"), "http://host/a%20b.html");
  EXPECT_EQ(OpenableUrl("http://host/\"><script>"), "http://host/%22%3E%3Cscript%3E");
  EXPECT_EQ(OpenableUrl("http://host/x|y\\z^`{}"), "http://host/x%7Cy%5Cz%5E%60%7B%7D");
  EXPECT_EQ(OpenableUrl("http://host/a b "), "http://host/a%20b%20");
  // Characters that are legal stay untouched, the percent sign included.
  EXPECT_EQ(OpenableUrl("http://host/~u/a%20b;c=d,e+f!*'()[]@$"), "http://host/~u/a%20b;c=d,e+f!*'()[]@$");
}

}  // namespace
}  // namespace vorel::ui
