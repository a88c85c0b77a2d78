// The five entry points the terminal calls, exported under these exact
// undecorated names. While one runs its window work, the framework's current
// resource module is the plug-in's, so its templates and icon are found; the
// previous one is restored on every way out.
#include <cstdint>

#include "allowed_groups/alw_grp.h"
#include "listview/profile/settings_file.h"
#include "platform/afx.h"
#include "plugin/host_interface.h"
#include "plugin/terminal_link.h"
#include "resources/resource.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr const char* kNoTerminalModule = "Cant rename TarnTrader.exe,Module not found";
constexpr const char* kFormTitle = "Allowed Groups";
constexpr const char* kHotKey = "Alt+A";

// Takes the terminal's module handle; false (after telling the user) when the
// process cannot name its main module.
bool TakeTerminalHandle() {
  plugin::Globals().hTerminal = GetModuleHandleA(nullptr);
  if (plugin::Globals().hTerminal == nullptr) {
    AfxMessageBox(kNoTerminalModule);
    return false;
  }
  return true;
}

void CreateForm(CWnd* parent) {
  CAlwGrp& form = AllowedGroupsForm();
  form.Create(IDD_ALWGRP, parent);
  form.SetWindowText(kFormTitle);
}

void ShowForm() {
  CAlwGrp& form = AllowedGroupsForm();
  form.ShowWindow(SW_SHOWNORMAL);
  form.BringWindowToTop();
}

}  // namespace

PLUGIN_EXPORT int GetTarnPluginInfo(CString& name, CString& version, void* /*unused*/, uint32_t* stamp,
                                    uint32_t* code) {
  name = "Allowed Group";
  version = "1.1.1.0";
  if (stamp != nullptr) *stamp = 29032010;
  if (code != nullptr) *code = 126;
  return 1;
}

PLUGIN_EXPORT void InitTarnPlugin(sTarnHostRecord* host, const char* userId, void* /*unused*/, CString /*unused*/) {
  CResourceScope resources(plugin::SelfModule());
  CAlwGrp& form = AllowedGroupsForm();
  if (form.GetSafeHwnd() == nullptr) {
    plugin::Globals().strUserId.Format("%s", userId != nullptr ? userId : "");
    const bool haveTerminal = TakeTerminalHandle();
    if (haveTerminal) {
      char path[MAX_PATH] = {};
      GetModuleFileNameA(plugin::Globals().hTerminal, path, MAX_PATH);
      plugin::Globals().strTerminalDir = platform::PathFolder(path).c_str();
      listview::SetSettingsFolder(plugin::Globals().strTerminalDir);
    }
    if (!haveTerminal) return;
    CreateForm(host != nullptr ? host->pParentWnd : nullptr);
  }
  ShowForm();
}

PLUGIN_EXPORT int ProcessTarnPluginMsg() { return 0; }

PLUGIN_EXPORT void PluginProcessHotKey(CString& key, int flag) {
  if (key != kHotKey || flag != 0) return;
  CResourceScope resources(plugin::SelfModule());
  auto peerData = plugin::TerminalExport<PFN_pu_get_peer_data>("pu_get_peer_data");
  if (peerData == nullptr) {
    AfxMessageBox("Exe is not compatible with QLX");
    return;
  }
  CString first, second;
  peerData(first, second, plugin::Globals().strUserId);
  if (AllowedGroupsForm().GetSafeHwnd() == nullptr) {
    // This path does not record the terminal directory.
    if (!TakeTerminalHandle()) return;
    CreateForm(nullptr);
  }
  ShowForm();
}

PLUGIN_EXPORT void GetOptionalTarnPluginInfo(CString& menuTitle, CStringArray& first, CStringArray& hotKeys,
                                             CStringArray& captions, CArray<int, int>& values) {
  menuTitle = "RMS Allowed Groups";
  first.RemoveAll();
  hotKeys.Add(kHotKey);
  captions.Add("RMS Allowed Groups");
  values.Add(0);
}
