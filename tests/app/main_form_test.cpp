#include "app/main_form.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <regex>

#include "app/single_instance.h"
#include "support/gui.h"
#include "support/temp_dir.h"
#include "toolkit/application.h"

namespace holvex {
namespace {

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  std::unique_ptr<TForm1> Start() {
    return std::make_unique<TForm1>(MainFormOptions{dir.path(), test::UniqueName("holvex-test")});
  }
  std::vector<std::string> LogMessages(TForm1& form) {
    // Each line is "hh:mm:ss: message".
    std::vector<std::string> messages;
    std::regex stamp("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]: (.*)$");
    for (const std::string& line : form.Memo1.Lines()) {
      std::smatch m;
      EXPECT_TRUE(std::regex_match(line, m, stamp)) << line;
      messages.push_back(m.size() > 2 ? m[2].str() : line);
    }
    return messages;
  }
  test::TempDir dir;
};

TEST_F(MainFormTest, RestoresTheQueueInFileOrderWithLogLinesBehindTimeStamps) {
  dir.Write("load.ini", "[allgemein]\r\nsplashscreen=0\r\n");
  dir.Write("load.hvq",
            "[a]\r\nsize=1,50 MB\r\nstatus=Fehler\r\nurl=http://h/a\r\n\r\n[b]\r\nurl=http://h/b\r\n\r\n"
            "[c]\r\nsize=2,00 MB\r\nstatus=12,00 KB/Sek.\r\nurl=ftp://h/c\r\n\r\n");
  auto form = Start();
  ASSERT_EQ(form->ListView1.RowCount(), 3);
  const char* expected[3][4] = {{"a", "1,50 MB", "Fehler", "http://h/a"},
                                {"b", "0,00 MB", "Wartend", "http://h/b"},
                                {"c", "2,00 MB", "12,00 KB/Sek.", "ftp://h/c"}};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col) EXPECT_EQ(form->ListView1.CellText(row, col), expected[row][col]);
  EXPECT_EQ(LogMessages(*form),
            (std::vector<std::string>{"Lade Downloads...", "Bitte warten...", "Initialisierung erfolgreich!"}));
  ASSERT_EQ(form->ListBox1.Count(), 3);
  EXPECT_EQ(form->ListBox1.Item(2), "c");
  EXPECT_TRUE(form->Visible());
}

TEST_F(MainFormTest, WithoutQueueFileOnlyTheSuccessLine) {
  auto form = Start();
  EXPECT_EQ(form->ListView1.RowCount(), 0);
  EXPECT_EQ(LogMessages(*form), std::vector<std::string>{"Initialisierung erfolgreich!"});
}

TEST_F(MainFormTest, SystemTraySettingKeepsTheWindowHidden) {
  dir.Write("load.ini", "[allgemein]\r\nsystemtray=1\r\ndownloadfolder=\r\n");
  auto hidden = Start();
  EXPECT_FALSE(hidden->Visible());
  EXPECT_TRUE(hidden->Fensterwiderherstellen1.Enabled());
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

  Rect list = form->ListView1.Bounds();
  EXPECT_EQ(list.x, 8);
  EXPECT_EQ(list.y, 40);
  EXPECT_EQ(list.width, 499);
  EXPECT_EQ(list.height, 248);
  const char* captions[] = {"Datei", "Größe", "Status", "URL"};
  const int widths[] = {175, 70, 100, 150};
  ASSERT_EQ(form->ListView1.ColumnCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(form->ListView1.ColumnCaption(i), captions[i]);
    EXPECT_EQ(form->ListView1.ColumnWidth(i), widths[i]);
  }
  LONG listStyle = GetWindowLongA(form->ListView1.hwnd(), GWL_STYLE);
  EXPECT_TRUE(listStyle & LVS_SINGLESEL);
  DWORD ex = static_cast<DWORD>(SendMessageA(form->ListView1.hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
  EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);

  EXPECT_EQ(form->PageControl1.PageCaption(0), "Status");
  Rect pages = form->PageControl1.Bounds();
  EXPECT_EQ(pages.x, 8);
  EXPECT_EQ(pages.y, 296);
  EXPECT_TRUE(GetWindowLongA(form->Memo1.hwnd(), GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongA(form->Memo1.hwnd(), GWL_STYLE) & WS_VSCROLL);

  int edges[3] = {};
  ASSERT_EQ(SendMessageA(form->StatusBar1.hwnd(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
  EXPECT_EQ(edges[0], 257);
  EXPECT_EQ(edges[1] - edges[0], 100);
  EXPECT_EQ(edges[2] - edges[1], 50);
  EXPECT_EQ(form->StatusBar1.Height(), 19);
  EXPECT_LT(form->ListBox1.Bounds().x, 0);
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
  ASSERT_GE(form->ListView1.RowCount(), 1);
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
