#pragma once
// The process's committed private memory, to bound what a hostile server may make WinInet
// keep (it holds every header line of a head that never ends).
#include <cstddef>

namespace holvex {

// Private bytes of this process; 0 when the system does not tell.
std::size_t PrivateBytes();

}  // namespace holvex
