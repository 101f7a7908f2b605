// Control ids of the RV1250LX setting pages.
#pragma once

// "Info" (511).
inline constexpr int IDC_50INFO_REFRESH = 1043;
inline constexpr int IDC_50INFO_VENDOR = 1032;
inline constexpr int IDC_50INFO_MODEL = 1033;
inline constexpr int IDC_50INFO_SERIAL = 1034;
inline constexpr int IDC_50INFO_CPU = 1035;

// "SelfCheck" (514).
inline constexpr int IDC_50CHK_REFRESH = 1002;
inline constexpr int IDC_50CHK_INITIALIZE = 1037;
inline constexpr int IDC_50CHK_UART = 1043;
inline constexpr int IDC_50CHK_I2C = 1041;
inline constexpr int IDC_50CHK_EEPROM = 1044;
inline constexpr int IDC_50CHK_STATUS = 1014;
inline constexpr int IDC_50CHK_STATUS2 = 2474;
inline constexpr int IDC_50CHK_SPARE = 2475;

// "UserGain" (508).
inline constexpr int IDC_50GAIN_REFRESH = 1139;
inline constexpr int IDC_50GAIN_APPLY = 1140;
inline constexpr int IDC_50GAIN_CLAMP_BAR = 1137;
inline constexpr int IDC_50GAIN_CLAMP_HEX = 1136;
inline constexpr int IDC_50GAIN_GAIN_BAR = 1142;
inline constexpr int IDC_50GAIN_GAIN_HEX = 1141;

// "Memory" (512).
inline constexpr int IDC_50MEM_BANK0 = 2483;
inline constexpr int IDC_50MEM_BANK1 = 2484;
inline constexpr int IDC_50MEM_BANK2 = 2485;
inline constexpr int IDC_50MEM_BANK3 = 2486;
inline constexpr int IDC_50MEM_SAVE = 2464;
inline constexpr int IDC_50MEM_LOAD = 2465;
inline constexpr int IDC_50MEM_RESET = 2466;
inline constexpr int IDC_50MEM_DONE = 2487; // what the last command did

// "Shutter" (507).
inline constexpr int IDC_50SHUT_REFRESH = 1122;
inline constexpr int IDC_50SHUT_APPLY = 1123;
inline constexpr int IDC_50SHUT_SPEED = 1131;
inline constexpr int IDC_50SHUT_DRAFT = 1124;
inline constexpr int IDC_50SHUT_PARTIAL = 1125;
inline constexpr int IDC_50SHUT_8BIT = 1126;
inline constexpr int IDC_50SHUT_10BIT = 1127;
inline constexpr int IDC_50SHUT_12BIT = 1128;
inline constexpr int IDC_50SHUT_RANDOM = 1129;
inline constexpr int IDC_50SHUT_POSI = 1134;
inline constexpr int IDC_50SHUT_PULSE = 1132;
inline constexpr int IDC_50SHUT_MULTIPLE = 1130;

// "Register" (513).
inline constexpr int IDC_50REG_ADDRESS = 1036;
inline constexpr int IDC_50REG_DATA = 1037;
inline constexpr int IDC_50REG_READ = 1039;
inline constexpr int IDC_50REG_WRITE = 1040;
inline constexpr int IDC_50REG_STATUS = 1042;
