#include "app/main_form.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <regex>

#include "app/single_instance.h"
#include "support/gui.h"
#include "support/main_window_ui.h"
#include "support/temp_dir.h"
#include "support/tray_area.h"
#include "toolkit/application.h"

namespace holvex {
namespace {

// A control's rectangle in its parent's client coordinates.
RECT BoundsInParent(HWND control) {
  RECT rc{};
  GetWindowRect(control, &rc);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  std::unique_ptr<TForm1> Start() {
    session = std::make_unique<ProgramSession>(SessionOptions{dir.path()});
    return std::make_unique<TForm1>(*session, MainFormOptions{test::UniqueName("holvex-test")});
  }
  std::vector<std::string> LogMessages(TForm1& form) {
    // Each line is "hh:mm:ss: message".
    std::vector<std::string> messages;
    std::regex stamp("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]: (.*)$");
    for (const std::string& line : test::MainWindowUi(form.hwnd()).StampedLog()) {
      std::smatch m;
      EXPECT_TRUE(std::regex_match(line, m, stamp)) << line;
      messages.push_back(m.size() > 2 ? m[2].str() : line);
    }
    return messages;
  }
  test::TempDir dir;
  std::unique_ptr<ProgramSession> session;
};

TEST_F(MainFormTest, RestoresTheQueueInFileOrderWithLogLinesBehindTimeStamps) {
  dir.Write("load.ini", "[allgemein]\r\nsplashscreen=0\r\n");
  dir.Write("load.hvq",
            "[a]\r\nsize=1,50 MB\r\nstatus=Fehler\r\nurl=http://h/a\r\n\r\n[b]\r\nurl=http://h/b\r\n\r\n"
            "[c]\r\nsize=2,00 MB\r\nstatus=12,00 KB/Sek.\r\nurl=ftp://h/c\r\n\r\n");
  auto form = Start();
  const test::MainWindowUi ui(form->hwnd());
  ASSERT_EQ(ui.RowCount(), 3u);
  const char* expected[3][4] = {{"a", "1,50 MB", "Fehler", "http://h/a"},
                                {"b", "0,00 MB", "Wartend", "http://h/b"},
                                {"c", "2,00 MB", "12,00 KB/Sek.", "ftp://h/c"}};
  for (size_t row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col) EXPECT_EQ(ui.Cell(row, col), expected[row][col]);
  EXPECT_EQ(LogMessages(*form), (std::vector<std::string>{"Lade Downloads...", "Bitte warten...",
                                                          "Initialisierung erfolgreich!"}));
  EXPECT_EQ(ui.ScratchLines(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(form->Visible());
}

TEST_F(MainFormTest, WithoutQueueFileOnlyTheSuccessLine) {
  auto form = Start();
  EXPECT_EQ(test::MainWindowUi(form->hwnd()).RowCount(), 0u);
  EXPECT_EQ(LogMessages(*form), std::vector<std::string>{"Initialisierung erfolgreich!"});
}

TEST_F(MainFormTest, SystemTraySettingKeepsTheWindowHidden) {
  dir.Write("load.ini", "[allgemein]\r\nsystemtray=1\r\ndownloadfolder=\r\n");
  auto hidden = Start();
  EXPECT_FALSE(hidden->Visible());
  // The tray menu offers the window back.
  std::vector<HWND> icons = test::WaitForTrayIcons(1);
  ASSERT_EQ(icons.size(), 1u);
  test::SeenMenu menu = test::AnswerIconMenu(icons[0], '\0');
  ASSERT_TRUE(menu.found);
  ASSERT_EQ(menu.items.size(), 4u);
  EXPECT_EQ(menu.items[3].caption, "&Fenster widerherstellen");
  EXPECT_TRUE(menu.items[3].enabled);
  EXPECT_FALSE(hidden->Visible());
  EXPECT_TRUE(hidden->Settings().systemtray);
  EXPECT_EQ(hidden->Settings().downloadfolder, "");
  hidden.reset();
  dir.Write("load.ini", "[allgemein]\r\nsystemtray=0\r\n");
  auto shown = Start();
  EXPECT_TRUE(shown->Visible());
  EXPECT_EQ(shown->Settings().downloadfolder, "C:\\");
}

TEST_F(MainFormTest, FrameListAndLogAreLaidOutAsDesigned) {
  auto form = Start();
  EXPECT_EQ(form->Text(), "Holvex 2004");
  RECT client;
  GetClientRect(form->hwnd(), &client);
  EXPECT_EQ(client.right, 516);
  EXPECT_EQ(client.bottom, 467);
  LONG style = GetWindowLongA(form->hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);

  const test::MainWindowUi ui(form->hwnd());
  HWND listView = ui.Control(WC_LISTVIEWA);
  RECT list = BoundsInParent(listView);
  EXPECT_EQ(list.left, 8);
  EXPECT_EQ(list.top, 40);
  EXPECT_EQ(list.right - list.left, 499);
  EXPECT_EQ(list.bottom - list.top, 248);
  const char* captions[] = {"Datei", "Größe", "Status", "URL"};
  const int widths[] = {175, 70, 100, 150};
  HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
  ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 4);
  for (int i = 0; i < 4; ++i) {
    char caption[64] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = caption;
    column.cchTextMax = sizeof caption;
    ASSERT_TRUE(SendMessageA(listView, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(caption, captions[i]);
    EXPECT_EQ(column.cx, widths[i]);
  }
  LONG listStyle = GetWindowLongA(listView, GWL_STYLE);
  EXPECT_TRUE(listStyle & LVS_SINGLESEL);
  DWORD ex = static_cast<DWORD>(SendMessageA(listView, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
  EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);

  EXPECT_EQ(ui.TabCaption(0), "Status");
  RECT pages = BoundsInParent(ui.Control(WC_TABCONTROLA));
  EXPECT_EQ(pages.left, 8);
  EXPECT_EQ(pages.top, 296);
  HWND log = ui.Control("Edit", ES_MULTILINE);
  EXPECT_TRUE(GetWindowLongA(log, GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongA(log, GWL_STYLE) & WS_VSCROLL);

  HWND statusBar = ui.Control(STATUSCLASSNAMEA);
  int edges[3] = {};
  ASSERT_EQ(SendMessageA(statusBar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
  EXPECT_EQ(edges[0], 257);
  EXPECT_EQ(edges[1] - edges[0], 100);
  RECT bar = BoundsInParent(statusBar);
  EXPECT_EQ(bar.bottom - bar.top, 19);
  RECT last{}, inside{};
  ASSERT_TRUE(SendMessageA(statusBar, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&last)));
  GetClientRect(statusBar, &inside);
  EXPECT_EQ(last.right, inside.right);  // "Dauer: 00:00:03" has the rest of the bar
  // The scratch list box is there, but out of sight.
  HWND scratch = ui.Control("ListBox");
  ASSERT_NE(scratch, nullptr);
  EXPECT_LT(BoundsInParent(scratch).left, 0);
}

TEST_F(MainFormTest, DamagedQueueFileStartsWithWhatCanBeRestored) {
  std::string junk;
  junk.reserve(50u << 20);
  unsigned seed = 12345;
  while (junk.size() < (50u << 20)) {
    seed = seed * 1103515245u + 12345u;
    junk += static_cast<char>(seed >> 16);
  }
  junk += "\r\n[last]\r\nurl=http://h/last\r\n";
  dir.Write("load.hvq", junk);
  auto form = Start();
  ASSERT_GE(test::MainWindowUi(form->hwnd()).RowCount(), 1u);
  EXPECT_EQ(form->Queue().At(form->Queue().Count() - 1).url, "http://h/last");
  EXPECT_EQ(LogMessages(*form).back(), "Initialisierung erfolgreich!");
}

TEST(SingleInstance, SecondTokenOfOneNameSeesTheFirst) {
  std::string name = test::UniqueName("holvex-instance");
  SingleInstance first(name);
  EXPECT_FALSE(first.AnotherRuns());
  SingleInstance second(name);
  EXPECT_TRUE(second.AnotherRuns());
  SingleInstance other(name + "-other");
  EXPECT_FALSE(other.AnotherRuns());
}

}  // namespace
}  // namespace holvex
