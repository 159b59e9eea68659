// The compiled-in keys, written in the choreographers' list notation and
// expanded while compiling (sync/choreography_list.h checks every list: its grammar, each
// bracket's A, B, P and n, codes 0-3, ascending rows and the stated key count).
// tests/sync/choreography_test.cpp checks the result against the per-track
// summary (counts, first and last rows, value ranges, modes) and spot values.
#include "sync/choreography.h"

#include <cstdio>

#include "sync/choreography_list.h"
#include "sync/device.h"
#include "sync/memory.h"
#include "sync/track.h"

void choreography::list_error(const char* what) {
  // Only reachable at compile time, where it stops the build.
  std::fprintf(stderr, "choreography: %s\n", what);
}

const char* const track_names[kSyncTrackCount] = {
    "camera:pos_x",       "camera:pos_y",      "camera:pos_z",          "camera:target_x",
    "camera:target_y",    "camera:target_z",   "camera:roll",           "camera:pitch",
    "camera:fov",         "fade:black",        "fade:white",            "scene:sunTime",
    "scene:showLogo",     "scene:cubeIllum",   "scene:bloom",           "scene:cubesRepeat",
    "scene:plasmaOffset", "Texts:vlmArmy",     "Texts:credits",         "PostProcess:glitch",
    "PostProcess:glitchCredits",
};

Track* track_table[kSyncTrackCount] = {};

namespace {

using choreography::expand;

template <int N>
constexpr CompiledTrack compiled(const choreography::KeyArrays<N>& keys, const char* list) {
  return CompiledTrack{N, keys.rows.data(), keys.codes.data(), keys.values.data(), list};
}

// 0 "camera:pos_x" (109 keys)
constexpr char camera_pos_x_list[] =
    "0: -2.5 (0); 127: 0.1 (0); 640: 3.1 (0); 768: -3.1 (0); "
    "[r = 896 to 1136 every 8 rows, 31 times: r: 0.12 (0), r+1: 0.1 (0)]; "
    "1144: 0.11 (0); 1145: 0.1 (0); 1152: 0.11 (0); 1157: 0 (0); 1159: 0 (0); 1278: 0.11 (0); "
    "1279: 18.3 (0); 1280: 18.28 (0); "
    "[r = 1288 to 1400 every 8 rows, 15 times: r: 18.3 (0), r+1: 18.28 (0)]; "
    "1406: -14 (0); 1408: 0 (0); 1664: 0 (1); 2046: 0.4 (0); 2303: 0.4 (0)";
constexpr auto camera_pos_x = expand<109>(camera_pos_x_list);

// 1 "camera:pos_y" (263 keys)
constexpr char camera_pos_y_list[] =
    "0: 0.01 (0); "
    "[r = 8 to 32 every 8 rows, 4 times: r: 0.02 (0), r+1: 0.01 (0)]; "
    "41: 0.02 (0); 42: 0.01 (0); "
    "[r = 48 to 120 every 8 rows, 10 times: r: 0.02 (0), r+1: 0.01 (0)]; "
    "127: 0.21 (0); 128: 0.2 (0); "
    "[r = 136 to 376 every 8 rows, 31 times: r: 0.21 (0), r+1: 0.2 (0)]; "
    "384: 5 (0); "
    "[r = 640 to 888 every 8 rows, 32 times: r: 0.11 (0), r+1: 0.1 (0)]; "
    "[r = 896 to 1136 every 8 rows, 31 times: r: 0.24 (0), r+1: 0.2 (0)]; "
    "1144: 0.22 (0); 1145: 0.2 (0); 1152: 0.2 (1); 1278: 1.75 (1); 1279: 1.02 (1); "
    "[r = 1281 to 1393 every 8 rows, 15 times: r: 1 (0), r+7: 1.02 (1)]; "
    "1401: 1 (0); 1406: 1 (1); 1408: 0 (1); 1664: 0 (1); 2046: 1.05 (1); 2303: 1.05 (1)";
constexpr auto camera_pos_y = expand<263>(camera_pos_y_list);

// 2 "camera:pos_z" (17 keys)
constexpr char camera_pos_z_list[] =
    "0: 0 (1); 383: 23.9 (1); 384: 32 (1); 639: 2.00004 (0); 640: 0 (1); 895: 45 (0); 896: 0 (1); "
    "1151: -100 (1); 1152: 0 (1); 1278: -100 (1); 1279: -150 (1); 1405: -160 (1); 1406: -160 (0); "
    "1408: 100 (1); 1663: -295 (1); 1664: -1500 (1); 2046: 0 (1)";
constexpr auto camera_pos_z = expand<17>(camera_pos_z_list);

// 3 "camera:target_x" (25 keys)
constexpr char camera_target_x_list[] =
    "0: 4 (0); 127: -0.1 (0); 640: -1.1 (0); 768: 1 (0); 879: 1 (3); 892: -1 (3); 896: -0.1 (0); "
    "920: -0.13 (0); 921: -0.1 (0); 952: -0.13 (0); 953: -0.1 (0); 984: -0.13 (0); 985: -0.1 (0); "
    "1048: -0.13 (0); 1049: -0.1 (0); 1080: -0.13 (0); 1081: -0.1 (0); 1112: -0.13 (0); "
    "1113: -0.1 (0); 1152: -0.1 (0); 1278: -0.1 (0); 1279: -100 (0); 1406: 0 (0); 1408: 1 (2); "
    "1664: 0 (2)";
constexpr auto camera_target_x = expand<25>(camera_target_x_list);

// 4 "camera:target_y" (47 keys)
constexpr char camera_target_y_list[] =
    "0: 1.5 (0); 127: 0.15 (0); 384: -5 (0); 640: 0.3 (0); 879: 0.3 (2); 892: 5 (2); "
    "[r = 896 to 960 every 32 rows, 3 times: r: 0.15 (0), r+24: 0.15 (3), r+25: 0.8 (3), "
    "r+27: 0.8 (3)]; "
    "992: 0.15 (0); "
    "[r = 1048 to 1112 every 32 rows, 3 times: r: 0.15 (3), r+1: 0.8 (3), r+3: 0.8 (3), "
    "r+8: 0.15 (0)]; "
    "1136: 0.15 (1); 1149: 1 (1); 1152: -0.3 (1); 1154: 0.15 (1); 1155: 0.2 (1); 1157: 0.14 (1); "
    "1159: 0.18 (1); 1161: 0.15 (1); 1278: -0.5 (1); 1279: -4.19 (0); 1406: -5 (1); 1408: 0 (0); "
    "1664: -0.4 (2); 1709: -0.2 (2); 1919: 0 (0); 2046: -0.1 (0)";
constexpr auto camera_target_y = expand<47>(camera_target_y_list);

// 5 "camera:target_z" (12 keys)
constexpr char camera_target_z_list[] =
    "0: 1 (0); 127: 1 (0); 384: 0 (0); 640: -0.5 (1); 895: 1.5 (0); 896: 1 (0); 1152: 1 (0); "
    "1278: 1 (0); 1279: 0.000003 (0); 1406: 22.74 (0); 1408: 1 (0); 1664: 1 (0)";
constexpr auto camera_target_z = expand<12>(camera_target_z_list);

// 6 "camera:roll" (10 keys)
constexpr char camera_roll_list[] =
    "0: 0 (0); 127: 0 (0); 1152: 0 (1); 1279: 6.3 (0); 1280: 0 (0); 1406: 0 (0); 1408: 7.86 (0); "
    "1664: 0 (3); 2046: 0 (0); 2303: 0 (0)";
constexpr auto camera_roll = expand<10>(camera_roll_list);

// 7 "camera:pitch" (5 keys)
constexpr char camera_pitch_list[] =
    "0: 0 (0); 127: 0 (0); 1152: 0 (1); 1279: 0 (0); 1664: 0 (0)";
constexpr auto camera_pitch = expand<5>(camera_pitch_list);

// 8 "camera:fov" (4 keys)
constexpr char camera_fov_list[] =
    "0: 2.5 (0); 127: 2.5 (0); 1663: 2.5 (2); 1919: 4 (2)";
constexpr auto camera_fov = expand<4>(camera_fov_list);

// 9 "fade:black" (12 keys)
constexpr char fade_black_list[] =
    "0: 1 (1); 5: 1 (1); 80: 0 (0); 1256: 0 (1); 1278: 0.4 (1); 1279: 0 (0); 1407: 1 (2); "
    "1450: 0 (0); 2120: 0 (1); 2176: 1 (2); 2303: 0 (2); 2431: 1 (2)";
constexpr auto fade_black = expand<12>(fade_black_list);

// 10 "fade:white" (40 keys)
constexpr char fade_white_list[] =
    "0: 0 (0); 127: 0 (0); 892: 0 (1); 895: 0.2 (1); 896: 0.7 (1); 904: 0 (0); 1144: 0.25 (1); "
    "1145: 0 (1); 1146: 0.25 (1); 1147: 0 (1); 1148: 0.25 (1); 1149: 0 (1); 1151: 0 (1); "
    "1152: 1 (1); 1153: 0 (1); 1277: 0 (1); 1278: 0.75 (1); 1282: 0 (0); 1287: 0.25 (1); "
    "1290: 0 (0); 1303: 0.25 (1); 1306: 0 (0); 1319: 0.25 (1); 1322: 0 (0); 1335: 0.25 (1); "
    "1338: 0 (0); 1351: 0.25 (1); 1354: 0 (0); 1367: 0.25 (1); 1370: 0 (0); 1383: 0.25 (1); "
    "1386: 0 (0); 1399: 0.25 (1); 1402: 0 (0); 2016: 0 (3); 2035: 0 (3); 2045: 0.5 (3); "
    "2046: 0.8 (3); 2047: 0.2 (3); 2049: 0 (3)";
constexpr auto fade_white = expand<40>(fade_white_list);

// 11 "scene:sunTime" (3 keys)
constexpr char scene_suntime_list[] =
    "0: 0 (1); 2046: 6.3 (1); 2303: 6.3 (1)";
constexpr auto scene_suntime = expand<3>(scene_suntime_list);

// 12 "scene:showLogo" (7 keys)
constexpr char scene_showlogo_list[] =
    "0: 0 (0); 123: 0 (1); 127: 1 (0); 384: 0 (0); 608: 1 (1); 632: 0 (0); 896: 0 (0)";
constexpr auto scene_showlogo = expand<7>(scene_showlogo_list);

// 13 "scene:cubeIllum" (273 keys)
constexpr char scene_cubeillum_list[] =
    "0: 0 (0); 127: 0 (0); 896: 0 (2); 952: 1 (0); 1152: 1 (2); 1405: 1 (2); 1406: 2 (0); "
    "1663: 1 (2); "
    "[r = 1664 to 1888 every 32 rows, 8 times: r: 0 (0), r+1: 1 (0), r+2: 0 (0), r+3: 1 (0), "
    "r+4: 0 (0), r+5: 1 (0), r+6: 0 (0), r+7: 1 (0), r+8: 0 (0), r+9: 1 (0), r+10: 0 (0), "
    "r+11: 1 (0), r+12: 0 (0), r+13: 1 (0), r+14: 0 (0), r+15: 8 (0), r+31: 1 (0)]; "
    "[r = 1920 to 2042 every 2 rows, 62 times: r: 0 (0), r+1: 1 (0)]; "
    "2044: 0 (0); 2045: 8 (0); 2046: 0 (0); 2302: 1 (3); 2303: 0 (0)";
constexpr auto scene_cubeillum = expand<273>(scene_cubeillum_list);

// 14 "scene:bloom" (35 keys)
constexpr char scene_bloom_list[] =
    "0: 0.5 (0); 127: 0.5 (0); 896: 0 (0); 920: 1 (0); 928: 0 (0); 952: 1 (0); 960: 0 (0); "
    "984: 1 (0); 992: 0 (0); 1016: 1 (0); 1017: 0 (0); 1018: 1 (0); 1019: 0 (0); 1020: 1 (0); "
    "1021: 0 (0); 1048: 1 (0); 1056: 0 (0); 1080: 1 (0); 1088: 0 (0); 1112: 1 (0); 1120: 0 (0); "
    "1136: 1 (0); 1137: 0 (0); 1138: 1 (0); 1139: 0 (0); 1140: 1 (0); 1141: 0 (0); 1144: 1 (0); "
    "1145: 0 (0); 1146: 1 (0); 1147: 0 (0); 1148: 1 (0); 1149: 0 (0); 1152: 1 (0); 1406: 0.5 (0)";
constexpr auto scene_bloom = expand<35>(scene_bloom_list);

// 15 "scene:cubesRepeat" (3 keys)
constexpr char scene_cubesrepeat_list[] =
    "0: 0 (0); 1184: 4 (0); 1279: 6 (0)";
constexpr auto scene_cubesrepeat = expand<3>(scene_cubesrepeat_list);

// 16 "scene:plasmaOffset" (4 keys)
constexpr char scene_plasmaoffset_list[] =
    "0: -0.01 (0); 1279: -0.01 (0); 2046: 1 (1); 2076: 2 (1)";
constexpr auto scene_plasmaoffset = expand<4>(scene_plasmaoffset_list);

// 17 "Texts:vlmArmy" (3 keys)
constexpr char texts_vlmarmy_list[] =
    "0: 0 (0); 384: 2 (0); 640: 0 (0)";
constexpr auto texts_vlmarmy = expand<3>(texts_vlmarmy_list);

// 18 "Texts:credits" (371 keys)
constexpr char texts_credits_list[] =
    "0: 0 (0); 896: 0 (0); 898: 1 (0); 900: 2 (0); 902: 3 (0); 904: 4 (0); "
    "[r = 906 to 914 every 4 rows, 3 times: r: 5 (0), r+2: 6 (0)]; "
    "918: 5 (0); 919: 7 (0); 920: 8 (0); 921: 8 (0); 928: 9 (0); 930: 10 (0); 932: 11 (0); "
    "934: 12 (0); "
    "[r = 936 to 948 every 4 rows, 4 times: r: 14 (0), r+2: 13 (0)]; "
    "951: 15 (0); 952: 16 (0); 960: 17 (0); 962: 18 (0); 964: 19 (0); 966: 20 (0); 968: 21 (0); "
    "970: 22 (0); 972: 21 (0); 974: 23 (0); 976: 22 (0); 978: 23 (0); 980: 22 (0); 982: 23 (0); "
    "984: 24 (0); 992: 25 (0); 994: 26 (0); 996: 27 (0); 998: 28 (0); 1000: 29 (0); 1002: 30 (0); "
    "1004: 31 (0); 1006: 32 (0); 1008: 31 (0); 1010: 34 (0); 1012: 35 (0); 1014: 36 (0); "
    "1016: 34 (0); 1017: 0 (0); 1018: 35 (0); 1019: 0 (0); 1020: 36 (0); 1021: 0 (0); "
    "1022: 0 (0); 1023: 0 (0); 1024: 37 (0); 1026: 38 (0); 1028: 39 (0); 1030: 40 (0); "
    "1032: 41 (0); 1034: 42 (0); 1036: 41 (0); 1038: 42 (0); 1040: 41 (0); 1042: 43 (0); "
    "1044: 44 (0); 1046: 43 (0); 1048: 44 (0); 1056: 45 (0); "
    "[r = 1057 to 1065 every 4 rows, 3 times: r: 46 (0), r+2: 47 (0)]; "
    "1069: 46 (0); 1071: 46 (0); 1073: 47 (0); 1075: 46 (0); 1077: 47 (0); 1079: 48 (0); "
    "1088: 49 (0); 1090: 50 (0); 1092: 51 (0); "
    "[r = 1094 to 1106 every 4 rows, 4 times: r: 52 (0), r+2: 53 (0)]; "
    "1110: 54 (0); 1112: 55 (0); 1113: 56 (0); 1119: 55 (0); 1120: 57 (0); 1122: 58 (0); "
    "1124: 59 (0); 1126: 60 (0); 1128: 61 (0); 1130: 60 (0); 1132: 61 (0); 1134: 60 (0); "
    "1136: 63 (0); 1137: 64 (0); 1138: 64 (0); 1139: 63 (0); 1140: 64 (0); 1141: 63 (0); "
    "1142: 64 (0); "
    "[r = 1144 to 1148 every 2 rows, 3 times: r: 64 (0), r+1: 63 (0)]; "
    "1150: 64 (0); 1152: 0 (0); 1153: 0 (0); 1663: 65 (0); 1679: 65 (0); 1681: 0 (0); "
    "[r = 1695 to 1709 every 2 rows, 8 times: r: 66 (0), r+1: 0 (0)]; "
    "1711: 66 (0); 1713: 0 (0); "
    "[r = 1727 to 1741 every 2 rows, 8 times: r: 67 (0), r+1: 0 (0)]; "
    "1743: 67 (0); 1745: 0 (0); "
    "[r = 1759 to 1773 every 2 rows, 8 times: r: 68 (0), r+1: 0 (0)]; "
    "1775: 68 (0); 1777: 0 (0); "
    "[r = 1791 to 1805 every 2 rows, 8 times: r: 69 (0), r+1: 0 (0)]; "
    "1807: 69 (0); 1809: 0 (0); "
    "[r = 1823 to 1837 every 2 rows, 8 times: r: 70 (0), r+1: 0 (0)]; "
    "1839: 70 (0); 1841: 0 (0); "
    "[r = 1855 to 1869 every 2 rows, 8 times: r: 71 (0), r+1: 0 (0)]; "
    "1871: 71 (0); 1873: 0 (0); "
    "[r = 1887 to 1901 every 2 rows, 8 times: r: 72 (0), r+1: 0 (0)]; "
    "1903: 72 (0); 1905: 0 (0); "
    "[r = 1919 to 1931 every 2 rows, 7 times: r: 73 (0), r+1: 0 (0)]; "
    "[r = 1935 to 1947 every 2 rows, 7 times: r: 74 (0), r+1: 0 (0)]; "
    "[r = 1951 to 1963 every 2 rows, 7 times: r: 75 (0), r+1: 0 (0)]; "
    "[r = 1967 to 1979 every 2 rows, 7 times: r: 76 (0), r+1: 0 (0)]; "
    "[r = 1983 to 1995 every 2 rows, 7 times: r: 77 (0), r+1: 0 (0)]; "
    "[r = 1999 to 2011 every 2 rows, 7 times: r: 78 (0), r+1: 0 (0)]; "
    "[r = 2015 to 2027 every 2 rows, 7 times: r: 79 (0), r+1: 0 (0)]; "
    "[r = 2031 to 2041 every 2 rows, 6 times: r: 80 (0), r+1: 0 (0)]; "
    "2043: 0 (0); 2044: 0 (0); 2045: 0 (0); 2046: 0 (0)";
constexpr auto texts_credits = expand<371>(texts_credits_list);

// 19 "PostProcess:glitch" (96 keys)
constexpr char postprocess_glitch_list[] =
    "0: 0 (0); 124: 0 (0); 126: 2 (0); 127: 50 (0); 128: 5 (0); 129: 0 (0); 381: 0 (0); "
    "383: 2 (0); 384: 50 (0); 385: 5 (0); 386: 0 (0); 632: 0 (1); 636: 0.5 (1); 637: 1 (1); "
    "639: 5 (1); 640: 1 (1); 642: 0 (0); "
    "[r = 648 to 752 every 8 rows, 14 times: r: 0.1 (0), r+1: 0 (0)]; "
    "760: 0.1 (0); 761: 0 (1); 766: 1 (1); 768: 25 (1); 769: 1 (1); 770: 0.5 (1); 771: 0 (1); "
    "[r = 776 to 888 every 8 rows, 15 times: r: 0.1 (0), r+1: 0 (0)]; "
    "1276: 0 (0); 1278: 2 (0); 1279: 50 (0); 1280: 5 (0); 1281: 0 (0); 1403: 0 (0); 1405: 2 (0); "
    "1406: 50 (0); 1407: 5 (0); 1408: 0 (0); 1662: 0 (1); 1663: 1 (1); 1665: 0 (1); 2046: 0 (1)";
constexpr auto postprocess_glitch = expand<96>(postprocess_glitch_list);

// 20 "PostProcess:glitchCredits" (153 keys)
constexpr char postprocess_glitchcredits_list[] =
    "0: 0 (0); 1055: 0 (0); 1056: 1 (0); 1057: 0 (0); 1058: 4 (0); 1059: 0 (0); 1060: 2 (0); "
    "1061: 0 (0); 1073: 8 (0); 1074: 1 (0); 1075: 2 (0); 1076: 4 (0); 1077: 0 (0); 1662: 0 (0); "
    "1663: 0 (0); 1664: 0 (0); 1665: 0 (0); 1666: 1 (0); 1667: 0 (0); 1668: 2 (0); 1669: 0 (0); "
    "1670: 3 (0); 1671: 0 (0); 1672: 4 (0); 1673: 0 (0); 1674: 5 (0); 1675: 0 (0); 1676: 6 (0); "
    "1677: 0 (0); 1678: 7 (0); 1679: 50 (0); "
    "[r = 1695 to 1887 every 32 rows, 7 times: r: 0.5 (0), r+6: 1 (0), r+8: 2 (0), r+10: 3 (0), "
    "r+12: 4 (0), r+14: 5 (0), r+16: 6 (0), r+18: 0.5 (0)]; "
    "[r = 1919 to 2015 every 16 rows, 7 times: r: 0.5 (0), r+2: 1 (0), r+4: 2 (0), r+6: 3 (0), "
    "r+8: 4 (0), r+10: 5 (0), r+12: 6 (0), r+14: 0.6 (0)]; "
    "2031: 0 (0); 2033: 0.1 (0); 2035: 0.2 (0); 2037: 0.6 (0); 2039: 0 (0); 2041: 0.8 (0); "
    "2043: 100 (0); 2044: 0 (0); 2045: 100 (0); 2046: 101 (0)";
constexpr auto postprocess_glitchcredits = expand<153>(postprocess_glitchcredits_list);

}  // namespace

const CompiledTrack compiled_tracks[kSyncTrackCount] = {
    compiled(camera_pos_x, camera_pos_x_list),
    compiled(camera_pos_y, camera_pos_y_list),
    compiled(camera_pos_z, camera_pos_z_list),
    compiled(camera_target_x, camera_target_x_list),
    compiled(camera_target_y, camera_target_y_list),
    compiled(camera_target_z, camera_target_z_list),
    compiled(camera_roll, camera_roll_list),
    compiled(camera_pitch, camera_pitch_list),
    compiled(camera_fov, camera_fov_list),
    compiled(fade_black, fade_black_list),
    compiled(fade_white, fade_white_list),
    compiled(scene_suntime, scene_suntime_list),
    compiled(scene_showlogo, scene_showlogo_list),
    compiled(scene_cubeillum, scene_cubeillum_list),
    compiled(scene_bloom, scene_bloom_list),
    compiled(scene_cubesrepeat, scene_cubesrepeat_list),
    compiled(scene_plasmaoffset, scene_plasmaoffset_list),
    compiled(texts_vlmarmy, texts_vlmarmy_list),
    compiled(texts_credits, texts_credits_list),
    compiled(postprocess_glitch, postprocess_glitch_list),
    compiled(postprocess_glitchcredits, postprocess_glitchcredits_list),
};

bool install_compiled_keys(TrackRegistry* registry) {
  if (registry->track_count < kSyncTrackCount) {
    std::fprintf(stderr, "sync: install_compiled_keys needs 21 tracks, the registry holds %d\n",
                 registry->track_count);
    return false;
  }
  for (int i = 0; i < kSyncTrackCount; ++i) {
    Track* track = registry->tracks[i];
    const CompiledTrack& compiled = compiled_tracks[i];
    sync_free(track->keys);  // those read from its track file, if any
    track->keys = nullptr;
    track->key_count = 0;
    auto* keys = static_cast<TrackKey*>(
        sync_malloc(static_cast<std::size_t>(compiled.key_count) * sizeof(TrackKey)));
    if (keys == nullptr) {
      std::fprintf(stderr, "sync: out of memory for the %d compiled-in keys of \"%s\"\n",
                   compiled.key_count, track->name);
      return false;
    }
    for (std::int32_t k = 0; k < compiled.key_count; ++k) {
      keys[k] = TrackKey{compiled.rows[k], compiled.values[k],
                         static_cast<Interpolation>(compiled.codes[k])};
    }
    track->keys = keys;
    track->key_count = compiled.key_count;
  }
  return true;
}
