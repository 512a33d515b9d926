#pragma once
// A loopback HTTP server for tests that sends exactly the bytes a test gives it.
//
// The server listens on 127.0.0.1 at a free port and runs in-process on its own threads, natively
// and under Wine. Each accepted connection runs the next ConnectionScript, in accept order; a
// connection beyond the last script is closed at once. Everything the server receives is recorded.
// No HTTP is interpreted except finding where a request ends (head up to the empty line, then a
// Content-Length body), so status lines, headers, chunked bodies, stalls and early closes are
// whatever the script says.
//
//   ScriptedHttpServer server({ConnectionScript()
//                                  .Receive()
//                                  .Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
//                                  .Close()});
//   ... request server.Url("/a.zip") ...
//   EXPECT_EQ(server.Requests().at(0).RequestLine(), "GET /a.zip HTTP/1.1");
//
// Every wait is bounded: a step that waits for the peer gives up after kStepLimitMs, and the
// destructor stops every thread within about 50 ms plus the step in progress.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace holvex::test {

struct ScriptedServerState;

// Longest time one step waits for the peer (a request, the peer's close) before the script ends.
inline constexpr int kStepLimitMs = 15000;

class ConnectionScript {
 public:
  // Reads one request: its head up to and including the empty line, then as many body bytes as
  // its Content-Length says. Bytes after it stay for the next Receive. When the peer closes or
  // stays silent for kStepLimitMs first, the script ends there.
  ConnectionScript& Receive();
  // Sends the bytes as they are, in one piece.
  ConnectionScript& Send(std::string bytes);
  // Sends the bytes in pieces of pieceSize with a pause between them.
  ConnectionScript& SendInPieces(std::string bytes, size_t pieceSize, int pauseMs);
  // Sends `head`, then `bodyBytes` filler bytes as fast as the peer takes them: for bodies too
  // large to hold. The filler is `unit` repeated ("x" by default; a header line makes endless
  // headers). Ends when all are sent, when the peer closes, or when it takes nothing for
  // kStepLimitMs.
  ConnectionScript& Stream(std::string head, std::uint64_t bodyBytes, std::string unit = "x");
  // Stays silent for the given time (ended early only when the server stops).
  ConnectionScript& Pause(int ms);
  // Closes the connection in an orderly way (shutdown, then close); later steps are skipped.
  ConnectionScript& Close();
  // Closes the connection abortively, so that the peer sees a reset (under Wine it may see an
  // orderly close instead).
  ConnectionScript& Reset();
  // Stays open and silent until the peer closes, the server stops, or kStepLimitMs pass.
  ConnectionScript& HoldOpen();
  // Answers every request that arrives with the same bytes, until the peer closes or stays
  // silent for kStepLimitMs (for keep-alive loops such as benchmarks).
  ConnectionScript& AnswerEach(std::string response);

  struct Step {
    enum class Kind { kReceive, kSend, kPause, kClose, kReset, kHoldOpen, kAnswerEach, kStream };
    Kind kind;
    std::string bytes;
    size_t pieceSize = 0;
    int ms = 0;
    std::uint64_t count = 0;
    std::string unit = "x";  // the filler of a stream
  };
  const std::vector<Step>& steps() const { return steps_; }

 private:
  std::vector<Step> steps_;
};

struct RecordedRequest {
  int connection = 0;  // 0 for the first accepted connection
  std::string head;    // request line and header lines, each with its line end, and the empty line
  std::string body;

  std::string RequestLine() const;
  // The head's lines without their CR LF, the empty line left out.
  std::vector<std::string> Lines() const;
  // The value of the first header of that name (compared without regard to case), or "".
  std::string Header(std::string_view name) const;
};

class ScriptedHttpServer {
 public:
  explicit ScriptedHttpServer(std::vector<ConnectionScript> scripts);
  ~ScriptedHttpServer();
  ScriptedHttpServer(const ScriptedHttpServer&) = delete;
  ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

  std::uint16_t port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by pathAndQuery.
  std::string Url(std::string_view pathAndQuery = "") const;

  std::vector<RecordedRequest> Requests() const;
  int ConnectionsAccepted() const;
  // Connections whose script has ended and whose socket the server has closed.
  int ConnectionsFinished() const;
  // Body bytes the Stream steps have handed to the peer so far.
  std::uint64_t StreamedBytes() const;
  // Each waits at most timeoutMs and tells whether the count was reached.
  bool WaitForRequests(size_t count, int timeoutMs) const;
  bool WaitForConnectionsFinished(int count, int timeoutMs) const;

  // Ends every connection and the listener; called by the destructor.
  void Stop();

 private:
  void AcceptLoop();

  std::shared_ptr<ScriptedServerState> shared_;
  std::vector<ConnectionScript> scripts_;
  std::uint16_t port_ = 0;
  std::thread acceptThread_;
};

// A listener on 127.0.0.1 that never accepts and has the smallest backlog: once its queue is
// full, further connects get no answer at all (for connect-timeout tests).
class SilentListener {
 public:
  SilentListener();
  ~SilentListener();
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;
  std::uint16_t port() const { return port_; }

 private:
  std::uintptr_t socket_;
  std::uint16_t port_ = 0;
};

}  // namespace holvex::test
