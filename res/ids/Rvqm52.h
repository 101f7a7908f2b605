// Control ids of the RVQM52BM14 and RVQM52CM14 setting pages.
#pragma once

// "Info" (520).
inline constexpr int IDC_52INFO_VENDOR = 1155;
inline constexpr int IDC_52INFO_MODEL = 1156;
inline constexpr int IDC_52INFO_SERIAL = 1157;
inline constexpr int IDC_52INFO_CPU = 1158;
inline constexpr int IDC_52INFO_REFRESH = 1159;
inline constexpr int IDC_52INFO_FPGA = 1160;

// "Register" (521).
inline constexpr int IDC_52REG_ADDRESS = 1160;
inline constexpr int IDC_52REG_DATA = 1161;
inline constexpr int IDC_52REG_READ = 1162;
inline constexpr int IDC_52REG_WRITE = 1163;
inline constexpr int IDC_52REG_STATUS = 1164;

// "Memory" (522).
inline constexpr int IDC_52MEM_BANK0 = 2483;
inline constexpr int IDC_52MEM_BANK1 = 2484;
inline constexpr int IDC_52MEM_BANK2 = 2485;
inline constexpr int IDC_52MEM_BANK3 = 2486;
inline constexpr int IDC_52MEM_SAVE = 2464;
inline constexpr int IDC_52MEM_LOAD = 2465;
inline constexpr int IDC_52MEM_RESET = 2466;
inline constexpr int IDC_52MEM_DONE = 2487; // what the last command did

// "SelfCheck" (523).
inline constexpr int IDC_52CHK_REFRESH = 1002;
inline constexpr int IDC_52CHK_INITIALIZE = 1037;
inline constexpr int IDC_52CHK_UART = 1043;
inline constexpr int IDC_52CHK_I2C = 1041;
inline constexpr int IDC_52CHK_EEPROM = 1044;
inline constexpr int IDC_52CHK_STATUS = 1014;
inline constexpr int IDC_52CHK_STATUS2 = 2474;
inline constexpr int IDC_52CHK_SPARE = 2475;

// "UserGain" of the monochrome model (524).
inline constexpr int IDC_52BGAIN_REFRESH = 1165;
inline constexpr int IDC_52BGAIN_APPLY = 1166;
inline constexpr int IDC_52BGAIN_OFFSET_BAR = 1167;
inline constexpr int IDC_52BGAIN_GAIN_BAR = 1168;
inline constexpr int IDC_52BGAIN_OFFSET_HEX = 1169;
inline constexpr int IDC_52BGAIN_GAIN_HEX = 1170;
inline constexpr int IDC_52BGAIN_OFFSET_LSB = 1171;
inline constexpr int IDC_52BGAIN_GAIN_DB = 1172;

// "Shutter" (525).
inline constexpr int IDC_52SHUT_REFRESH = 1171;
inline constexpr int IDC_52SHUT_APPLY = 1172;
inline constexpr int IDC_52SHUT_DRAFT = 1173;
inline constexpr int IDC_52SHUT_PARTIAL = 1174;
inline constexpr int IDC_52SHUT_PULSE = 1175;
inline constexpr int IDC_52SHUT_POSI = 1176;
inline constexpr int IDC_52SHUT_MULTIPLE = 1177;
inline constexpr int IDC_52SHUT_RANDOM = 1178;
inline constexpr int IDC_52SHUT_SPEED = 1179;
inline constexpr int IDC_52SHUT_8BIT = 1180;
inline constexpr int IDC_52SHUT_10BIT = 1181;
inline constexpr int IDC_52SHUT_12BIT = 1182;
inline constexpr int IDC_52SHUT_RESTART = 1183;

// "Partial" of the monochrome model (527).
inline constexpr int IDC_52BPART_REFRESH = 1191;
inline constexpr int IDC_52BPART_APPLY = 1192;
inline constexpr int IDC_52BPART_VSTART_BAR = 1193;
inline constexpr int IDC_52BPART_HEIGHT_BAR = 1194;
inline constexpr int IDC_52BPART_SHUTTER_BAR = 1195;
inline constexpr int IDC_52BPART_VSTART_HEX = 1196;
inline constexpr int IDC_52BPART_HEIGHT_HEX = 1197;
inline constexpr int IDC_52BPART_SHUTTER_HEX = 1142;
inline constexpr int IDC_52BPART_VSTART_DEC = 1198;
inline constexpr int IDC_52BPART_HEIGHT_DEC = 1199;
inline constexpr int IDC_52BPART_SHUTTER_DEC = 1143;
inline constexpr int IDC_52BPART_BP = 1200;
inline constexpr int IDC_52BPART_ACT = 1201;
inline constexpr int IDC_52BPART_FP = 1202;
inline constexpr int IDC_52BPART_FPS = 1203;
inline constexpr int IDC_52BPART_MAXHEIGHT = 1204;
inline constexpr int IDC_52BPART_EXPOSURE = 1205;
inline constexpr int IDC_52BPART_PICTURE = 1220;

// "Color" (529).
inline constexpr int IDC_52COL_OPWB = 1002;
inline constexpr int IDC_52COL_B_BAR = 1168;
inline constexpr int IDC_52COL_B_HEX = 1170;
inline constexpr int IDC_52COL_B_DEC = 1172;
inline constexpr int IDC_52COL_REFRESH = 1226;
inline constexpr int IDC_52COL_APPLY = 1227;
inline constexpr int IDC_52COL_MANUAL = 1228;
inline constexpr int IDC_52COL_ONEPUSH = 1229;
inline constexpr int IDC_52COL_GAMMA = 1230;
inline constexpr int IDC_52COL_MASKING = 1231;
inline constexpr int IDC_52COL_TEMP = 1232;
inline constexpr int IDC_52COL_R_BAR = 1233;
inline constexpr int IDC_52COL_R_HEX = 1234;
inline constexpr int IDC_52COL_R_DEC = 1235;
inline constexpr int IDC_52COL_FORMAT = 1236;

// "UserGain" of the colour model (533).
inline constexpr int IDC_52CGAIN_REFRESH = 1289;
inline constexpr int IDC_52CGAIN_APPLY = 1290;
inline constexpr int IDC_52CGAIN_OFFSET_BAR = 1291;
inline constexpr int IDC_52CGAIN_GAIN_BAR = 1292;
inline constexpr int IDC_52CGAIN_OFFSET_HEX = 1293;
inline constexpr int IDC_52CGAIN_OFFSET_LSB = 1294;
inline constexpr int IDC_52CGAIN_GAIN_HEX = 1295;
inline constexpr int IDC_52CGAIN_GAIN_DB = 1296;

// "Partial" of the colour model (534).
inline constexpr int IDC_52CPART_VSTART_BAR = 1297;
inline constexpr int IDC_52CPART_VSTART_DEC = 1298;
inline constexpr int IDC_52CPART_VSTART_HEX = 1299;
inline constexpr int IDC_52CPART_HEIGHT_HEX = 1300;
inline constexpr int IDC_52CPART_HEIGHT_DEC = 1301;
inline constexpr int IDC_52CPART_HEIGHT_BAR = 1302;
inline constexpr int IDC_52CPART_SHUTTER_BAR = 1303;
inline constexpr int IDC_52CPART_SHUTTER_HEX = 1304;
inline constexpr int IDC_52CPART_SHUTTER_DEC = 1305;
inline constexpr int IDC_52CPART_BP = 1306;
inline constexpr int IDC_52CPART_ACT = 1307;
inline constexpr int IDC_52CPART_FP = 1308;
inline constexpr int IDC_52CPART_FPS = 1309;
inline constexpr int IDC_52CPART_MAXHEIGHT = 1310;
inline constexpr int IDC_52CPART_APPLY = 1311;
inline constexpr int IDC_52CPART_REFRESH = 1312;
inline constexpr int IDC_52CPART_PICTURE = 1313;
inline constexpr int IDC_52CPART_EXPOSURE = 1314;
