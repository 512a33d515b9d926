#pragma once
// Where Wine's WinInet does otherwise than Windows documents, and what the engine does about it.
// Every workaround here runs only when the program runs under Wine (ntdll exports
// wine_get_version); on Windows the engine calls WinInet as documented. Each was measured under
// Wine 8 against loopback servers (docs/DEVELOPING.md, "WinInet under Wine"):
//
// - A request closed while its body is still arriving makes Wine read the rest first, so that the
//   connection may serve again: a cancelled 1 GB download held the window for 40 s, a 3 GB one on
//   a kept-alive connection about 6 minutes. Under Wine the request's connection is shut down
//   first (ShutDownConnectionsTo). On Windows closing the handle ends the request.
// - A chunked body cut off by the server ends as a normal end of data; whether the server closed
//   the connection tells it (ConnectionEndedByPeer). On Windows the read fails.
// - Wine reports its own receive time-out while it waits for the head as a success with status 0:
//   taken as the time-out it is (StatusZeroIsTimeout).
// - Wine keeps every line of a head that never ends (370 MB in 30 s): the head is given up once
//   the process grew by 32 MB meanwhile (GuardHeadMemory).
// - Wine takes the send and receive time-outs only from the request handle, not from the root:
//   they are set on each request (TimeoutsOnRequest).
// - Wine leaves the milliseconds of an FTP listing's record unset (ZeroListedMilliseconds).
// - Wine answers a proxy's 407 by itself within the send, with the credentials set on the request;
//   sending the request again as Windows needs it offered wrong credentials three times in all
//   (a proxy may lock the account). Under Wine the request is not sent again
//   (AnswersProxyChallengeItself).
// - Every look at the message queue is a round trip to the wineserver; two per 4096-byte block
//   cost more than the transfer. Within a transfer the queue is looked at every 10 ms at most
//   (PumpIntervalMs); on Windows after every block.
// - A wait and its wake-up are round trips to the wineserver too. The window's thread empties a
//   body's ring faster than the worker fills it, and waited after every second block: once the
//   ring is empty it looks again for up to 100 µs first (RingLookMicros). The engine took 0.70 to
//   0.84 of the bare loop's time without the look, 0.44 to 0.49 with it. A 200 µs look made the
//   extra window cost up to 22 % (the looking thread keeps a core from Xvfb and the wineserver),
//   and from a server paced at 8 MB/s it cost 0.25 s of CPU in 5 s. On Windows the thread waits
//   at once.
//
// WinInet under Wine gives no handle to the socket under a request, so the connection is found
// among the process's sockets: connected to the request's server (or proxy) and not one of the
// program's own (the size probe's and the update check's, net/socket_api). Only the engine uses
// WinInet, one request at a time, so every other such socket is WinInet's for that server; an
// idle kept-alive one shut down with it is merely opened anew.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace holvex {
class InternetCall;
}

namespace holvex::wine {

// True under Wine, unless a ForcedPlatform says otherwise.
bool Active();

// For tests: runs the engine's Windows path (or its Wine path) while it lives.
class ForcedPlatform {
 public:
  explicit ForcedPlatform(bool underWine);
  ~ForcedPlatform();
  ForcedPlatform(const ForcedPlatform&) = delete;
  ForcedPlatform& operator=(const ForcedPlatform&) = delete;

 private:
  std::optional<bool> before_;
};

inline bool StatusZeroIsTimeout() { return Active(); }
inline bool GuardHeadMemory() { return Active(); }
inline bool TimeoutsOnRequest() { return Active(); }
inline bool ZeroListedMilliseconds() { return Active(); }
inline bool AnswersProxyChallengeItself() { return Active(); }
inline unsigned PumpIntervalMs() { return Active() ? 10 : 0; }
inline unsigned RingLookMicros() { return Active() ? 100 : 0; }
inline constexpr std::size_t kHeadMemoryBudget = 32u << 20;

// Under Wine: WinInet's status callback on the run's root handle, which tells each call its
// server's address and whether WinInet closed its connection. A call's handles are made with the
// context Watch gives it; the callback looks the call up by it, and finds nothing once the call is
// gone (Wine calls back while it closes an internal handle, which may be after that). On Windows
// nothing is watched and the context is 0.
void WatchConnections(void* root);
std::uintptr_t Watch(const std::shared_ptr<InternetCall>& call);
void Unwatch(std::uintptr_t context);

// Under Wine: shuts down WinInet's TCP connections to address:port (any address when empty).
// Returns how many; 0 on Windows.
int ShutDownConnectionsTo(const std::string& address, std::uint16_t port);

// Under Wine: whether such a connection was closed or reset by its far end with nothing left
// unread. False on Windows.
bool ConnectionEndedByPeer(const std::string& address, std::uint16_t port);

}  // namespace holvex::wine
