// The integer entry field driven by real messages: what can be typed and
// pasted, the length limit, undo, overwrite mode, keys and selection, the
// change events with their At values, loading, the exit check and a change
// handler that fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QelEditTesting.h"
#include "support/ErrorCapture.h"

namespace {

using Events = std::vector<int>;

class IntegerFieldTest : public ::testing::Test {
 protected:
  TSharedKeyboardReset keyboard_;
  TTestForm form_{300, 120};
};

// --- Filtering ---

TEST_F(IntegerFieldTest, TypedCharactersAreDigitsAndALeadingMinusOnly) {
  TIntegerField field(form_, "");
  for (int code = 1; code < 256; ++code) {
    field.edit->SetText("");
    field.Type(std::string(1, static_cast<char>(code)));
    const bool digit = code >= '0' && code <= '9';
    const std::string expected = digit || code == '-' ? std::string(1, static_cast<char>(code)) : "";
    EXPECT_EQ(field.edit->Text(), expected) << "character code " << code;
  }
}

TEST_F(IntegerFieldTest, NoDigitInFrontOfALeadingMinus) {
  TIntegerField field(form_, "-12");
  field.Key(VK_HOME);
  field.Type("5");
  EXPECT_EQ(EditState(*field.edit), State("-12", 1, 1, 0));
  field.Paste("5");  // the paste filter does not look at the position
  EXPECT_EQ(field.edit->Text(), "5-12");
}

TEST_F(IntegerFieldTest, MinusOnlyAtTheStartOrOverASelectionFromTheStart) {
  TIntegerField field(form_, "123");
  field.Key(VK_HOME);
  field.Type("-");
  EXPECT_EQ(field.edit->Text(), "-123");

  field.edit->SetText("123");
  field.Key(VK_HOME);
  field.Key(VK_RIGHT);
  field.Type("-");
  EXPECT_EQ(EditState(*field.edit), State("123", 2, 2, 0)) << "typed minus at 2";
  field.Paste("-5");
  EXPECT_EQ(field.edit->Text(), "1-523");

  field.edit->SetText("-123");
  field.Key(VK_HOME);
  field.Key(VK_RIGHT, true);
  field.Key(VK_RIGHT, true);
  field.Type("-");
  EXPECT_EQ(field.edit->Text(), "-23");
  field.Key(VK_RIGHT);
  field.Paste("-9");
  EXPECT_EQ(EditState(*field.edit), State("-23", 3, 3, 0)) << "second minus pasted";
}

TEST_F(IntegerFieldTest, PastedTextIsTakenWholeOrNotAtAll) {
  TIntegerField field(form_, "");
  for (const char* refused : {"12a", "+5", " 1", "1 ", "--1", "1-", "\t"}) {
    field.edit->SetText("");
    field.Paste(refused);
    EXPECT_EQ(field.edit->Text(), "") << "pasted \"" << refused << "\"";
  }
  field.Paste("007");
  EXPECT_EQ(field.edit->Text(), "007");
}

// A refused insertion must not cost the user the text it was to replace.
TEST_F(IntegerFieldTest, RefusedInsertionKeepsTheSelectionItWasToReplace) {
  TIntegerField field(form_, "12345678");
  field.Focus();
  field.TakeEvents();
  field.Key('A', false, true);
  field.Paste("123456789");
  EXPECT_EQ(EditState(*field.edit), State("12345678", 9, 1, 8)) << "too long";
  EXPECT_EQ(field.TakeEvents(), Events{1});

  field.Paste("12a");
  EXPECT_EQ(EditState(*field.edit), State("12345678", 9, 1, 8)) << "letters";
  field.Paste("+5");
  EXPECT_EQ(EditState(*field.edit), State("12345678", 9, 1, 8)) << "plus sign";
  EXPECT_EQ(field.TakeEvents(), (Events{1, 1}));

  field.Type("5");
  EXPECT_EQ(EditState(*field.edit), State("5", 2, 2, 0));
}

TEST_F(IntegerFieldTest, LengthLimitRefusesWholeInsertionsButStillReports) {
  TIntegerField field(form_, "12345678");
  field.Key(VK_END);
  field.TakeEvents();
  field.Type("1");
  EXPECT_EQ(EditState(*field.edit), State("12345678", 9, 9, 0));
  EXPECT_EQ(field.TakeEvents(), Events{9});

  field.edit->SetText("1234567");
  field.Key(VK_END);
  field.Paste("12");
  EXPECT_EQ(field.edit->Text(), "1234567") << "never shortened to fit";
  field.Paste("8");
  EXPECT_EQ(field.edit->Text(), "12345678");

  field.edit->SetText("123456789");
  EXPECT_EQ(field.edit->Text(), "12345678") << "assignment is cut to MaxLength";
}

// --- Undo ---

TEST_F(IntegerFieldTest, UndoTakesBackOneEditAtATime) {
  TIntegerField field(form_, "250000");
  field.Key(VK_END);
  field.Type("7");
  ASSERT_EQ(field.edit->Text(), "2500007");
  field.TakeEvents();
  field.edit->Undo();
  EXPECT_EQ(EditState(*field.edit), State("250000", 7, 7, 0));
  EXPECT_EQ(field.TakeEvents(), Events{7});

  field.edit->SetText("12345678");
  field.Key(VK_END);
  field.Type("9");  // refused: the field is full
  field.edit->Undo();
  EXPECT_EQ(field.edit->Text(), "12345678") << "undo of a refused digit removes nothing";

  // Undo puts back exactly what was there: the filter would refuse "2-"
  // and the limit a ninth digit.
  field.edit->SetText("12-3");
  field.Key(VK_HOME);
  field.Key(VK_RIGHT);
  field.Key(VK_RIGHT, true);
  field.Key(VK_RIGHT, true);
  field.Key(VK_DELETE);
  ASSERT_EQ(field.edit->Text(), "13");
  field.edit->Undo();
  EXPECT_EQ(EditState(*field.edit), State("12-3", 4, 2, 2)) << "selection comes back";
  field.edit->SetMaxLength(0);
  field.edit->SetText("123456789");
  field.edit->SetMaxLength(8);
  field.Key(VK_END);
  field.Key(VK_BACK);
  field.edit->Undo();
  EXPECT_EQ(field.edit->Text(), "123456789");
}

TEST_F(IntegerFieldTest, AssignmentMakesNoUndoRecordAndClearsTheHistory) {
  TIntegerField field(form_, "250000");
  field.Key(VK_HOME);
  field.Key(VK_RIGHT, true);
  field.Key(VK_RIGHT, true);
  field.Key(VK_DELETE);
  field.edit->SetText("9");
  field.edit->Undo();
  EXPECT_EQ(field.edit->Text(), "9") << "the deletion was made in another text";
}

TEST_F(IntegerFieldTest, InsertKeySwitchesEveryFieldToOverwriteMode) {
  TIntegerField first(form_, "16000000", 8);
  TIntegerField second(form_, "250000", 140);
  first.Key(VK_INSERT);
  second.Key(VK_HOME);
  second.Type("9");
  EXPECT_EQ(second.edit->Text(), "950000");
  second.edit->Undo();
  EXPECT_EQ(second.edit->Text(), "250000");

  // Putting a deleted character back must not overwrite its neighbour.
  second.Key(VK_HOME);
  second.Key(VK_DELETE);
  ASSERT_EQ(second.edit->Text(), "50000");
  second.edit->Undo();
  EXPECT_EQ(second.edit->Text(), "250000");

  second.Key(VK_END);
  second.Type("1");
  EXPECT_EQ(second.edit->Text(), "2500001") << "overwrite at the end appends";
  first.Key(VK_INSERT);
  second.Key(VK_HOME);
  second.Type("3");
  EXPECT_EQ(second.edit->Text(), "32500001") << "insert mode back";
}

// --- Keys and selection ---

TEST_F(IntegerFieldTest, CursorKeysAndTheSelectionRule) {
  TIntegerField field(form_, "250000");
  field.Key(VK_HOME);
  field.Key(VK_END, true);
  EXPECT_EQ(EditState(*field.edit), State("250000", 7, 1, 6)) << "Shift+End";
  field.Key(VK_LEFT, true);
  EXPECT_EQ(EditState(*field.edit), State("250000", 6, 1, 5)) << "Shift+Left shrinks";
  field.Key(VK_UP);
  field.Key(VK_DOWN);
  EXPECT_EQ(EditState(*field.edit), State("250000", 6, 1, 5)) << "Up, Down";
  field.Key(VK_ESCAPE);
  EXPECT_EQ(EditState(*field.edit), State("250000", 6, 6, 0)) << "Escape";
  field.Key(VK_LEFT, false, true);
  EXPECT_EQ(field.edit->CursorPos(), 1) << "Ctrl+Left";
  field.Key(VK_RIGHT, false, true);
  EXPECT_EQ(field.edit->CursorPos(), 7) << "Ctrl+Right";
  field.Key(VK_LEFT, true, true);
  EXPECT_EQ(EditState(*field.edit), State("250000", 1, 1, 6)) << "Shift+Ctrl+Left";
  field.Key(VK_LEFT);
  EXPECT_EQ(EditState(*field.edit), State("250000", 1, 1, 0)) << "Left at 1 collapses";
  field.Key(VK_END);
  field.Key(VK_HOME, true);
  field.Key(VK_RIGHT);
  EXPECT_EQ(EditState(*field.edit), State("250000", 2, 2, 0));
  field.Key(VK_HOME);
  field.Key(VK_END, true);
  field.Key(VK_RIGHT);
  EXPECT_EQ(EditState(*field.edit), State("250000", 7, 7, 0)) << "Right at the end collapses";
}

TEST_F(IntegerFieldTest, TypingWithShiftHeldDoesNotSelect) {
  TIntegerField field(form_, "12");
  field.Key(VK_END);
  BYTE state[256] = {};
  state[VK_SHIFT] = 0x80;
  SetKeyboardState(state);
  SendMessageA(field.Window(), WM_KEYDOWN, VK_SHIFT, 1);
  field.Type("3");
  BYTE released[256] = {};
  SetKeyboardState(released);
  SendMessageA(field.Window(), WM_KEYUP, VK_SHIFT, 0xC0000001);
  EXPECT_EQ(EditState(*field.edit), State("123", 4, 4, 0));
}

TEST_F(IntegerFieldTest, BackspaceAndDelete) {
  TIntegerField field(form_, "250000");
  field.Key(VK_HOME);
  field.TakeEvents();
  field.Key(VK_BACK);
  EXPECT_EQ(field.edit->Text(), "250000");
  EXPECT_EQ(field.TakeEvents(), Events{}) << "Backspace at 1 raises nothing";

  field.Key(VK_END);
  field.Key(VK_DELETE);
  EXPECT_EQ(field.edit->Text(), "250000");
  EXPECT_EQ(field.TakeEvents(), Events{7}) << "Delete at the end still reports";

  field.Key(VK_LEFT);
  field.Key(VK_LEFT);
  field.Key(VK_BACK);
  EXPECT_EQ(EditState(*field.edit), State("25000", 4, 4, 0));
  EXPECT_EQ(field.TakeEvents(), Events{4}) << "At is the deleted character";
  field.Key(VK_DELETE);
  EXPECT_EQ(EditState(*field.edit), State("2500", 4, 4, 0));

  // A Backspace that empties a field scrolled to its end scrolls it back to
  // the start.
  field.edit->SetWidth(40);
  field.edit->SetText("12345678");
  field.Focus();
  field.Key(VK_END);
  ASSERT_GT(field.edit->ScrollOffset(), 0) << "the text does not scroll";
  field.Key('A', false, true);
  field.Key(VK_BACK);
  EXPECT_EQ(field.edit->Text(), "");
  EXPECT_EQ(field.edit->ScrollOffset(), 0);
}

TEST_F(IntegerFieldTest, ClipboardKeys) {
  TIntegerField field(form_, "250000");
  field.Key(VK_HOME);
  field.Key(VK_RIGHT, true);
  field.Key(VK_RIGHT, true);
  field.Key('C', false, true);
  EXPECT_EQ(GetClipboardText(field.Window()), "25");
  ClearClipboard(field.Window());
  field.Key(VK_INSERT, false, true);
  EXPECT_EQ(GetClipboardText(field.Window()), "25") << "Ctrl+Insert";
  field.Key('X', false, true);
  EXPECT_EQ(field.edit->Text(), "0000");
  field.Key(VK_END);
  field.Key('V', false, true);
  EXPECT_EQ(field.edit->Text(), "000025");
  field.Key(VK_INSERT, true);
  EXPECT_EQ(field.edit->Text(), "00002525") << "Shift+Insert";
  field.Key(VK_HOME);
  field.Key(VK_RIGHT, true);
  field.Key(VK_DELETE, true);
  EXPECT_EQ(field.edit->Text(), "0002525") << "Shift+Delete";
  EXPECT_EQ(GetClipboardText(field.Window()), "0");
  field.Key('A', false, true);
  EXPECT_EQ(EditState(*field.edit), State("0002525", 8, 1, 7)) << "Ctrl+A";

  SendMessageA(field.Window(), WM_CLEAR, 0, 0);
  EXPECT_EQ(field.edit->Text(), "");
  SendMessageA(field.Window(), WM_PASTE, 0, 0);
  EXPECT_EQ(field.edit->Text(), "0");
  ClearClipboard(field.Window());
  SendMessageA(field.Window(), WM_PASTE, 0, 0);
  EXPECT_EQ(field.edit->Text(), "0") << "pasting an empty clipboard";
}

// --- Events ---

TEST_F(IntegerFieldTest, TextAssignmentReportsOnlyRealChanges) {
  TIntegerField field(form_, "250000");
  field.Key(VK_END);
  field.TakeEvents();
  field.edit->SetText("250000");
  EXPECT_EQ(field.TakeEvents(), Events{});
  EXPECT_EQ(field.edit->CursorPos(), 7) << "the same text leaves the cursor";
  field.edit->SetText("9600");
  EXPECT_EQ(field.Order(), (std::vector<std::string>{"TextChangedAt", "Change"}));
  EXPECT_EQ(field.TakeEvents(), Events{1});
  EXPECT_EQ(EditState(*field.edit), State("9600", 1, 1, 0));
}

TEST_F(IntegerFieldTest, DecimalsReportAChange) {
  TIntegerField field(form_, "250000");
  field.TakeEvents();
  field.edit->SetDecimals(8);
  EXPECT_EQ(field.TakeEvents(), Events{});
  field.edit->SetDecimals(2);
  EXPECT_EQ(field.TakeEvents(), Events{1});
  EXPECT_EQ(field.edit->Text(), "250000");
}

TEST_F(IntegerFieldTest, NoChangeEventWhileTheLayoutLoads) {
  TComponent owner(nullptr);
  owner.BeginLoading();
  auto* edit = new TQelMaskEdit(&owner);
  std::vector<int> at;
  edit->OnTextChangedAt = [&at](TObject*, int a) { at.push_back(a); };
  edit->SetMaxLength(8);
  edit->SetAlignment(taCenter);
  edit->SetDecimals(8);
  edit->SetMaskType(meInteger);
  EXPECT_EQ(edit->Text(), "0");
  edit->SetText("16000000");
  owner.FinishLoading();
  EXPECT_EQ(at, Events{});
  EXPECT_EQ(edit->Text(), "16000000");
  edit->SetText("1");
  EXPECT_EQ(at, Events{1});
}

// --- Leaving the field ---

TEST_F(IntegerFieldTest, LeavingTheFieldEmptiesALoneMinus) {
  TIntegerField field(form_, "", 8);
  TIntegerField other(form_, "1", 140);
  field.Focus();
  field.Type("-");
  EXPECT_EQ(field.TakeEvents(), Events{1});
  other.Focus();
  EXPECT_EQ(field.edit->Text(), "");
  EXPECT_EQ(field.TakeEvents(), Events{1});

  for (const char* kept : {"007", "", "1-2"}) {
    field.Focus();
    field.edit->SetText(kept);
    field.TakeEvents();
    other.Focus();
    EXPECT_EQ(field.edit->Text(), kept);
    EXPECT_EQ(field.TakeEvents(), Events{}) << "leaving \"" << kept << "\"";
  }
}

// --- A change handler that fails ---

TEST_F(IntegerFieldTest, FailingHandlerKeepsTheTextAndLeavesTheFieldUsable) {
  TErrorCapture errors;
  TIntegerField field(form_, "12");
  field.failWhen = [](const std::string& text) { return text.find('-') != std::string::npos; };
  field.Key(VK_END);
  field.TakeEvents();
  field.Paste("-5");
  ASSERT_EQ(errors.Errors().size(), 1u);
  EXPECT_EQ(field.Order(), (std::vector<std::string>{"TextChangedAt"})) << "no OnChange";
  EXPECT_EQ(EditState(*field.edit), State("12-5", 3, 3, 0));

  field.failWhen = nullptr;
  field.Key(VK_HOME);
  field.Key(VK_END, true);
  EXPECT_EQ(EditState(*field.edit), State("12-5", 5, 1, 4)) << "cursor moves select again";
  field.Key(VK_END);
  field.edit->SetText("");
  field.failWhen = [](const std::string& text) { return text == "-"; };
  field.Type("-");
  EXPECT_EQ(errors.Errors().size(), 2u);
  EXPECT_EQ(EditState(*field.edit), State("-", 1, 1, 0)) << "cursor stays before the edit";
  field.failWhen = nullptr;
  field.Key(VK_END);
  field.Type("4");
  EXPECT_EQ(field.edit->Text(), "-4") << "typing after a failed typed character";
  field.Key(VK_HOME, true);
  EXPECT_EQ(field.edit->SelLength(), 2) << "typing mark cleared";

  // A failing undo must not leave the next edits' records on the redo stack.
  field.Key(VK_END);
  field.Type("5");
  field.failWhen = [](const std::string& text) { return text == "-4"; };
  EXPECT_ANY_THROW(field.edit->Undo()) << "called directly, outside the error trap";
  field.failWhen = nullptr;
  field.Key(VK_END);
  field.Type("6");
  field.edit->Undo();
  EXPECT_EQ(field.edit->Text(), "-4");
}

}  // namespace
