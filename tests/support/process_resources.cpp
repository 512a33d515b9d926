#include "support/process_resources.h"

#include <windows.h>

#include <cstring>

#include <psapi.h>
#include <winternl.h>

namespace holvex::test {

namespace {

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

int ProbeHandles() {
  int count = 0;
  DWORD flags = 0;
  for (UINT_PTR value = 4; value < 0x10000; value += 4)
    count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
  return count;
}

// Wine keeps the process's GDI objects in a table the PEB points to (as Windows does, in
// another layout): 24-byte entries, the object type at offset 14, 0 for a free entry.
int WineGdiObjects() {
  using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
    return -1;
  const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
  const unsigned char* table = nullptr;
  std::memcpy(&table, peb + 0x94, sizeof table);  // GdiSharedHandleTable of the 32-bit PEB
  if (!table) return -1;
  int count = 0;
  for (int i = 0; i < 0x10000; ++i) {
    unsigned short type = 0;
    std::memcpy(&type, table + i * 24 + 14, sizeof type);
    count += type != 0 ? 1 : 0;
  }
  return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountOwnWindow(HWND hwnd, LPARAM count) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(hwnd, CountChild, count);
  return TRUE;
}

int OwnWindows() {
  int count = 0;
  EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace

ResourceCounts MeasureResources() {
  ResourceCounts r;
  HANDLE self = GetCurrentProcess();
  DWORD handles = 0;
  r.handles =
      GetProcessHandleCount(self, &handles) && handles > 0 ? static_cast<int>(handles) : ProbeHandles();
  r.gdiObjects = static_cast<int>(GetGuiResources(self, GR_GDIOBJECTS));
  if (r.gdiObjects == 0 && UnderWine()) r.gdiObjects = WineGdiObjects();
  r.userObjects = static_cast<int>(GetGuiResources(self, GR_USEROBJECTS));
  if (r.userObjects == 0) r.userObjects = OwnWindows();
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
    r.privateBytes = memory.PrivateUsage > 0 ? memory.PrivateUsage : memory.PagefileUsage;
  return r;
}

std::string HowResourcesAreCounted() {
  HANDLE self = GetCurrentProcess();
  DWORD handles = 0;
  std::string how = GetProcessHandleCount(self, &handles) && handles > 0 ? "handles: GetProcessHandleCount"
                                                                         : "handles: valid handle values";
  how +=
      GetGuiResources(self, GR_GDIOBJECTS) > 0 ? "; GDI: GetGuiResources" : "; GDI: Wine's GDI handle table";
  how +=
      GetGuiResources(self, GR_USEROBJECTS) > 0 ? "; USER: GetGuiResources" : "; USER: the process's windows";
  return how + "; memory: private bytes (Wine: page-file usage)";
}

}  // namespace holvex::test
