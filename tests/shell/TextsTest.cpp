#include "conversion/Texts.h"
#include "shell/Platform.h"
#include "shell/QtText.h"
#include "shell/ShellTexts.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

// Every program text kept as Shift-JIS escapes reads, decoded as the windows decode it, as the
// Japanese its comment gives: an escape that swallowed a digit or lost a byte fails here.
TEST(Texts, EveryShiftJisTextDecodesToItsJapanese) {
    struct Row {
        const char* bytes;
        const char* text;
    };
    const Row rows[] = {
        {texts::FILE_PREFIX, "ファイル "},
        {texts::CANNOT_OPEN, " は開けません"},
        {texts::CANNOT_CREATE, " を作成できません"},
        {texts::CANNOT_BACK_UP, "既存の出力ファイルを .bak ファイルに移せません"},
        {texts::WRITTEN_BY_THIS_RUN, "今回の変換で書き出したファイルなので変換しません"},
        {texts::KEEPS_BACKUP_OF_THIS_RUN,
         "今回の変換で作った .bak ファイルを残すため書き出しません"},
        {texts::PROGRESS_CAPTION, "進行状況-"},
        {texts::CONVERTED, "正常終了しました"},
        {texts::FAILED, "異常終了しました"},
        {texts::ALL_CONVERTED, "全変換終了しました"},
        {texts::UNKNOWN_RANK, "不明"},
        {texts::FAMILY_GAME_NAME, "GN[ファミリー囲碁２対局]"},
        {texts::NO_HEADER_LINE, "1 行目が [Header] ではありません"},
        {texts::NOT_PLAIN_TEXT, "Crypt の値が 0,PLAIN_UGF_FILE ではありません: "},
        {texts::NOT_SJIS, "Lang の値が SJIS ではありません: "},
        {texts::BAD_HANDICAP_COUNT, "Hdcp の置石数が 0 から 2147483647 までの整数ではありません: "},
        {texts::UGF_CONVERSION_OFF, "設定により UGF ファイルは変換しません"},
        {texts::UNKNOWN_SGF_DIALECT, "SGF の出力形式の番号が 0 から 3 のいずれでもありません: "},
        {texts::UGF_DEFAULT_TITLE, "棋譜ファイル変換"},
        {texts::SGF_NOT_A_RECORD, "SGF の棋譜として読めません"},
        {texts::CANNOT_TRANSCODE, "Shift-JIS に変換できない文字コードです: "},
        {texts::REPLACED_BEFORE, "Shift-JIS で表せない "},
        {texts::REPLACED_AFTER, " 文字を ? に置き換えました"},
        {texts::SGF_CONVERSION_OFF, "設定により SGF ファイルは変換しません"},
        {texts::CANNOT_WRITE, " に書き込めません"},
        {texts::PROPERTY_PREFIX, "プロパティ "},
        {texts::OUT_OF_RANGE, " の範囲を超えています"},
        {texts::TEXT_TOO_LARGE, "文字列の大きさが メモ の制限を越えました"},
        {texts::NO_PRIVATE_FOLDER, "利用者専用のフォルダーが用意できません"},
        {texts::NO_CHANNEL, "後からの起動を受け付けられません"},
        {texts::SECOND_WINDOWS,
         "。後から起動すると別のウィンドウが開き、一覧は最後に変更したウィンドウのものが保存されます"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(FromShiftJis(row.bytes).toStdString(), row.text);
    }
}

// Long runs of ASCII are read apart from the decoder: a run must never begin at a trail byte that
// looks like ASCII (表 is 0x95 0x5C, ア 0x83 0x41), nor cut a character in two, so the text reads
// as the platform's decoder reads it whole.
TEST(Texts, ShiftJisBesideLongAsciiRunsDecodesAsAWhole) {
    const std::string run(40, 'a');
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"trail bytes like ASCII before a run", "\x95\x5C\x83\x41" + run},
        {"run between characters", "\x95\x5C" + run + "\x83\x41"},
        {"half-width katakana, a lead byte at the end", run + "\xB1" + run + "\x95"},
        {"a byte that is no character", run + "\x80" + run + "\xFD"},
        {"short runs", "x\x95\x5Cy\x83\x41z"},
        {"control bytes that a decoder may read otherwise, in runs",
         run + "\x1A" + run + "\x7F\x1C" + run + "\t\r\n" + run + "\x1A"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FromShiftJis(row.bytes), DecodeCodePage932(row.bytes));
    }
    EXPECT_EQ(FromShiftJis("\x95\x5C" + run).toStdString(), "表" + run);
    // Characters are looked up rather than decoded: every byte and every pair of bytes, and any
    // bytes, read as the decoder reads them.
    std::string every;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; second += first >= 0x80 ? 1 : 64) {
            every += static_cast<char>(first);
            every += static_cast<char>(second == 0 ? 'a' : second);
            every += 'z';
        }
    }
    EXPECT_EQ(FromShiftJis(every), DecodeCodePage932(every));
    std::mt19937 random(11);
    const char kinds[][3] = {"a",    "\x1A", "\x7F", "\x95", "\x5C", "\x81", "\x40", "\xFC",
                             "\xB1", "\x80", "\xA0", "\xFD", "\xFF", "\xE0", "\x85", "\xEF"};
    for (int n = 0; n < 2000; ++n) {
        std::string bytes;
        for (int k = static_cast<int>(random() % 24); k > 0; --k) {
            bytes += random() % 4 == 0 ? static_cast<char>(random() % 256)
                                       : kinds[random() % std::size(kinds)][0];
        }
        ASSERT_EQ(FromShiftJis(bytes), DecodeCodePage932(bytes)) << testing::PrintToString(bytes);
    }
}
