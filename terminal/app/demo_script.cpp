#include "terminal/app/demo_script.h"

namespace terminal {

// Controls are named as a person sees them: by their text or by the label
// beside them; the view's list has neither, so its resource name stands in.
// Every line is echoed, and the terminal prints the plug-in's log (LOG:) and
// message boxes (BOX:) as they come, so the run reads as a story.
const char* DemoScript() {
  return R"(# The risk administrator opens the Allowed Groups window from the terminal's
# hot key; the form asks the server for the user categories and lists them.
hotkey Alt+A
wait 100
expect-log "ks_get_category sent successfully"
rows "Allowed Groups" "Category"
dump "Allowed Groups"

# HNI clients may trade NIFTY 26000 calls of the December expiry on NFO.
select "Allowed Groups" "Category" "HNI"
select "Allowed Groups" "Exhg-Seg" "NFO"
select "Allowed Groups" "Instr Name" "OPTIDX"
select "Allowed Groups" "Symbol" "NIFTY"
select "Allowed Groups" "Type" "CE"
select "Allowed Groups" "Strike Price" "26000"
check "Allowed Groups" "All Expiry" off
select "Allowed Groups" "Expiry" "29Dec2026"
click "Allowed Groups" "Add Group"
expect-log "ks_add_allowed_group request sent successfully"

# And BANKNIFTY 58000 puts of any expiry.
check "Allowed Groups" IDC_ALL_EXPIRY on
select "Allowed Groups" "Symbol" "BANKNIFTY"
select "Allowed Groups" "Type" "PE"
select "Allowed Groups" "Strike Price" "58000"
click "Allowed Groups" "Add Group"

# Every category may buy BSE group A shares: one request per category.
select "Allowed Groups" "Exhg-Seg" "BSE"
select "Allowed Groups" "Type" "A"
check "Allowed Groups" "Apply for all categories" on
click "Allowed Groups" "Buy"
click "Allowed Groups" "Add Group"
expect-log "ks_add_allowed_group request sent successfully"
check "Allowed Groups" "Apply for all categories" off

# View Group lists everything the server now holds, one row a group, and
# the list agrees with the server row for row.
click "Allowed Groups" "View Group"
expect-log "ks_get_all_allowed_groups request sent successfully"
rows "View Allowed Group" IDC_GROUP_LIST
expect-server-rows "View Allowed Group" IDC_GROUP_LIST

# The filter row narrows the list to HNI; a click on "Strike Price" sorts
# it by strike, ascending, and a second click descending.
filter "View Allowed Group" IDC_GROUP_LIST "Category" "HNI"
sort "View Allowed Group" IDC_GROUP_LIST "Strike Price"
rows "View Allowed Group" IDC_GROUP_LIST
sort "View Allowed Group" IDC_GROUP_LIST "Strike Price"
rows "View Allowed Group" IDC_GROUP_LIST

# HNI's BANKNIFTY puts, now on top, go from the list itself: the row goes at
# once and the delete request follows.
select "View Allowed Group" IDC_GROUP_LIST "#0"
click "View Allowed Group" "Delete Group"
rows "View Allowed Group" IDC_GROUP_LIST

# Deleting with nothing selected only explains itself.
filter "View Allowed Group" IDC_GROUP_LIST "Category" "nobody"
click "View Allowed Group" "Delete Group"
expect-box "Please select a group to delete"
filter "View Allowed Group" IDC_GROUP_LIST "Category" ""

# What the server holds at the end, as it stores it (strikes times 100,
# expiries in its seconds, empty fields unrestricted), and the list
# refilled from it agrees.
click "Allowed Groups" "View Group"
server-rows
expect-server-rows "View Allowed Group" IDC_GROUP_LIST
)";
}

}  // namespace terminal
