// The functions the terminal exports to its plug-ins, found by name in the
// main program. They reach the terminal through Host::Current(); without a
// host they do nothing, as a terminal that is shutting down would.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "plugin/host_interface.h"
#include "terminal/host/host.h"
#include "terminal/readout/window_readers.h"

#define TERMINAL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using terminal::Host;

constexpr const char* kAny = "--ANY--";

CWnd* Combo(CWnd* form, int id) { return form != nullptr ? form->GetDlgItem(id) : nullptr; }

void Fill(CWnd* combo, const std::vector<std::string>& items) {
  if (combo == nullptr) return;
  combo->SendMessage(CB_RESETCONTENT);
  for (const auto& item : items) combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

// The selected text of a combo; "--ANY--" and no selection mean no choice.
std::string Choice(CWnd* combo) {
  if (combo == nullptr) return {};
  const auto index = combo->SendMessage(CB_GETCURSEL);
  if (index < 0) return {};
  const std::string text =
      terminal::ItemText(combo->GetSafeHwnd(), CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(index));
  return text == kAny ? std::string() : text;
}

}  // namespace

TERMINAL_EXPORT int pu_get_peer_data(CString& first, CString& second, CString& userId) {
  // The peer data of a user is the terminal's business; the plug-in only
  // checks that the terminal offers it.
  first.Empty();
  second.Empty();
  (void)userId;
  return 1;
}

TERMINAL_EXPORT CVelaHostChannel* GetVelaRxControl(int, CVelaRxNotifierBase* receiver) {
  Host* host = Host::Current();
  if (host == nullptr) return nullptr;
  host->RegisterReceiver(receiver);
  return &host->Channel();
}

TERMINAL_EXPORT void pu_add_to_tabbed_log(CString text) {
  if (Host* host = Host::Current()) host->Log(text);
}

TERMINAL_EXPORT void pu_load_exchange_combo(CWnd* form, int comboId) {
  if (Host* host = Host::Current()) Fill(Combo(form, comboId), host->Scrips().Segments());
}

TERMINAL_EXPORT void pu_load_product_type_combo(CWnd* form, int comboId) {
  if (Host* host = Host::Current()) Fill(Combo(form, comboId), host->Scrips().ProductTypes());
}

TERMINAL_EXPORT void pu_fill_scrip_combos_with_bse_grp(CWnd* form, int exchangeId, int instrumentId, int symbolId,
                                                       int expiryId, int optionTypeId, int strikeId, int level) {
  Host* host = Host::Current();
  if (host == nullptr || form == nullptr) return;
  const terminal::ScripChoice choice{Choice(Combo(form, exchangeId)), Choice(Combo(form, instrumentId)),
                                     Choice(Combo(form, symbolId)), Choice(Combo(form, optionTypeId))};
  const auto fill = host->Scrips().Cascade(level, choice);
  auto apply = [&](const std::optional<std::vector<std::string>>& items, int id) {
    if (items) Fill(Combo(form, id), *items);
  };
  apply(fill.instrument, instrumentId);
  apply(fill.symbol, symbolId);
  apply(fill.optionType, optionTypeId);
  apply(fill.strike, strikeId);
  apply(fill.expiry, expiryId);
}

// The details block: instrument, symbol, BSE group, option type, strike,
// expiry, trading symbol, segment; the rest empty.
TERMINAL_EXPORT void pu_get_scrip_details_from_TradSymbol(CString exchange, CString tradingSymbol, CString* details) {
  Host* host = Host::Current();
  if (host == nullptr || details == nullptr) return;
  for (int i = 0; i < kScripDetailsCount; ++i) details[i].Empty();
  const terminal::Scrip* scrip = host->Scrips().FindTradingSymbol(tradingSymbol.GetString());
  if (scrip == nullptr || exchange != "bse_cm") return;
  const std::array<const std::string*, 8> fields{&scrip->instrument,    &scrip->symbol, &scrip->group,
                                                 &scrip->optionType,    &scrip->strike, &scrip->expiry,
                                                 &scrip->tradingSymbol, &scrip->segment};
  for (size_t i = 0; i < fields.size(); ++i) details[i] = fields[i]->c_str();
}
