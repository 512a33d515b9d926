// What each command of the main window may do, over the program's states: the rows are the
// lock tables of the main window, the run and the tray, and what a choice does while start-up,
// a dialog or a cancelled entry is still under way.
#include "session/command_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace holvex {
namespace {

using C = Command;
using Commands = std::set<Command>;

const Commands kAll = {C::kAdd,        C::kRemove, C::kStart, C::kCancel, C::kTrayStart,
                       C::kTrayCancel, C::kImport, C::kExit,  C::kClose,  C::kGeneral,
                       C::kProxy,      C::kSave,   C::kAbout, C::kUpdate};
const Commands kCancels = {C::kCancel, C::kTrayCancel};
// Locked from the start of a run until its cancel.
const Commands kLockedByARun = {C::kAdd,  C::kRemove, C::kStart,   C::kTrayStart, C::kImport,
                                C::kExit, C::kClose,  C::kGeneral, C::kProxy};
// A run, or an exit that saves, must not begin nested where it would run under something.
const Commands kRunsAndExits = {C::kStart, C::kTrayStart, C::kExit, C::kClose};

Commands AllBut(const Commands& left) {
  Commands rest;
  for (Command c : kAll)
    if (!left.count(c)) rest.insert(c);
  return rest;
}

struct Row {
  const char* name;
  ProgramState state;
  Commands enabled;
  Commands waiting;       // kept until they may run
  Commands behindDialog;  // refused, the dialog comes to the front
};

constexpr ProgramState kIdle{true, RunPhase::kIdle, false, false};
constexpr ProgramState kRunning{true, RunPhase::kRunning, false, false};

const Row kRows[] = {
    {"idle", kIdle, AllBut(kCancels), {}, {}},
    {"running", kRunning, AllBut(kLockedByARun), {}, {}},
    {"adding",
     {true, RunPhase::kIdle, true, true},
     AllBut({C::kAdd, C::kCancel, C::kTrayCancel}),
     {},
     kRunsAndExits},
    // What needs the later windows waits for them; the queue's own commands work at once.
    {"start_up",
     {false, RunPhase::kIdle, false, false},
     AllBut(kCancels),
     AllBut({C::kRemove, C::kCancel, C::kTrayCancel}),
     {}},
    {"start_up_under_a_box",
     {false, RunPhase::kIdle, true, false},
     AllBut(kCancels),
     AllBut({C::kRemove, C::kCancel, C::kTrayCancel}),
     {}},
    // The cancel has unlocked the commands; a run or an exit waits until the entry has ended.
    {"cancelled_still_unwinding",
     {true, RunPhase::kUnwinding, false, false},
     AllBut(kCancels),
     kRunsAndExits,
     {}},
    {"dialog_open", {true, RunPhase::kIdle, true, false}, AllBut(kCancels), {}, kRunsAndExits},
    // The tray's cancel reaches a run under a dialog; its start does not.
    {"running_under_a_dialog", {true, RunPhase::kRunning, true, false}, AllBut(kLockedByARun), {}, {}},
    {"unwinding_under_a_dialog",
     {true, RunPhase::kUnwinding, true, false},
     AllBut(kCancels),
     {},
     kRunsAndExits},
};

class CommandStateTable : public ::testing::TestWithParam<Row> {};

TEST_P(CommandStateTable, EachCommandIsShownAndActsAsTheStateSays) {
  const Row& row = GetParam();
  for (Command c : kAll) {
    const CommandState got = StateOf(c, row.state);
    const bool on = row.enabled.count(c) > 0;
    const Use use = row.waiting.count(c)        ? Use::kLater
                    : row.behindDialog.count(c) ? Use::kBehindDialog
                    : on                        ? Use::kNow
                                                : Use::kRefused;
    EXPECT_EQ(got.enabled, on) << "command " << static_cast<int>(c);
    EXPECT_EQ(static_cast<int>(got.use), static_cast<int>(use)) << "command " << static_cast<int>(c);
  }
}

INSTANTIATE_TEST_SUITE_P(States, CommandStateTable, ::testing::ValuesIn(kRows),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace holvex
