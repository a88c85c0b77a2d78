#include "controls/control_pos.h"

#include <algorithm>

namespace {

// The change of one dimension; without free resizing a size below the
// minimum counts as the minimum, so controls stop moving there.
int Change(int now, int recorded, int minimum, BOOL freeResize) {
  if (freeResize) return now - recorded;
  return std::max(now, minimum) - std::max(recorded, minimum);
}

}  // namespace

// The parent's size is not taken here: the owner's first UpdateParentSize
// sets the base once its controls are laid out.
CControlPos::CControlPos(CWnd* parent) : m_pParent(parent) {}

CControlPos::~CControlPos() {
  while (!m_controls.empty()) m_controls.pop_back();
}

void CControlPos::SetParent(CWnd* parent) {
  m_pParent = parent;
  UpdateParentSize();
}

BOOL CControlPos::AddControl(HWND control, DWORD flags) {
  if (!::IsWindow(control)) return FALSE;
  for (const auto& record : m_controls) {
    if (record->hwnd == control) {
      record->flags = flags;
      return TRUE;
    }
  }
  m_controls.push_back(std::make_unique<ControlRecord>(ControlRecord{control, flags}));
  return TRUE;
}

void CControlPos::SetMinimumSize(int width, int height) {
  m_nMinParentWidth = width;
  m_nMinParentHeight = height;
}

void CControlPos::UpdateParentSize() {
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return;
  CRect client;
  m_pParent->GetClientRect(&client);
  m_nOldParentWidth = client.Width();
  m_nOldParentHeight = client.Height();
}

void CControlPos::MoveControls() {
  if (m_pParent == nullptr || m_pParent->GetSafeHwnd() == nullptr) return;
  CRect client;
  m_pParent->GetClientRect(&client);
  const int dx = Change(client.Width(), m_nOldParentWidth, m_nMinParentWidth, m_bFreeResize);
  const int dy = Change(client.Height(), m_nOldParentHeight, m_nMinParentHeight, m_bFreeResize);
  for (const auto& record : m_controls) {
    CRect r;
    if (!::GetWindowRect(record->hwnd, &r)) continue;  // a control destroyed since it was registered
    if (record->flags & kStretchDown) r.bottom += dy;
    if (record->flags & kStretchRight) r.right += dx;
    if (record->flags & kMoveDown) r.top += dy, r.bottom += dy;
    if (record->flags & kMoveRight) r.left += dx, r.right += dx;
    m_pParent->ScreenToClient(&r);
    ::MoveWindow(record->hwnd, r.left, r.top, r.Width(), r.Height(), TRUE);
  }
  UpdateParentSize();
  ::RedrawWindow(m_pParent->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
