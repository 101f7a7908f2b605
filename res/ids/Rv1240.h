// Control ids of the RV1240DLX setting pages.
#pragma once

// "Info" (154).
inline constexpr int IDC_40INFO_REFRESH = 1043;
inline constexpr int IDC_40INFO_VENDOR = 1014;
inline constexpr int IDC_40INFO_MODEL = 2471;
inline constexpr int IDC_40INFO_SERIAL = 2472;
inline constexpr int IDC_40INFO_CPU = 2473;

// "SelfCheck" (155).
inline constexpr int IDC_40CHK_REFRESH = 1002;
inline constexpr int IDC_40CHK_INITIALIZE = 1037;
inline constexpr int IDC_40CHK_AFE = 1040;
inline constexpr int IDC_40CHK_UART = 1043;
inline constexpr int IDC_40CHK_PLD = 1038;
inline constexpr int IDC_40CHK_I2C = 1041;
inline constexpr int IDC_40CHK_EEPROM = 1044;
inline constexpr int IDC_40CHK_RAM = 1045;
inline constexpr int IDC_40CHK_ROM = 1042;
inline constexpr int IDC_40CHK_STATUS = 1014;
inline constexpr int IDC_40CHK_STATUS2 = 2474;
inline constexpr int IDC_40CHK_SPARE = 2475;

// "UserGain" (107).
inline constexpr int IDC_40GAIN_REFRESH = 1085;
inline constexpr int IDC_40GAIN_APPLY = 1002;
inline constexpr int IDC_40GAIN_OFFSET_BAR = 2362;
inline constexpr int IDC_40GAIN_OFFSET_DEC = 2365;
inline constexpr int IDC_40GAIN_GAIN_BAR = 2363;
inline constexpr int IDC_40GAIN_GAIN_HEX = 1024;

// "Memory" (152).
inline constexpr int IDC_40MEM_BANK0 = 2483;
inline constexpr int IDC_40MEM_BANK1 = 2484;
inline constexpr int IDC_40MEM_BANK2 = 2485;
inline constexpr int IDC_40MEM_BANK3 = 2486;
inline constexpr int IDC_40MEM_SAVE = 2464;
inline constexpr int IDC_40MEM_LOAD = 2465;
inline constexpr int IDC_40MEM_RESET = 2466;
inline constexpr int IDC_40MEM_DONE = 2487; // what the last command did

// "Shutter" (506).
inline constexpr int IDC_40SHUT_REFRESH = 1085;
inline constexpr int IDC_40SHUT_APPLY = 1002;
inline constexpr int IDC_40SHUT_SPEED = 1070;
inline constexpr int IDC_40SHUT_DRAFT = 1087;
inline constexpr int IDC_40SHUT_PARTIAL = 1088;
inline constexpr int IDC_40SHUT_8BIT = 1073;
inline constexpr int IDC_40SHUT_10BIT = 1074;
inline constexpr int IDC_40SHUT_12BIT = 1075;
inline constexpr int IDC_40SHUT_RANDOM = 1090;
inline constexpr int IDC_40SHUT_POSI = 1093;
inline constexpr int IDC_40SHUT_PULSE = 1089;
inline constexpr int IDC_40SHUT_MULTIPLE = 1091;
inline constexpr int IDC_40SHUT_SHUTTER = 1092;

// "Register" (502).
inline constexpr int IDC_40REG_ADDRESS = 5050;
inline constexpr int IDC_40REG_DATA = 5051;
inline constexpr int IDC_40REG_STATUS = 5052;
inline constexpr int IDC_40REG_WRITE = 5053;
inline constexpr int IDC_40REG_READ = 5054;
