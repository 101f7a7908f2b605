// Resource ids of VireoStudio: dialog templates, controls, menus, commands and images.
#pragma once

// Templates, menus and images.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_VIREOSTUDIO_FORM = 101;
inline constexpr int IDD_LOG_SEQ = 102;
inline constexpr int IDB_SPLASH = 102;
inline constexpr int IDR_MAINFRAME = 128; // menu and icon of the main window
inline constexpr int IDD_COMM_SETUP = 153;
inline constexpr int IDD_LOG = 517;
inline constexpr int IDD_LOG_COMM = 518;
inline constexpr int IDB_PARTIAL = 151; // partial-scan picture of the RVQM52 pages

// Setting pages, by model.
inline constexpr int IDD_CMD40_USRGAIN = 107;
inline constexpr int IDD_CMD40_MEM = 152;
inline constexpr int IDD_CMD40_INFO = 154;
inline constexpr int IDD_CMD40_SELFCHK = 155;
inline constexpr int IDD_CMD40_REGISTER = 502;
inline constexpr int IDD_CMD40_SHATTER = 506;
inline constexpr int IDD_CMD50_SHATTER = 507;
inline constexpr int IDD_CMD50_USRGAIN = 508;
inline constexpr int IDD_CMD50_INFO = 511;
inline constexpr int IDD_CMD50_MEM = 512;
inline constexpr int IDD_CMD50_REGISTER = 513;
inline constexpr int IDD_CMD50_SELFCHK = 514;
inline constexpr int IDD_CMD52B_INFO = 520;
inline constexpr int IDD_CMD52B_REGISTER = 521;
inline constexpr int IDD_CMD52B_MEM = 522;
inline constexpr int IDD_CMD52B_SELFCHK = 523;
inline constexpr int IDD_CMD52B_USRGAIN = 524;
inline constexpr int IDD_CMD52B_SHATTER = 525;
inline constexpr int IDD_CMD52B_PARTIAL = 527;
inline constexpr int IDD_CMD52C_COLOR = 529;
inline constexpr int IDD_CMD52C_USRGAIN = 533;
inline constexpr int IDD_CMD52C_PARTIAL = 534;

// Communication setup dialog.
inline constexpr int IDC_RADIO_COMPORT = 1016;
inline constexpr int IDC_EDIT_CAS_VENDOR = 1018;
inline constexpr int IDC_EDIT_CAS_PORTID = 1019;
inline constexpr int IDC_RADIO_CAS = 1020;
inline constexpr int IDC_COMBO_COMPORT = 1321;
inline constexpr int IDC_COMBO_SPEED = 1322;
inline constexpr int IDC_EDIT_TIMEOUT = 1323;
inline constexpr int IDC_COMBO_CAS_PORT = 1324;
inline constexpr int IDC_TEXT_CAS_PROBLEM = 1325;
inline constexpr int IDC_COMBO_CAMERA = 1326;
inline constexpr int IDC_TEXT_INVENTORY_PROBLEM = 1327;

// Main form.
inline constexpr int IDC_TAB_RV1240 = 1000;
inline constexpr int IDC_TAB_RV1250 = 1001;
inline constexpr int IDC_BUTTON_UPDATE = 1002;
inline constexpr int IDC_TAB_RVQM52B = 1005;
inline constexpr int IDC_COMBO_MODEL = 1223;
inline constexpr int IDC_TAB_RVQM52C = 1225;

// Log window.
inline constexpr int IDC_BUTTON_LOG_SAVE = 1002;
inline constexpr int IDC_BUTTON_LOG_CLS = 1003;
inline constexpr int IDC_EDIT_SEQ_LOG = 1017;
inline constexpr int IDC_TAB_LOG = 1143;
inline constexpr int IDC_EDIT_COMM_LOG = 1144;
inline constexpr int IDC_CHECK_LOG_TIME = 1145;

// Commands.
inline constexpr int ID_COMM_SETUP = 32773;
inline constexpr int ID_FILE_SAVE_CAMERA_SETTINGS = 32780;
inline constexpr int ID_FILE_LOAD_CAMERA_SETTINGS = 32781;
inline constexpr int ID_COMM_IDENTIFY_CAMERA = 32782;
inline constexpr int ID_HELP_CHANGE_HISTORY = 32783;
inline constexpr int ID_VIEW_LOG_WINDOW = 32784;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
