#include "widgets/QelBaseEdit.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <utility>

#include "framework/Accessible.h"
#include "framework/Canvas.h"
#include "framework/Clipboard.h"
#include "framework/Form.h"
#include "framework/WideText.h"
#include "widgets/QelApplication.h"

namespace {

// While the left button is held, the hit test repeats at this pace so that
// the text scrolls when the pointer stands beyond the field's ends.
constexpr UINT_PTR kRepeatTimerId = 1;
constexpr UINT kRepeatTimerMs = 200;

constexpr char kWordDelimiter = ' ';
// The caret of csDefault is as high as this text.
constexpr char kCaretHeightText[] = "Qp";
constexpr UINT kTextFormat = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;

// The themed frame: the edit part of the "EDIT" theme class and its states.
constexpr wchar_t kThemeClass[] = L"EDIT";
constexpr int kEditPart = 1;
constexpr int kStateNormal = 1;
constexpr int kStateHot = 2;
constexpr int kStateDisabled = 4;
constexpr int kStateFocused = 5;
constexpr int kStateReadOnly = 6;

// Context menu commands.
enum : UINT { kMenuUndo = 1, kMenuCut, kMenuCopy, kMenuPaste, kMenuDelete, kMenuSelectAll };

// Sets a mark for one scope and clears it on every way out, a failing
// change handler included.
class TMarkScope {
 public:
  explicit TMarkScope(bool& mark) : mark_(mark) { mark_ = true; }
  TMarkScope(const TMarkScope&) = delete;
  TMarkScope& operator=(const TMarkScope&) = delete;
  ~TMarkScope() { mark_ = false; }

 private:
  bool& mark_;
};

// The drag cursor (crDrag): an arrow with a small box under its tip. The
// platform has none, so it is drawn here once and kept for the process.
class TDragCursor {
 public:
  TDragCursor() {
    constexpr int kSize = 32;
    constexpr int kBytesPerRow = kSize / 8;
    BYTE andMask[kSize * kBytesPerRow];
    BYTE xorMask[kSize * kBytesPerRow];
    std::memset(andMask, 0xFF, sizeof andMask);  // transparent
    std::memset(xorMask, 0x00, sizeof xorMask);
    auto put = [&](int x, int y, bool white) {
      const int index = y * kBytesPerRow + x / 8;
      const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
      andMask[index] &= static_cast<BYTE>(~bit);
      if (white) xorMask[index] |= bit;
    };
    // Arrow: a black-edged white triangle with a short tail.
    constexpr int kArrowRows = 12;
    for (int y = 0; y < kArrowRows; ++y)
      for (int x = 0; x <= y; ++x) put(x, y, x != 0 && x != y && y != kArrowRows - 1);
    for (int y = kArrowRows; y < kArrowRows + 4; ++y) {
      put(4, y, false);
      put(5, y, true);
      put(6, y, false);
    }
    // The box: what is being dragged.
    constexpr int kBoxLeft = 8, kBoxTop = 16, kBoxRight = 20, kBoxBottom = 24;
    for (int y = kBoxTop; y <= kBoxBottom; ++y)
      for (int x = kBoxLeft; x <= kBoxRight; ++x)
        put(x, y, y != kBoxTop && y != kBoxBottom && x != kBoxLeft && x != kBoxRight);
    cursor_ = CreateCursor(GetModuleHandleA(nullptr), 0, 0, kSize, kSize, andMask, xorMask);
  }
  TDragCursor(const TDragCursor&) = delete;
  TDragCursor& operator=(const TDragCursor&) = delete;
  ~TDragCursor() {
    if (cursor_) DestroyCursor(cursor_);
  }
  HCURSOR Get() const { return cursor_; }

 private:
  HCURSOR cursor_;
};

HCURSOR DragCursor() {
  static TDragCursor cursor;
  return cursor.Get();
}

// The text converted to the OEM code page and back, so that it holds only
// characters that survive that trip.
std::string OemRoundTrip(std::string text) {
  if (text.empty()) return text;
  const DWORD length = static_cast<DWORD>(text.size());
  CharToOemBuffA(text.data(), text.data(), length);
  OemToCharBuffA(text.data(), text.data(), length);
  return text;
}

char ConvertCase(char c, TEditCharCase charCase) {
  char buffer[1] = {c};
  if (charCase == ecUpperCase) CharUpperBuffA(buffer, 1);
  if (charCase == ecLowerCase) CharLowerBuffA(buffer, 1);
  return buffer[0];
}

}  // namespace

// --- Construction ---

TQelBaseEdit::TQelBaseEdit(TComponent* owner) : TQelCustomBevelPanel(owner) {
  constexpr int kDefaultWidth = 121;
  constexpr int kDefaultHeight = 21;
  SetBounds(Left(), Top(), kDefaultWidth, kDefaultHeight);
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  Bevel().SetMode(bmWindows);
  TControlStyle style = ControlStyle();
  style.Include(csOpaque);
  SetControlStyle(style);
  font3D_.SetOnChange([this](TObject*) {
    RepaintText();
    if (Focused()) UpdateCaret();
  });
}

TQelBaseEdit::~TQelBaseEdit() {
  font3D_.SetOnChange(nullptr);
  StopMouseTracking();
  caret_.Destroy();
}

void TQelBaseEdit::CreateParams(TCreateParams& params) {
  TQelCustomBevelPanel::CreateParams(params);
  params.WindowClass.hCursor = SharedCursor(IDC_IBEAM);
}

void TQelBaseEdit::CreateWnd() {
  TQelCustomBevelPanel::CreateWnd();
  if (Themed()) theme_.Open(Handle(), kThemeClass);
}

void TQelBaseEdit::ThemeChanged() {
  TQelCustomBevelPanel::ThemeChanged();
  theme_.Close();
  if (HandleAllocated() && Themed()) theme_.Open(Handle(), kThemeClass);
  Invalidate();
}

// --- Text ---

void TQelBaseEdit::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = maxLength_ > 0 && static_cast<int>(value.size()) > maxLength_ ? value.substr(0, maxLength_)
                                                                        : value;
  cursor_ = 1;
  selStart_ = 1;
  selLength_ = 0;
  // Taking back an edit of the old text would build one that never existed.
  undoStack_.Clear();
  redoStack_.Clear();
  TextAssigned();
}

void TQelBaseEdit::TextAssigned() {
  selStart_ = CursorPos();
  selLength_ = 0;
  TextChanged(1);
  if (Focused()) UpdateCaret();
}

void TQelBaseEdit::SetModified(bool value) {
  if (value == modified_) return;
  modified_ = value;
  if (OnModified) OnModified(this);
}

void TQelBaseEdit::TextChanged(int at) {
  if (updateLock_ > 0) return;
  RepaintText();
  if (Loading()) return;
  // Before the handlers, which may fail.
  NotifyAccessibleEvent(*this, EVENT_OBJECT_VALUECHANGE);
  if (OnTextChangedAt) OnTextChangedAt(this, at);
  DoChange();
}

void TQelBaseEdit::DescribeAccessible(TAccessibleInfo& info) {
  TQelCustomBevelPanel::DescribeAccessible(info);
  info.Role = ROLE_SYSTEM_TEXT;
  info.Value = DisplayText();
  if (readOnly_) info.State |= STATE_SYSTEM_READONLY;
}

void TQelBaseEdit::DoChange() {
  if (OnChange) OnChange(this);
}

void TQelBaseEdit::EndUpdate() {
  if (updateLock_ == 0) return;
  if (--updateLock_ == 0) RepaintText();
}

// --- The one edit operation ---

bool TQelBaseEdit::ReplaceSelection(const std::string& requested, int insertAt) {
  if (!CanEdit()) return false;
  std::string insertion = oemConvert_ ? OemRoundTrip(requested) : requested;
  BeforeEdit();
  TQelUndoRecord record{requested, SelStart(), SelLength(), CursorPos(), {}, insertAt, 0};
  const int removeAt = record.selStart;

  // Overwrite mode: what is typed or pasted takes the place of the
  // character at the cursor. An empty text (cut, clear, an empty paste)
  // takes nothing, and an undo puts removed characters back without eating
  // the next one.
  int removeLength = record.selLength;
  if (removeLength == 0 && !requested.empty() && !QelApplication().Keyboard().insertMode &&
      !undoing_)
    removeLength = removeAt <= static_cast<int>(text_.size()) ? 1 : 0;
  const std::string removed = text_.substr(removeAt - 1, removeLength);
  TextRemoved(removeAt, removed);
  text_.erase(removeAt - 1, removeLength);
  selStart_ = removeAt;
  selLength_ = 0;

  // An undo restores what was there; the rules for new text do not apply.
  if (!undoing_) FilterInsertion(insertAt, insertion);
  const bool fits = undoing_ || maxLength_ == 0 ||
                    static_cast<int>(text_.size() + insertion.size()) <= maxLength_;
  // An insertion is taken whole or not at all; a refused one must not cost
  // the user the selection it was meant to replace.
  const bool refused = !requested.empty() && (insertion.empty() || !fits);
  int newCursor = record.cursor;
  int newSelStart = record.selStart;
  int newSelLength = record.selLength;
  if (refused) {
    text_.insert(removeAt - 1, removed);
  } else {
    text_.insert(insertAt - 1, insertion);
    record.removed = removed;
    record.inserted = static_cast<int>(insertion.size());
    newCursor = insertAt + record.inserted;
    newSelStart = newCursor;
    newSelLength = 0;
  }

  if (undoing_) {
    redoStack_.Push(std::move(record));
  } else {
    undoStack_.Push(std::move(record));
    canUndo_ = true;
    redoStack_.Clear();
  }
  SetModified(true);
  TextChanged(std::min(removeAt, insertAt));
  PlaceCursor(newCursor, newSelStart, newSelLength);
  // TextChanged has invalidated the text; only the selection that a refused
  // insertion gives back shows anything it did not.
  if (newSelLength > 0) RepaintText();
  AfterEdit();
  return !refused;
}

void TQelBaseEdit::Undo() {
  if (!canUndo_ || undoStack_.Empty()) return;
  const TQelUndoRecord record = undoStack_.Pop();
  {
    TMarkScope undoing(undoing_);
    selStart_ = ClampPosition(record.insertAt);
    selLength_ = record.inserted;
    ReplaceSelection(record.removed, ClampPosition(record.selStart));
  }
  if (undoStack_.Empty()) canUndo_ = false;
  PlaceCursor(ClampPosition(record.cursor), ClampPosition(record.selStart), record.selLength);
  RepaintText();
}

// --- Cursor and selection ---

int TQelBaseEdit::ClampPosition(int position) const {
  return std::clamp(position, 1, static_cast<int>(text_.size()) + 1);
}

int TQelBaseEdit::SelLength() const {
  return std::min(selLength_, static_cast<int>(text_.size()) - SelStart() + 1);
}

void TQelBaseEdit::SetSelection(int start, int length) {
  const int first = ClampPosition(start);
  const int last = ClampPosition(first + std::max(length, 0));
  PlaceCursor(last, first, last - first);
  RepaintText();
}

void TQelBaseEdit::PlaceCursor(int cursor, int selStart, int selLength) {
  cursor_ = cursor;
  selStart_ = selStart;
  selLength_ = selLength;
  CursorMoved();
}

void TQelBaseEdit::MoveCursor(int position, bool extend) {
  const int target = ClampPosition(position);
  const int previous = CursorPos();
  const int oldStart = selStart_;
  const int oldLength = selLength_;
  cursor_ = target;
  if (!typing_ && !dragMoving_) {
    if (extend) {
      int anchor = previous;
      if (SelLength() > 0) anchor = previous == SelStart() ? SelStart() + SelLength() : SelStart();
      selStart_ = std::min(anchor, target);
      selLength_ = std::abs(target - anchor);
    } else {
      selStart_ = target;
      selLength_ = 0;
    }
  }
  if (selStart_ != oldStart || selLength_ != oldLength) RepaintText();
  CursorMoved();
}

void TQelBaseEdit::CollapseSelection() {
  if (selLength_ == 0 && selStart_ == CursorPos()) return;
  selStart_ = CursorPos();
  selLength_ = 0;
  RepaintText();
}

void TQelBaseEdit::CursorMoved() {
  UpdateCaret();
  if (OnCursorPosChanged) OnCursorPosChanged(this);
}

void TQelBaseEdit::SelectAll() {
  MoveCursor(static_cast<int>(text_.size()) + 1, false);
  selStart_ = 1;
  selLength_ = static_cast<int>(text_.size());
  RepaintText();
}

void TQelBaseEdit::SelectWord() {
  const int length = static_cast<int>(text_.size());
  int first = CursorPos();
  while (first > 1 && text_[first - 2] != kWordDelimiter) --first;
  int last = CursorPos();
  while (last <= length && text_[last - 1] != kWordDelimiter) ++last;
  selStart_ = first;
  selLength_ = last - first;
  RepaintText();
}

// --- Clipboard ---

bool TQelBaseEdit::CopyToClipboard() {
  if (!ClipboardAllowed()) return false;
  // As UTF-16: the platform makes the ANSI form for programs that ask for
  // it, in their code page.
  const std::wstring selected = WideText(SelText());
  const size_t size = (selected.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  void* bytes = GlobalLock(memory);
  if (!bytes) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(bytes, selected.c_str(), size);
  GlobalUnlock(memory);
  TClipboardScope clipboard(Handle());
  // On success the clipboard owns the memory.
  if (clipboard.Open() && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory))
    return true;
  GlobalFree(memory);
  return false;
}

void TQelBaseEdit::CutToClipboard() {
  if (SelLength() == 0 || !CopyToClipboard()) return;
  ReplaceSelection(std::string());
}

void TQelBaseEdit::PasteFromClipboard() {
  if (!ClipboardAllowed()) return;
  ReplaceSelection(ClipboardText());
}

std::string TQelBaseEdit::ClipboardText() {
  TClipboardScope clipboard(Handle());
  if (!clipboard.Open()) return {};
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  std::wstring text;
  if (const auto* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
    text.assign(characters, wcsnlen(characters, GlobalSize(data) / sizeof(wchar_t)));
    GlobalUnlock(data);
  }
  return ProgramText(text);
}

// --- Properties ---

void TQelBaseEdit::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  RepaintText();
  if (Focused()) UpdateCaret();
}

void TQelBaseEdit::SetHideSelection(bool value) {
  if (value == hideSelection_) return;
  hideSelection_ = value;
  if (!Focused()) {
    selectionHidden_ = value && SelLength() > 0;
    RepaintText();
  }
}

void TQelBaseEdit::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  // The themed frame has a read-only look.
  Invalidate();
}

void TQelBaseEdit::SetOptions(TQelEditOptions value) {
  if (value == options_) return;
  options_ = value;
  RepaintText();
  if (Focused()) UpdateCaret();
}

void TQelBaseEdit::SetHighlightText(TColor value) {
  if (value == highlightText_) return;
  highlightText_ = value;
  if (SelLength() > 0) RepaintText();
}

void TQelBaseEdit::SetHighlightBack(TColor value) {
  if (value == highlightBack_) return;
  highlightBack_ = value;
  if (SelLength() > 0) RepaintText();
}

void TQelBaseEdit::FontChanged() {
  TQelCustomBevelPanel::FontChanged();
  if (!Focused()) return;
  // The caret is as high as the font.
  caret_.SetFontHeight(TextHeightOf(kCaretHeightText));
  caret_.Create(Handle());
  caret_.Show();
  UpdateCaret();
}

void TQelBaseEdit::Resize() {
  TQelCustomBevelPanel::Resize();
  if (buffer_) PrepareBuffer();
}

// --- Geometry ---

TRect TQelBaseEdit::ContentRect() {
  const TRect client = ClientRect();
  if (!theme_) return client.Inflate(-Bevel().Extent(), -Bevel().Extent());
  RECT bounds = client;
  RECT content = client;
  GetThemeBackgroundContentRect(theme_.Get(), Canvas().Handle(), kEditPart, ThemeState(), &bounds,
                                &content);
  return content;
}

TRect TQelBaseEdit::EditArea() {
  TRect area = ContentRect();
  constexpr int kButtonStrip = 1;
  area.Right -= kButtonStrip;
  return area;
}

TRect TQelBaseEdit::TextArea() {
  const int vertical = options_.Contains(eoNarrowHeight) ? 0 : 1;
  return EditArea().Inflate(-1, -vertical);
}

int TQelBaseEdit::TextWidthOf(const std::string& text) {
  Canvas().SetFont(Font());
  return Canvas().TextWidth(text);
}

int TQelBaseEdit::TextHeightOf(const std::string& text) {
  Canvas().SetFont(Font());
  int depth = 0;
  switch (font3D_.Style()) {
    case tdRaised: case tdRaisedShadow: case tdPColorRaised: depth = font3D_.ShadowDepth(); break;
    case tdSunken: case tdSunkenShadow: case tdPColorSunken: depth = font3D_.LightDepth(); break;
    default: break;
  }
  return Canvas().TextHeight(text) + depth;
}

int TQelBaseEdit::TextLeft() {
  const TRect area = TextArea();
  switch (alignment_) {
    case taRightJustify: return area.Right - TextWidthOf(DisplayText());
    case taCenter: return area.Left + (area.Width() - TextWidthOf(DisplayText())) / 2;
    case taLeftJustify: break;
  }
  return area.Left;
}

int TQelBaseEdit::PositionFromX(int x) {
  const std::string shown = DisplayText();
  const int left = TextLeft() - scrollOffset_;
  const int length = static_cast<int>(shown.size());
  for (int n = 1; n <= length; ++n) {
    const int upToN = TextWidthOf(shown.substr(0, n));
    const int nth = TextWidthOf(shown.substr(n - 1, 1));
    if (left + upToN - nth / 2 >= x) return n;
  }
  return length + 1;
}

void TQelBaseEdit::UpdateCaret() {
  if (!Focused() || !caret_.Showing()) return;
  const TRect area = TextArea();
  const int before = TextLeft() + TextWidthOf(DisplayText().substr(0, CursorPos() - 1));
  int offset = scrollOffset_;
  const int x = before - offset;
  const int width = caret_.ShapeWidth();
  if (x + width > area.Right) {
    offset += x + width - area.Right;
  } else if (x < area.Left && offset > 0) {
    offset = std::max(0, offset - (area.Left - x));
  }
  if (offset != scrollOffset_) {
    scrollOffset_ = offset;
    RepaintText();
  }
  caret_.SetPos(before - scrollOffset_, area.Top);
}

// --- Drawing ---

void TQelBaseEdit::RepaintText() {
  if (updateLock_ > 0) return;
  InvalidateRect(EditArea(), false);
}

void TQelBaseEdit::PrepareBuffer() {
  const TRect client = ClientRect();
  // Compatible with the field's own window: under Wine's X11 driver a bitmap
  // made for the screen's device context comes out black when blitted.
  TWindowDC window(Handle());
  buffer_ = std::make_unique<TOffscreenBuffer>(window.Get(), client.Width(), client.Height());
}

int TQelBaseEdit::ThemeState() const {
  if (!Enabled()) return kStateDisabled;
  if (readOnly_) return kStateReadOnly;
  if (hot_) return kStateHot;
  if (Focused()) return kStateFocused;
  return kStateNormal;
}

void TQelBaseEdit::PaintFrame(HDC dc) {
  const TRect client = ClientRect();
  if (theme_) {
    const RECT bounds = client;
    DrawThemeBackground(theme_.Get(), dc, kEditPart, ThemeState(), &bounds, nullptr);
    return;
  }
  Bevel().PaintBevel(Canvas(), client, false);
  // The strip for custom buttons holds none: it shows the field's colour.
  const TRect content = ContentRect();
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().Brush().SetColor(DrawColor());
  Canvas().FillRect({EditArea().Right, content.Top, content.Right, content.Bottom});
}

void TQelBaseEdit::Paint() {
  if (updateLock_ > 0 || Loading() || Destroying()) return;
  // No caret hiding here: BeginPaint hides it on the screen, and a print
  // goes to a device context the caret never shows in.
  HDC dc = Canvas().Handle();
  PaintFrame(dc);
  HDC target = buffer_ && Focused() ? buffer_->Get() : dc;
  {
    TSavedDC saved(target);
    DrawContent(target);
  }
  if (target == dc) return;
  const TRect edit = EditArea();
  BitBlt(dc, edit.Left, edit.Top, edit.Width(), edit.Height(), target, edit.Left, edit.Top,
         SRCCOPY);
}

void TQelBaseEdit::DrawContent(HDC dc) {
  const TRect edit = EditArea();
  const TRect area = TextArea();
  const std::string shown = DisplayText();
  const int left = TextLeft() - scrollOffset_;
  const bool highlighted = SelLength() > 0 && !selectionHidden_;
  int selectionLeft = 0;
  if (highlighted) selectionLeft = left + TextWidthOf(shown.substr(0, SelStart() - 1));

  TCanvas canvas;
  TCanvasHandleScope attached(canvas, dc);
  canvas.SetFont(Font());
  canvas.Brush().SetColor(DrawColor());
  canvas.FillRect(edit);
  canvas.IntersectClipRect(area);
  if (highlighted) {
    const int selectionRight =
        std::min(left + TextWidthOf(shown.substr(0, SelStart() - 1 + SelLength())), area.Right);
    const int bottom = std::min(area.Top + TextHeightOf(shown), area.Bottom);
    canvas.Brush().SetColor(highlightBack_);
    canvas.FillRect({selectionLeft, area.Top, selectionRight, bottom});
  }
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().SetColor(Enabled() ? DrawTextColor() : clGrayText);
  TRect textRect{left, area.Top, area.Right, area.Bottom};
  canvas.DrawText(shown, textRect, kTextFormat);
  if (highlighted) {
    canvas.Font().SetColor(highlightText_);
    TRect selectionRect{selectionLeft, area.Top, area.Right, area.Bottom};
    canvas.DrawText(shown.substr(SelStart() - 1, SelLength()), selectionRect, kTextFormat);
  }
}

// --- Messages ---

void TQelBaseEdit::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_CHAR: WMChar(msg); break;
    case WM_GETDLGCODE: WMGetDlgCode(msg); break;
    case WM_ERASEBKGND: msg.Result = 1; break;
    case WM_GETTEXTLENGTH: msg.Result = static_cast<LRESULT>(text_.size()); break;
    case WM_CONTEXTMENU: break;  // the field shows its menu on the button release
    case WM_COPY: CopyToClipboard(); break;
    case WM_CUT: CutToClipboard(); break;
    case WM_PASTE: PasteFromClipboard(); break;
    case WM_CLEAR: ClearSelection(); break;
    default: TQelCustomBevelPanel::WndProc(msg); break;
  }
}

void TQelBaseEdit::WMChar(TMessage& msg) {
  charAccepted_ = CharacterAllowed(static_cast<char>(msg.WParam));
  TQelCustomBevelPanel::WndProc(msg);
}

void TQelBaseEdit::WMGetDlgCode(TMessage& msg) {
  DefaultHandler(msg);
  msg.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
}

// --- Keyboard ---

void TQelBaseEdit::KeyPress(char& key) {
  TQelCustomBevelPanel::KeyPress(key);
  constexpr unsigned char kFirstPrintable = 32;
  if (charAccepted_ && static_cast<unsigned char>(key) >= kFirstPrintable) InsertTyped(key);
}

void TQelBaseEdit::InsertTyped(char c) {
  TMarkScope typing(typing_);
  ReplaceSelection(std::string(1, ConvertCase(c, charCase_)));
}

void TQelBaseEdit::KeyDown(WORD& key, TShiftState shift) {
  TQelCustomBevelPanel::KeyDown(key, shift);
  QelApplication().Keyboard().Take(shift.Contains(ssShift), shift.Contains(ssCtrl),
                                   shift.Contains(ssAlt));
  if (key) RunKeyCommand(key);
}

void TQelBaseEdit::KeyUp(WORD& key, TShiftState shift) {
  TQelCustomBevelPanel::KeyUp(key, shift);
  QelApplication().Keyboard().Take(shift.Contains(ssShift), shift.Contains(ssCtrl),
                                   shift.Contains(ssAlt));
}

void TQelBaseEdit::RunKeyCommand(WORD& key) {
  TQelKeyboardState& keyboard = QelApplication().Keyboard();
  switch (key) {
    case VK_BACK:
      if (!readOnly_) DeleteBackward();
      break;
    case VK_DELETE:
      if (keyboard.shift) {
        CutToClipboard();
      } else if (!readOnly_ && !text_.empty()) {
        DeleteForward();
      }
      break;
    case VK_INSERT:
      if (keyboard.shift) {
        PasteFromClipboard();
      } else if (keyboard.ctrl) {
        CopyToClipboard();
      } else if (!keyboard.alt) {
        keyboard.insertMode = !keyboard.insertMode;
      }
      break;
    case 'A': case 'C': case 'V': case 'X':
      if (!keyboard.ctrl) break;
      if (key == 'A') SelectAll();
      if (key == 'C') CopyToClipboard();
      if (key == 'V') PasteFromClipboard();
      if (key == 'X') CutToClipboard();
      key = 0;
      break;
    case VK_LEFT: MoveLeft(keyboard.ctrl, keyboard.shift); break;
    case VK_RIGHT: MoveRight(keyboard.ctrl, keyboard.shift); break;
    case VK_HOME: MoveCursor(1, keyboard.shift); break;
    case VK_END: MoveCursor(static_cast<int>(text_.size()) + 1, keyboard.shift); break;
    case VK_ESCAPE: CollapseSelection(); break;
    case VK_RETURN:
      if (tabOnEnter_ && !keyboard.ctrl)
        if (TCustomForm* form = GetParentForm(this)) form->SelectNext(this, true, true);
      break;
    default: break;
  }
}

void TQelBaseEdit::DeleteBackward() {
  if (SelLength() == 0) {
    if (CursorPos() == 1) return;
    selStart_ = CursorPos() - 1;
    selLength_ = 1;
  }
  ReplaceSelection(std::string());
  if (text_.empty() && scrollOffset_ != 0) {
    scrollOffset_ = 0;
    RepaintText();
  }
}

void TQelBaseEdit::DeleteForward() {
  if (SelLength() == 0) {
    selStart_ = CursorPos();
    selLength_ = CursorPos() <= static_cast<int>(text_.size()) ? 1 : 0;
  }
  ReplaceSelection(std::string());
}

void TQelBaseEdit::MoveLeft(bool wordWise, bool extend) {
  int position = CursorPos();
  if (position == 1) {
    if (!extend) CollapseSelection();
    return;
  }
  --position;
  if (wordWise)
    while (position > 1 && text_[position - 2] != kWordDelimiter) --position;
  MoveCursor(position, extend);
}

void TQelBaseEdit::MoveRight(bool wordWise, bool extend) {
  const int length = static_cast<int>(text_.size());
  int position = CursorPos();
  if (position > length) {
    if (!extend) CollapseSelection();
    return;
  }
  ++position;
  if (wordWise)
    while (position <= length && text_[position - 1] != kWordDelimiter) ++position;
  MoveCursor(position, extend);
}

// --- Focus ---

void TQelBaseEdit::WMSetFocus(TMessage& msg) {
  TQelCustomBevelPanel::WMSetFocus(msg);
  PrepareBuffer();
  caret_.SetFontHeight(TextHeightOf(kCaretHeightText));
  caret_.Create(Handle());
  caret_.Show();
  selectionHidden_ = false;
  if (theme_) {
    Invalidate();  // the themed frame shows the focus
  } else if (SelLength() > 0) {
    RepaintText();
  }
  UpdateCaret();
  if (autoSelect_ && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
}

void TQelBaseEdit::WMKillFocus(TMessage& msg) {
  if (hideSelection_ && SelLength() > 0) {
    selectionHidden_ = true;
    RepaintText();
  }
  caret_.Destroy();
  buffer_.reset();
  if (theme_) Invalidate();
  TQelCustomBevelPanel::WMKillFocus(msg);
  CheckOnExit();
}

// --- Mouse ---

void TQelBaseEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TQelCustomBevelPanel::MouseDown(button, shift, x, y);
  // A double click's press leaves the word that DblClick selected alone.
  if (button != mbLeft || shift.Contains(ssDouble)) return;
  if (!Focused()) SetFocus();
  lastMouseX_ = x;
  const int position = PositionFromX(x);
  if (SelLength() > 0 && SelStart() < position && position < SelStart() + SelLength()) {
    dragMoving_ = true;
    cursorBeforeDrag_ = CursorPos();
    // The field holds the mouse capture while the button is down, so no
    // window sets another cursor until the drop.
    screenCursorBeforeDrag_ = SetCursor(DragCursor());
  }
  // Shift as the press reports it: the shared state may be stale when Shift
  // was released over another control.
  MoveCursor(position, shift.Contains(ssShift));
  mouseSelecting_ = true;
  StartTimer(kRepeatTimerId, kRepeatTimerMs);
}

void TQelBaseEdit::MouseMove(TShiftState shift, int x, int y) {
  TQelCustomBevelPanel::MouseMove(shift, x, y);
  lastMouseX_ = x;
  const bool leftAlone = shift.Contains(ssLeft) && !shift.Contains(ssRight) &&
                         !shift.Contains(ssMiddle) && !shift.Contains(ssShift) &&
                         !shift.Contains(ssCtrl);
  if (leftAlone && mouseSelecting_) MoveCursor(PositionFromX(x), true);
}

void TQelBaseEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TQelCustomBevelPanel::MouseUp(button, shift, x, y);
  if (button == mbRight) {
    ShowContextMenu(x, y);
    return;
  }
  if (button != mbLeft) return;
  const bool wasDragMoving = dragMoving_;
  StopMouseTracking();
  if (wasDragMoving) EndDragMove();
}

void TQelBaseEdit::MouseEnter() {
  TQelCustomBevelPanel::MouseEnter();
  hot_ = true;
  if (theme_) Invalidate();
}

void TQelBaseEdit::MouseLeave() {
  TQelCustomBevelPanel::MouseLeave();
  hot_ = false;
  if (theme_) Invalidate();
}

void TQelBaseEdit::DblClick() {
  TQelCustomBevelPanel::DblClick();
  SelectWord();
}

void TQelBaseEdit::CancelMode() {
  TQelCustomBevelPanel::CancelMode();
  StopMouseTracking();
}

void TQelBaseEdit::StopMouseTracking() {
  StopTimer(kRepeatTimerId);
  mouseSelecting_ = false;
  if (!dragMoving_) return;
  dragMoving_ = false;
  SetCursor(screenCursorBeforeDrag_);
}

void TQelBaseEdit::TimerTick(UINT_PTR id) {
  if (id == kRepeatTimerId && mouseSelecting_) MoveCursor(PositionFromX(lastMouseX_), true);
}

// One edit: the handler sees only the moved text, one undo takes it back,
// and a move that the filter or the length limit refuses changes nothing.
void TQelBaseEdit::EndDragMove() {
  const int drop = CursorPos();
  const int first = SelStart();
  const int length = SelLength();
  if (drop >= first && drop <= first + length) {
    CollapseSelection();
    return;
  }
  const int insertAt = drop > first ? drop - length : drop;
  // The cursor goes back to where the press found it, so that a refused
  // move and the undo of a move leave it there.
  PlaceCursor(cursorBeforeDrag_, first, length);
  if (ReplaceSelection(SelText(), insertAt)) PlaceCursor(insertAt, insertAt, 0);
}

// --- Context menu ---

void TQelBaseEdit::ShowContextMenu(int x, int y) {
  const TPoint screen = ClientToScreen({x, y});
  bool handled = false;
  if (OnContextPopup) OnContextPopup(this, screen, handled);
  if (handled || options_.Contains(eoSuppressDefaultMenu)) return;

  const bool selected = SelLength() > 0;
  const bool pasteable = IsClipboardFormatAvailable(CF_UNICODETEXT) && !readOnly_;
  TPopupMenuHandle menu;
  auto add = [&menu](UINT id, const char* caption, bool enabled) {
    AppendMenuW(menu.Get(), MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id,
                WideText(caption).c_str());
  };
  add(kMenuUndo, "&Undo", canUndo_);
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  add(kMenuCut, "&Cut", selected && !readOnly_);
  add(kMenuCopy, "&Copy", selected);
  add(kMenuPaste, "&Paste", pasteable);
  add(kMenuDelete, "&Delete", selected);
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  add(kMenuSelectAll, "Select all", !text_.empty());
  const UINT command =
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                     screen.X, screen.Y, 0, Handle(), nullptr);
  RunMenuCommand(command);
}

void TQelBaseEdit::RunMenuCommand(UINT id) {
  switch (id) {
    case kMenuUndo: Undo(); break;
    case kMenuCut: CutToClipboard(); break;
    case kMenuCopy: CopyToClipboard(); break;
    case kMenuPaste: PasteFromClipboard(); break;
    case kMenuDelete: ClearSelection(); break;
    case kMenuSelectAll: SelectAll(); break;
    default: break;  // the menu was dismissed
  }
}

// --- TQelCustomEdit ---

void TQelCustomEdit::SetPasswordChar(char value) {
  if (value == passwordChar_) return;
  passwordChar_ = value;
  RepaintText();
  if (Focused()) UpdateCaret();
}

std::string TQelCustomEdit::DisplayText() const {
  if (passwordChar_ == 0) return Text();
  return std::string(Text().size(), passwordChar_);
}
