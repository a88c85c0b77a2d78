#include "allowed_groups/core/group_reply.h"

#include <absl/container/flat_hash_map.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "allowed_groups/core/request_tags.h"
#include "allowed_groups/core/segment_rules.h"
#include "dateutil/dateutil.h"

namespace {

// An optional "-" and 1 to `digits` decimal digits, nothing else.
bool WholeNumber(std::string_view text, int digits) {
  const std::string_view number = text.starts_with('-') ? text.substr(1) : text;
  return !number.empty() && number.size() <= static_cast<size_t>(digits) &&
         number.find_first_not_of("0123456789") == std::string_view::npos;
}

// The value of a text WholeNumber accepted (15 digits at most: no overflow).
long long WholeValue(std::string_view text) {
  long long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// "ALL", interned once.
const CGroupText& All() {
  static const CGroupText kAll("ALL");
  return kAll;
}

// The date of an expiry in seconds (at IST), interned; nothing when the
// seconds name no date. A list names the same few hundred expiries again
// and again: each is converted and found in the pool once, then looked up
// by its number. Kept per thread (replies may be decoded on any), and
// forgotten past 65,536 of them so that no stream of replies grows it
// without end.
std::optional<CGroupText> ExpiryDate(long seconds) {
  constexpr size_t kMostKept = 65536;
  thread_local absl::flat_hash_map<long, std::optional<CGroupText>> dates;
  if (const auto found = dates.find(seconds); found != dates.end()) return found->second;
  if (dates.size() >= kMostKept) dates.clear();
  CString date;
  std::optional<CGroupText> text;
  if (Convert_longDate_to_IstDateString(seconds, date) != 0) text = CGroupText(date);
  dates.emplace(seconds, text);
  return text;
}

// A field the server leaves empty restricts nothing, just as a missing one:
// both read as "ALL", which a later delete of the row leaves out again.
CGroupText TextOrAll(const std::optional<std::string_view>& text) {
  return text && !text->empty() ? CGroupText(*text) : All();
}

}  // namespace

std::optional<std::string_view> FirstText(mnm_hndl reply, int32_t fieldTag) {
  int error = 0;
  int32_t count = 0;
  // A tag the message holds has a value at least: its last one deleted, it is gone.
  if (!mnm_get_field_count(reply, fieldTag, &count, &error)) return std::nullopt;
  mml_data value{};
  // An empty field reads as absent from the middleware: an empty text.
  if (!mnm_get_field(reply, fieldTag, 0, &value, &error)) return std::string_view();
  return std::string_view(value.data, ::strnlen(value.data, static_cast<size_t>(value.len)));
}

int ReplyStatusOf(mnm_hndl reply) {
  const std::optional<std::string_view> text = FirstText(reply, tag::kReplyStatus);
  return text ? std::atoi(std::string(*text).c_str()) : kStatusSuccess;
}

ListedGroup DecodeAllowedGroup(mnm_hndl reply) {
  const auto first = [reply](int32_t fieldTag) {
    return fieldTag != 0 ? FirstText(reply, fieldTag) : std::nullopt;
  };
  const std::optional<std::string_view> code = first(tag::kExchangeCode);
  const SegmentRules& rules = RulesForCode(code.value_or(std::string_view()));
  return {.category = first(tag::kCategory),
          .exchangeCode = code,
          .instrument = first(rules.instrumentTag),
          .symbol = first(rules.symbolTag),
          .optionType = first(rules.optionTypeTag),
          .strike = first(tag::kStrike),
          .expiry = first(tag::kExpiry),
          .product = first(tag::kProduct),
          .side = first(tag::kSide)};
}

AllowedGroupRecord ListedRecord(const ListedGroup& group, const InstrumentLookup& lookup) {
  const std::string_view code = group.exchangeCode.value_or(std::string_view());
  const SegmentRules& rules = RulesForCode(code);
  // Asked before the pool's lock is taken: the terminal answers.
  std::optional<CString> looked;
  if (rules.instrumentFromSymbol && group.symbol && lookup) looked = lookup(CString(*group.symbol));

  // The reply's texts are interned under one taking of the pool's lock,
  // each hashed once ("ALL" is made before: its first making takes the lock).
  All();
  const CGroupText::Batch interning;
  AllowedGroupRecord record;
  record.strCategory = group.category ? CGroupText(*group.category) : CGroupText();
  record.strExchangeCode = code;

  if (rules.instrumentFromSymbol) {
    record.strInstrument = looked ? CGroupText(*looked) : All();
  } else {
    record.strInstrument = TextOrAll(group.instrument);
  }
  record.strSymbol = TextOrAll(group.symbol);
  record.strOptionType = TextOrAll(group.optionType);

  if (group.strike) {
    // Server units are whole numbers; up to 15 digits a double holds exactly.
    // Anything else is shown, and sent back by a delete, as the server wrote
    // it: read as a number, "125.5" would show a strike the server does not
    // hold and a text would read as 0, and the delete would name neither.
    if (WholeNumber(*group.strike, 15)) {
      // Exact in a double; "-0" stays -0 ("-0.00"), as the server wrote it.
      const long long units = WholeValue(*group.strike);
      record.dStrike = units == 0 && group.strike->starts_with('-') ? -0.0 : static_cast<double>(units);
    } else {
      record.strStrikeAsSent = *group.strike;
    }
  }

  // An empty expiry restricts nothing, as an empty text field does.
  record.strExpiry = All();
  if (group.expiry && !group.expiry->empty()) {
    // Anything beyond 32 bits is no date: such a text is not converted. A
    // value that gives no date (0, a negative one, a text) is shown and sent
    // back as the server wrote it rather than as an empty cell, which would
    // read as no expiry at all and could delete nothing.
    bool converted = false;
    if (WholeNumber(*group.expiry, 10)) {
      const long long sent = WholeValue(*group.expiry);
      if (sent >= std::numeric_limits<int32_t>::min() && sent <= std::numeric_limits<int32_t>::max()) {
        const std::optional<CGroupText> date = ExpiryDate(static_cast<long>(sent + rules.listedExpiryShift));
        converted = date.has_value();
        if (converted) record.strExpiry = *date;
      }
    }
    if (!converted) record.strExpiry = CGroupText::KeptAsSent(*group.expiry);
  }
  record.strProduct = TextOrAll(group.product);
  record.strSide = TextOrAll(group.side);
  return record;
}
