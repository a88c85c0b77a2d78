// Fuzz target: whole UserSetting.ini files, as a damaged disk, a hand edit
// or another program may leave them, read by a filter list as the terminal
// opens its "View Allowed Group" list: the column profile (computed columns
// included), the appearance line, the user defined columns dialog filled
// from the columns read, every cell computed, and the layout saved again.
//
// Besides not crashing, hanging or allocating without bound, what the list
// saves must be sound: read back, neither its profile nor its appearance
// line is damaged (a list never writes back the damage it repaired).
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/profile/appearance_line.h"
#include "listview/profile/profile_io.h"
#include "listview/profile/settings_file.h"
#include "listview/profile/stored_layout.h"
#include "listview/testing/dialog_templates.h"
#include "listview/testing/list_dialog.h"
#include "listview/testing/text_rows.h"
#include "listview/user_columns/user_defined_col_dlg.h"
#include "platform/user/message_box.h"
#include "platform/window/metrics.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

using Dialog = listview::testing::CListDialog<CFilterListCtrl>;

// The View Allowed Group list's columns, so that files the terminal wrote
// apply as they do there.
constexpr const char* kCaptions[] = {"Category",     "Exhg-Seg",    "Instr Name",   "Symbol",          "Option Type",
                                     "Strike Price", "Expiry Date", "Product Type", "Transaction Type"};

struct Setup {
  std::filesystem::path folder;
  std::vector<std::unique_ptr<listview::testing::TextRow>> rows;

  Setup() {
    folder = std::filesystem::temp_directory_path() / ("settings_file_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    listview::SetSettingsFolder(folder.string().c_str());
    listview::testing::RegisterListDialog(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS);
    listview::testing::RegisterUserColumnTemplate();
    for (const char* side : {"B", "S", "0", "-"}) {
      auto row = std::make_unique<listview::testing::TextRow>();
      row->cells = {"HNI", "nse_fo", "OPTIDX", "NIFTY", "CE", "17500.00", "30/03/2023", "NRML", side};
      rows.push_back(std::move(row));
    }
  }
  ~Setup() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Setup& setup = TheSetup();
  std::ofstream(setup.folder / "UserSetting.ini", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  auto dialog = std::make_unique<Dialog>([](CFilterListCtrl& list) {
    for (int i = 0; i < 9; ++i) {
      list.m_arrColumns.Add(
          sTarnColInfo(kCaptions[i], 80, i == 5 ? 1 : 0, i == 5 ? sort_kind::kFloat : sort_kind::kText));
    }
    list.ApplyColumnProfile();
    list.EnableFilterMode(true);
    list.SetDataDescriptor(&listview::testing::FormatTextRow);
  });
  dialog->list.m_strProfileName = "rmsallowedgroups";  // before attaching: the appearance key needs it
  Require(dialog->Create(listview::testing::kListDialogId) != FALSE);
  CFilterListCtrl& list = dialog->list;
  for (const auto& row : setup.rows) {
    list.InsertItem(0, "");
    list.SetItemData(0, reinterpret_cast<DWORD_PTR>(row.get()));
  }
  for (int row = 0; row < list.GetItemCount(); ++row) {
    for (int column = 0; column < list.m_arrColumns.GetSize(); ++column) {
      (void)list.CellText(list.GetItemData(row), column);
    }
  }
  for (const int mode : {1, 0}) {
    if (TheUserDefinedColDlg().Open(&list, mode)) TheUserDefinedColDlg().ShowWindow(SW_HIDE);
  }

  const CString saved = list.FormatCurrentProfile();
  if (saved.GetLength() <= listview::kProfileValueMaxLength) {
    Require(!listview::CheckColumnProfile(saved, 9, GetSystemMetrics(SM_CXSCREEN), false).Damaged());
  }
  std::string damage;
  sListAppearance reread;
  listview::ParseAppearanceLine(listview::FormatAppearanceLine(list.Appearance()), reread, &damage);
  Require(damage.empty());

  dialog.reset();  // saves the layout
  platform::ClearMessageBoxLog();
  return 0;
}
