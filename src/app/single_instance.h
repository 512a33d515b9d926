#pragma once
// The token that marks a running instance: a named semaphore held until the process ends.
#include <string>

#include "toolkit/handles.h"

namespace holvex {

inline constexpr const char* kInstanceSemaphoreName = "PROGRAM_NAME";

class SingleInstance {
 public:
  // Creates the semaphore; AnotherRuns() tells whether it existed already.
  explicit SingleInstance(const std::string& name);
  bool AnotherRuns() const { return anotherRuns_; }

 private:
  UniqueKernelHandle semaphore_;
  bool anotherRuns_ = false;
};

}  // namespace holvex
