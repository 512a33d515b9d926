#pragma once
// The client's current target and how each call's URL updates it: paths resolve against the
// previous one, a missing host or port is inherited, the port follows from the protocol.
#include <cstdint>
#include <string>
#include <string_view>

#include "net/url_record.h"

namespace holvex {

// A path starting with "/" replaces the current one; any other is appended to it, "/" runs
// collapsed and ".." segments removing the segment before them.
std::string ResolvePath(std::string_view currentPath, std::string_view newPath);

// Path, document, parameters, host, protocol and port of current from url. A URL without a
// port keeps a non-standard current port; otherwise http means 80 and https 443, and any other
// protocol throws EUnknownProtocol.
void ApplyUrlToTarget(TUrlRecord& current, const TUrlRecord& url);

// path + document + parameters (never the fragment).
std::string RequestTargetOf(const TUrlRecord& target);
// The host, with ":" + port unless the port is exactly "80".
std::string HostValueOf(const TUrlRecord& target);
// protocol "://" host [":" port] path document parameters: the request target for a proxy.
std::string AbsoluteTargetOf(const TUrlRecord& target);
// The port text as a TCP port; throws EConvertError when it is none.
std::uint16_t PortNumberOf(std::string_view port);

}  // namespace holvex
