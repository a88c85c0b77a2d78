#!/bin/sh
# Takes every picture of the administrator's guide (docs/guide.md) again:
# runs the terminal headless on scripts that walk through each task and
# picture each window at that step into docs/guide/ (or OUT).
#
#   scripts/guide_pictures.sh [--tarnterm PATH] [OUT]
#
# Without --tarnterm it first builds the terminal and the plug-in. Every run
# starts from an empty terminal folder and an empty store, so the pictures
# are the same on every machine; tests/guide/guide_test.py compares them
# with the ones kept in docs/guide/.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
tarnterm=""
if [ "${1:-}" = "--tarnterm" ]; then
  tarnterm=$2
  shift 2
fi
out=${1:-docs/guide}
if [ -z "$tarnterm" ]; then
  ./scripts/setup.sh
  cmake --preset default >/dev/null
  cmake --build --preset default --target tarnterm AllowedGroups
  tarnterm=$root/build/default/bin/tarnterm
fi
# The log's times: one fixed second (SOURCE_DATE_EPOCH), in UTC.
export SOURCE_DATE_EPOCH=1798794000 TZ=UTC
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# run NAME: the script on standard input, in a terminal folder of its own.
run() {
  mkdir -p "$work/$1"
  cat >"$work/$1.script"
  if ! "$tarnterm" --db :memory: --user admin --home "$work/$1" --script "$work/$1.script" \
    >"$work/$1.out" 2>&1; then
    cat "$work/$1.out" >&2
    echo "guide_pictures.sh: the script \"$1\" failed" >&2
    exit 1
  fi
}

F='"Allowed Groups"'
V='"View Allowed Group"'
A='"Customize Appearance :rmsallowedgroups"'
ADD='"rmsallowedgroups: Add Custom Columns"'
DEL='"rmsallowedgroups: Delete Custom Columns"'

# Groups for the list: a few for HNI, then some for every category; the list
# sized to show whole columns and rows beside its scroll bars.
groups() {
  cat <<EOF
select $F Category "HNI"
select $F Exhg-Seg "NFO"
select $F "Instr Name" "OPTIDX"
select $F Symbol "NIFTY"
select $F Type "CE"
select $F "Strike Price" "25800"
click $F "Buy"
click $F "Add Group"
select $F "Strike Price" "26000"
click $F "Sell"
click $F "Add Group"
select $F Symbol "BANKNIFTY"
select $F Type "PE"
select $F "Strike Price" "58000"
click $F "Both"
click $F "Add Group"
check $F "Apply for all categories" on
select $F Exhg-Seg "MCX"
click $F "Buy"
click $F "Add Group"
select $F Exhg-Seg "NSE"
click $F "Add Group"
select $F Exhg-Seg "CDS"
click $F "Both"
click $F "Add Group"
check $F "Apply for all categories" off
click $F "View Group"
resize $V 597 367
EOF
}

# The form: empty, one category, every category; the box of a missing category.
run form <<EOF
hotkey Alt+A
snapshot $F $out/form.png
click $F "Add Group"
expect-box "Please Select a valid Category"
snapshot-box $out/box-select-category.png
select $F Category "HNI"
select $F Exhg-Seg "NFO"
select $F "Instr Name" "OPTIDX"
select $F Symbol "NIFTY"
select $F Type "CE"
select $F "Strike Price" "25800"
check $F IDC_ALL_EXPIRY off
select $F IDC_EXPIRY "26Jan2027"
click $F "Buy"
snapshot $F $out/form-one-category.png
click $F "Add Group"
expect-log "ks_add_allowed_group request sent successfully"
check $F IDC_ALL_EXPIRY on
click $F "Both"
select $F Exhg-Seg "MCX"
check $F "Apply for all categories" on
snapshot $F $out/form-all-categories.png
click $F "Add Group"
EOF

# The quick start, and the terminal's main window: its menu bar and its log.
run terminal <<EOF
hotkey Alt+A
select $F Category "HNI"
select $F Exhg-Seg "NFO"
click $F "Add Group"
expect-log "ks_add_allowed_group request sent successfully"
click $F "View Group"
expect-column $V IDC_GROUP_LIST "Category" "HNI"
resize TarnTrader 640 260
snapshot TarnTrader $out/terminal.png
EOF

# The list: scroll bars, menus, the filter pop-up, filtered and sorted,
# deletion without a selection, export.
{
  echo "hotkey Alt+A"
  groups
  cat <<EOF
click $V "Delete Group"
expect-box "Please select a group to delete"
snapshot-box $out/box-select-group.png
snapshot $V $out/view.png
key $V IDC_GROUP_LIST Apps
snapshot-menu $out/list-menu.png
right-click $V IDC_GROUP_LIST "Symbol"
snapshot-menu $out/header-menu.png
filter-button $V IDC_GROUP_LIST "Category"
select "" 1032 HNI
select "" 1032 RETAIL
snapshot "" $out/filter-popup.png
key "" 1032 Enter
sort $V IDC_GROUP_LIST "Strike Price"
sort $V IDC_GROUP_LIST "Strike Price"
select $V IDC_GROUP_LIST "#1"
select-more $V IDC_GROUP_LIST "#2"
resize $V 580 367
snapshot $V $out/view-filtered.png
filter $V IDC_GROUP_LIST "Category" "NOBODY"
key $V IDC_GROUP_LIST Shift+E
expect-box "No Items in the List"
snapshot-box $out/box-no-items.png
filter $V IDC_GROUP_LIST "Category" ""
key $V IDC_GROUP_LIST Shift+E
expect-box "File is generated"
snapshot-box $out/box-file-generated.png
EOF
} | run list

# The column profile dialog: as opened, arranged by dragging, and the list after Save.
{
  echo "hotkey Alt+A"
  groups
  cat <<EOF
command $V IDC_GROUP_LIST 4004
snapshot " Column Profile" $out/column-profile.png
drag " Column Profile" 10008 Symbol Category
drag " Column Profile" 10008 "Product Type" "Transaction Type" " Column Profile" 10007 "#0"
snapshot " Column Profile" $out/column-profile-arranged.png
click " Column Profile" "&Default"
snapshot " Column Profile" $out/column-profile-default.png
click " Column Profile" "&Save"
snapshot $V $out/view-arranged.png
EOF
} | run columns

# Computed columns: the dialog's refusals, a column added, a division by a
# zero strike, the delete mode.
{
  echo "hotkey Alt+A"
  groups
  cat <<EOF
command $V IDC_GROUP_LIST 4004
drag " Column Profile" 10008 "Instr Name" "Option Type" "Expiry Date" "Product Type" "Transaction Type" " Column Profile" 10007 "#0"
click " Column Profile" "&View"
filter $V IDC_GROUP_LIST "Category" "HNI"
command $V IDC_GROUP_LIST 33079
click $ADD Add
expect-box "Please Enter the column Name"
snapshot-box $out/box-column-name.png
type $ADD IDC_UC_NAME "Lot Value"
click $ADD "*"
expect-box "Please select a Column Name"
snapshot-box $out/box-select-column.png
select $ADD IDC_UC_COLUMNS "Strike Price"
click $ADD "*"
key $ADD IDC_UC_FORMULA End
type $ADD IDC_UC_FORMULA "50"
snapshot $ADD $out/user-columns-add.png
click $ADD Add
command $V IDC_GROUP_LIST 33079
type $ADD IDC_UC_NAME "Bad"
type $ADD IDC_UC_FORMULA "\"Strike Price\" * * 2"
click $ADD Add
expect-box "Invalid Expression, Please check the expression again"
snapshot-box $out/box-invalid-expression.png
click $ADD Cancel
command $V IDC_GROUP_LIST 33079
type $ADD IDC_UC_NAME "Per Strike"
select $ADD IDC_UC_COLUMNS "Strike Price"
click $ADD "/"
select $ADD IDC_UC_COLUMNS "Strike Price"
click $ADD Column
click $ADD Add
snapshot $V $out/view-computed.png
command $V IDC_GROUP_LIST 33080
select $DEL IDC_UC_COMPUTED "Per Strike"
snapshot $DEL $out/user-columns-delete.png
click $DEL Delete
EOF
} | run computed

# Appearance: the short dialog, the keyword section, the font dialog, the
# colour chooser, the list after Apply Settings with grid lines.
{
  echo "hotkey Alt+A"
  groups
  cat <<EOF
key $V IDC_GROUP_LIST Shift+G
key $V IDC_GROUP_LIST Ctrl+Shift+C
snapshot $A $out/appearance.png
select $A IDC_APPEARANCE_PROPERTY "Text"
click $A "..."
select $A IDC_KEYWORD_COLUMN "Transaction Type"
click $A IDC_KEYWORD_ADD
expect-box "Enter text to add a new keyword to list"
snapshot-box $out/box-keyword.png
answer-color 00FF00
click $A IDC_APPEARANCE_COLOR
type $A IDC_KEYWORD_EDIT "B"
click $A IDC_KEYWORD_ADD
answer-color FF4040
click $A IDC_APPEARANCE_COLOR
type $A IDC_KEYWORD_EDIT "S"
click $A IDC_KEYWORD_ADD
answer-color FFFF00
click $A IDC_APPEARANCE_COLOR
snapshot $A $out/appearance-keywords.png
snapshot-chooser $out/color-chooser.png
click $A IDC_APPEARANCE_COLOR
snapshot-chooser $out/font-dialog.png
click $A IDC_APPEARANCE_FONT
answer-font "DejaVu Sans" 10
click $A IDC_APPEARANCE_FONT
select $A IDC_APPEARANCE_PROPERTY "Background"
answer-color 000080
click $A IDC_APPEARANCE_COLOR
click $A IDC_APPEARANCE_APPLY
filter $V IDC_GROUP_LIST "Category" "HNI"
resize $V 580 367
snapshot $V $out/view-customized.png
EOF
} | run appearance

echo "guide_pictures.sh: pictures in $out"
