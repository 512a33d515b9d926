// Commands that reach the main window while start-up is still under way (the window shows before
// the dialogs exist) are carried out once it has ended, each once; and a close request that comes
// while the exit question is open is answered by that question.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/main_form.h"
#include "support/gui.h"
#include "support/main_window_ui.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

TEST(StartupCommands, ACommandChosenDuringStartupIsCarriedOutOnceWhenItEnds) {
  test::TestApplication();
  test::TempDir dir;
  ProgramSession session({dir.path()});
  TForm1 form(session, MainFormOptions{test::UniqueName("holvex-startup")});
  const test::MainWindowUi ui(form.hwnd());
  ui.ChooseMenu("Informationen");
  ui.ChooseMenu("Informationen");
  test::PumpFor(200);
  int aboutShown = 0;
  form.showAbout = [&] { ++aboutShown; };
  EXPECT_EQ(aboutShown, 0);
  form.StartupComplete();
  EXPECT_EQ(aboutShown, 1);
}

BOOL CALLBACK NoteExitQuestion(HWND w, LPARAM out) {
  char className[16] = {}, caption[32] = {};
  GetClassNameA(w, className, sizeof className);
  GetWindowTextA(w, caption, sizeof caption);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::string(className) == "#32770" &&
      std::string(caption) == "Beenden")
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
  return TRUE;
}

// The exit questions of this process that are showing (tests beside this one have their own).
std::vector<HWND> ExitQuestions() {
  std::vector<HWND> found;
  EnumWindows(NoteExitQuestion, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST(StartupCommands, ACloseRequestWhileTheExitQuestionIsOpenAsksNoSecondTime) {
  test::TestApplication();
  test::TempDir dir;
  ProgramSession session({dir.path()});
  TForm1 form(session, MainFormOptions{test::UniqueName("holvex-close")});
  form.StartupComplete();
  int questions = -1;
  std::thread user([&] {
    for (int i = 0; i < 200 && ExitQuestions().empty(); ++i) Sleep(25);
    if (ExitQuestions().empty()) return;
    PostMessageA(form.hwnd(), WM_CLOSE, 0, 0);  // the title bar's button, once more
    Sleep(500);
    questions = static_cast<int>(ExitQuestions().size());
    for (int i = 0; i < 50 && !ExitQuestions().empty(); ++i, Sleep(100))
      for (HWND box : ExitQuestions()) PostMessageA(box, WM_COMMAND, IDNO, 0);
  });
  SendMessageA(form.hwnd(), WM_CLOSE, 0, 0);
  test::PumpFor(300);
  user.join();
  EXPECT_EQ(questions, 1);
  EXPECT_TRUE(form.Visible());
}

}  // namespace
}  // namespace holvex
