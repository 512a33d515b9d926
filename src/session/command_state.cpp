#include "session/command_state.h"

namespace holvex {

namespace {

// Locked from the start of a run until its cancel.
bool LockedDuringRun(Command c) {
  switch (c) {
    case Command::kAdd:
    case Command::kRemove:
    case Command::kStart:
    case Command::kTrayStart:
    case Command::kImport:
    case Command::kExit:
    case Command::kClose:
    case Command::kGeneral:
    case Command::kProxy:
      return true;
    default:
      return false;
  }
}

// What needs a dialog, or must not run inside the restore of the queue, waits for the end of
// start-up; removing a row works on what is there.
bool WaitsForStartup(Command c) { return c != Command::kRemove; }

// A run or an exit nested in a dialog's loop (the exit question's too) or in a cancelled entry
// would run, or save, under it.
bool MustNotNest(Command c) {
  return c == Command::kStart || c == Command::kTrayStart || c == Command::kExit || c == Command::kClose;
}

}  // namespace

Command WaitingKind(Command command) {
  if (command == Command::kTrayStart) return Command::kStart;
  if (command == Command::kClose) return Command::kExit;
  return command;
}

CommandState StateOf(Command command, const ProgramState& state) {
  const bool running = state.run == RunPhase::kRunning;
  if (command == Command::kCancel || command == Command::kTrayCancel)
    // A cancel inside a dialog's loop is harmless: it runs under the dialog too.
    return {running, running ? Use::kNow : Use::kRefused};
  if (running && LockedDuringRun(command)) return {false, Use::kRefused};
  if (command == Command::kAdd && state.adding) return {false, Use::kRefused};
  if (!state.startupDone) return {true, WaitsForStartup(command) ? Use::kLater : Use::kNow};
  if (state.modalOpen && MustNotNest(command)) return {true, Use::kBehindDialog};
  if (state.run == RunPhase::kUnwinding && MustNotNest(command)) return {true, Use::kLater};
  return {true, Use::kNow};
}

}  // namespace holvex
