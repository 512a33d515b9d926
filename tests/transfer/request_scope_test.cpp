// What the engine does about Wine's quirks stays with its own request: the memory guard against
// an endless head counts what that request costs, and a cancel shuts down only the connection
// the engine opened.
#include <windows.h>

#include <vector>

#include <winsock2.h>

#include "transfer/engine_fixture.h"

namespace holvex::test {
namespace {

std::vector<char> g_heldByTheWindow;

void CALLBACK AllocateLikeAnImport(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_heldByTheWindow.assign(64u << 20, 'w');  // touched: it counts as the process's memory
}

using RequestScope = EngineTest;

TEST_F(RequestScope, MemoryTheWindowTakesWhileTheHeadIsAwaitedIsNotTheHeads) {
  ScriptedHttpServer server({ConnectionScript().Receive().Pause(800).Send(HttpOk("kopf")).Close()});
  TTransferItem& item = AddItem(server.Url("/kopf.bin"));
  SetTimer(nullptr, 0, 100, AllocateLikeAnImport);
  engine_.Execute();
  EXPECT_EQ(g_heldByTheWindow.size(), 64u << 20) << "the window's work never ran during the wait";
  g_heldByTheWindow = std::vector<char>();
  EXPECT_TRUE(item.Copied) << Events();
}

// A connection of the process's own to the same server, kept alive across the download (as the
// size probe keeps its one).
class KeptConnection {
 public:
  explicit KeptConnection(std::uint16_t port) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(socket_, reinterpret_cast<sockaddr*>(&to), sizeof to);
    DWORD timeout = 5000;
    setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<char*>(&timeout), sizeof timeout);
  }
  ~KeptConnection() {
    closesocket(socket_);
    WSACleanup();
  }
  // Sends a HEAD request and returns what came back (empty when the connection is gone).
  std::string Probe() {
    const std::string request = "HEAD /probe HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    if (send(socket_, request.data(), static_cast<int>(request.size()), 0) !=
        static_cast<int>(request.size()))
      return {};
    char buffer[512];
    const int n = recv(socket_, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
  }

 private:
  SOCKET socket_ = INVALID_SOCKET;
};

TEST_F(RequestScope, ACancelLeavesTheProcesssOtherConnectionToTheServerAlone) {
  const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n";
  ScriptedHttpServer server({ConnectionScript().AnswerEach(answer),
                             ConnectionScript().Receive().Stream(
                                 "HTTP/1.1 200 OK\r\nContent-Length: 2000000000\r\n\r\n", 2000000000)});
  KeptConnection probe(server.port());
  ASSERT_EQ(probe.Probe(), answer);
  TTransferItem& item = AddItem(server.Url("/gross.bin"));
  ExecuteCancellingAfter(500);
  EXPECT_FALSE(item.Copied);
  EXPECT_LT(server.StreamedBytes(), 1000000000u) << "the cancelled body was read on";
  EXPECT_EQ(probe.Probe(), answer) << "the kept connection was shut down with the download's";
}

}  // namespace
}  // namespace holvex::test
