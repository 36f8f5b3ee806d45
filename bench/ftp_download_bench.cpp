// A 50 MB log downloaded from a local FTP server (pyftpdlib on 127.0.0.1,
// started by the benchmark and stopped with it), plain and over TLS: the
// program's download against the curl command on the same file, in
// wall-clock time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ftp/ftp_download.h"
#include "platform/ftp_client.h"
#include "support/ftp_test_server.h"
#include "support/test_files.h"
#include "timed_child.h"

namespace {

using vorel::testing::FtpTestServer;

constexpr size_t kLogBytes = 50 * 1000 * 1000;

// One server of each kind for the whole run, with the log in place.
FtpTestServer& Server(bool tls) {
  static std::unique_ptr<FtpTestServer> servers[2];
  auto& server = servers[tls ? 1 : 0];
  if (!server) {
    server = std::make_unique<FtpTestServer>(tls);
    const std::string line = "1#(index)2024/01/01 12:00:00\r\n2#Mozilla/5.0 (X11; Linux x86_64)\r\n3#\r\n"
                             "4#pc.example.ne.jp(192.0.2.1)\r\n";
    std::string log;
    log.reserve(kLogBytes + line.size());
    while (log.size() < kLogBytes) log += line;
    server->Put("public_html/big.log", log);
  }
  return *server;
}

void BM_FtpDownload(benchmark::State& state) {
  const bool tls = state.range(0) != 0;
  FtpTestServer& server = Server(tls);
  vorel::testing::TempDir local;
  vorel::platform::SetFtpTrustedCertificatesForTesting(tls ? server.certificate() : "");
  const vorel::ftp::DownloadRequest request{(tls ? "ftps://" : "") + server.address(), FtpTestServer::kUser,
                                            FtpTestServer::kPassword, "public_html", local.path(), "big.log"};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const vorel::ftp::DownloadOutcome outcome = vorel::ftp::Download(request);
    state.SetIterationTime(vorel::bench::SecondsSince(start));
    if (outcome.status != vorel::ftp::DownloadStatus::Fetched) state.SkipWithError(outcome.message.c_str());
  }
  vorel::platform::SetFtpTrustedCertificatesForTesting("");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kLogBytes));
}
BENCHMARK(BM_FtpDownload)->ArgName("tls")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_CurlCommand(benchmark::State& state) {
  const bool tls = state.range(0) != 0;
  FtpTestServer& server = Server(tls);
  vorel::testing::TempDir local;
  std::vector<std::string> args = {"curl", "-s", "-S", "--noproxy", "*", "-u",
                                   std::string(FtpTestServer::kUser) + ":" + FtpTestServer::kPassword, "-o",
                                   local.File("big.log"), "ftp://" + server.address() + "/public_html/big.log"};
  if (tls) {
    args.insert(args.begin() + 1, {"--ssl-reqd", "--cacert", server.certificate()});
  }
  for (auto _ : state) {
    double seconds = 0;
    if (!vorel::bench::RunTimedChild(args, seconds)) state.SkipWithError("curl failed");
    state.SetIterationTime(seconds);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kLogBytes));
}
BENCHMARK(BM_CurlCommand)->ArgName("tls")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
