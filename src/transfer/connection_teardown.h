#pragma once
// Ending a download's connection without reading the rest of its body, and seeing whether its
// server has gone. Wine's WinInet gives no handle to the socket under a request, so these find
// it among the process's sockets: connected to the request's server, and made after the request's
// session began (ConnectionsBefore). A connection that existed before — say the size probe's
// kept-alive one to the same server — is never touched.
//
// WinInet, asked to close a request whose body is still arriving, first reads what it can of
// the rest so that the connection may serve again; from a fast server that is the whole body,
// and the window waits for it. A connection given up in the middle is therefore shut down
// underneath WinInet first: its reads then end at once, and the close drops the connection.
#include <cstdint>
#include <set>
#include <string>

namespace holvex {

// The local ports of the process's TCP connections now (cheap: no network traffic).
std::set<std::uint16_t> ConnectionsBefore();

// Shuts down the process's TCP connections to `address`:`port` (any address when `address` is
// empty) that are not among `before`. Returns how many were shut down.
int ShutDownConnectionsTo(const std::string& address, std::uint16_t port,
                          const std::set<std::uint16_t>& before);

// Whether such a connection has been closed or reset by its far end with nothing left unread.
bool AnyConnectionEndedByPeer(const std::string& address, std::uint16_t port,
                              const std::set<std::uint16_t>& before);

}  // namespace holvex
