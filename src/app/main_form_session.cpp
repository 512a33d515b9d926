// The end of a Windows session (logoff, shutdown): Windows ends the program without the exit
// question, so the queue is saved here as the save dialog saves it, without asking.
#include "app/main_form.h"
#include "platform/file_io.h"

namespace holvex {

void TForm1::WMEndSession(bool ending) {
  // Until start-up is complete the list may hold part of the file only: the file is the queue.
  if (!ending || !session_.StartupDone()) return;
  // The transfer cannot finish: its entry ends first, as cancelled, rather than with a rate text.
  if (session_.Run().Running()) session_.Run().Cancel();
  try {
    QueueViewLock lock(*this);
    QueueFile().Save(Queue());
    AddLogLine("Sitzungsende: Warteschleife gespeichert.");
  } catch (const FileWriteError& e) {
    // No box: nobody is left to answer it. The file stays as it was.
    AddLogLine("Sitzungsende: Datei \"" + e.path() + "\" kann nicht erstellt werden. " + e.reason());
  }
}

}  // namespace holvex
