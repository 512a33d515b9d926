#pragma once
// Ending a download's connection without reading the rest of its body.
//
// WinInet, asked to close a request whose body is still arriving, first reads what it can of
// the rest so that the connection may serve again; from a fast server that is the whole body,
// and the window waits for it. A connection given up in the middle is therefore shut down
// underneath WinInet first: its reads then end at once, and the close drops the connection.
#include <cstdint>
#include <string>

namespace holvex {

// Shuts down every TCP connection of this process whose far end is `address`:`port`
// (any address when `address` is empty). Such a connection is of no further use: a kept-alive
// one is simply opened anew by its owner. Returns how many were shut down.
int ShutDownConnectionsTo(const std::string& address, std::uint16_t port);

// Whether a TCP connection of this process to `address`:`port` has been closed or reset by its
// far end with nothing left unread in it.
bool AnyConnectionEndedByPeer(const std::string& address, std::uint16_t port);

}  // namespace holvex
