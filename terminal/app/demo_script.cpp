#include "terminal/app/demo_script.h"

namespace terminal {

const char* DemoScript() {
  return R"(# Open the window from the terminal's hot key; the server's categories arrive.
hotkey Alt+A
expect-log "ks_get_category sent successfully"
dump "Allowed Groups"

# Allow HNI clients NIFTY 26000 calls of the December expiry on NFO.
select "Allowed Groups" 20000 "HNI"
select "Allowed Groups" 20001 "NFO"
select "Allowed Groups" 20002 "OPTIDX"
select "Allowed Groups" 20003 "NIFTY"
select "Allowed Groups" 20004 "CE"
select "Allowed Groups" 9012 "26000"
check "Allowed Groups" "All Expiry" off
select "Allowed Groups" 20006 "29Dec2026"
click "Allowed Groups" "Add Group"
expect-log "ks_add_allowed_group request sent successfully"

# Allow every category to buy BSE group A shares.
select "Allowed Groups" 20001 "BSE"
select "Allowed Groups" 20004 "A"
check "Allowed Groups" "Apply for all categories" on
click "Allowed Groups" "Buy"
click "Allowed Groups" "Add Group"
expect-log "ks_add_allowed_group request sent successfully"
check "Allowed Groups" "Apply for all categories" off

# Everything the server now holds, newest first.
click "Allowed Groups" "View Group"
expect-log "ks_get_all_allowed_groups request sent successfully"
rows "View Allowed Group" 20016

# Withdraw the BSE group again for HNI.
click "Allowed Groups" "Delete Group"
expect-log "ks_delete_group request sent successfully"

click "Allowed Groups" "View Group"
rows "View Allowed Group" 20016

# Delete HNI's NIFTY calls from the list itself: the row goes at once.
select "View Allowed Group" 20016 "HNI"
click "View Allowed Group" "Delete Group"
click "Allowed Groups" "View Group"
rows "View Allowed Group" 20016
)";
}

}  // namespace terminal
