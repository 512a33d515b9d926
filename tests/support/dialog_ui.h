#pragma once
// A dialog of the program as a user meets it, reached through its window handle only: its
// controls by class and by their order in the dialog, as main_window_ui reaches the main window.
#include <windows.h>

#include <string>

namespace holvex::test {

class DialogUi {
 public:
  explicit DialogUi(HWND dialog) : dialog_(dialog) {}
  HWND hwnd() const { return dialog_; }
  bool Visible() const { return IsWindowVisible(dialog_) != FALSE; }

  // The index-th child window of the class ("Static", "Edit", "Button", ...), in the dialog's order.
  HWND Control(const char* className, int index = 0) const;
  std::string Text(const char* className, int index = 0) const;
  // Types the text into the index-th field.
  void Type(int index, const std::string& text) const;
  std::string Field(int index) const { return Text("Edit", index); }
  // A button (or check box) by its caption; `nth` counts buttons of the same caption.
  HWND Button(const std::string& caption, int nth = 0) const;
  void Click(const std::string& caption, int nth = 0) const {
    SendMessageA(Button(caption, nth), BM_CLICK, 0, 0);
  }
  bool Enabled(const std::string& caption) const { return IsWindowEnabled(Button(caption)) != FALSE; }
  bool Checked(const std::string& caption) const;
  void SetChecked(const std::string& caption, bool checked) const;

  int ProgressPosition() const;
  // The dialog's list: its rows and cells.
  int RowCount() const;
  std::string Cell(int row, int column) const;

 private:
  HWND dialog_;
};

}  // namespace holvex::test
