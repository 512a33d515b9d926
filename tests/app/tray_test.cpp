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
#include "support/main_window_ui.h"
#include "support/scripted_http_server.h"
#include "support/temp_dir.h"
#include "support/tray_area.h"
#include "toolkit/application.h"
#include "update/about_box.h"

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

// The tray menu as a right click on the icon shows it, closed again with Esc.
std::string TrayMenu(HWND icon) { return Describe(test::AnswerIconMenu(icon, '\0')); }

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

constexpr const char* kAutostartItem = "Mit Windows &starten";

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
    session = std::make_unique<ProgramSession>(SessionOptions{dir.path(), 5000});
    MainFormOptions options{test::UniqueName("holvex-tray")};
    options.runKey = std::move(runKey);
    form = std::make_unique<TForm1>(*session, options);
    form->StartupComplete();
  }
  test::MainWindowUi Ui() const { return test::MainWindowUi(form->hwnd()); }
  bool Logged(const std::string& message) {
    for (const std::string& line : Ui().Log())
      if (line == message) return true;
    return false;
  }
  test::TempDir dir;
  std::unique_ptr<ProgramSession> session;  // outlives the window that shows it
  std::unique_ptr<TForm1> form;
};

constexpr const char* kIdleShown =
    "Download &starten:on | Download abbre&chen:off | - | &Fenster widerherstellen:off";
constexpr const char* kIdleHidden =
    "Download &starten:on | Download abbre&chen:off | - | &Fenster widerherstellen:on";

TEST_F(TrayMainFormTest, MinimiseHidesIntoTheTrayAndTheIconBringsTheWindowBack) {
  Start();
  HWND icon = OnlyTrayIcon();
  ASSERT_NE(icon, nullptr);
  ASSERT_TRUE(form->Visible());
  EXPECT_EQ(TrayMenu(icon), kIdleShown);

  SendMessageA(form->hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(IsIconic(form->hwnd()));
  EXPECT_EQ(TrayMenu(icon), kIdleHidden);
  EXPECT_FALSE(form->Visible());
  PostMessageA(icon, WM_LBUTTONDBLCLK, 0, 0);
  EXPECT_TRUE(test::PumpUntil([&] { return form->Visible(); }));
  EXPECT_EQ(TrayMenu(icon), kIdleShown);

  // Once more, back through the tray menu's own item.
  SendMessageA(form->hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_FALSE(form->Visible());
  std::future<test::SeenMenu> menu = test::AnswerPopupMenu('f');
  PostMessageA(icon, WM_RBUTTONUP, 0, 0);
  EXPECT_TRUE(test::PumpUntil([&] { return form->Visible(); }));
  test::SeenMenu seen = menu.get();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(Describe(seen), kIdleHidden);
  EXPECT_EQ(TrayMenu(icon), kIdleShown);
}

TEST_F(TrayMainFormTest, DuringARunTheTrayMenuCancelsItAlsoUnderTheAboutBox) {
  for (bool underAboutBox : {false, true}) {
    SCOPED_TRACE(underAboutBox ? "about box open" : "no dialog");
    // The first transfer stalls after a few bytes; the second entry is never reached.
    test::ScriptedHttpServer server(
        {ConnectionScript()
             .Receive()
             .Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(1000, 'x'))
             .HoldOpen()});
    dir.Write("load.hvq", SerializeQueue({{"a.zip", "0,00 MB", "Wartend", server.Url("/a.zip")},
                                          {"b.zip", "0,00 MB", "Wartend", server.Url("/b.zip")}}));
    Start();
    TForm6 about(*form);
    form->showAbout = [&about] { about.ShowModal(); };
    HWND icon = OnlyTrayIcon();
    ASSERT_NE(icon, nullptr);
    std::future<test::SeenMenu> menu = test::AnswerPopupMenu('c', 15000);
    std::string statusUnderTheBox;
    auto user = std::async(std::launch::async, [&] {
      if (!server.WaitForRequests(1, 10000)) return;
      if (underAboutBox) {
        Ui().ChooseMenu("Informationen");
        for (int i = 0; i < 100 && !about.Visible(); ++i) Sleep(50);
      }
      PostMessageA(icon, WM_RBUTTONUP, 0, 0);
      menu.wait();
      if (!underAboutBox) return;
      for (int i = 0; i < 100 && Ui().Cell(0, 2) != "Abgebrochen"; ++i) Sleep(50);
      statusUnderTheBox = Ui().Cell(0, 2);
      PostMessageA(about.hwnd(), WM_CLOSE, 0, 0);
    });
    Ui().Click("Download");  // returns when the run is over
    user.get();
    test::SeenMenu seen = menu.get();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(Describe(seen),
              "Download &starten:off | Download abbre&chen:on | - | &Fenster widerherstellen:off");
    if (underAboutBox) {
      EXPECT_EQ(statusUnderTheBox, "Abgebrochen");
    }
    EXPECT_EQ(Ui().Cell(0, 2), "Abgebrochen");
    EXPECT_TRUE(Logged("Downloads abgebrochen durch Benutzer."));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(Ui().Cell(1, 2), "Wartend");
    EXPECT_EQ(TrayMenu(icon), kIdleShown);
  }
}

TEST_F(TrayMainFormTest, StartsDuringStartUpAndTheAutomaticRunAreOneRunAndAStartWaitsForADialog) {
  const ConnectionScript notFound =
      ConnectionScript().Receive().Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n").Close();
  test::ScriptedHttpServer server({notFound, notFound, notFound});
  dir.Write("load.hvq", SerializeQueue({{"a.zip", "0,00 MB", "Wartend", server.Url("/a.zip")}}));
  dir.Write("load.ini", "[allgemein]\r\nautostart=1\r\ndownloadfolder=" + dir.File("dl") + "\r\n");
  // Start-up is not over until every window exists.
  session = std::make_unique<ProgramSession>(SessionOptions{dir.path()});
  form = std::make_unique<TForm1>(*session, MainFormOptions{test::UniqueName("holvex-tray")});
  HWND icon = OnlyTrayIcon();
  ASSERT_NE(icon, nullptr);
  // "Download" clicked and chosen in the tray before then: nothing runs inside the start-up.
  Ui().PostClick("Download");
  EXPECT_TRUE(test::AnswerIconMenu(icon, 's').found);
  test::PumpFor(200);
  EXPECT_EQ(server.Requests().size(), 0u) << "a run started while the window was being created";
  // Both and the automatic run are one run.
  form->StartupComplete();
  test::PumpFor(300);
  EXPECT_EQ(Ui().Cell(0, 2), "Fehler");
  EXPECT_EQ(server.Requests().size(), 1u);
  const test::SeenMenu idle = test::AnswerIconMenu(icon, '\0');
  EXPECT_EQ(Describe(idle), kIdleShown);

  // Chosen while the exit question is open: the command reaches the question's own loop, and
  // is not carried out there.
  ASSERT_FALSE(idle.items.empty());
  auto box = test::DialogAnswerer::MessageBox("Beenden", IDNO);
  PostMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(idle.menu, 0), 0), 0);
  form->Beenden1Click();
  ASSERT_TRUE(box.Result().found);
  test::PumpFor(200);
  EXPECT_EQ(server.Requests().size(), 1u);

  // With no dialog open the same command runs.
  EXPECT_TRUE(test::AnswerIconMenu(icon, 's').found);
  EXPECT_TRUE(test::PumpUntil([&] { return server.Requests().size() == 2u; }));
}

TEST_F(TrayMainFormTest, SecondInstanceShowsNoIconBeforeItEnds) {
  const std::string name = test::UniqueName("holvex-tray-instance");
  SingleInstance first(name);
  MainFormOptions options{name};
  std::optional<size_t> iconsWhenEnding;
  options.onAnotherInstance = [&] { iconsWhenEnding = test::TrayIconWindows().size(); };
  ProgramSession secondSession({dir.path()});
  TForm1 second(secondSession, options);
  ASSERT_TRUE(iconsWhenEnding.has_value());
  EXPECT_EQ(*iconsWhenEnding, 0u);
}

TEST_F(TrayMainFormTest, AutostartToggleWritesTheRunValueAndRemovesIt) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  ASSERT_EQ(std::string(exe).find(' '), std::string::npos) << "this check expects a path without blanks";
  Start();
  EXPECT_FALSE(Ui().MenuChecked(kAutostartItem));
  Ui().ChooseMenu(kAutostartItem);
  EXPECT_TRUE(test::PumpUntil([&] { return Ui().MenuChecked(kAutostartItem); }));
  EXPECT_EQ(RunValue(), std::string(exe));
  Ui().ChooseMenu(kAutostartItem);
  EXPECT_TRUE(test::PumpUntil([&] { return !Ui().MenuChecked(kAutostartItem); }));
  EXPECT_EQ(RunValue(), std::nullopt);

  // A value already there at start shows the mark.
  WriteRunValue("C:\\Holvex\\holvex.exe");
  Start();
  EXPECT_TRUE(Ui().MenuChecked(kAutostartItem));
}

TEST_F(TrayMainFormTest, ChangesTheRegistryRefusesAreShownAndKeepTheMark) {
  auto refusing = std::make_shared<RefusingRunKey>();
  Start(refusing);
  auto box = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
  Ui().ChooseMenu(kAutostartItem);
  test::PumpUntil([&] { return Logged("Fehler beim Setzen der Daten für 'Holvex 2004'"); });
  EXPECT_EQ(box.Result().text, "Fehler beim Setzen der Daten für 'Holvex 2004'");
  EXPECT_FALSE(Ui().MenuChecked(kAutostartItem));
  EXPECT_EQ(RunValue(), std::nullopt);

  // The program still starts at logon: the menu must keep saying so.
  WriteRunValue("C:\\Holvex\\holvex.exe");
  Start(refusing);
  ASSERT_TRUE(Ui().MenuChecked(kAutostartItem));
  auto second = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
  Ui().ChooseMenu(kAutostartItem);
  test::PumpUntil([&] { return Logged("Fehler beim Löschen der Daten für 'Holvex 2004'"); });
  EXPECT_EQ(second.Result().text, "Fehler beim Löschen der Daten für 'Holvex 2004'");
  EXPECT_TRUE(Ui().MenuChecked(kAutostartItem));
  EXPECT_EQ(RunValue(), "C:\\Holvex\\holvex.exe");
}

TEST(AutostartCommandTest, PathWithABlankIsQuoted) {
  EXPECT_EQ(AutostartCommand("C:\\Program Files\\Holvex\\holvex.exe"),
            "\"C:\\Program Files\\Holvex\\holvex.exe\"");
  EXPECT_EQ(AutostartCommand("C:\\Holvex\\holvex.exe"), "C:\\Holvex\\holvex.exe");
}

}  // namespace
}  // namespace holvex
