#include "app/splash_screen.h"

#include <gtest/gtest.h>

#include "support/gui.h"

namespace holvex {
namespace {

TEST(SplashScreen, StepsShowTheSevenTextsInOrderAndFillTheBar) {
  test::TestApplication();
  TSplashScreen splash;
  splash.Show();
  EXPECT_EQ(splash.Label1.Text(), "Lade...");
  std::vector<std::string> seen;
  std::vector<int> bar;
  splash.RunSteps(0, [&](int) {
    if (seen.empty() || seen.back() != splash.Label1.Text()) seen.push_back(splash.Label1.Text());
    bar.push_back(splash.ProgressBar1.Position());
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"Lade Ansichten...", "Lade Proxy Einstellungen ...",
                                            "Lade Programm Einstellungen...", "Konfiguriere Module...",
                                            "Verarbeite Warteschleife...", "Verbindungstest...",
                                            "Starte Anwendung..."}));
  EXPECT_EQ(bar, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST(SplashScreen, BorderlessWhiteWindowWithThePicture) {
  test::TestApplication();
  TSplashScreen splash;
  RECT client;
  GetClientRect(splash.hwnd(), &client);
  EXPECT_EQ(client.right, 337);
  EXPECT_EQ(client.bottom, 247);
  EXPECT_FALSE(GetWindowLongA(splash.hwnd(), GWL_STYLE) & WS_CAPTION);
  BITMAP bm{};
  ASSERT_NE(splash.Image1.bitmap(), nullptr);
  GetObjectA(splash.Image1.bitmap(), sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 320);
  EXPECT_EQ(bm.bmHeight, 200);
  Rect bar = splash.ProgressBar1.Bounds();
  EXPECT_EQ(bar.x, 8);
  EXPECT_EQ(bar.y, 222);
  EXPECT_EQ(bar.width, 321);
  EXPECT_EQ(bar.height, 14);
  // The window is centred on the screen.
  Rect b = splash.Bounds();
  EXPECT_NEAR(b.x + b.width / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR(b.y + b.height / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

}  // namespace
}  // namespace holvex
