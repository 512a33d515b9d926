#pragma once
// The program's own 16 x 16 pictures for menu items.
#include "ui/menu_bitmap.h"

namespace holvex {

enum class MenuGlyph { Add, Save, TextFile, Exit, Settings, Globe, Trash, Info, Mail, House, Update };

const MenuBitmap& MenuGlyphBitmap(MenuGlyph glyph);

}  // namespace holvex
