// What the "View Allowed Group" list shows for a group the server stand-in
// stores, worked out on the terminal's side so that a script can hold the
// list against the store without asking the plug-in how it formats.
//
// Stored fields (ServerStandIn::Groups, TAB-joined): category, segment,
// instrument, symbol, option type, strike, expiry, product, side. An empty
// field is one the group does not restrict. The list shows:
//  - a field not restricted as "ALL" (category and segment always have one);
//  - the strike in server units divided by 100 ("cde_fo": by 10000000),
//    with two decimals, "0.00" when none was given; a strike that is no
//    whole number of at most 15 digits as stored;
//  - the expiry, in seconds (derivative segments nse_fo, cde_fo and ncx_fo
//    count 315460800 seconds later, from 1980; the others from 1970 with the
//    zone offset added), as the IST calendar date "dd/mm/yyyy"; an expiry
//    that is no whole number of at most 10 digits, or whose moment is not
//    after 1970 within 32 bits, as stored;
//  - for "bse_cm" the instrument the scrip master gives for the stored
//    trading symbol (the symbol field), "ALL" when the group names none.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace terminal {

// The list's captions, in the list's column order.
inline constexpr std::array<std::string_view, 9> kListedGroupCaptions{
    "Category",     "Exhg-Seg",    "Instr Name",   "Symbol",           "Option Type",
    "Strike Price", "Expiry Date", "Product Type", "Transaction Type",
};

using ListedGroupCells = std::array<std::string, 9>;
// The instrument of a BSE trading symbol, as the terminal's scrip master has it.
using BseInstrumentOf = std::function<std::string(const std::string& tradingSymbol)>;

// The cells of one stored group; nothing when the text does not hold nine
// TAB-separated fields.
std::optional<ListedGroupCells> ListedGroup(std::string_view stored, const BseInstrumentOf& instrumentOf);

}  // namespace terminal
