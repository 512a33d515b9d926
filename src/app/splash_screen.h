#pragma once
// The start-up picture with its label and bar, shown while the program starts.
#include <functional>

#include "toolkit/form.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"

namespace holvex {

class TSplashScreen : public Form {
 public:
  TSplashScreen();

  // The ten timed steps: label texts, event processing, one bar step and a pause each.
  // `afterStep` (for observers) runs at the end of every step with its number.
  void RunSteps(int stepMilliseconds, const std::function<void(int)>& afterStep = {});

  Image Image1;
  Label Label1;
  ProgressBar ProgressBar1;
};

// The label text set at the start of a step (1..10), or nullptr when the step keeps it.
const char* SplashStepText(int step);

}  // namespace holvex
