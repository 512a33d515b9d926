// The tray icon, the window state and the autostart entry: the icon as Wine's notification
// area shows it, the user's clicks relayed by it, and the machine's own Run key.
#include <future>

#include <gtest/gtest.h>

#include <optional>

#include "app/autostart_command.h"
#include "app/main_form.h"
#include "app/tray_icon.h"
#include "queue/queue_file.h"
#include "support/dialog_answerer.h"
#include "support/gui.h"
#include "support/scripted_http_server.h"
#include "support/temp_dir.h"
#include "support/tray_area.h"
#include "toolkit/application.h"

namespace holvex {
namespace {

using test::ConnectionScript;

// The Run value's data, read past the program's own code.
std::optional<std::string> RunValue() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::nullopt;
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  LONG status =
      RegQueryValueExA(key, kAutostartValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return std::string(data);
}

void WriteRunValue(const std::string& data) {
  ASSERT_EQ(RunKey().SetString(kAutostartValueName, data), ERROR_SUCCESS);
}
// A value left behind would start the program at the prefix's next boot, and its semaphore
// would then silence every later start.
void RemoveRunValue() { RunKey().DeleteValue(kAutostartValueName); }

// The machine's key, whose changes the registry refuses (as without administrative rights).
class RefusingRunKey : public RunKey {
 public:
  LONG SetString(const std::string&, const std::string&) override { return ERROR_ACCESS_DENIED; }
  LONG DeleteValue(const std::string&) override { return ERROR_ACCESS_DENIED; }
};

// "caption:on" or "caption:off" per item, "-" for a separator.
std::string Describe(const test::SeenMenu& menu) {
  std::string text;
  for (const test::SeenMenuItem& item : menu.items) {
    if (!text.empty()) text += " | ";
    text += item.caption.empty() ? "-" : item.caption + (item.enabled ? ":on" : ":off");
  }
  return text;
}

HWND OnlyTrayIcon() {
  std::vector<HWND> icons = test::WaitForTrayIcons(1);
  return icons.size() == 1 ? icons[0] : nullptr;
}

TEST(TrayIconTest, TipIsTheTitleCutToItsFieldAndTheIconReturnsAfterAShellRestart) {
  Application& app = test::TestApplication();
  ASSERT_TRUE(test::WaitForTrayIcons(0).empty()) << "an icon of an earlier test is still there";
  {
    TTrayIcon icon;
    icon.Hint = "Ein anderer Hinweis";
    HWND shown = OnlyTrayIcon();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(test::TrayIconTip(shown), "Holvex 2004");
  }
  EXPECT_TRUE(test::WaitForTrayIcons(0).empty());

  // A title longer than the tip's field.
  std::string longTitle;
  for (char digit = '0'; digit <= '9'; ++digit) longTitle.append("Abschnitt").push_back(digit);
  app.SetTitle(longTitle);
  TTrayIcon icon;
  app.SetTitle("Holvex 2004");
  HWND shown = OnlyTrayIcon();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(test::TrayIconTip(shown), longTitle.substr(0, 63));

  // A restarted shell has forgotten every icon and tells every top-level window so.
  NOTIFYICONDATAA forgotten{};
  forgotten.cbSize = NOTIFYICONDATAA_V1_SIZE;
  forgotten.hWnd = icon.Handle();
  forgotten.uID = TrayIconId;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &forgotten));
  ASSERT_TRUE(test::WaitForTrayIcons(0).empty());
  PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(test::PumpUntil([] { return test::TrayIconWindows().size() == 1; }));
}

class TrayMainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    RemoveRunValue();
    CreateDirectoryA(dir.File("dl").c_str(), nullptr);
    dir.Write("load.ini", "[allgemein]\r\ndownloadfolder=" + dir.File("dl") + "\r\n");
  }
  void TearDown() override {
    form.reset();
    RemoveRunValue();
  }
  void Start(std::shared_ptr<RunKey> runKey = std::make_shared<RunKey>()) {
    form.reset();
    MainFormOptions options{dir.path(), test::UniqueName("holvex-tray")};
    options.runKey = std::move(runKey);
    form = std::make_unique<TForm1>(options);
    form->StartupComplete();
    form->Transfer1.StallTimeoutMs = 5000;
  }
  bool Logged(const std::string& message) {
    for (const std::string& line : form->Memo1.Lines())
      if (line.size() > 10 && line.substr(10) == message) return true;
    return false;
  }
  test::TempDir dir;
  std::unique_ptr<TForm1> form;
};

TEST_F(TrayMainFormTest, MinimiseHidesIntoTheTrayAndTheIconBringsTheWindowBack) {
  Start();
  HWND icon = OnlyTrayIcon();
  ASSERT_NE(icon, nullptr);
  ASSERT_TRUE(form->Visible());
  EXPECT_FALSE(form->Fensterwiderherstellen1.Enabled());

  SendMessageA(form->hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(IsIconic(form->hwnd()));
  EXPECT_TRUE(form->Fensterwiderherstellen1.Enabled());
  PostMessageA(icon, WM_LBUTTONDBLCLK, 0, 0);
  EXPECT_TRUE(test::PumpUntil([&] { return form->Visible(); }));
  EXPECT_FALSE(form->Fensterwiderherstellen1.Enabled());

  // Once more, back through the tray menu's own item.
  SendMessageA(form->hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_FALSE(form->Visible());
  std::future<test::SeenMenu> menu = test::AnswerPopupMenu('f');
  PostMessageA(icon, WM_RBUTTONUP, 0, 0);
  EXPECT_TRUE(test::PumpUntil([&] { return form->Visible(); }));
  test::SeenMenu seen = menu.get();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.menu, form->PopupMenu2.handle());
  EXPECT_EQ(Describe(seen),
            "Download &starten:on | Download abbre&chen:off | - | &Fenster widerherstellen:on");
  EXPECT_FALSE(form->Fensterwiderherstellen1.Enabled());
}

TEST_F(TrayMainFormTest, DuringARunTheTrayMenuCancelsIt) {
  // The first transfer stalls after a few bytes; the second entry is never reached.
  test::ScriptedHttpServer server(
      {ConnectionScript()
           .Receive()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(1000, 'x'))
           .HoldOpen()});
  dir.Write("load.hvq", SerializeQueue({{"a.zip", "0,00 MB", "Wartend", server.Url("/a.zip")},
                                        {"b.zip", "0,00 MB", "Wartend", server.Url("/b.zip")}}));
  Start();
  HWND icon = OnlyTrayIcon();
  ASSERT_NE(icon, nullptr);
  std::future<test::SeenMenu> menu = test::AnswerPopupMenu('c', 15000);
  auto rightClick = std::async(std::launch::async, [&] {
    if (server.WaitForRequests(1, 10000)) PostMessageA(icon, WM_RBUTTONUP, 0, 0);
  });
  form->SpeedButton3.Click();  // returns when the run is over
  test::SeenMenu seen = menu.get();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(Describe(seen),
            "Download &starten:off | Download abbre&chen:on | - | &Fenster widerherstellen:off");
  EXPECT_TRUE(Logged("Downloads abgebrochen durch Benutzer."));
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(form->Queue().At(1).status, "Wartend");
  EXPECT_TRUE(form->Downloadstarten1.Enabled());
  EXPECT_FALSE(form->Downloadabbrechen1.Enabled());
}

TEST_F(TrayMainFormTest, StartFromTheTrayWaitsForStartUpAndIsRefusedUnderADialog) {
  test::ScriptedHttpServer server(
      {ConnectionScript().Receive().Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n").Close()});
  dir.Write("load.hvq", SerializeQueue({{"a.zip", "0,00 MB", "Wartend", server.Url("/a.zip")}}));
  // Start-up is not over until every window exists.
  form = std::make_unique<TForm1>(MainFormOptions{dir.path(), test::UniqueName("holvex-tray")});
  EXPECT_FALSE(form->Downloadstarten1.Enabled());
  PostMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(form->Downloadstarten1.id(), 0), 0);
  test::PumpFor(200);
  EXPECT_EQ(server.Requests().size(), 0u) << "a run started while the window was being created";
  form->StartupComplete();
  EXPECT_TRUE(form->Downloadstarten1.Enabled());

  // Chosen while the exit question is open: the command reaches the question's own loop.
  auto box = test::DialogAnswerer::MessageBox("Beenden", IDNO);
  form->Downloadstarten1.Click();
  form->Beenden1Click();
  ASSERT_TRUE(box.Result().found);
  test::PumpFor(200);
  EXPECT_EQ(server.Requests().size(), 0u);
  EXPECT_EQ(form->Queue().At(0).status, "Wartend");

  // With no dialog open the same command runs.
  form->Downloadstarten1.Click();
  EXPECT_TRUE(test::PumpUntil([&] { return form->Queue().At(0).status == "Fehler"; }));
}

TEST_F(TrayMainFormTest, SecondInstanceShowsNoIconBeforeItEnds) {
  const std::string name = test::UniqueName("holvex-tray-instance");
  SingleInstance first(name);
  MainFormOptions options{dir.path(), name};
  std::optional<size_t> iconsWhenEnding;
  options.onAnotherInstance = [&] { iconsWhenEnding = test::TrayIconWindows().size(); };
  TForm1 second(options);
  ASSERT_TRUE(iconsWhenEnding.has_value());
  EXPECT_EQ(*iconsWhenEnding, 0u);
}

TEST_F(TrayMainFormTest, AutostartToggleWritesTheRunValueAndRemovesIt) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  ASSERT_EQ(std::string(exe).find(' '), std::string::npos) << "this check expects a path without blanks";
  Start();
  EXPECT_FALSE(form->MitWindowsstarten1.Checked());
  form->MitWindowsstarten1.Click();
  EXPECT_TRUE(test::PumpUntil([&] { return form->MitWindowsstarten1.Checked(); }));
  EXPECT_EQ(RunValue(), std::string(exe));
  form->MitWindowsstarten1.Click();
  EXPECT_TRUE(test::PumpUntil([&] { return !form->MitWindowsstarten1.Checked(); }));
  EXPECT_EQ(RunValue(), std::nullopt);

  // A value already there at start shows the mark.
  WriteRunValue("C:\\Holvex\\holvex.exe");
  Start();
  EXPECT_TRUE(form->MitWindowsstarten1.Checked());
}

TEST_F(TrayMainFormTest, ChangesTheRegistryRefusesAreShownAndKeepTheMark) {
  auto refusing = std::make_shared<RefusingRunKey>();
  Start(refusing);
  auto box = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
  form->MitWindowsstarten1.Click();
  test::PumpUntil([&] { return Logged("Fehler beim Setzen der Daten für 'Holvex 2004'"); });
  EXPECT_EQ(box.Result().text, "Fehler beim Setzen der Daten für 'Holvex 2004'");
  EXPECT_FALSE(form->MitWindowsstarten1.Checked());
  EXPECT_EQ(RunValue(), std::nullopt);

  // The program still starts at logon: the menu must keep saying so.
  WriteRunValue("C:\\Holvex\\holvex.exe");
  Start(refusing);
  ASSERT_TRUE(form->MitWindowsstarten1.Checked());
  auto second = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
  form->MitWindowsstarten1.Click();
  test::PumpUntil([&] { return Logged("Fehler beim Löschen der Daten für 'Holvex 2004'"); });
  EXPECT_EQ(second.Result().text, "Fehler beim Löschen der Daten für 'Holvex 2004'");
  EXPECT_TRUE(form->MitWindowsstarten1.Checked());
  EXPECT_EQ(RunValue(), "C:\\Holvex\\holvex.exe");
}

TEST(AutostartCommandTest, PathWithABlankIsQuoted) {
  EXPECT_EQ(AutostartCommand("C:\\Program Files\\Holvex\\holvex.exe"),
            "\"C:\\Program Files\\Holvex\\holvex.exe\"");
  EXPECT_EQ(AutostartCommand("C:\\Holvex\\holvex.exe"), "C:\\Holvex\\holvex.exe");
}

}  // namespace
}  // namespace holvex
