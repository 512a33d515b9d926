// 1,000 sequential HEAD probes over one kept-alive loopback connection, against curl making
// the same 1,000 HEAD requests over one connection in one process. Run by
// scripts/bench-probe.sh; prints both times and their ratio. The Windows build (WinSock, as the
// program probes) runs under Wine without curl and prints the client's time alone.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "net/http_client.h"
#include "support/scripted_http_server.h"

namespace {

using holvex::test::ConnectionScript;
using holvex::test::ScriptedHttpServer;
using Clock = std::chrono::steady_clock;

constexpr int kProbes = 1000;
const char kResponse[] = "HTTP/1.1 200 OK\r\nServer: bench\r\nContent-Length: 1234\r\n\r\n";

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double TimeClient() {
  ScriptedHttpServer server({ConnectionScript().AnswerEach(kResponse)});
  holvex::THttpClient client;
  std::string url = server.Url("/pub/setup.exe");
  auto start = Clock::now();
  for (int i = 0; i < kProbes; ++i) {
    client.ProbeHead(url);
    if (client.Response().ContentLength != 1234) std::abort();
  }
  double ms = Ms(Clock::now() - start);
  if (server.ConnectionsAccepted() != 1 || server.Requests().size() != kProbes) std::abort();
  return ms;
}

#ifndef _WIN32
double TimeCurl(const std::string& configPath) {
  ScriptedHttpServer server({ConnectionScript().AnswerEach(kResponse)});
  {
    std::ofstream config(configPath, std::ios::trunc);
    for (int i = 0; i < kProbes; ++i) config << "url = \"" << server.Url("/pub/setup.exe") << "\"\n";
  }
  std::string command = "curl -s -S -I --config '" + configPath + "' >/dev/null";
  auto start = Clock::now();
  if (std::system(command.c_str()) != 0) std::abort();
  double ms = Ms(Clock::now() - start);
  if (server.ConnectionsAccepted() != 1 || server.Requests().size() != kProbes) {
    std::fprintf(stderr, "curl used %d connections for %zu requests\n", server.ConnectionsAccepted(),
                 server.Requests().size());
    std::abort();
  }
  return ms;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::string config = argc > 1 ? argv[1] : "/tmp/holvex-bench-curl.cfg";
  int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  double bestClient = 1e300;
#ifdef _WIN32
  for (int r = 1; r <= rounds; ++r) {
    double client = TimeClient();
    std::printf("round %d: client %.1f ms\n", r, client);
    bestClient = std::min(bestClient, client);
  }
  std::printf("best of %d: client %.1f ms for %d HEAD probes over one connection (WinSock under Wine)\n",
              rounds, bestClient, kProbes);
  (void)config;
#else
  double bestCurl = 1e300;
  for (int r = 1; r <= rounds; ++r) {
    double client = TimeClient();
    double curl = TimeCurl(config);
    std::printf("round %d: client %.1f ms, curl %.1f ms, ratio %.2f\n", r, client, curl, client / curl);
    bestClient = std::min(bestClient, client);
    bestCurl = std::min(bestCurl, curl);
  }
  std::printf("best of %d: client %.1f ms, curl %.1f ms for %d HEAD probes over one connection; ratio %.2f\n",
              rounds, bestClient, bestCurl, kProbes, bestClient / bestCurl);
#endif
  return 0;
}
