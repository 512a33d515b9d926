#pragma once
// A report list whose rows live in the program's model: the control asks for each cell's
// text when it paints (owner data), so tens of thousands of rows stay fast.
#include <functional>
#include <optional>
#include <string>

#include "toolkit/window.h"

namespace holvex {

class ListView : public Window {
 public:
  // `editCaptions`: a click on the selected row's caption edits it in place (LVS_EDITLABELS).
  void Create(HWND parent, const Rect& r, bool editCaptions = false);
  void AddColumn(const std::string& caption, int width);
  int ColumnCount() const;
  std::string ColumnCaption(int column) const;
  int ColumnWidth(int column) const;

  // Number of rows; `keepScroll` avoids scrolling and full repaints while rows are appended.
  void SetRowCount(size_t count, bool keepScroll = false);
  int RowCount() const;
  void RedrawRow(size_t row);
  void RedrawAll();
  // Text of a cell as shown: asks the control, as any reader of the window would.
  std::string CellText(int row, int column) const;

  // Suspends painting while many rows change (each count change is costly otherwise);
  // the list repaints once when the last lock ends.
  // The same as a lock's lifetime, for holders that cannot keep a lock object.
  void BeginUpdate();
  void EndUpdate();
  class UpdateLock {
   public:
    explicit UpdateLock(ListView& list);
    ~UpdateLock();
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

   private:
    ListView& list_;
  };

  std::optional<size_t> SelectedRow() const;
  void SelectRow(std::optional<size_t> row);

  // Cell text supplier: row, column (0 = caption).
  std::function<std::string(size_t, int)> cellText;
  std::function<void()> OnDblClick;
  // In-place editing of a row's caption: OnEditing may refuse to begin it; OnEdited gets the
  // text typed (not when the edit was cancelled). The rows live in the model, so the model
  // decides what the row shows afterwards.
  std::function<bool(size_t)> OnEditing;
  std::function<void(size_t, const std::string&)> OnEdited;

  bool HandleNotify(NMHDR* hdr, LRESULT* result) override;

 private:
  std::string scratch_;  // the text handed to the control must outlive the notification
  int updateLocks_ = 0;
};

}  // namespace holvex
