#pragma once
// Owning wrappers for GDI and USER handles: move-only, freed exactly once.
#include <windows.h>

#include <utility>

namespace holvex {

template <typename H, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, H{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      h_ = std::exchange(other.h_, H{});
    }
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }
  void reset(H h = H{}) {
    if (h_ != H{}) Traits::Free(h_);
    h_ = h;
  }
  H release() { return std::exchange(h_, H{}); }

 private:
  H h_{};
};

struct GdiObjectTraits {
  static void Free(HGDIOBJ h) { DeleteObject(h); }
};
struct MenuTraits {
  static void Free(HMENU h) { DestroyMenu(h); }
};
struct IconTraits {
  static void Free(HICON h) { DestroyIcon(h); }
};
struct KernelHandleTraits {
  static void Free(HANDLE h) { CloseHandle(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

// Creates a font of the given face and point size for the screen.
UniqueFont CreatePointFont(const char* face, int points, bool bold = false);

}  // namespace holvex
