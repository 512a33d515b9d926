// The update check against a loopback server that the proxy setting leads every query to.
#include "update/update_dialog.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/main_form.h"
#include "holvex_version.h"
#include "support/dialog_answerer.h"
#include "support/dialog_ui.h"
#include "support/gui.h"
#include "support/main_window_ui.h"
#include "support/scripted_http_server.h"
#include "support/temp_dir.h"
#include "update/maker_addresses.h"

namespace holvex {
namespace {

using test::ConnectionScript;

std::string Reply(const std::string& status, const std::string& body) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class UpdateDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    session = std::make_unique<ProgramSession>(SessionOptions{dir.path()});
    form = std::make_unique<TForm1>(*session, MainFormOptions{test::UniqueName("holvex-update")});
    update = std::make_unique<TForm2>(*form);
    update->openHomepage = [this] { ++homepageOpenings; };
    form->StartupComplete();
  }
  void TearDown() override {
    update.reset();
    form.reset();
  }
  // As the proxy dialog would set it: the update host is reached only through the proxy.
  void UseProxy(const test::ScriptedHttpServer& server) {
    form->ApplyProxy(ProxySettings{"127.0.0.1", std::to_string(server.port()), "", ""});
  }
  // Clicks "Suchen" in the shown dialog and answers the result box, if one comes, with `button`.
  test::SeenDialog Search(int button, int boxTimeoutMs = 10000) {
    auto box = test::DialogAnswerer::MessageBox("Ergebnis", button, boxTimeoutMs);
    Dialog().Click("Suchen");
    return box.Result();
  }
  test::DialogUi Dialog() const { return test::DialogUi(update->hwnd()); }
  std::vector<std::string> LogLines() { return test::MainWindowUi(form->hwnd()).Log(); }
  test::TempDir dir;
  std::unique_ptr<ProgramSession> session;  // outlives the window that shows it
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm2> update;
  int homepageOpenings = 0;
};

TEST_F(UpdateDialogTest, CurrentVersionIsReportedCentredAndTheDialogStays) {
  test::ScriptedHttpServer server({ConnectionScript().Receive().Send(Reply("200 OK", "ok")).HoldOpen()});
  UseProxy(server);
  update->Show();
  EXPECT_EQ(Dialog().Text("Static", 2), HOLVEX_VERSION_TEXT);
  EXPECT_TRUE(update->ClipRunning());

  test::SeenDialog box = Search(IDOK);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, "Es ist keine neuere Version von Holvex 2004 verfügbar.");
  test::ExpectCentredOver(form->hwnd(), box.rect);
  EXPECT_EQ(LogLines().back(), "Prüfung erfolglos... \"Update suchen\"");
  EXPECT_TRUE(update->Visible());
  EXPECT_TRUE(Dialog().Enabled("Suchen"));
  EXPECT_TRUE(update->ClipRunning());

  // One GET to the update host, written for the proxy: the full address in the request line.
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].Lines(),
            (std::vector<std::string>{std::string("GET http://") + kUpdateHost +
                                          ":80/holvex/update.php?v=" HOLVEX_VERSION_TEXT " HTTP/1.1",
                                      "Content-Type: text/html", std::string("Host: ") + kUpdateHost,
                                      "Accept: text/html, */*",
                                      "User-Agent: Mozilla/3.0 (compatible; Holvex 2004)"}));
}

TEST_F(UpdateDialogTest, NewerVersionOffersTheHomepageAndCancelOpensNothing) {
  test::ScriptedHttpServer server({ConnectionScript().AnswerEach(Reply("200 OK", "new"))});
  UseProxy(server);
  update->Show();

  test::SeenDialog box = Search(IDCANCEL);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text,
            "Es ist eine neuere Version von Holvex 2004 verfügbar.\n\r\n\r"
            "Klicken Sie auf OK um direkt zur offiziellen Homepage zu wechseln.");
  EXPECT_EQ(homepageOpenings, 0);
  EXPECT_EQ(LogLines().back(), "Prüfung erfolgreich... \"Update suchen\"");
  EXPECT_FALSE(update->ClipRunning());
  EXPECT_TRUE(update->Visible());
  EXPECT_TRUE(Dialog().Enabled("Suchen"));

  ASSERT_TRUE(Search(IDOK).found);
  EXPECT_EQ(homepageOpenings, 1);
}

TEST_F(UpdateDialogTest, AnyOtherAnswerIsIgnoredSilently) {
  test::ScriptedHttpServer server({ConnectionScript()
                                       .Receive()
                                       .Send(Reply("200 OK", "OK"))
                                       .Receive()
                                       .Send(Reply("200 OK", "ok\r\n"))
                                       .HoldOpen()});
  UseProxy(server);
  const size_t logLines = LogLines().size();
  for (int i = 0; i < 2; ++i) {
    update->Show();
    ASSERT_TRUE(update->ClipRunning());
    EXPECT_FALSE(Search(IDOK, 1000).found) << "answer " << i;
    EXPECT_TRUE(Dialog().Enabled("Suchen"));
    EXPECT_FALSE(update->ClipRunning());
    EXPECT_TRUE(update->Visible());
    update->Hide();
  }
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(LogLines().size(), logLines);
}

TEST_F(UpdateDialogTest, ErrorStatusShowsTheErrorBoxAndClosesTheDialog) {
  test::ScriptedHttpServer server(
      {ConnectionScript().Receive().Send(Reply("404 Not Found", "kein update.php")).Close()});
  UseProxy(server);
  update->Show();
  test::SeenDialog box = Search(IDOK);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, "Während der Prüfung ist ein Fehler aufgereten.");
  EXPECT_EQ(LogLines().back(), "Prüfung fehlerhaft... \"Update suchen\"");
  EXPECT_TRUE(test::PumpUntil([&] { return !update->Visible(); }, 3000));
  EXPECT_TRUE(Dialog().Enabled("Suchen"));
}

TEST_F(UpdateDialogTest, SilentServerEndsInTheErrorBoxWithinTheClientsBound) {
  test::ScriptedHttpServer server({ConnectionScript().Receive().HoldOpen()});
  UseProxy(server);
  form->HttpClient().Settings().ReadTimeout = 1500;
  update->Show();
  const DWORD start = GetTickCount();
  test::SeenDialog box = Search(IDOK, 15000);
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.text, "Während der Prüfung ist ein Fehler aufgereten.");
  EXPECT_LT(GetTickCount() - start, 6000u);
  EXPECT_TRUE(test::PumpUntil([&] { return !update->Visible(); }, 3000));
}

}  // namespace
}  // namespace holvex
