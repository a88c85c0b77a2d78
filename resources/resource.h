// Resource and control ids of the module.
#pragma once

// Dialog templates and icons.
constexpr unsigned IDD_ALWGRP = 20000;
constexpr unsigned IDD_VIEW_ALGGRP = 20001;
constexpr unsigned IDI_PLUGIN = 128;
constexpr unsigned IDD_USER_COLUMNS = 1008;
constexpr unsigned IDD_FILTER_TEXT = 1010;

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

// "Font Dialog" (template 302).
constexpr unsigned IDD_FONT_SETTING = 302;
constexpr int IDC_FONT_FACE = 33076;
constexpr int IDC_FONT_SIZE = 33077;

// "Customized Appearance" (template 1007).
constexpr unsigned IDD_CUSTOMIZED_APPEARANCE = 1007;
constexpr int IDC_APPEARANCE_PROPERTY = 1694;
constexpr int IDC_APPEARANCE_FONT = 1695;
constexpr int IDC_APPEARANCE_APPLY = 1696;
constexpr int IDC_APPEARANCE_COLOR = 1026;
constexpr int IDC_KEYWORD_COLUMN = 3205;
constexpr int IDC_KEYWORD_CHANGE_COLUMN = 3206;
constexpr int IDC_KEYWORD_EDIT = 3207;
constexpr int IDC_KEYWORD_LIST = 3208;
constexpr int IDC_APPEARANCE_FONT_LABEL = 3213;
constexpr int IDC_APPEARANCE_FRAME = 3214;
constexpr int IDC_KEYWORD_GROUP = 3215;
constexpr int IDC_KEYWORD_ADD = 3216;
// Custom columns of a list (dialog 1008).
constexpr int IDC_UC_COLUMNS = 1009;
constexpr int IDC_UC_FORMULA = 1010;
constexpr int IDC_UC_COMPUTED = 1011;
constexpr int IDC_UC_PLUS = 1012;
constexpr int IDC_UC_MINUS = 1013;
constexpr int IDC_UC_TIMES = 1014;
constexpr int IDC_UC_DIVIDE = 1015;
constexpr int IDC_UC_OPEN = 1016;
constexpr int IDC_UC_CLOSE = 1017;
constexpr int IDC_UC_COLUMN = 1018;
constexpr int IDC_UC_CLEAR = 1019;
constexpr int IDC_UC_NAME = 1022;
constexpr int IDC_UC_SQUARE = 10013;
constexpr int IDC_UC_POWER = 10014;

// A list's filter text pop-up (dialog 1010).
constexpr int IDC_FT_TEXTS = 1032;
