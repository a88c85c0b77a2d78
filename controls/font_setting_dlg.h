// CFontSettingDlg: the modal "Font Dialog" (template 302) in which a face and
// a point size are picked; the appearance dialog opens it from its font
// button and reads the choice back after OK.
//
// Start: the face list is filled with "Arial" as the face to select, the
// sixteen sizes are added and the first (8) selected; when the dialog is
// shown, the stored face and size are selected by prefix search (an absent
// value keeps that default). OK takes the selected texts as the choice;
// Cancel keeps the values the dialog was given.
#pragma once

#include <array>

#include "controls/hot_font_combo.h"
#include "platform/base/cstring.h"
#include "platform/user/ccombobox.h"
#include "platform/user/cdialog.h"

class CFontSettingDlg : public CDialog {
 public:
  static constexpr UINT kTemplateId = 302;
  static constexpr int kFaceComboId = 33076;
  static constexpr int kSizeComboId = 33077;
  // The point sizes offered, in list order.
  static constexpr std::array<int, 16> kSizes = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

  CFontSettingDlg(const CString& face, const CString& size, CWnd* parent = nullptr);

  CString GetFontFace() const { return m_strFace; }
  CString GetFontSize() const { return m_strSize; }

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnShowWindow(BOOL show, UINT status) override;
  void OnOK() override;

 private:
  CHotFontCombo m_faceCombo;
  CComboBox m_sizeCombo;
  CString m_strFace;
  CString m_strSize;
};
