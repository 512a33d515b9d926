// The flat look of the main menu: the menu styler and the pictures beside the items.
#include "app/main_form.h"
#include "ui/menu_glyphs.h"

namespace holvex {

void TForm1::StyleMainMenu() {
  const std::pair<MenuItem*, MenuGlyph> pictures[] = {
      {&Downloadhinzufgen1, MenuGlyph::Add}, {&Speichern1, MenuGlyph::Save},
      {&extdatei1, MenuGlyph::TextFile},     {&Beenden1, MenuGlyph::Exit},
      {&Allgemeines1, MenuGlyph::Settings},  {&ProxyServer1, MenuGlyph::Globe},
      {&Verwerfen1, MenuGlyph::Trash},       {&Informationen1, MenuGlyph::Info},
      {&Fehlerbericht1, MenuGlyph::Mail},    {&Homepage1, MenuGlyph::House},
      {&AufUpdateprfen1, MenuGlyph::Update},
  };
  for (const auto& [item, glyph] : pictures) MenuStyler1.SetImage(*item, &MenuGlyphBitmap(glyph));
  MenuStyle style = MenuStyler1.Style();
  style.gradient = true;
  MenuStyler1.SetStyle(style);
  MenuStyler1.SetStyledControls({StyledControl::MainMenu, StyledControl::PopupMenu});
  // Only the menus that exist now are hooked: the popup menus made after this one keep the
  // toolkit's own drawing.
  MenuStyler1.SetActive(true);
}

}  // namespace holvex
