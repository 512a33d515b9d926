#include "toolkit/memo.h"

namespace holvex {

void Memo::Create(HWND parent, const Rect& r, bool readOnly) {
  CreateSystem("EDIT", "",
               WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                   (readOnly ? ES_READONLY : 0),
               WS_EX_CLIENTEDGE, r, parent);
  // The log is never trimmed: lift the edit control's default limit of 32K characters.
  SendMessageA(hwnd(), EM_SETLIMITTEXT, 0, 0);
}

void Memo::AppendLine(const std::string& line) {
  std::string text = line + "\r\n";
  int end = GetWindowTextLengthA(hwnd());
  SendMessageA(hwnd(), EM_SETSEL, end, end);
  SendMessageA(hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

HBRUSH Memo::ControlColor(HDC dc) {
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return GetSysColorBrush(COLOR_WINDOW);
}

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines;
  std::string text = Text();
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

}  // namespace holvex
