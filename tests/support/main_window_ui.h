#pragma once
// The main window as a user meets it, reached through its window handle only: its buttons by
// caption, its menu bar by item caption, the list's cells, the status bar's panels and the log.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace holvex::test {

class MainWindowUi {
 public:
  explicit MainWindowUi(HWND main) : main_(main) {}
  HWND hwnd() const { return main_; }

  // The button with this caption ("Hinzufügen", "Löschen", "Download", "Abbrechen").
  HWND Button(const std::string& caption) const;
  bool ButtonEnabled(const std::string& caption) const { return IsWindowEnabled(Button(caption)) != FALSE; }
  // A click that returns when its command has run (a run: when the run is over); a disabled
  // button does nothing, as for the user.
  void Click(const std::string& caption) const;
  // A click that waits in the message queue, taken when the window next looks (during a run).
  void PostClick(const std::string& caption) const;

  // An item of the menu bar, by its caption with "&" ("&Beenden"); found in any submenu.
  bool MenuEnabled(const std::string& caption) const;
  bool MenuChecked(const std::string& caption) const;
  // Chosen as the user would: a disabled item does nothing. Runs when messages are next taken.
  void ChooseMenu(const std::string& caption) const;
  // Whether the system menu's Close can be chosen.
  bool SystemCloseEnabled() const;

  size_t RowCount() const;
  // Column 0 "Datei", 1 "Größe", 2 "Status", 3 "URL".
  std::string Cell(size_t row, int column) const;
  std::vector<std::string> Column(int column) const;
  void SelectRow(size_t row) const;
  std::optional<size_t> SelectedRow() const;

  std::string Panel(int index) const;
  // The status log's messages, each without its "hh:mm:ss: " stamp.
  std::vector<std::string> Log() const;
  // The log's lines as shown, each with its stamp.
  std::vector<std::string> StampedLog() const;
  // The hidden scratch list box's lines (the queue file's section names, a link file's lines).
  std::vector<std::string> ScratchLines() const;
  // The caption of the tab control's page.
  std::string TabCaption(int index) const;
  // The first control of the class among the window's descendants; with `style`, only one with
  // those style bits (the log: "Edit" with ES_MULTILINE).
  HWND Control(const char* className, LONG style = 0) const;

 private:
  HWND main_;
};

}  // namespace holvex::test
