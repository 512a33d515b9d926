// The main window's queue commands, driven as a user drives them: select a row, click,
// read the log, answer the boxes.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/main_form.h"
#include "queue/queue_file.h"
#include "queue/save_dialog.h"
#include "support/dialog_answerer.h"
#include "support/dialog_ui.h"
#include "support/gui.h"
#include "support/main_window_ui.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

class MainCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    dir.Write("load.hvq", SerializeQueue({{"a.zip", "1,00 MB", "Wartend", "http://h/a.zip"},
                                          {"b.zip", "2,00 MB", "Fertig", "http://h/b.zip"},
                                          {"c.zip", "3,00 MB", "Fehler", "http://h/c.zip"},
                                          {"d.zip", "0,00 MB", "Abgebrochen", "http://h/d.zip"},
                                          {"e.zip", "0,00 MB", "fertig", "http://h/e.zip"}}));
    session = std::make_unique<ProgramSession>(SessionOptions{dir.path()});
    form = std::make_unique<TForm1>(*session, MainFormOptions{test::UniqueName("holvex-cmd")});
    save = std::make_unique<TForm4>(*form);
    form->showSaveDialog = [this] { return save->Execute(); };
    form->StartupComplete();
    ui = std::make_unique<test::MainWindowUi>(form->hwnd());
  }
  void TearDown() override {
    save.reset();
    form.reset();
  }
  std::vector<std::string> Names() { return ui->Column(0); }
  std::string LastLogMessage() {
    auto lines = ui->Log();
    return lines.empty() ? "" : lines.back();
  }
  void Select(size_t row) {
    ui->SelectRow(row);
    test::PumpFor(20);
  }
  // A command of the menu bar, and the messages until it has run (a modal dialog runs inside).
  void Choose(const std::string& caption) {
    ui->ChooseMenu(caption);
    test::PumpFor(50);
  }
  test::TempDir dir;
  std::unique_ptr<ProgramSession> session;  // outlives the window that shows it
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm4> save;
  std::unique_ptr<test::MainWindowUi> ui;
};

TEST_F(MainCommandsTest, RemovingTheSelectedRowLogsItsNameInQuotes) {
  Select(0);
  ui->Click("Löschen");
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.zip", "c.zip", "d.zip", "e.zip"}));
  EXPECT_EQ(LastLogMessage(), "Datei \"a.zip\" aus Warteschleife gelöscht.");
  EXPECT_EQ(ui->SelectedRow(), std::nullopt);

  Select(2);
  auto box = test::DialogAnswerer::MessageBox("Fehler", IDOK, 1500);
  form->Lschen1Click();
  EXPECT_FALSE(box.Result().found) << "a box although a row was selected";
  EXPECT_EQ(Names(), (std::vector<std::string>{"b.zip", "c.zip", "e.zip"}));
  EXPECT_EQ(LastLogMessage(), "Datei \"d.zip\" aus Warteschleife gelöscht.");
}

TEST_F(MainCommandsTest, RemoveWithoutSelection) {
  size_t lines = ui->Log().size();
  ui->Click("Löschen");  // nothing at all
  EXPECT_FALSE(test::WindowAppears(nullptr, "Fehler", 300));
  EXPECT_EQ(Names().size(), 5u);

  auto box = test::DialogAnswerer::MessageBox("Fehler", IDOK);
  form->Lschen1Click();  // "&Entfernen": the error box, centred over the main window
  test::SeenDialog seen = box.Result();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, "Es wurde keine Datei ausgewählt.");
  test::ExpectCentredOver(form->hwnd(), seen.rect);
  EXPECT_EQ(Names().size(), 5u);
  EXPECT_EQ(ui->Log().size(), lines);
}

TEST_F(MainCommandsTest, StatusMarksChangeOnlyTheSelectedRow) {
  form->Fertig1Click();  // nothing selected: nothing changes
  EXPECT_EQ(ui->Cell(0, 2), "Wartend");
  Select(0);
  form->Fertig1Click();
  EXPECT_EQ(ui->Cell(0, 2), "Fertig");
  Select(2);
  form->Wartend1Click();
  EXPECT_EQ(ui->Cell(2, 2), "Wartend");
  EXPECT_EQ(ui->Cell(1, 2), "Fertig");
}

TEST_F(MainCommandsTest, CleanUpsRemoveExactlyFinishedOrFailedRowsAndDiscardRemovesAll) {
  size_t lines = ui->Log().size();
  Select(3);  // d.zip: stays selected while rows above it go
  Choose("...fertige D&ownloads entfernen");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.zip", "c.zip", "d.zip", "e.zip"}));
  EXPECT_EQ(ui->SelectedRow(), 2u);
  Choose("...fehlerhafte Downloads entfernen");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.zip", "d.zip", "e.zip"}));
  EXPECT_EQ(ui->SelectedRow(), 1u);
  Choose("&Verwerfen");
  EXPECT_EQ(ui->RowCount(), 0u);
  EXPECT_TRUE(form->Queue().Empty());
  EXPECT_EQ(ui->Log().size(), lines);  // none of them logs
}

TEST_F(MainCommandsTest, ExitQuestionAnsweredNoKeepsEverything) {
  const std::string before = dir.Read("load.hvq");
  auto box = test::DialogAnswerer::MessageBox("Beenden", IDNO);
  PostMessageA(form->hwnd(), WM_CLOSE, 0, 0);  // the title bar's close button
  test::PumpFor(200);                          // runs the box's modal loop until answered
  test::SeenDialog seen = box.Result();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, "Wollen Sie das Programm wirklich beenden?");
  test::ExpectCentredOver(form->hwnd(), seen.rect);
  test::PumpFor(100);
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(save->Visible());
  EXPECT_EQ(dir.Read("load.hvq"), before);
  EXPECT_EQ(Names().size(), 5u);
}

TEST(MainFormStart, CloseRequestBeforeEveryWindowExistsWaitsForTheEndOfStartUp) {
  test::TestApplication();
  test::TempDir dir;
  ProgramSession session({dir.path()});
  TForm1 form(session, MainFormOptions{test::UniqueName("holvex-start")});
  auto early = test::DialogAnswerer::MessageBox("Beenden", IDYES, 800);
  PostMessageA(form.hwnd(), WM_CLOSE, 0, 0);
  test::PumpFor(100);
  EXPECT_FALSE(early.Result().found);
  EXPECT_TRUE(form.Visible());

  // Once every window exists the request is taken up: the exit question comes.
  auto question = test::DialogAnswerer::MessageBox("Beenden", IDNO);
  form.StartupComplete();
  EXPECT_TRUE(question.Result().found);
  EXPECT_TRUE(form.Visible());
}

TEST(MainFormStart, QueueFileHeldByAnotherProgramIsKeptUntilItCanBeReadThenJoinsTheList) {
  test::TestApplication();
  test::TempDir dir;
  const std::vector<QueueEntry> old = {{"a.zip", "1,00 MB", "Wartend", "http://h/a.zip"},
                                       {"b.zip", "2,00 MB", "Fehler", "http://h/b.zip"}};
  dir.Write("load.hvq", SerializeQueue(old));
  // Another program holds the file without sharing reads.
  HANDLE held =
      CreateFileA(dir.File("load.hvq").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  auto startBox = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
  ProgramSession session({dir.path()});
  TForm1 form(session, MainFormOptions{test::UniqueName("holvex-held")});
  TForm4 save(form);
  form.showSaveDialog = [&save] { return save.Execute(); };
  form.StartupComplete();
  const test::MainWindowUi ui(form.hwnd());
  test::SeenDialog seen = startBox.Result();
  ASSERT_TRUE(seen.found) << "the unread queue file went unreported";
  const std::string unread = "Datei \"" + form.QueueFilePath() + "\" kann nicht gelesen werden. ";
  EXPECT_EQ(seen.text.rfind(unread, 0), 0u) << seen.text;
  EXPECT_EQ(ui.Log().back().rfind("Warteschleife nicht geladen: " + unread, 0), 0u);
  EXPECT_TRUE(form.Queue().Empty());

  // Neither "Speichern..." nor a confirmed exit replaces the file while it cannot be read.
  form.Queue().Append({"c.zip", "3,00 MB", "Wartend", "http://h/c.zip"});
  for (bool exit : {false, true}) {
    auto question = test::DialogAnswerer::MessageBox("Beenden", IDYES, exit ? 10000 : 300);
    auto refused = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
    if (exit)
      PostMessageA(form.hwnd(), WM_CLOSE, 0, 0);
    else
      ui.ChooseMenu("&Speichern...");
    test::PumpFor(100);  // runs the question, the dialog and the box in their own loops
    EXPECT_EQ(question.Result().found, exit);
    seen = refused.Result();
    ASSERT_TRUE(seen.found) << "exit " << exit;
    EXPECT_EQ(seen.text.rfind("Datei \"" + form.QueueFilePath() + "\" kann nicht erstellt werden. ", 0), 0u);
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Queue().Count(), 1u);
  }
  CloseHandle(held);
  EXPECT_EQ(dir.Read("load.hvq"), SerializeQueue(old));

  // Once it can be read, its entries come first and the whole queue is written.
  auto none = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK, 1000);
  form.Speichern1Click();
  EXPECT_FALSE(none.Result().found);
  std::vector<QueueEntry> all = old;
  all.push_back({"c.zip", "3,00 MB", "Wartend", "http://h/c.zip"});
  EXPECT_EQ(form.Queue().Entries(), all);
  EXPECT_EQ(dir.Read("load.hvq"), SerializeQueue(all));
}

TEST_F(MainCommandsTest, RejectedAddressShowsTheErrorBox) {
  auto input = test::DialogAnswerer::Form("TInputQueryForm", "Download hinzufügen", "https://h/x.zip", "OK");
  auto box = test::DialogAnswerer::MessageBox("Fehler", IDOK);
  form->SpeedButton1Click();
  EXPECT_TRUE(input.Result().found);
  test::SeenDialog seen = box.Result();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text,
            "Die eingegebene URL ist falsch bzw. ungültig!\n\r\n\rEine korrekte Downloadadresse beginnt mit "
            "http:// "
            "oder ftp:// und endet mit einem Dateinamen.");
  EXPECT_EQ(Names().size(), 5u);
}

TEST_F(MainCommandsTest, CancelledOrEmptyInputDoesNothing) {
  {
    auto input =
        test::DialogAnswerer::Form("TInputQueryForm", "Download hinzufügen", "http://h/x.zip", "Abbrechen");
    auto box = test::DialogAnswerer::MessageBox("Fehler", IDOK, 1000);
    form->Hinzufgen1Click();
    EXPECT_TRUE(input.Result().found);
    EXPECT_FALSE(box.Result().found);
  }
  {
    auto input = test::DialogAnswerer::Form("TInputQueryForm", "Download hinzufügen", "", "OK");
    auto box = test::DialogAnswerer::MessageBox("Fehler", IDOK, 1000);
    form->Downloadhinzufgen1Click();
    EXPECT_TRUE(input.Result().found);
    EXPECT_FALSE(box.Result().found);
  }
  EXPECT_EQ(Names().size(), 5u);
}

TEST_F(MainCommandsTest, SaveWritesTheQueueWithoutFinishedRows) {
  bool shown = false;
  save->OnShow = [&, show = save->OnShow] {
    shown = true;
    show();
  };
  ui->ChooseMenu("&Speichern...");
  test::PumpFor(100);  // the menu command runs the whole modal dialog
  EXPECT_TRUE(shown);
  EXPECT_FALSE(save->Visible());
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.zip", "c.zip", "d.zip", "e.zip"}));
  EXPECT_EQ(dir.Read("load.hvq"), SerializeQueue(form->Queue().Entries()));
  EXPECT_EQ(test::DialogUi(save->hwnd()).Text("Static"), "Beende Vorgang...");
  EXPECT_TRUE(form->Visible());
}

TEST_F(MainCommandsTest, SaveOfOnlyFinishedRowsDeletesTheFile) {
  form->Verwerfen1Click();
  form->Queue().Append({"x", "0,00 MB", "Fertig", "http://h/x"});
  form->Speichern1Click();
  EXPECT_FALSE(dir.Exists("load.hvq"));
  EXPECT_EQ(test::DialogUi(save->hwnd()).Text("Static"), "Warteschleife wird bearbeitet...");
}

TEST_F(MainCommandsTest, FailedSaveReportsPathAndReasonAndKeepsOldFileAndRows) {
  const std::string before = dir.Read("load.hvq");
  // A folder where the temporary file must go makes the write fail, even for root.
  ASSERT_TRUE(CreateDirectoryA(dir.File("load.hvq.tmp").c_str(), nullptr));
  auto box = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
  form->Speichern1Click();
  test::SeenDialog seen = box.Result();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text.rfind("Datei \"" + form->QueueFilePath() + "\" kann nicht erstellt werden. ", 0), 0u)
      << seen.text;
  EXPECT_GT(seen.text.size(), form->QueueFilePath().size() + 40);  // the system's reason follows
  EXPECT_FALSE(save->Visible());
  EXPECT_EQ(dir.Read("load.hvq"), before);
  EXPECT_EQ(Names().size(), 4u);
  RemoveDirectoryA(dir.File("load.hvq.tmp").c_str());
}

TEST_F(MainCommandsTest, FileOfAnEmptyQueueThatCannotBeDeletedIsReportedAndKept) {
  const std::string before = dir.Read("load.hvq");
  // Another program holds the file open without sharing its deletion.
  HANDLE held = CreateFileA(dir.File("load.hvq").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  form->Verwerfen1Click();
  auto box = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
  form->Speichern1Click();
  CloseHandle(held);
  test::SeenDialog seen = box.Result();
  ASSERT_TRUE(seen.found) << "the failed delete went unreported";
  EXPECT_EQ(seen.text.rfind("Datei \"" + form->QueueFilePath() + "\" kann nicht erstellt werden. ", 0), 0u)
      << seen.text;
  EXPECT_NE(test::DialogUi(save->hwnd()).Text("Static"), "Warteschleife wird bearbeitet...");
  EXPECT_EQ(dir.Read("load.hvq"), before);
}

TEST_F(MainCommandsTest, FileNameCellIsEditedInPlaceAndTakesOnlyAPlainName) {
  // As a user edits it: a click on the selected row's name opens the cell's field, a name is
  // typed, Enter ends it.
  auto edit = [&](size_t row, const std::string& typed) {
    Select(row);
    HWND list = ui->Control(WC_LISTVIEWA);
    SetFocus(list);
    RECT name{LVIR_LABEL, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&name));
    const LPARAM at = MAKELPARAM(name.left + 10, (name.top + name.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    HWND field = nullptr;
    test::PumpUntil(
        [&] {
          field = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0));
          return field != nullptr;
        },
        3000);
    if (!field) return false;
    SetWindowTextA(field, typed.c_str());
    SendMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
    return true;
  };
  for (const std::string hostile : {"..\\..\\autoexec.bat", "C:x.zip", "x.zip:hidden", "NUL", "a.zip."}) {
    auto box = test::DialogAnswerer::MessageBox("Fehler", IDOK);
    ASSERT_TRUE(edit(0, hostile)) << "the file-name cell cannot be edited";
    test::PumpFor(50);
    test::SeenDialog seen = box.Result();
    ASSERT_TRUE(seen.found) << hostile;
    EXPECT_EQ(seen.text.rfind("\"" + hostile + "\" ist kein gültiger Dateiname.", 0), 0u) << seen.text;
    EXPECT_EQ(ui->Cell(0, 0), "a.zip");
    EXPECT_EQ(LastLogMessage(), "Dateiname \"" + hostile + "\" abgelehnt: Der bisherige Name bleibt.");
  }
  ASSERT_TRUE(edit(2, "Größe (2).zip"));
  test::PumpFor(50);
  EXPECT_EQ(ui->Cell(2, 0), "Größe (2).zip");
  form->Speichern1Click();
  EXPECT_EQ(dir.Read("load.hvq"), SerializeQueue({{"a.zip", "1,00 MB", "Wartend", "http://h/a.zip"},
                                                  {"Größe (2).zip", "3,00 MB", "Fehler", "http://h/c.zip"},
                                                  {"d.zip", "0,00 MB", "Abgebrochen", "http://h/d.zip"},
                                                  {"e.zip", "0,00 MB", "fertig", "http://h/e.zip"}}));
}

TEST_F(MainCommandsTest, AFailingHandlerIsLoggedAndShownAndAFailedCloseKeepsTheWindow) {
  form->OnCloseQuery = []() -> bool { throw std::runtime_error("Die Anfrage ist gescheitert."); };
  auto box = test::DialogAnswerer::MessageBox("Holvex 2004", IDOK);
  SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
  test::SeenDialog seen = box.Result();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, "Die Anfrage ist gescheitert.");
  EXPECT_EQ(LastLogMessage(), "Die Anfrage ist gescheitert.");
  EXPECT_TRUE(IsWindow(form->hwnd()));
  EXPECT_TRUE(form->Visible());
}

}  // namespace
}  // namespace holvex
