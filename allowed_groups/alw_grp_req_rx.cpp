#include "allowed_groups/alw_grp_req_rx.h"

#include <algorithm>
#include <array>
#include <limits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "allowed_groups/alw_grp.h"
#include "allowed_groups/request_tags.h"
#include "dateutil/dateutil.h"
#include "plugin/terminal_link.h"
#include "resources/resource.h"

namespace {

constexpr int kStatusSuccess = 5;

// The first value of a tag as text, as "%.*s" copies it (up to a NUL byte);
// nothing when the tag is absent (an empty value reads as the empty text).
// The text points into the reply and lives as long as the reply does.
std::optional<std::string_view> FirstText(mnm_hndl reply, int32_t fieldTag) {
  int error = 0;
  int32_t count = 0;
  if (!mnm_get_field_count(reply, fieldTag, &count, &error) || count < 1) return std::nullopt;
  mml_data value{};
  if (!mnm_get_field(reply, fieldTag, 0, &value, &error) || value.data == nullptr) return std::string_view();
  return std::string_view(value.data, ::strnlen(value.data, static_cast<size_t>(value.len)));
}

// Numbers are read through fixed buffers, as wide as the server's longest
// values (31 digits of seconds, 63 characters of strike); longer values are
// cut to them, never written past them.
template <size_t Size>
std::array<char, Size> Terminated(std::string_view text) {
  std::array<char, Size> buffer{};
  std::memcpy(buffer.data(), text.data(), std::min<size_t>(text.size(), Size - 1));
  return buffer;
}

// An optional "-" and 1 to `digits` decimal digits, nothing else.
bool WholeNumber(std::string_view text, int digits) {
  const std::string_view number = text.starts_with('-') ? text.substr(1) : text;
  return !number.empty() && number.size() <= static_cast<size_t>(digits) &&
         number.find_first_not_of("0123456789") == std::string_view::npos;
}

// A field the server leaves empty restricts nothing, just as a missing one:
// both read as "ALL", which a later delete of the row leaves out again.
CGroupText TextOrAll(mnm_hndl reply, int32_t fieldTag) {
  static const CGroupText kAll("ALL");
  const std::optional<std::string_view> text = FirstText(reply, fieldTag);
  return text && !text->empty() ? CGroupText(*text) : kAll;
}

}  // namespace

void CAlwGrpReqRx::OnRxEvent(int32_t, int32_t, int32_t, int32_t, int32_t) {}

int CAlwGrpReqRx::ReplyStatus(mnm_hndl reply) {
  int error = 0;
  int32_t count = 0;
  if (!mnm_get_field_count(reply, tag::kReplyStatus, &count, &error) || count < 1) return kStatusSuccess;
  mml_data value{};
  if (!mnm_get_field(reply, tag::kReplyStatus, 0, &value, &error)) return 1;
  const int status = std::atoi(
      Terminated<32>(std::string_view(value.data, ::strnlen(value.data, static_cast<size_t>(value.len)))).data());
  if (status == 0) {
    AfxMessageBox("Fatal error.Please contact administrator.");
    return 1;
  }
  return status;
}

std::unique_ptr<AllowedGroupRecord> CAlwGrpReqRx::DecodeGroup(mnm_hndl reply) {
  auto record = std::make_unique<AllowedGroupRecord>();
  record->strCategory = FirstText(reply, tag::kCategory).value_or(std::string_view());
  record->strExchangeCode = FirstText(reply, tag::kExchangeCode).value_or(std::string_view());
  const CString& code = record->strExchangeCode;
  const bool bse = code == "bse_cm";

  if (bse) {
    const auto tradingSymbol = FirstText(reply, tag::kTradingSymbol);
    record->strInstrument = "ALL";
    if (tradingSymbol) {
      std::array<CString, kScripDetailsCount> details;
      auto lookup =
          plugin::TerminalExport<PFN_pu_get_scrip_details_from_TradSymbol>("pu_get_scrip_details_from_TradSymbol");
      if (lookup != nullptr) {
        lookup("bse_cm", CString(*tradingSymbol), details.data());
        record->strInstrument = details[0];
      }
    }
  } else {
    record->strInstrument = TextOrAll(reply, code == "nse_cm" ? tag::kInstrumentCash : tag::kInstrument);
  }
  record->strSymbol = TextOrAll(reply, bse ? tag::kTradingSymbol : tag::kSymbol);
  record->strOptionType = TextOrAll(reply, bse ? tag::kInstrumentCash : tag::kOptionType);

  if (const auto strike = FirstText(reply, tag::kStrike)) {
    // Server units are whole numbers; up to 15 digits a double holds exactly.
    if (WholeNumber(*strike, 15)) {
      record->dStrike = std::strtod(Terminated<64>(*strike).data(), nullptr);
    } else {
      record->strStrikeAsSent = *strike;
    }
  }

  record->strExpiry = "ALL";
  if (const auto expiry = FirstText(reply, tag::kExpiry)) {
    // Anything beyond 32 bits is no date: such a text is not converted.
    bool converted = false;
    if (WholeNumber(*expiry, 10)) {
      const long long sent = std::strtoll(Terminated<32>(*expiry).data(), nullptr, 10);
      if (sent >= std::numeric_limits<int32_t>::min() && sent <= std::numeric_limits<int32_t>::max()) {
        long seconds = static_cast<long>(sent);
        // The server counts derivative expiries from 1980 (IST); others carry the zone offset.
        if (code == "nse_fo" || code == "cde_fo" || code == "ncx_fo") seconds += 315460800;
        else seconds -= 19800;
        CString date;
        converted = Convert_longDate_to_IstDateString(seconds, date) != 0;
        if (converted) record->strExpiry = date;
      }
    }
    if (!converted) {
      record->strExpiry = *expiry;
      record->strExpiryAsSent = *expiry;
    }
  }
  record->strProduct = TextOrAll(reply, tag::kProduct);
  record->strSide = TextOrAll(reply, tag::kSide);
  return record;
}

void CAlwGrpReqRx::OnRxMessage(int32_t, mnm_hndl reply, int32_t, int32_t) {
  const std::optional<std::string_view> name = FirstText(reply, tag::kReplyName);
  if (!name) return;
  CAlwGrp& form = AllowedGroupsForm();
  if (*name == "ks_get_category") {
    if (ReplyStatus(reply) == kStatusSuccess) form.LoadCategories(reply);
    else form.SendPeerDataRequest();
  } else if (*name == "ks_get_all_allowed_groups") {
    if (ReplyStatus(reply) != kStatusSuccess) return;
    CViewAlgGrpDlg& view = form.ViewDialog();
    if (view.GetSafeHwnd() == nullptr) view.Create(IDD_VIEW_ALGGRP, nullptr);
    view.AddOrMerge(DecodeGroup(reply));
  }
}
