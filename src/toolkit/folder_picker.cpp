#include "toolkit/folder_picker.h"

#include <memory>

#include <ole2.h>

#include <vector>

namespace holvex {

namespace {

struct ComRelease {
  void operator()(IUnknown* p) const { p->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease>;

// Item lists come from the shell's allocator and go back to it.
class ItemList {
 public:
  ItemList(IMalloc* allocator, LPITEMIDLIST list) : allocator_(allocator), list_(list) {}
  ~ItemList() {
    if (list_) allocator_->Free(list_);
  }
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  LPITEMIDLIST get() const { return list_; }

 private:
  IMalloc* allocator_;
  LPITEMIDLIST list_;
};

class OleScope {
 public:
  OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleScope() {
    if (ok_) OleUninitialize();
  }
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;

 private:
  bool ok_;
};

// The folder identifier of a path, through the desktop folder's display-name parsing.
LPITEMIDLIST ParsePath(HWND owner, const std::string& path) {
  if (path.empty()) return nullptr;
  IShellFolder* raw = nullptr;
  if (FAILED(SHGetDesktopFolder(&raw))) return nullptr;
  ComPtr<IShellFolder> desktop(raw);
  int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
  LPITEMIDLIST list = nullptr;
  if (FAILED(desktop->ParseDisplayName(owner, nullptr, wide.data(), nullptr, &list, nullptr))) return nullptr;
  return list;
}

// Disables every enabled window of this thread but `owner` (which the picker disables itself)
// for as long as it lives, as a modal dialog does.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND owner) : owner_(owner) {
    EnumThreadWindows(GetCurrentThreadId(), &OtherWindowsDisabled::Collect, reinterpret_cast<LPARAM>(this));
    for (HWND w : disabled_) EnableWindow(w, FALSE);
  }
  ~OtherWindowsDisabled() {
    for (HWND w : disabled_) {
      if (IsWindow(w)) EnableWindow(w, TRUE);
    }
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND w, LPARAM self) {
    auto* me = reinterpret_cast<OtherWindowsDisabled*>(self);
    if (w != me->owner_ && IsWindowVisible(w) && IsWindowEnabled(w)) me->disabled_.push_back(w);
    return TRUE;
  }
  HWND owner_;
  std::vector<HWND> disabled_;
};

}  // namespace

std::optional<std::string> FolderPicker::Execute(HWND owner) {
  OleScope ole;
  IMalloc* rawAllocator = nullptr;
  if (FAILED(SHGetMalloc(&rawAllocator))) return std::nullopt;
  ComPtr<IMalloc> allocator(rawAllocator);
  ItemList root(allocator.get(), ParsePath(owner, Root));

  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pidlRoot = root.get();
  info.pszDisplayName = display;
  info.lpszTitle = Title.c_str();
  info.ulFlags = Flags;
  LPITEMIDLIST chosenList = nullptr;
  {
    OtherWindowsDisabled others(owner);
    chosenList = SHBrowseForFolderA(&info);
  }
  ItemList chosen(allocator.get(), chosenList);
  if (!chosen.get()) return std::nullopt;
  char path[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(chosen.get(), path)) return std::nullopt;
  return std::string(path);
}

}  // namespace holvex
