#include "terminal/app/demo_script.h"

namespace terminal {

// Controls are named as a person sees them: by their text or by the label
// beside them; the view's list has neither, so its resource name stands in.
const char* DemoScript() {
  return R"(# The risk administrator opens the Allowed Groups window from the terminal's
# hot key; the form asks the server for the user categories.
hotkey Alt+A
expect-log "ks_get_category sent successfully"
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

# Every category may buy BSE group A shares: one request per category.
select "Allowed Groups" "Exhg-Seg" "BSE"
select "Allowed Groups" "Type" "A"
check "Allowed Groups" "Apply for all categories" on
click "Allowed Groups" "Buy"
click "Allowed Groups" "Add Group"
expect-log "ks_add_allowed_group request sent successfully"
check "Allowed Groups" "Apply for all categories" off

# View Group lists everything the server now holds, one row a group.
click "Allowed Groups" "View Group"
expect-log "ks_get_all_allowed_groups request sent successfully"
rows "View Allowed Group" IDC_GROUP_LIST

# The BSE group is withdrawn again for HNI alone.
click "Allowed Groups" "Delete Group"
expect-log "ks_delete_group request sent successfully"
click "Allowed Groups" "View Group"
rows "View Allowed Group" IDC_GROUP_LIST

# HNI's NIFTY calls go from the list itself: the row goes at once, and the
# server's list agrees.
select "View Allowed Group" IDC_GROUP_LIST "HNI"
click "View Allowed Group" "Delete Group"
click "Allowed Groups" "View Group"
rows "View Allowed Group" IDC_GROUP_LIST
)";
}

}  // namespace terminal
