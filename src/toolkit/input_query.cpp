#include "toolkit/input_query.h"

#include "toolkit/application.h"
#include "toolkit/button.h"
#include "toolkit/edit.h"
#include "toolkit/form.h"
#include "toolkit/label.h"

namespace holvex {

namespace {

class InputQueryForm : public Form {
 public:
  InputQueryForm(const std::string& caption, const std::string& prompt, const std::string& value)
      : Form(Params(caption)) {
    Prompt.Create(hwnd(), Rect{8, 8, 420, 14}, prompt);
    Field.Create(hwnd(), Rect{8, 28, 420, 21}, value);
    Ok.Create(hwnd(), Rect{272, 60, 75, 25}, "OK");
    Cancel.Create(hwnd(), Rect{353, 60, 75, 25}, "Abbrechen");
    SetWindowLongA(Ok.hwnd(), GWL_ID, IDOK);
    SetWindowLongA(Cancel.hwnd(), GWL_ID, IDCANCEL);
    SetWindowLongA(Ok.hwnd(), GWL_STYLE, GetWindowLongA(Ok.hwnd(), GWL_STYLE) | BS_DEFPUSHBUTTON | WS_TABSTOP);
    SetWindowLongA(Cancel.hwnd(), GWL_STYLE, GetWindowLongA(Cancel.hwnd(), GWL_STYLE) | WS_TABSTOP);
    Ok.OnClick = [this] { Finish(IDOK); };
    Cancel.OnClick = [this] { Finish(IDCANCEL); };
    OnShow = [this] {
      SetFocus(Field.hwnd());
      Field.SelectAll();
    };
    if (Application::Instance().MainForm()) CenterOver(*Application::Instance().MainForm());
    else CenterOnScreen();
  }
  Label Prompt;
  Edit Field;
  Button Ok, Cancel;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    // Enter and Esc arrive from the dialog keys as IDOK and IDCANCEL.
    if (msg == WM_COMMAND && lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
      Finish(LOWORD(wp));
      return 0;
    }
    return Form::HandleMessage(msg, wp, lp);
  }

 private:
  static FormParams Params(const std::string& caption) {
    FormParams p;
    p.className = "TInputQueryForm";
    p.caption = caption;
    p.clientWidth = 436;
    p.clientHeight = 93;
    p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    p.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    p.dialogKeys = true;
    return p;
  }
  void Finish(int result) {
    SetModalResult(result);
    Close();
  }
};

}  // namespace

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  InputQueryForm form(caption, prompt, value);
  if (form.ShowModal() != IDOK) return false;
  value = form.Field.Text();
  return true;
}

}  // namespace holvex
