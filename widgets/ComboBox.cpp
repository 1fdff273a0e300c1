#include "widgets/ComboBox.h"

#include <oleacc.h>

#include <algorithm>
#include <stdexcept>

#include "calc/Exceptions.h"
#include "framework/Accessible.h"
#include "framework/Form.h"
#include "framework/WideText.h"

namespace {

constexpr const char kSInsertLineError[] = "Zeile kann nicht eingef\xFCgt werden";

constexpr int kDefaultWidth = 145;
constexpr int kDefaultHeight = 25;
// The opened list's border, one pixel above and one below its rows.
constexpr int kListBorders = 2;

LRESULT Send(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(window, msg, wParam, lParam);
}

LPARAM TextParam(const std::string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

}  // namespace

// --- TComboItems ---

int TComboItems::Count() const {
  if (Pending()) return static_cast<int>(combo_.savedItems_.size());
  return static_cast<int>(Send(combo_.Handle(), CB_GETCOUNT));
}

std::string TComboItems::Strings(int index) const {
  if (Pending()) {
    if (index < 0 || index >= Count())
      throw std::out_of_range("combo box item " + std::to_string(index));
    return combo_.savedItems_[index];
  }
  const LRESULT length = combo_.PerformW(CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) throw std::out_of_range("combo box item " + std::to_string(index));
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      combo_.PerformW(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return ProgramText(text);
}

int TComboItems::Add(const std::string& text) {
  if (Pending() || (!combo_.HandleAllocated() && !combo_.SortsItems())) {
    combo_.savedItems_.push_back(text);
    return Count() - 1;
  }
  const LRESULT index = combo_.SendTextW(CB_ADDSTRING, 0, text);
  if (index < 0) throw EOutOfResources(kSInsertLineError);
  return static_cast<int>(index);
}

void TComboItems::Clear() {
  if (Pending()) {
    combo_.savedItems_.clear();
    return;
  }
  Send(combo_.Handle(), CB_RESETCONTENT);
}

bool TComboItems::Pending() const { return !combo_.HandleAllocated() && !combo_.savedItems_.empty(); }

// --- TCustomCombo ---

TCustomCombo::TCustomCombo(TComponent* owner) : TCustomListControl(owner) {
  // The platform captures the mouse itself, and a click is a selection, not
  // a press and release.
  SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csClickEvents});
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
}

void TCustomCombo::CreateParams(TCreateParams& params) {
  TCustomListControl::CreateParams(params);
  CreateSubClass(params, "COMBOBOX");
  params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
}

void TCustomCombo::CreateWnd() {
  TCustomListControl::CreateWnd();
  HWND window = Handle();
  Send(window, CB_LIMITTEXT, maxLength_);
  if (!savedItems_.empty()) {
    for (const std::string& text : savedItems_) items_.Add(text);
    Send(window, CB_SETCURSEL, savedIndex_);
    savedItems_.clear();
  }
  if (!Loading()) PostDroppedWidth();
}

void TCustomCombo::Loaded() {
  TCustomListControl::Loaded();
  if (loadingIndex_) {
    const int index = *loadingIndex_;
    loadingIndex_.reset();
    SetItemIndex(index);
  }
  PostDroppedWidth();
}

void TCustomCombo::PostDroppedWidth() {
  if (HandleAllocated()) PostMessageA(Handle(), CB_SETDROPPEDWIDTH, dropDownWidth_, 0);
}

int TCustomCombo::ItemIndex() {
  if (loadingIndex_) return *loadingIndex_;
  return static_cast<int>(Send(Handle(), CB_GETCURSEL));
}

void TCustomCombo::SetItemIndex(int index) {
  if (Loading()) {
    loadingIndex_ = index;
    return;
  }
  if (index == ItemIndex()) return;
  Send(Handle(), CB_SETCURSEL, index);
  NotifyAccessibleEvent(*this, EVENT_OBJECT_VALUECHANGE);
}

void TCustomCombo::DescribeAccessible(TAccessibleInfo& info) {
  TCustomListControl::DescribeAccessible(info);
  info.Role = ROLE_SYSTEM_COMBOBOX;
  info.Value = Text();
  info.State |= DroppedDown() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
}

std::string TCustomCombo::Text() {
  std::wstring text(static_cast<size_t>(PerformW(WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      PerformW(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return ProgramText(text);
}

void TCustomCombo::SetText(const std::string& text) { SendTextW(WM_SETTEXT, 0, text); }

bool TCustomCombo::DroppedDown() { return Send(Handle(), CB_GETDROPPEDSTATE) != 0; }

void TCustomCombo::SetDroppedDown(bool value) { Send(Handle(), CB_SHOWDROPDOWN, value); }

void TCustomCombo::SetDropDownWidth(int value) {
  if (value == dropDownWidth_) return;
  dropDownWidth_ = value;
  if (!Loading()) PostDroppedWidth();
}

void TCustomCombo::SetMaxLength(int value) {
  value = std::max(value, 0);
  if (value == maxLength_) return;
  maxLength_ = value;
  if (HandleAllocated()) Send(Handle(), CB_LIMITTEXT, maxLength_);
}

int TCustomCombo::RowHeight() { return static_cast<int>(Send(Handle(), CB_GETITEMHEIGHT, 0)); }

void TCustomCombo::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case CN_COMMAND: CNCommand(msg); break;
    case WM_DESTROY: WMDestroy(msg); break;
    // The list and the edit part ask the combo box for their colours, which
    // the platform would pass on to the parent as questions about windows it
    // does not know.
    case WM_CTLCOLORLISTBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC:
      msg.Result = Perform(CN_BASE + msg.Msg, msg.WParam, msg.LParam);
      break;
    case WM_SYSKEYDOWN: WMSysKeyDown(msg); break;
    default: TCustomListControl::WndProc(msg); break;
  }
}

void TCustomCombo::WMSysKeyDown(TMessage& msg) {
  // Wine's combo box hands system keys to its list, which swallows Alt+F4:
  // the window would not close while the list has the focus.
  constexpr LPARAM kAltDown = LPARAM(1) << 29;
  if (msg.WParam == VK_F4 && (msg.LParam & kAltDown)) {
    msg.Result = DefWindowProcA(Handle(), msg.Msg, msg.WParam, msg.LParam);
    return;
  }
  TCustomListControl::WndProc(msg);
}

void TCustomCombo::CNCommand(TMessage& msg) {
  switch (HIWORD(msg.WParam)) {
    case CBN_SELCHANGE: SelectionChanged(); break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN:
      DropDown();
      SizeOpeningList();
      break;
    case CBN_CLOSEUP: CloseUp(); break;
    default: break;
  }
}

void TCustomCombo::WMDestroy(TMessage& msg) {
  // A window that goes while the control stays (RecreateWnd) hands its
  // items and selection to the next one.
  if (!Destroying()) {
    const int count = items_.Count();
    savedItems_.clear();
    for (int i = 0; i < count; ++i) savedItems_.push_back(items_.Strings(i));
    savedIndex_ = static_cast<int>(Send(Handle(), CB_GETCURSEL));
  }
  TCustomListControl::WndProc(msg);
}

void TCustomCombo::SelectionChanged() {
  const int index = ItemIndex();
  if (index < 0) return;
  SetText(items_.Strings(index));
  NotifyAccessibleEvent(*this, EVENT_OBJECT_VALUECHANGE);
  Click();
  Change();
  Select();
}

// The platform sizes the list from the height the combo box window was
// given; it is given room for as many rows as there are items, up to
// DropDownCount, so that a short list has no empty space below its rows,
// and no more than fit below the box: a list that would reach past the
// bottom of the work area the platform opens above the box instead.
void TCustomCombo::SizeOpeningList() {
  HWND window = Handle();
  const int row = RowHeight();
  RECT box{};
  GetWindowRect(window, &box);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const int fitting = (monitor.rcWork.bottom - box.bottom - kListBorders) / std::max(row, 1);
  const int rows = std::max(1, std::min({items_.Count(), dropDownCount_, fitting}));
  SetWindowPos(window, nullptr, 0, 0, Width(), rows * row + Height() + kListBorders,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TCustomCombo::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  // The platform has taken the capture for the press; a control that did
  // not become the active one (a handler moved the focus on) must not keep
  // the mouse.
  if (button == mbLeft && MouseCapture()) {
    const TCustomForm* form = GetParentForm(this);
    if (form && form->ActiveControl() != this) SetMouseCapture(false);
  }
  TCustomListControl::MouseDown(button, shift, x, y);
}

void TCustomCombo::Change() {
  if (OnChange) OnChange(this);
}

void TCustomCombo::Select() {
  if (OnSelect) OnSelect(this);
}

void TCustomCombo::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomCombo::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

// --- TTypedSearchFilter ---

void TTypedSearchFilter::CharacterTyped(DWORD delay) {
  const DWORD now = ticks_();
  // Unsigned difference: right across the tick count's wrap-around too.
  if (now - lastTick_ >= delay) text_.clear();
  lastTick_ = now;
}

void TTypedSearchFilter::RemoveLastCharacter() {
  if (text_.empty()) return;
  const char* begin = text_.c_str();
  const char* last = CharPrevA(begin, begin + text_.size());
  text_.resize(static_cast<size_t>(last - begin));
}

// --- TCustomComboBox ---

TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomCombo(owner) {}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TCustomCombo::CreateParams(params);
  static constexpr DWORD kStyleFlags[] = {
      CBS_DROPDOWN,
      CBS_SIMPLE,
      CBS_DROPDOWNLIST,
      CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
      CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE,
  };
  params.Style |= kStyleFlags[style_];
  if (sorted_) params.Style |= CBS_SORT;
}

void TCustomComboBox::CreateWnd() {
  TCustomCombo::CreateWnd();
  // The platform measures the selection field, and the rows of a fixed
  // list, by asking the parent, which cannot tell whose they are; the rows
  // of a variable list are measured through WM_MEASUREITEM from the list.
  constexpr WPARAM kSelectionField = static_cast<WPARAM>(-1);
  constexpr WPARAM kFixedRows = 0;
  if (OwnerDraw()) Send(Handle(), CB_SETITEMHEIGHT, kSelectionField, itemHeight_);
  if (style_ == csOwnerDrawFixed) Send(Handle(), CB_SETITEMHEIGHT, kFixedRows, itemHeight_);
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool value) {
  if (value == sorted_) return;
  sorted_ = value;
  RecreateWnd();
}

int TCustomComboBox::ItemHeight() { return OwnerDraw() ? itemHeight_ : RowHeight(); }

void TCustomComboBox::SetItemHeight(int value) {
  if (value <= 0 || value == itemHeight_) return;
  itemHeight_ = value;
  RecreateWnd();
}

void TCustomComboBox::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case CN_DRAWITEM: CNDrawItem(msg); break;
    case WM_MEASUREITEM: WMMeasureItem(msg); break;
    default: TCustomCombo::WndProc(msg); break;
  }
}

void TCustomComboBox::KeyDown(WORD& key, TShiftState shift) {
  TCustomCombo::KeyDown(key, shift);
  // The open list takes Enter and Escape; the form must not see them.
  if ((key == VK_RETURN || key == VK_ESCAPE) && DroppedDown()) {
    SetDroppedDown(false);
    key = 0;
  }
}

void TCustomComboBox::KeyPress(char& key) {
  TCustomCombo::KeyPress(key);
  if (key && autoComplete_) TypedSearch(key);
}

void TCustomComboBox::TypedSearch(char& key) {
  constexpr char kBackspace = '\b';
  constexpr char kTab = '\t';
  constexpr char kEscape = '\x1B';
  filter_.CharacterTyped(autoCompleteDelay_);
  switch (key) {
    case kBackspace:
      filter_.RemoveLastCharacter();
      key = 0;
      Change();
      break;
    case kTab:
      if (autoDropDown_ && DroppedDown()) SetDroppedDown(false);
      break;
    case kEscape: break;
    default: SearchCharacter(key); break;
  }
}

// Selects the first item that begins with the filter plus `key`, ignoring
// letter case. Without one the character goes on to the platform, whose
// own first-letter search applies.
void TCustomComboBox::SearchCharacter(char& key) {
  if (autoDropDown_ && !DroppedDown()) SetDroppedDown(true);
  const std::string wanted = filter_.Text() + key;
  HWND window = Handle();
  const int found = static_cast<int>(Send(window, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                          TextParam(wanted)));
  if (found == CB_ERR) return;
  const int before = ItemIndex();
  SetItemIndex(found);
  filter_.SetText(wanted);
  key = 0;
  if (autoCloseUp_ && DroppedDown() &&
      Send(window, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), TextParam(wanted)) == found)
    SetDroppedDown(false);
  // The platform reports no change for a selection made by the control, so
  // OnSelect stays quiet.
  if (found != before) {
    Click();
    Change();
  }
}

void TCustomComboBox::WMMeasureItem(TMessage& msg) {
  if (!OwnerDraw()) {
    TCustomCombo::WndProc(msg);
    return;
  }
  reinterpret_cast<MEASUREITEMSTRUCT*>(msg.LParam)->itemHeight = static_cast<UINT>(itemHeight_);
  msg.Result = TRUE;
}

void TCustomComboBox::CNDrawItem(TMessage& msg) {
  const auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
  TOwnerDrawState state;
  state.Set(odSelected, (item->itemState & ODS_SELECTED) != 0);
  state.Set(odFocused, (item->itemState & ODS_FOCUS) != 0);
  state.Set(odDisabled, (item->itemState & ODS_DISABLED) != 0);
  const int index = static_cast<int>(item->itemID);
  const TRect rect = item->rcItem;

  TCanvasHandleScope scope(canvas_, item->hDC);
  canvas_.SetFont(Font());
  canvas_.Font().SetColor(DrawTextColor());
  canvas_.Brush().SetStyle(bsSolid);
  canvas_.Brush().SetColor(DrawColor());
  if (state.Contains(odSelected)) {
    canvas_.Brush().SetColor(clHighlight);
    canvas_.Font().SetColor(clHighlightText);
  }
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
  } else {
    constexpr int kTextIndent = 2;
    canvas_.FillRect(rect);
    if (index >= 0) canvas_.TextOut(rect.Left + kTextIndent, rect.Top, Items().Strings(index));
  }
  if (state.Contains(odFocused)) canvas_.DrawFocusRect(rect);
  msg.Result = TRUE;
}
