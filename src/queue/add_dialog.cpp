#include "queue/add_dialog.h"

#include "host/main_window_host.h"
#include "net/http_client.h"
#include "platform/locale_format.h"
#include "queue/download_address.h"
#include "queue/download_queue.h"
#include "queue/queue_file.h"
#include "queue/size_probe.h"

namespace holvex {

TForm3::TForm3(MainWindowHost& main)
    : BusyDialog(main, "TForm3", 137, "Download Informationen", "Verbinde zum Quellserver...", 500, 1000) {
  Timer1.SetEnabled(true);
}

void TForm3::Execute(const std::string& url) {
  url_ = url;
  ShowModal();
}

void TForm3::FormActivate() {
  DownloadQueue& queue = main_.Queue();
  const std::string url = url_;
  Timer1.SetEnabled(true);  // every opening shows activity again
  queue.RemoveFinishedEntries();
  EntryId row = queue.Append(QueueEntry{});
  Pump();

  SetStatus("Extrahiere Dateinamen...");
  const std::string name = DownloadFileName(url);
  Label4.SetText(name);
  Pump();

  SetStatus("Berechne Dateigröße...");
  const std::string probed = ProbeSize(main_.HttpClient(), url);
  Label6.SetText(probed);
  const std::string size = SizeText(ProbeResultBytes(probed), UserLocaleSeparators());
  Label6.SetText(size);
  Pump();

  Timer1.SetEnabled(false);
  ProgressBar1.SetPosition(100);
  SetStatus("Speichere Daten...");
  Pump();

  // The row may have been removed meanwhile; then there is nothing left to fill.
  if (std::optional<size_t> index = queue.IndexOf(row))
    queue.Set(*index, QueueEntry{name, size, kStatusWaiting, url});
  main_.AddLogLine("Datei \"" + name + "\" in Warteschleife eingereiht.");
  SetStatus("Initialisierung erfolgreich!");
  Timer2.SetEnabled(true);
  Pump();
}

}  // namespace holvex
