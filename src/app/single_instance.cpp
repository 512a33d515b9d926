#include "app/single_instance.h"

namespace holvex {

SingleInstance::SingleInstance(const std::string& name) {
  HANDLE h = CreateSemaphoreA(nullptr, 0, 1, name.c_str());
  anotherRuns_ = h != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
  semaphore_.reset(h);
  // A second instance lets go of its handle at once; the first keeps it until it ends.
  if (anotherRuns_) semaphore_.reset();
}

}  // namespace holvex
