// TQelBaseEdit and TQelCustomEdit: the self-drawn single-line text input of
// the widget library.
//
// The field is a plain child window, not a platform edit control: it stores
// its text, draws it, keeps its own caret and selection and turns key and
// mouse messages into edits. Every change of the text made by the user
// (typing, paste, cut, delete, undo, drag-move) goes through
// ReplaceSelection, which applies the overwrite mode, the subclass's
// insertion filter and the length limit (an undo only puts back what was
// there), keeps an undo record and reports the change, once per edit, through
// TextChanged: OnTextChangedAt(sender, At), then OnChange. A drag-move is one
// such edit.
//
// Positions are counted from 1: the cursor stands before the character of
// its number (1 .. length + 1), and the selection covers SelLength
// characters from SelStart. After every completed operation an empty
// selection starts at the cursor.
//
// Which characters may be typed, what an insertion may contain and what
// happens when the field is left are hooks for subclasses (TQelMaskEdit).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Alignment.h"
#include "framework/Gdi.h"
#include "widgets/QelPanel.h"
#include "widgets/QelCaption.h"
#include "widgets/QelCaret.h"
#include "widgets/QelDynLIFOBuffer.h"
#include "widgets/QelThemeHandle.h"

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

enum TQelEditOption {
  eoNarrowHeight,          // the text area uses the edit area's full height
  eoSuppressDefaultMenu,   // no context menu of the field's own
};
using TQelEditOptions = TSet<TQelEditOption>;

// At: the 1-based position in the text where the change begins.
using TQelTextChangeEvent = std::function<void(TObject* Sender, int At)>;

// What one call of ReplaceSelection did, enough to take it back.
struct TQelUndoRecord {
  std::string requested;  // the text the edit was asked to insert
  int selStart = 1;       // selection and cursor before the edit; the
  int selLength = 0;      // removed characters stood at selStart
  int cursor = 1;
  std::string removed;    // the characters the edit deleted
  int insertAt = 1;       // where it inserted, in the text without them
  int inserted = 0;       // how many characters it inserted
};

class TQelBaseEdit : public TQelCustomBevelPanel {
 public:
  explicit TQelBaseEdit(TComponent* owner);
  ~TQelBaseEdit() override;

  // --- Text ---
  // The stored characters exactly as they stand.
  const std::string& Text() const { return text_; }
  // Stores `value` (cut to MaxLength, not filtered), puts the cursor at 1 and
  // reports a change with At = 1; nothing at all when the text is the same.
  // The undo history is cleared (its records describe the old text) and the
  // modified flag is not touched.
  void SetText(const std::string& value);
  // 0: no limit. Setting it never shortens the text.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value) { maxLength_ = value < 0 ? 0 : value; }
  bool Modified() const { return modified_; }
  void SetModified(bool value);

  // --- Cursor and selection ---
  int CursorPos() const { return ClampPosition(cursor_); }
  int SelStart() const { return ClampPosition(selStart_); }
  int SelLength() const;
  std::string SelText() const { return text_.substr(SelStart() - 1, SelLength()); }
  // Selects `length` characters from `start` with the cursor at their end.
  void SetSelection(int start, int length);
  // Pixels the text is scrolled to the left to keep the caret visible.
  int ScrollOffset() const { return scrollOffset_; }

  // --- Look and behaviour ---
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TQelCaret& Caret() { return caret_; }
  // Text effects; the field draws plain text, and the raised and sunken
  // styles add their depth to the text height.
  TQel3DCaption& Font3D() { return font3D_; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value) { charCase_ = value; }
  bool OEMConvert() const { return oemConvert_; }
  void SetOEMConvert(bool value) { oemConvert_ = value; }
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool value) { tabOnEnter_ = value; }
  TQelEditOptions Options() const { return options_; }
  void SetOptions(TQelEditOptions value);
  TColor HighlightText() const { return highlightText_; }
  void SetHighlightText(TColor value);
  TColor HighlightBack() const { return highlightBack_; }
  void SetHighlightBack(TColor value);

  // --- Commands ---
  // The one operation through which user edits change the text: replaces
  // the selection by `text`; in overwrite mode a non-empty `text` with
  // nothing selected takes the place of the character at the cursor. An
  // insertion that the filter empties or that would make the text longer
  // than MaxLength is refused whole and leaves text, selection and cursor as
  // they were; the change is still reported.
  void ReplaceSelection(const std::string& text) { ReplaceSelection(text, SelStart()); }
  void SelectAll();
  // False when the clipboard could not take the text.
  bool CopyToClipboard();
  // Removes the selection only once it is on the clipboard; with nothing
  // selected it changes neither the text nor the clipboard.
  virtual void CutToClipboard();
  virtual void PasteFromClipboard();
  void ClearSelection() { ReplaceSelection(std::string()); }
  // Takes back the newest edit: text, cursor and selection become exactly
  // what they were before it, unfiltered and whatever MaxLength says.
  void Undo();
  // False once Undo has emptied the undo stack; true again after an edit.
  bool CanUndo() const { return canUndo_; }

  // While locked, changes are not reported and the field does not draw.
  void BeginUpdate() { ++updateLock_; }
  void EndUpdate();

  void WndProc(TMessage& msg) override;

  TQelTextChangeEvent OnTextChangedAt;
  TNotifyEvent OnChange;
  TNotifyEvent OnModified;
  TNotifyEvent OnCursorPosChanged;
  // OnContextPopup (TWinControl) runs before the field's own context menu,
  // which it shows on the right button's release; Handled keeps it away.

 protected:
  // The themed frame's state, by priority: disabled, read-only, hot,
  // focused, normal. (Some themes draw several of them alike.)
  int ThemeState() const;

  // --- Overridable operations ---
  // Positions the caret and scrolls the text to keep it visible.
  virtual void UpdateCaret();
  virtual void DoChange();
  // After an assignment to Text.
  virtual void TextAssigned();
  // Marks the edit area for repainting.
  virtual void RepaintText();
  // Hit test: the cursor position for pixel x (client coordinates).
  virtual int PositionFromX(int x);
  virtual int TextHeightOf(const std::string& text);
  virtual void CursorMoved();
  // The change notification.
  virtual void TextChanged(int at);
  virtual void BeforeEdit() {}
  virtual void AfterEdit() {}
  // May empty `text`, which is about to be inserted at `position` into the
  // text (whose selection has already been removed).
  virtual void FilterInsertion(int /*position*/, std::string& /*text*/) {}
  // `removed` is about to be deleted at `position`.
  virtual void TextRemoved(int /*position*/, const std::string& /*removed*/) {}
  virtual bool CanEdit() const { return !readOnly_; }
  virtual bool ClipboardAllowed() const { return true; }
  // Selects the space-delimited word around the cursor.
  virtual void SelectWord();
  // What is drawn for the text.
  virtual std::string DisplayText() const { return text_; }
  // The character filter for typed characters.
  virtual bool CharacterAllowed(char /*c*/) const { return true; }
  // Runs last when the field loses the focus.
  virtual void CheckOnExit() {}

  // --- Geometry, in client coordinates ---
  // The client area inside the frame: less the bevel's extent, or the
  // content part of the themed edit frame.
  TRect ContentRect();
  // The client area less the frame and the button strip.
  TRect EditArea();
  // Where the text is drawn and clipped.
  TRect TextArea();
  // The text's left edge before scrolling.
  int TextLeft();
  int TextWidthOf(const std::string& text);

  // --- Control hooks ---
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint() override;
  // A text field whose value is the text as shown.
  void DescribeAccessible(TAccessibleInfo& info) override;
  bool SupportsThemes() const override { return true; }
  void ThemeChanged() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void WMSetFocus(TMessage& msg) override;
  void WMKillFocus(TMessage& msg) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DblClick() override;
  void CancelMode() override;
  void TimerTick(UINT_PTR id) override;
  void FontChanged() override;
  void Resize() override;

 private:
  int ClampPosition(int position) const;
  // ReplaceSelection with the insertion at `insertAt`, a position in the
  // text once the selection is gone: one edit that moves text (drag-move,
  // and the undo of one). Returns false when nothing was inserted.
  bool ReplaceSelection(const std::string& text, int insertAt);
  // Moves the cursor, selecting from the anchor when `extend` (Shift, or
  // the left button dragging), then CursorMoved.
  void MoveCursor(int position, bool extend);
  // Puts cursor and selection in place directly, then CursorMoved.
  void PlaceCursor(int cursor, int selStart, int selLength);
  void RunKeyCommand(WORD& key);
  void DeleteBackward();
  void DeleteForward();
  void MoveLeft(bool wordWise, bool extend);
  void MoveRight(bool wordWise, bool extend);
  void CollapseSelection();
  void InsertTyped(char c);
  void EndDragMove();
  void StopMouseTracking();
  void ShowContextMenu(int x, int y);
  void RunMenuCommand(UINT id);
  std::string ClipboardText();
  void PrepareBuffer();
  // The frame: the themed edit part, or the bevel.
  void PaintFrame(HDC dc);
  void DrawContent(HDC dc);

  void WMChar(TMessage& msg);
  void WMGetDlgCode(TMessage& msg);

  std::string text_;
  int cursor_ = 1;            // 1 .. length + 1; beyond only after a failed change handler
  int selStart_ = 1;          // == cursor_ whenever selLength_ == 0 after an operation
  int selLength_ = 0;
  int scrollOffset_ = 0;      // >= 0
  int maxLength_ = 0;
  bool modified_ = false;
  bool canUndo_ = true;
  TQelDynLIFOBuffer<TQelUndoRecord> undoStack_;
  TQelDynLIFOBuffer<TQelUndoRecord> redoStack_;
  bool typing_ = false;           // a typed character is being inserted
  bool undoing_ = false;          // an undo is in progress
  bool dragMoving_ = false;       // the selection is being dragged
  bool mouseSelecting_ = false;   // the left button went down here and is held
  int cursorBeforeDrag_ = 1;      // where the press that began the drag-move found the cursor
  bool selectionHidden_ = true;
  bool charAccepted_ = false;     // the character filter's answer for this WM_CHAR
  int lastMouseX_ = 0;
  HCURSOR screenCursorBeforeDrag_ = nullptr;
  int updateLock_ = 0;

  TAlignment alignment_ = taLeftJustify;
  TQelCaret caret_;
  TQel3DCaption font3D_;
  bool hideSelection_ = true;
  bool autoSelect_ = false;
  bool readOnly_ = false;
  TEditCharCase charCase_ = ecNormal;
  bool oemConvert_ = false;
  bool tabOnEnter_ = false;
  TQelEditOptions options_;
  TColor highlightText_ = clHighlightText;
  TColor highlightBack_ = clHighlight;

  std::unique_ptr<TOffscreenBuffer> buffer_;  // the off-screen bitmap while focused
  TQelThemeHandle theme_;  // "EDIT" while the field draws themed
  bool hot_ = false;       // the mouse is over the field
};

// Adds the display text (password characters) to the engine.
class TQelCustomEdit : public TQelBaseEdit {
 public:
  explicit TQelCustomEdit(TComponent* owner) : TQelBaseEdit(owner) {}

  // 0: the text shows as it is; else as many of this character.
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char value);

 protected:
  std::string DisplayText() const override;
  bool ClipboardAllowed() const override { return passwordChar_ == 0; }

 private:
  char passwordChar_ = 0;
};
