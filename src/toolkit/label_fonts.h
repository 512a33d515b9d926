#pragma once
// Arial faces in pixel heights, as the program's small dialogs set them on their labels.
#include <string>

#include "toolkit/handles.h"
#include "toolkit/window.h"

namespace holvex {

UniqueFont ArialFont(int pixels, bool bold, bool italic);
// The label keeps using the font; the caller keeps it alive.
void SetLabelFont(const Window& label, const UniqueFont& font);
// Width in pixels of the text drawn in that font.
int TextWidth(HFONT font, const std::string& text);

}  // namespace holvex
