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

// Communication setup dialog.
inline constexpr int IDC_RADIO_COMPORT = 1016;
inline constexpr int IDC_EDIT_CAS_VENDOR = 1018;
inline constexpr int IDC_EDIT_CAS_PORTID = 1019;
inline constexpr int IDC_RADIO_CAS = 1020;
inline constexpr int IDC_COMBO_COMPORT = 1321;
inline constexpr int IDC_COMBO_SPEED = 1322;
inline constexpr int IDC_EDIT_TIMEOUT = 1323;
inline constexpr int IDC_COMBO_CAS_PORT = 1324;

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

// Commands.
inline constexpr int ID_COMM_SETUP = 32773;
inline constexpr int ID_FILE_SAVE_CAMERA_SETTINGS = 32780;
inline constexpr int ID_FILE_LOAD_CAMERA_SETTINGS = 32781;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
