#pragma once

// Shift-JIS characters whose trail byte looks like ASCII, for tests that catch byte-level faults.
#define SJIS_ZO "\x83\x5D"      // ゾ: trail byte "]"
#define SJIS_HYO "\x95\x5C"     // 表: trail byte "\"
#define SJIS_A "\x83\x41"       // ア: trail byte "A"; naive lower-casing makes it ヂ
#define SJIS_CHOON "\x81\x5B"   // ー: trail byte "["
#define SJIS_HYPHEN "\x81\x5D"  // ‐: trail byte "]"
#define SJIS_SO "\x83\x5C"      // ソ: trail byte "\"
#define SJIS_SEMI "\x81\x47"    // ；: trail byte "G"
