// The platform combo box ("COMBOBOX") as a control, in three layers:
//
// - TCustomListControl: what every list control answers, the selected index.
// - TCustomCombo: the platform window, its items (TComboItems), the
//   selection, the sizing of the opened list and the platform's
//   notifications turned into events.
// - TCustomComboBox: the window styles (Style, Sorted), owner-drawn rows and
//   the keyboard: Enter/Escape closing the open list and the typed search.
//
// The items and the selection live in the platform control; the wrappers
// keep no copy of them, except while the window is being recreated (after
// a change of Style, Sorted or ItemHeight), when the items and the selected
// index are carried over from the old window to the new one.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/Canvas.h"
#include "framework/WinControl.h"

class TCustomListControl : public TWinControl {
 public:
  using TWinControl::TWinControl;

  // The selected item, -1 for none.
  virtual int ItemIndex() = 0;
  virtual void SetItemIndex(int index) = 0;
};

class TCustomCombo;

// The item texts of a combo box, read from and written to its platform
// window, which is made on first use.
class TComboItems {
 public:
  explicit TComboItems(TCustomCombo& combo) : combo_(combo) {}
  TComboItems(const TComboItems&) = delete;
  TComboItems& operator=(const TComboItems&) = delete;

  int Count() const;
  // The text of item `index`; std::out_of_range when there is no such item.
  std::string Strings(int index) const;
  std::string operator[](int index) const { return Strings(index); }
  // Appends `text` (or sorts it in, with Sorted) and returns its index;
  // EOutOfResources "Zeile kann nicht eingefügt werden" when the platform
  // refuses it.
  int Add(const std::string& text);
  void Clear();

 private:
  // Items kept by the control until its window exists.
  bool Pending() const;

  TCustomCombo& combo_;
};

class TCustomCombo : public TCustomListControl {
 public:
  explicit TCustomCombo(TComponent* owner);

  TComboItems& Items() { return items_; }

  // Asked from the platform. While the control is loading, the index set
  // last is kept and applied when loading ends.
  int ItemIndex() override;
  // Selects item `index` (-1: none) without raising any event; an index
  // without an item leaves the field empty.
  void SetItemIndex(int index) override;

  // The text of the selection field (for a drop-down list: the selected
  // item's text).
  std::string Text();
  void SetText(const std::string& text);

  // Whether the list is open, as the platform reports it.
  bool DroppedDown();
  void SetDroppedDown(bool value);

  // Most rows the opened list shows at once. It opens below the box with as
  // many rows as there are items, up to this count and to what fits between
  // the box and the bottom of the work area of the box's monitor (at least
  // one row); the rest scroll.
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value) { dropDownCount_ = value; }
  // Width of the opened list; 0: as wide as the box.
  int DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(int value);
  // Text limit of the edit part; 0: the platform's maximum. Negative values
  // are taken as 0.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);

  // The user changed the selection or the text.
  TNotifyEvent OnChange;
  // The user picked an item from the list.
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void WndProc(TMessage& msg) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // A combo box whose value is the selection field's text; a selection
  // changed by the user or by SetItemIndex is a change of that value.
  void DescribeAccessible(TAccessibleInfo& info) override;
  // Its field and list are the window kind, whatever colour it declares.
  TContrastPair ContrastPair() const override { return cpWindow; }

  // Event hooks; the bases fire the events.
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();

  // Height of one row of the list, from the platform.
  int RowHeight();

 private:
  void CNCommand(TMessage& msg);
  void WMSysKeyDown(TMessage& msg);
  void WMDestroy(TMessage& msg);
  void SelectionChanged();
  void SizeOpeningList();
  void PostDroppedWidth();

  TComboItems items_{*this};
  std::optional<int> loadingIndex_;  // set while loading, applied by Loaded
  int dropDownCount_ = 8;
  int dropDownWidth_ = 0;
  int maxLength_ = 0;
  // Whether the platform sorts the items in; such items need the window.
  virtual bool SortsItems() const { return false; }

  friend class TComboItems;
  // Items and selection carried from a window that is being recreated, or
  // added before the first window exists (it is then made once, complete).
  std::vector<std::string> savedItems_;
  int savedIndex_ = -1;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

enum TOwnerDrawStateItem { odSelected, odFocused, odDisabled };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
// Draws row `Index` (-1: an empty selection field) into `Rect` on the
// combo box's canvas, which holds the control's font and a brush of the
// row's background.
using TDrawItemEvent =
    std::function<void(TObject* Sender, int Index, const TRect& Rect, TOwnerDrawState State)>;

// The characters typed in one burst for the typed search. A character that
// comes `delay` ms or more after the previous one starts a new burst.
class TTypedSearchFilter {
 public:
  // Milliseconds from an arbitrary start, wrapping around like GetTickCount.
  using TTickSource = std::function<DWORD()>;

  // Called for every typed character before it is used: clears the filter
  // when the burst is over and remembers the time.
  void CharacterTyped(DWORD delay);
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { text_ = text; }
  // Removes the last character (a double-byte character whole).
  void RemoveLastCharacter();
  // The clock; tests drive the burst window with their own.
  void SetTickSource(TTickSource source) { ticks_ = std::move(source); }

 private:
  TTickSource ticks_ = [] { return GetTickCount(); };
  DWORD lastTick_ = 0;
  std::string text_;
};

class TCustomComboBox : public TCustomCombo {
 public:
  explicit TCustomComboBox(TComponent* owner);

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool SortsItems() const override { return sorted_; }
  // Row height of the owner-draw styles; for the others the platform's row
  // height. Values of 0 or less are ignored.
  int ItemHeight();
  void SetItemHeight(int value);

  // Typed characters select the first item that begins with them.
  bool AutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool value) { autoComplete_ = value; }
  // Typing opens the list.
  bool AutoDropDown() const { return autoDropDown_; }
  void SetAutoDropDown(bool value) { autoDropDown_ = value; }
  // Typing the whole text of an item closes the list.
  bool AutoCloseUp() const { return autoCloseUp_; }
  void SetAutoCloseUp(bool value) { autoCloseUp_ = value; }
  // Pause in milliseconds after which typing starts a new search.
  DWORD AutoCompleteDelay() const { return autoCompleteDelay_; }
  void SetAutoCompleteDelay(DWORD value) { autoCompleteDelay_ = value; }
  TTypedSearchFilter& SearchFilter() { return filter_; }
  // The canvas OnDrawItem draws on, attached only while a row is drawn.
  TCanvas& Canvas() { return canvas_; }

  // Draws the rows of the owner-draw styles; without it the control fills
  // the row and writes the item's text.
  TDrawItemEvent OnDrawItem;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;

 private:
  bool OwnerDraw() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
  void TypedSearch(char& key);
  void SearchCharacter(char& key);
  void CNDrawItem(TMessage& msg);
  void WMMeasureItem(TMessage& msg);

  TComboBoxStyle style_ = csDropDown;
  bool sorted_ = false;
  int itemHeight_ = 16;
  bool autoComplete_ = true;
  bool autoDropDown_ = false;
  bool autoCloseUp_ = false;
  DWORD autoCompleteDelay_ = 500;
  TTypedSearchFilter filter_;
  TCanvas canvas_;  // attached to the device context of one owner-drawn row
};
