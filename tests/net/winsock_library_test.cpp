// Windows only: the run-time loading of WS2_32.DLL and its load errors.
#ifdef _WIN32
#include "net/winsock_library.h"

#include <gtest/gtest.h>

#include "net/net_errors.h"

namespace holvex::sockets {
namespace {

TEST(WinsockLibrary, MissingLibraryIsNamedInTheError) {
  try {
    TWinsockLibrary library("KEIN_WS2_32.DLL");
    FAIL() << "a missing library loaded";
  } catch (const EWinsockLoadError& e) {
    EXPECT_STREQ(e.what(), "Fehler beim Laden einer Winsock2-Bibliothek (KEIN_WS2_32.DLL)");
    EXPECT_EQ(e.systemError(), 126u);  // ERROR_MOD_NOT_FOUND
  }
}

TEST(WinsockLibrary, LibraryWithoutTheFunctionsNamesTheFirstMissingOne) {
  try {
    TWinsockLibrary library("KERNEL32.DLL");
    FAIL() << "KERNEL32 taken for WinSock";
  } catch (const EWinsockLoadError& e) {
    EXPECT_STREQ(e.what(), "Fehler beim Aufruf einer Winsock2-Bibliotheksfunktion WSAStartup");
  }
}

TEST(WinsockLibrary, TheRealLibraryLoadsAndStarts) {
  TWinsockLibrary library("WS2_32.DLL");
  EXPECT_NO_THROW(library.Start());
}

}  // namespace
}  // namespace holvex::sockets
#endif
