#pragma once
// Which of the main window's commands may be used now, and what choosing one does, decided in
// one place from what the program is doing: start-up, a run, a modal window, an add.
namespace holvex {

enum class Command {
  kAdd,         // "Hinzufügen", "&Download hinzufügen", context "&Hinzufügen"
  kRemove,      // "Löschen", context "&Entfernen"
  kStart,       // "Download"
  kCancel,      // "Abbrechen"
  kTrayStart,   // tray "Download &starten"
  kTrayCancel,  // tray "Download abbre&chen"
  kImport,      // "...aus &Textdatei"
  kExit,        // "&Beenden"
  kClose,       // the system menu's Close, and any other request to close the main window
  kGeneral,     // "&Allgemeines"
  kProxy,       // "&Proxy-Server"
  kSave,        // "&Speichern..."
  kAbout,       // "Informationen"
  kUpdate,      // "&Auf Update prüfen"
};
inline constexpr int kCommandCount = 14;

enum class RunPhase {
  kIdle,
  kRunning,
  kUnwinding,  // cancelled, but the run and maybe its entry's engine job are still on the stack
};

struct ProgramState {
  bool startupDone = false;  // every window exists
  RunPhase run = RunPhase::kIdle;
  bool modalOpen = false;  // a dialog or message box of the program is open
  bool adding = false;     // the add dialog is at work
};

enum class Use {
  kNow,           // runs at once
  kLater,         // waits, once, until start-up or the cancelled run has ended
  kRefused,       // does nothing
  kBehindDialog,  // does nothing: the open dialog comes to the front, as for a click behind it
};

struct CommandState {
  bool enabled;  // how the command's controls are shown
  Use use;       // what choosing it does now
  bool operator==(const CommandState&) const = default;
};

CommandState StateOf(Command command, const ProgramState& state);

// Commands that do the same when they wait: the tray's start is a click on "Download", and
// "&Beenden" asks as closing the window does. One of each kind waits at a time.
Command WaitingKind(Command command);

}  // namespace holvex
