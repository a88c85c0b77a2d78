// CEdit: the framework's wrapper of an edit control. The "EDIT" class model
// behind it (platform/user/edit.cpp) holds the text, the selection (an anchor
// and a caret; EM_GETSEL reports them in order), the modified flag, the text
// limit (32767 until EM_LIMITTEXT) and one level of undo. Typed characters
// (WM_CHAR) replace the selection; Backspace (WM_CHAR 8) and Delete
// (WM_KEYDOWN) delete the selection or the character before / after the caret;
// Left, Right, Home and End move the caret, extending the selection with
// Shift. Every change made by typing or EM_REPLACESEL sends EN_UPDATE and then
// EN_CHANGE to the parent; WM_SETTEXT does too on a single-line edit (not on a
// multi-line one), and clears the modified flag and the selection. A read-only
// edit ignores typing; ES_NUMBER refuses non-digits; ES_UPPERCASE and
// ES_LOWERCASE convert typed letters; typing past the limit sends EN_MAXTEXT
// and keeps what fits. The focus sends EN_SETFOCUS / EN_KILLFOCUS. WM_COPY,
// WM_CUT and WM_PASTE exchange CF_TEXT with the clipboard (never from a
// password edit; a single-line edit pastes only the first line), as do Ctrl+C,
// Ctrl+X, Ctrl+V, Ctrl+Insert, Shift+Delete and Shift+Insert; Ctrl+A selects
// everything and Ctrl+Z undoes. It paints its text with the colours its parent
// gives in answer to WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC when read-only or
// disabled).
#pragma once

#include "platform/base/export.h"

#include "platform/window/cwnd.h"

class PLATFORM_API CEdit : public CWnd {
 public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  DWORD GetSel() const { return static_cast<DWORD>(SendMessage(EM_GETSEL)); }
  void GetSel(int& start, int& end) const;
  void SetSel(int start, int end, BOOL noScroll = FALSE) {
    (void)noScroll;
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
  }
  void LimitText(int chars = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
  BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
  void Clear() { SendMessage(WM_CLEAR); }
  void Copy() { SendMessage(WM_COPY); }
  void Cut() { SendMessage(WM_CUT); }
  void Paste() { SendMessage(WM_PASTE); }
};
