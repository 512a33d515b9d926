// The engine's own progress dialog: its layout, its lines while a file runs, and its two
// ways of ending (released, or left open with "Close" and the Open buttons).
#include "transfer/progress_dialog.h"

#include <windows.h>

#include "transfer/engine_fixture.h"
#include "transfer/format.h"

namespace holvex::test {
namespace {

class ProgressDialogTest : public EngineTest {
 protected:
  struct Seen {
    bool visible = false, topmost = false;
    std::string caption, progress, rate, time;
    int bar = -1, clip = 0;
    bool playing = false;
  };
  void RecordDialogAtEveryBlock() {
    engine_.OnCopyProgress = [this](TTransferEngine& e, int, std::int64_t, std::int64_t) {
      ProgressDialog* d = e.Dialog();
      seen_.visible = d->Visible();
      seen_.topmost = (GetWindowLongA(d->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
      seen_.caption = d->Text();
      seen_.progress = d->ProgressLine();
      seen_.rate = d->RateLine();
      seen_.time = d->TimeLine();
      seen_.bar = d->Bar.Position();
      seen_.clip = d->Animation.Clip();
      seen_.playing = d->Animation.Playing();
    };
  }
  Seen seen_;
};

TEST_F(ProgressDialogTest, HiddenDialogIsStillUpdatedAndThenReleased) {
  ScriptedHttpServer server({Answer(HttpOk(Pattern(3000)))});
  AddItem(server.Url("/a.bin"));
  engine_.AlwaysOnTop = true;  // no effect while hidden
  RecordDialogAtEveryBlock();
  engine_.Execute();

  EXPECT_FALSE(seen_.visible);
  EXPECT_FALSE(seen_.topmost);
  EXPECT_EQ(seen_.progress, "Progress : " + FormatSize(3000) + " of " + FormatSize(3000));
  EXPECT_EQ(seen_.bar, 100);
  EXPECT_EQ(seen_.caption, "Downloading ...");
  EXPECT_EQ(seen_.rate.rfind("Transfer rate : ", 0), 0u);
  EXPECT_EQ(seen_.time, "Estimated time left : 0 sec.");
  EXPECT_EQ(seen_.clip, 257);
  EXPECT_TRUE(seen_.playing);
  EXPECT_EQ(engine_.Dialog(), nullptr);
}

TEST_F(ProgressDialogTest, ShownTopmostWithCompletionInTheCaption) {
  ScriptedHttpServer server({Answer(HttpOk(Pattern(3000)))});
  AddItem(server.Url("/a.bin"));
  engine_.ShowDialog = true;
  engine_.AlwaysOnTop = true;
  engine_.ShowCompletion = true;
  RecordDialogAtEveryBlock();
  engine_.Execute();

  EXPECT_TRUE(seen_.visible);
  EXPECT_TRUE(seen_.topmost);
  EXPECT_EQ(seen_.caption, "Downloading : 100% completed");
}

TEST_F(ProgressDialogTest, OpenButtonsStandRightToLeftAndStayAfterTheRun) {
  ScriptedHttpServer server({Answer(HttpOk("done"))});
  AddItem(server.Url("/a.txt"));
  engine_.ShowDialog = true;
  engine_.ShowTime = true;
  engine_.ShowOpenFile = true;
  engine_.ShowOpenFolder = true;
  bool enabledDuringRun = true;
  engine_.OnFileDone = [&](TTransferEngine& e, int) {
    enabledDuringRun = e.Dialog()->OpenFileButton.Enabled() || e.Dialog()->OpenFolderButton.Enabled();
  };
  engine_.Execute();

  ProgressDialog* d = engine_.Dialog();
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(enabledDuringRun);
  EXPECT_TRUE(d->Visible());
  Rect outer = d->Bounds();
  EXPECT_EQ(outer.width, 300);
  EXPECT_EQ(outer.height, 212);
  EXPECT_TRUE(d->TimeLabel.Visible());
  Rect cancel = d->CancelButton.Bounds(), folder = d->OpenFolderButton.Bounds(),
       file = d->OpenFileButton.Bounds();
  EXPECT_EQ(cancel.x, 300 - 75 - 10);
  EXPECT_EQ(folder.x, 300 - 150 - 20);
  EXPECT_EQ(file.x, folder.x - 85);
  EXPECT_EQ(cancel.y, 160);
  EXPECT_EQ(file.y, 160);
  EXPECT_EQ(d->CancelButton.Text(), "Close");
  // What stays on screen is the last state of every line.
  EXPECT_EQ(d->FileLabel.Text(), "File : a.txt from 127.0.0.1:" + std::to_string(server.port()));
  EXPECT_EQ(d->ProgressLabel.Text(), "Progress : 4 bytes of 4 bytes");
  EXPECT_EQ(d->TimeLabel.Text(), "Estimated time left : 0 sec.");
  EXPECT_TRUE(d->OpenFileButton.Enabled());
  EXPECT_TRUE(d->OpenFolderButton.Enabled());
  EXPECT_FALSE(d->Animation.Playing());

  // Close: OnCopyCancel, hidden, then released once the click has been handled.
  d->CancelButton.Click();
  EXPECT_EQ(Count("cancel"), 1);
  app_->ProcessMessages();
  EXPECT_EQ(engine_.Dialog(), nullptr);
}

TEST_F(ProgressDialogTest, CancelButtonDuringTheRunStopsIt) {
  ScriptedHttpServer server({Answer(HttpOk(Pattern(100000))), Answer(HttpOk("never"))});
  TTransferItem& item = AddItem(server.Url("/big.bin"));
  AddItem(server.Url("/second.bin"));
  engine_.ShowDialog = true;
  engine_.ShowOpenFile = true;
  engine_.OnCopyProgress = [&](TTransferEngine& e, int, std::int64_t, std::int64_t) {
    if (Count("cancel") == 0) e.Dialog()->CancelButton.Click();
  };
  engine_.Execute();

  EXPECT_EQ(Events(), "start 0\ncancel\ncopydone\n");
  EXPECT_FALSE(item.Copied);
  EXPECT_FALSE(dir_.Exists("big.bin"));
  ASSERT_NE(engine_.Dialog(), nullptr);
  EXPECT_FALSE(engine_.Dialog()->Visible());
  EXPECT_FALSE(engine_.Dialog()->OpenFileButton.Enabled());  // cancelled: nothing to open
}

TEST_F(ProgressDialogTest, WithoutShowTimeTheDialogIsShorter) {
  engine_.ShowOpenFolder = true;
  engine_.Execute();
  ProgressDialog* d = engine_.Dialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Bounds().height, 192);
  EXPECT_FALSE(d->TimeLabel.Visible());
  EXPECT_EQ(d->CancelButton.Bounds().y, 140);
  EXPECT_FALSE(d->OpenFileButton.Exists());
  EXPECT_EQ(d->OpenFolderButton.Bounds().x, 300 - 150 - 20);
}

}  // namespace
}  // namespace holvex::test
