// Resource and control ids of the module.
#pragma once

// Dialog templates and icons.
constexpr unsigned IDD_ALWGRP = 20000;
constexpr unsigned IDD_VIEW_ALGGRP = 20001;
constexpr unsigned IDI_PLUGIN = 128;

// "Allowed Groups" form.
constexpr int IDC_CATEGORY = 20000;
constexpr int IDC_EXCHANGE = 20001;
constexpr int IDC_INSTRUMENT = 20002;
constexpr int IDC_SYMBOL = 20003;
constexpr int IDC_OPTION_TYPE = 20004;
constexpr int IDC_EXPIRY = 20006;
constexpr int IDC_STRIKE = 9012;
constexpr int IDC_PRODUCT = 9013;
constexpr int IDC_LABEL_EXCHANGE = 20007;
constexpr int IDC_LABEL_INSTRUMENT = 20008;
constexpr int IDC_LABEL_SYMBOL = 20009;
constexpr int IDC_LABEL_TYPE = 20010;
constexpr int IDC_LABEL_STRIKE = 20011;
constexpr int IDC_ADD_GROUP = 20014;
constexpr int IDC_DELETE_GROUP = 20015;
constexpr int IDC_VIEW_GROUP = 20019;
constexpr int IDC_BOTH = 20024;
constexpr int IDC_BUY = 20025;
constexpr int IDC_SELL = 20026;
constexpr int IDC_FRAME_SIDE = 20028;
constexpr int IDC_FRAME_SCRIPS = 20029;
constexpr int IDC_ALL_CATEGORIES = 20030;
constexpr int IDC_ALL_EXPIRY = 1029;

// "View Allowed Group" dialog.
constexpr int IDC_GROUP_LIST = 20016;
constexpr int IDC_DELETE_LISTED = 20018;

// " Column Profile" dialog of the lists (their header menu's "Reposition Columns").
constexpr unsigned IDD_COLUMN_PROFILE = 9002;
constexpr int IDC_PROFILE_VIEW = 10001;
constexpr int IDC_PROFILE_LISTBOX_A = 10002;
constexpr int IDC_PROFILE_SHOW = 10003;
constexpr int IDC_PROFILE_HIDE = 10004;
constexpr int IDC_PROFILE_SAVE = 10005;
constexpr int IDC_PROFILE_DEFAULT = 10006;
constexpr int IDC_PROFILE_AVAILABLE = 10007;
constexpr int IDC_PROFILE_SHOWN = 10008;
constexpr int IDC_PROFILE_SORT_LABEL = 10009;
constexpr int IDC_PROFILE_SORT = 10010;
constexpr int IDC_PROFILE_LISTBOX_B = 10011;
constexpr int IDC_PROFILE_SORT_FIELD = 10012;
