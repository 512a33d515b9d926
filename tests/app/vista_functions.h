#pragma once
// Functions that Windows Vista's DLLs export, for the import check of windows_version_test.cpp:
// each was checked against the "minimum supported client" of its documentation (Vista or older;
// GetTickCount64 is the one that XP lacks). Add a function only after that check; a DLL that
// is not here (ucrtbase.dll, api-ms-win-*) does not come with Vista.

namespace holvex::test {

inline constexpr const char* kVistaFunctions = R"(
advapi32.dll:
  AdjustTokenPrivileges LookupPrivilegeValueW OpenProcessToken RegCloseKey RegCreateKeyExA RegCreateKeyExW
  RegDeleteKeyW RegDeleteValueA RegDeleteValueW RegEnumKeyW RegEnumValueW RegOpenKeyExA RegOpenKeyExW
  RegQueryValueExA RegQueryValueExW RegSetValueExA RegSetValueExW
comctl32.dll:
  ImageList_AddMasked ImageList_Create ImageList_Destroy InitCommonControls InitCommonControlsEx
comdlg32.dll:
  GetOpenFileNameA
gdi32.dll:
  BitBlt CreateBrushIndirect CreateCompatibleDC CreateDIBSection CreateFontA CreateFontIndirectA
  CreateFontIndirectW CreateSolidBrush DeleteDC DeleteObject Ellipse GdiFlush GetDeviceCaps GetObjectA
  GetStockObject GetTextExtentPoint32A Polyline Rectangle RoundRect SelectObject SetBkColor SetBkMode
  SetDCBrushColor SetDCPenColor SetTextColor
kernel32.dll:
  AcquireSRWLockExclusive AddVectoredExceptionHandler CloseHandle CompareFileTime CopyFileW CreateDirectoryA CreateDirectoryW
  CreateEventA CreateFileA CreateFileW CreateProcessW CreateSemaphoreA CreateThread DeleteCriticalSection
  DeleteFileA DeleteFileW DuplicateHandle EnterCriticalSection ExitProcess ExpandEnvironmentStringsW
  FileTimeToSystemTime FindClose FindFirstFileW FindNextFileW FindResourceA FlushFileBuffers FormatMessageA
  FreeLibrary GetCommandLineW GetCurrentProcess GetCurrentProcessId GetCurrentThread GetCurrentThreadId
  GetDiskFreeSpaceW GetExitCodeProcess GetFileAttributesA GetFileAttributesW GetFileInformationByHandle
  GetFileSize GetFileSizeEx GetFileTime GetFileType GetFullPathNameW GetHandleInformation GetLastError
  GetLocaleInfoA GetLocalTime GetModuleFileNameA GetModuleFileNameW GetModuleHandleA GetModuleHandleW
  GetPrivateProfileStringW GetProcAddress GetProcessAffinityMask GetProcessTimes GetShortPathNameW
  GetStartupInfoA GetSystemDirectoryW GetSystemTimeAdjustment GetSystemTimeAsFileTime GetTempFileNameW
  GetTempPathA GetTempPathW GetThreadContext GetThreadPriority GetThreadTimes GetTickCount GetTickCount64 GetTimeFormatA
  GetVersionExW GetWindowsDirectoryW GlobalAlloc GlobalFree GlobalLock GlobalUnlock InitializeCriticalSection
  IsDBCSLeadByteEx IsDebuggerPresent LeaveCriticalSection LoadLibraryA LoadLibraryExW LoadLibraryW
  LoadResource LocalFree LockResource lstrcatW lstrcmpiA lstrcmpiW lstrcmpW lstrcpyA lstrcpynW lstrlenA
  lstrlenW MoveFileExA MoveFileExW MoveFileW MulDiv MultiByteToWideChar OpenProcess OutputDebugStringA
  QueryPerformanceCounter QueryPerformanceFrequency RaiseException ReadFile ReleaseSemaphore ReleaseSRWLockExclusive RemoveDirectoryW
  RemoveVectoredExceptionHandler ResetEvent ResumeThread SearchPathW SetCurrentDirectoryW
  SetEnvironmentVariableW SetErrorMode SetEvent SetFileAttributesW SetFilePointer SetFileTime SetLastError
  SetProcessAffinityMask SetSystemTime SetThreadContext SetThreadPriority SetUnhandledExceptionFilter
  SizeofResource Sleep SuspendThread SwitchToThread TlsAlloc TlsGetValue TlsSetValue TryEnterCriticalSection VirtualProtect
  VirtualQuery WaitForMultipleObjects WaitForSingleObject WideCharToMultiByte WriteFile
  WritePrivateProfileStringW
mpr.dll:
  WNetAddConnection2A WNetCancelConnection2A
msvcrt.dll:
  __getmainargs __initenv __mb_cur_max __p__acmdln __p__commode __p__fmode __set_app_type __setusermatherr
  _amsg_exit _assert _beginthreadex _cexit _close _endthreadex _errno _initterm _iob _lock _onexit _read
  _setjmp3 _strdup _ultoa _unlock abort atoi calloc exit fprintf fputc fputs fread free fwrite getc getenv
  islower isspace isupper isxdigit localeconv longjmp malloc memchr memcmp memcpy memmove memset printf
  realloc setlocale signal strchr strcmp strerror strlen strncmp strncpy strtol strtoul time tolower ungetc
  vfprintf wcslen
ole32.dll:
  CoCreateInstance CoTaskMemFree IIDFromString OleInitialize OleUninitialize
psapi.dll:
  GetProcessMemoryInfo
shell32.dll:
  SHBrowseForFolderA SHBrowseForFolderW Shell_NotifyIconA ShellExecuteA ShellExecuteExW SHFileOperationW
  SHGetDesktopFolder SHGetFileInfoW SHGetMalloc SHGetPathFromIDListA SHGetPathFromIDListW
  SHGetSpecialFolderLocation
user32.dll:
  AdjustWindowRectEx AppendMenuA AppendMenuW BeginPaint CallWindowProcW CharNextA CharNextW CharPrevW
  CheckDlgButton CheckMenuItem CloseClipboard CreateDialogParamW CreateMenu CreatePopupMenu CreateWindowExA
  CreateWindowExW DefWindowProcA DefWindowProcW DestroyIcon DestroyMenu DestroyWindow DialogBoxParamW
  DispatchMessageA DispatchMessageW DrawFrameControl DrawMenuBar DrawStateA DrawTextA DrawTextExA DrawTextW
  EmptyClipboard EnableMenuItem EnableWindow EndDialog EndPaint EnumThreadWindows ExitWindowsEx FillRect
  FindWindowA FindWindowExW GetActiveWindow GetAncestor GetClassInfoW GetClassNameA GetClientRect
  GetCursorPos GetDC GetDlgItem GetDlgItemTextW GetLastActivePopup GetMenu GetMenuItemCount GetMenuItemInfoA
  GetMenuItemRect GetMenuState GetMenuStringA GetMessageA GetMessagePos GetParent GetPropA GetSysColor
  GetSysColorBrush GetSystemMenu GetSystemMetrics GetWindowLongA GetWindowLongW GetWindowRect GetWindowTextA
  GetWindowTextLengthA InvalidateRect IsDialogMessageA IsIconic IsWindow IsWindowEnabled IsWindowVisible KillTimer
  LoadCursorA LoadCursorW LoadIconA LoadImageA LoadImageW MapWindowPoints MessageBoxA MessageBoxIndirectW
  MoveWindow MsgWaitForMultipleObjects OffsetRect OpenClipboard PeekMessageA PeekMessageW PostMessageA
  PostQuitMessage PtInRect RedrawWindow RegisterClassExA RegisterClassW RegisterWindowMessageA ReleaseDC
  RemovePropA ScreenToClient SendMessageA SendMessageTimeoutW SendMessageW SetClassLongW SetClipboardData
  SetCursor SetDlgItemTextW SetFocus SetForegroundWindow SetMenu SetMenuItemInfoA SetPropA SetTimer
  SetWindowLongA SetWindowLongW SetWindowPos SetWindowTextA SetWindowTextW ShowWindow SystemParametersInfoW
  TrackPopupMenu TranslateMessage UpdateWindow wsprintfA wsprintfW
version.dll:
  GetFileVersionInfoA GetFileVersionInfoSizeA VerQueryValueA
wininet.dll:
  FtpCreateDirectoryA FtpFindFirstFileA FtpOpenFileA FtpSetCurrentDirectoryA HttpEndRequestA HttpOpenRequestA
  HttpQueryInfoA HttpSendRequestA HttpSendRequestExA InternetCloseHandle InternetCombineUrlA InternetConnectA
  InternetCrackUrlA InternetGetConnectedState InternetOpenA InternetOpenUrlA InternetQueryDataAvailable
  InternetReadFile InternetReadFileExA InternetSetOptionA InternetSetStatusCallbackA InternetWriteFile
winmm.dll:
  PlaySoundA
ws2_32.dll:
  __WSAFDIsSet getnameinfo getpeername getsockname getsockopt recv select shutdown WSACleanup WSAGetLastError WSAStartup
)";

}  // namespace holvex::test
