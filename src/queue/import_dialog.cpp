#include "queue/import_dialog.h"

#include <commctrl.h>

#include "host/main_window_host.h"
#include "net/http_client.h"
#include "platform/file_io.h"
#include "platform/locale_format.h"
#include "queue/download_address.h"
#include "queue/download_queue.h"
#include "queue/link_file.h"
#include "queue/queue_file.h"
#include "queue/size_probe.h"

namespace holvex {

TForm5::TForm5(MainWindowHost& main)
    : BusyDialog(main, "TForm5", 263, "Download Importierung", "Überprüfe Hyperlinks...", 1000, 2000) {
  ListView1.Create(hwnd(), Rect{8, 130, 289, 125});
  SetWindowLongA(ListView1.hwnd(), GWL_STYLE, GetWindowLongA(ListView1.hwnd(), GWL_STYLE) & ~LVS_SINGLESEL);
  DWORD ex = LVS_EX_GRIDLINES;
  SendMessageA(ListView1.hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT, ex);
  ListView1.AddColumn("URL", 195);
  ListView1.AddColumn("Status", 90);
  ListView1.cellText = [this](size_t row, int column) -> std::string {
    if (row >= rows_.size()) return {};
    return column == 0 ? rows_[row].first : rows_[row].second;
  };
}

void TForm5::SetRowStatus(size_t row, const char* status) {
  rows_[row].second = status;
  ListView1.RedrawRow(row);
}

// Painting after every line would cost more than the lines; a few times a second shows the
// work going on.
void TForm5::RepaintNowAndThen() {
  unsigned long now = GetTickCount();
  if (now - lastPaint_ < 100) return;
  lastPaint_ = now;
  RepaintNow();
}

void TForm5::Execute(const std::string& linkFile) {
  fileName_ = linkFile;
  ShowModal();
}

void TForm5::FormActivate() {
  DownloadQueue& queue = main_.Queue();
  queue.RemoveFinishedEntries();
  rows_.clear();
  ListView1.SetRowCount(0);
  Timer1.SetEnabled(true);

  std::vector<std::string> lines = SplitLinkFileLines(ReadFileBytes(fileName_).value_or(std::string()));
  rows_.reserve(lines.size());
  for (std::string& line : lines) rows_.emplace_back(std::move(line), "Wartend...");
  lines = {};
  ListView1.SetRowCount(rows_.size());

  const LocaleSeparators seps = UserLocaleSeparators();
  {
    // The main window's list shows the new rows once, when the work is done.
    QueueViewLock lock(main_);
    for (size_t i = 0; i < rows_.size(); ++i) {
      const std::string& url = rows_[i].first;
      if (IsValidDownloadUrl(url)) {
        SetRowStatus(i, "Gültig");
        RepaintNow();  // a probe may take a while: show where the import stands first
        std::string name = DownloadFileName(url);
        std::string size = SizeText(ProbeResultBytes(ProbeSize(main_.HttpClient(), url)), seps);
        Label4.SetText(name);
        Label6.SetText(size);
        queue.Append(QueueEntry{std::move(name), std::move(size), kStatusWaiting, url});
        SetRowStatus(i, "Importiert");
      } else {
        SetRowStatus(i, "Ungültig");
      }
      RepaintNowAndThen();
    }
  }
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(true);
  RepaintNow();
}

}  // namespace holvex
