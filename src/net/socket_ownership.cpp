#include <mutex>
#include <set>

#include "net/socket_api.h"

namespace holvex::sockets {

namespace {

struct OwnSockets {
  std::mutex lock;
  std::set<Handle> open;
};

OwnSockets& Own() {
  // Never destroyed: a socket may be closed while static objects are torn down.
  static OwnSockets* own = new OwnSockets;
  return *own;
}

}  // namespace

bool IsOwn(Handle s) {
  std::lock_guard guard(Own().lock);
  return Own().open.count(s) != 0;
}

namespace detail {

void NoteOpened(Handle s) {
  if (s == kInvalidHandle) return;
  std::lock_guard guard(Own().lock);
  Own().open.insert(s);
}

void NoteClosed(Handle s) {
  std::lock_guard guard(Own().lock);
  Own().open.erase(s);
}

}  // namespace detail

}  // namespace holvex::sockets
