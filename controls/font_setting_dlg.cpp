#include "controls/font_setting_dlg.h"

#include "platform/gdi/font_families.h"
#include "platform/user/data_exchange.h"

CFontSettingDlg::CFontSettingDlg(const CString& face, const CString& size, CWnd* parent)
    : CDialog(kTemplateId, parent), m_strFace(face), m_strSize(size) {}

void CFontSettingDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kFaceComboId, m_faceCombo);
  DDX_Control(dx, kSizeComboId, m_sizeCombo);
}

BOOL CFontSettingDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_faceCombo.SetCurrentFace("Arial");
  m_faceCombo.FillFontList();
  for (const int size : kSizes) {
    CString text;
    text.Format("%d", size);
    m_sizeCombo.AddString(text);
  }
  m_sizeCombo.SetCurSel(0);
  return TRUE;
}

void CFontSettingDlg::OnShowWindow(BOOL show, UINT status) {
  CDialog::OnShowWindow(show, status);
  if (!show) return;
  // Prefix search: an absent value leaves the default selection alone. A
  // face the platform draws with another family ("MS Shell Dlg 2", which no
  // font on the machine is called) shows as that family: the dialog names
  // the letters a person sees, and OK stores a face that is really there.
  if (!m_strFace.IsEmpty()) m_faceCombo.SelectString(-1, platform::DrawnFamily(m_strFace.GetString()).c_str());
  if (!m_strSize.IsEmpty()) m_sizeCombo.SelectString(-1, m_strSize);
}

void CFontSettingDlg::OnOK() {
  if (m_faceCombo.GetCurSel() != CB_ERR) m_faceCombo.GetLBText(m_faceCombo.GetCurSel(), m_strFace);
  if (m_sizeCombo.GetCurSel() != CB_ERR) m_sizeCombo.GetLBText(m_sizeCombo.GetCurSel(), m_strSize);
  EndDialog(IDOK);
}
