// The about box closes on a click as a user makes it, except on its contact line.
#include "update/about_box.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/main_form.h"
#include "support/dialog_ui.h"
#include "support/gui.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

// The pointer moves to the middle of the window and the left button goes down and up.
void ClickOn(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    session = std::make_unique<ProgramSession>(SessionOptions{dir.path()});
    form = std::make_unique<TForm1>(*session, MainFormOptions{test::UniqueName("holvex-about")});
    about = std::make_unique<TForm6>(*form);
  }
  void TearDown() override {
    about.reset();
    form.reset();
  }
  // Shows the box, clicks on the window and tells whether the box closed.
  bool ClosesOnClick(HWND window) {
    about->Show();
    test::PumpFor(100);
    ClickOn(window);
    return test::PumpUntil([&] { return !about->Visible(); }, 1500);
  }
  // The picture, the version line ("Version", its text), the credit, the contact line.
  test::DialogUi Dialog() const { return test::DialogUi(about->hwnd()); }
  HGDIOBJ AboutPicture() const {
    return reinterpret_cast<HGDIOBJ>(
        SendMessageA(Dialog().Control("Static", 0), STM_GETIMAGE, IMAGE_BITMAP, 0));
  }
  test::TempDir dir;
  std::unique_ptr<ProgramSession> session;  // outlives the window that shows it
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm6> about;
};

TEST_F(AboutBoxTest, ShowsItsPicture) {
  BITMAP bm{};
  ASSERT_TRUE(GetObjectA(AboutPicture(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 320);
  EXPECT_EQ(bm.bmHeight, 200);
}

TEST_F(AboutBoxTest, AClickClosesItExceptOnTheContactLine) {
  EXPECT_FALSE(ClosesOnClick(Dialog().Control("Static", 4)));
  EXPECT_TRUE(about->Visible());
  EXPECT_TRUE(ClosesOnClick(Dialog().Control("Static", 0)));
  EXPECT_TRUE(ClosesOnClick(Dialog().Control("Static", 2)));
  EXPECT_TRUE(ClosesOnClick(Dialog().Control("Static", 3)));
}

}  // namespace
}  // namespace holvex
