#pragma once
// What the proxy and the general dialog share: a tool window centred over the main window,
// and the end of a successful save.
#include <string>

#include "toolkit/form.h"

namespace holvex {

class MainWindowHost;

FormParams SettingsDialogParams(const char* className, const char* caption, int clientHeight);

// Logs the save, confirms it in a box owned by the dialog and centred over the main window,
// and closes the dialog.
void FinishSave(MainWindowHost& main, Form& dialog, const std::string& dialogCaption);

}  // namespace holvex
