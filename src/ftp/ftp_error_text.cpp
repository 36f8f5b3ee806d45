#include "ftp/ftp_error_text.h"

namespace vorel::ftp {
namespace {

// The client library's result codes that have words of their own.
enum ClientCode : int {
  kMalformedServer = 3,
  kUnknownHost = 6,
  kRefused = 7,
  kTimedOut = 28,
  kTlsHandshakeFailed = 35,
  kCertificateNotTrusted = 60,
  kTlsNotOffered = 64,
  kLoginDenied = 67,
  kBadCertificateFile = 77,
};

}  // namespace

std::string FtpFailureReason(int code, bool serverWantsTls) {
  if (serverWantsTls) return "サーバーが暗号化（TLS）を求めています。サーバー名を ftps:// で始めてください。";
  switch (code) {
    case kMalformedServer: return "サーバー名が正しくありません。";
    case kUnknownHost: return "サーバーが見つかりません。サーバー名を確かめてください。";
    case kRefused: return "サーバーに接続を拒否されました。サーバー名とポート番号を確かめてください。";
    case kTimedOut: return "サーバーから応答がありません（タイムアウト）。";
    case kTlsHandshakeFailed: return "暗号化（TLS）の接続を始められませんでした。";
    case kCertificateNotTrusted:
    case kBadCertificateFile: return "サーバーの証明書を信頼できません。";
    case kTlsNotOffered: return "サーバーが暗号化（TLS）に対応していません。";
    case kLoginDenied: return "ユーザー名またはパスワードが違います。";
    default: return {};
  }
}

std::string FtpFailureMessage(const std::string& step, int code, bool serverWantsTls) {
  const std::string reason = FtpFailureReason(code, serverWantsTls);
  return step + (reason.empty() ? "" : "\r\n" + reason) + "\r\nError Code: " + std::to_string(code);
}

std::string LocalFolderFailureMessage(const std::string& folder) {
  return "ダウンロードしたファイルをローカルフォルダに保存できませんでした。\r\n" + folder;
}

}  // namespace vorel::ftp
