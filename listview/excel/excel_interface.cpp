#include "listview/excel/excel_interface.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "listview/profile/settings_file.h"

int CExcelInterface::WriteToExcel() {
  if (m_pfnCellProvider == nullptr || m_nRows < 0 || m_nColumns < 0) return 0;
  std::string path((listview::SettingsFolder() + "\\" + kFileName).GetString());
  std::replace(path.begin(), path.end(), '\\', '/');
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return 0;
  for (int row = 0; row < m_nRows; ++row) {
    for (int column = 0; column < m_nColumns; ++column) {
      CString text;
      int type = 0;
      if (!m_pfnCellProvider(m_pContext, row, column, text, type)) text.Empty();
      if (column > 0) file << '\t';
      file << text.GetString();
    }
    file << "\r\n";
  }
  file.flush();
  return file ? 1 : 0;
}
