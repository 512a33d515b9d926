#pragma once
// Driving real windows from a test: the process's Application, message pumping with a
// bound, finding and answering message boxes as a user would.
#include <windows.h>

#include <functional>
#include <string>

namespace holvex {
class Application;
}

namespace holvex::test {

// The one Application of the test process (made on first use, with the common controls).
Application& TestApplication();

// Dispatches messages for `ms` milliseconds.
void PumpFor(int ms);
// Dispatches messages until `done` holds or `timeoutMs` passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// A unique name (for semaphores and the like) per call.
std::string UniqueName(const std::string& prefix);

// Expects `box` (a window's rectangle) centred over `owner`, within 2 pixels.
void ExpectCentredOver(HWND owner, const RECT& box);

// Texts of a window's direct children of one class, in Z order.
std::string ChildText(HWND parent, const char* className, int index = 0);

}  // namespace holvex::test
