// The flat menus on the real main window: items painted by the window's own draw handler
// into a memory bitmap, their measured sizes, and the keyboard reaching them.
#include <windows.h>

#include <cmath>

#include <commctrl.h>

#include <future>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "app/main_form.h"
#include "queue/queue_file.h"
#include "support/gui.h"
#include "support/main_window_ui.h"
#include "support/temp_dir.h"
#include "support/tray_area.h"
#include "toolkit/handles.h"
#include "typing.h"
#include "ui/menu_colors.h"

namespace holvex {

void PrintTo(const Rgb& c, std::ostream* os) { *os << "(" << +c.r << "," << +c.g << "," << +c.b << ")"; }

namespace {

Rgb SysRgb(int index) {
  COLORREF c = GetSysColor(index);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

// A white 32-bit memory bitmap, standing in for the menu's device context.
class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    old_ = SelectObject(dc_, bitmap_.get());
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~MemoryBitmap() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  Rgb At(int x, int y) const {
    COLORREF c = GetPixel(dc_, x, y);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
  }

 private:
  HDC dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

class MenuStylerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    dir.Write("load.hvq", SerializeQueue({{"a.zip", "1,00 MB", "Fertig", "http://h/a.zip"},
                                          {"b.zip", "2,00 MB", "Wartend", "http://h/b.zip"}}));
    session = std::make_unique<ProgramSession>(SessionOptions{dir.path()});
    form = std::make_unique<TForm1>(*session, MainFormOptions{test::UniqueName("holvex-menu")});
    einstellungen = GetSubMenu(GetMenu(form->hwnd()), 1);
  }
  // As the system asks the window to draw an item of its menu.
  void Draw(HMENU menu, UINT position, const MemoryBitmap& target, RECT rc, UINT state) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = GetMenuItemID(menu, static_cast<int>(position));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(menu);
    dis.hDC = target.dc();
    dis.rcItem = rc;
    dis.itemData = ItemData(menu, position);
    SendMessageA(form->hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  }
  MEASUREITEMSTRUCT Measure(HMENU menu, UINT position) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = GetMenuItemID(menu, static_cast<int>(position));
    mis.itemData = ItemData(menu, position);
    SendMessageA(form->hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    return mis;
  }
  static ULONG_PTR ItemData(HMENU menu, UINT position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    GetMenuItemInfoA(menu, position, TRUE, &info);
    return info.dwItemData;
  }
  static std::string Caption(HMENU menu, UINT position) {
    char text[256] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
  }
  static bool OwnerDrawn(HMENU menu, UINT position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, position, TRUE, &info);
    return info.fType & MFT_OWNERDRAW;
  }

  test::TempDir dir;
  std::unique_ptr<ProgramSession> session;  // outlives the window that shows it
  std::unique_ptr<TForm1> form;
  HMENU einstellungen = nullptr;  // "&Allgemeines", "&Proxy-Server", "-", "Mit Windows &starten"
};

TEST_F(MenuStylerTest, ItemsArePaintedWhereTheLookFixesThem) {
  const Rgb highlight = SysRgb(COLOR_HIGHLIGHT), white{255, 255, 255};
  const Rgb iconColumn = Lighten(SysRgb(COLOR_BTNFACE), 16);
  MemoryBitmap bitmap(200, 100);

  // The checked item without a picture: a 10 x 10 box centred in the 24-pixel icon column.
  Draw(einstellungen, 3, bitmap, {10, 10, 170, 32}, ODS_CHECKED);
  const int boxLeft = 10 + 7, boxTop = 10 + 6, mid = boxTop + 5;
  EXPECT_EQ(bitmap.At(boxLeft, mid), highlight);
  EXPECT_EQ(bitmap.At(boxLeft + 9, mid), highlight);
  EXPECT_NE(bitmap.At(boxLeft - 1, mid), highlight);
  EXPECT_NE(bitmap.At(boxLeft + 10, mid), highlight);
  EXPECT_EQ(bitmap.At(boxLeft + 6, boxTop), highlight);
  EXPECT_EQ(bitmap.At(boxLeft + 6, boxTop + 9), highlight);
  EXPECT_NE(bitmap.At(boxLeft + 6, boxTop - 1), highlight);
  EXPECT_NE(bitmap.At(boxLeft + 6, boxTop + 10), highlight);
  EXPECT_EQ(bitmap.At(boxLeft + 1, boxTop + 1), Lighten(highlight, 80));
  EXPECT_EQ(bitmap.At(boxLeft + 1, boxTop + 5), (Rgb{0, 0, 0}));  // the tick starts here
  // The gradient across the icon column and beyond, above the box and the text.
  const int row = 11;
  EXPECT_EQ(bitmap.At(10, row), Lighten(iconColumn, 1));
  EXPECT_EQ(bitmap.At(10 + 23, row), Lighten(iconColumn, 70));
  EXPECT_EQ(bitmap.At(10 + 28, row), Lighten(iconColumn, 85));
  EXPECT_EQ(bitmap.At(10 + 39, row), Lighten(iconColumn, 96));
  EXPECT_EQ(bitmap.At(169, row), Lighten(iconColumn, 96));
  EXPECT_EQ(bitmap.At(170, row), white);
  EXPECT_EQ(bitmap.At(9, row), white);  // the strip left of the item keeps what was there

  // The selected item: a bar one pixel inset at top and bottom.
  Draw(einstellungen, 0, bitmap, {10, 40, 170, 63}, ODS_SELECTED);
  EXPECT_EQ(bitmap.At(100, 41), highlight);
  EXPECT_EQ(bitmap.At(100, 61), highlight);
  EXPECT_NE(bitmap.At(100, 40), highlight);
  EXPECT_NE(bitmap.At(100, 62), highlight);
  EXPECT_EQ(bitmap.At(10, 50), highlight);
  EXPECT_EQ(bitmap.At(169, 50), highlight);
  EXPECT_EQ(bitmap.At(165, 50), Lighten(highlight, 68));

  // The separator: its line in row 2, from 7 pixels right of the icon column.
  Draw(einstellungen, 2, bitmap, {10, 70, 170, 74}, 0);
  const Rgb separator = Lighten(SysRgb(COLOR_BTNSHADOW), 25);
  EXPECT_EQ(bitmap.At(10 + 24 + 7, 72), separator);
  EXPECT_EQ(bitmap.At(169, 72), separator);
  EXPECT_NE(bitmap.At(10 + 24 + 6, 72), separator);
  EXPECT_NE(bitmap.At(10 + 24 + 7, 71), separator);
  EXPECT_NE(bitmap.At(10 + 24 + 7, 73), separator);
}

TEST_F(MenuStylerTest, SeparatorsAreFourPixelsAndItemsFitTextAndPicture) {
  EXPECT_EQ(Measure(einstellungen, 2).itemHeight, 4u);
  // The menu font, Tahoma of height -11; "&Allgemeines" has a 16-pixel picture.
  UniqueFont font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font.get());
  SIZE text{};
  GetTextExtentPoint32A(dc, "&Allgemeines", 12, &text);
  SelectObject(dc, old);
  DeleteDC(dc);
  const int expected = std::max(static_cast<int>(text.cy + std::nearbyint(0.75 * text.cy)), 22);
  EXPECT_EQ(Measure(einstellungen, 0).itemHeight, static_cast<UINT>(expected));
}

TEST_F(MenuStylerTest, AccessKeysAndCaptionsSurviveTheOwnerDrawing) {
  EXPECT_TRUE(OwnerDrawn(einstellungen, 3));
  EXPECT_EQ(Caption(einstellungen, 3), "Mit Windows &starten");
  EXPECT_EQ(Caption(einstellungen, 0), "&Allgemeines");
  // The list's context menu, opened from the keyboard, keeps its own look.
  const test::MainWindowUi ui(form->hwnd());
  std::future<test::SeenMenu> opened = test::AnswerPopupMenu('\0');
  SendMessageA(form->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ui.Control(WC_LISTVIEWA)),
               MAKELPARAM(-1, -1));
  test::SeenMenu context = opened.get();
  ASSERT_TRUE(context.found);
  ASSERT_FALSE(context.items.empty());
  EXPECT_EQ(context.items[0].caption, "&Hinzufügen");
  EXPECT_FALSE(OwnerDrawn(context.menu, 0));

  // Where the system leaves access keys of owner-drawn items to the window.
  LRESULT r = SendMessageA(form->hwnd(), WM_MENUCHAR, MAKEWPARAM('S', MF_POPUP),
                           reinterpret_cast<LPARAM>(einstellungen));
  EXPECT_EQ(r, MAKELRESULT(3, MNC_EXECUTE));
  r = SendMessageA(form->hwnd(), WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP),
                   reinterpret_cast<LPARAM>(einstellungen));
  EXPECT_NE(HIWORD(r), MNC_EXECUTE);

  bool generalSettings = false;
  form->showGeneralSettings = [&] { generalSettings = true; };
  form->StartupComplete();
  form->Show();
  ASSERT_TRUE(test::PumpUntil([&] { return GetForegroundWindow() == form->hwnd(); }));
  EXPECT_TRUE(test::TypeWhilePumping("ea", [&] { return generalSettings; }));
  // "&Warteschleife", its submenu "&Aufräumen", there "...fertige D&ownloads entfernen".
  EXPECT_TRUE(test::TypeWhilePumping("wao", [&] { return ui.RowCount() == 1; }));
}

}  // namespace
}  // namespace holvex
