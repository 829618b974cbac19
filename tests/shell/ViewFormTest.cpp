#include "conversion/FileError.h"
#include "shell/QtText.h"
#include "shell/TextView.h"
#include "shell/ViewForm.h"
#include "tests/support/QtTest.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string Shown(const TViewForm& form) {
    return Child<TTextView>(form, "Memo1")->Text().toStdString();
}

}  // namespace

TEST(ViewForm, ShowsTheRecordDecodedWithItsPathAsCaption) {
    TTempDir dir;
    // 表 and ソ end in 0x5C, ー in "[": none of them ends a line or splits.
    dir.Write("a.ugf", "[Header]\r\nTitle=\x95\x5C\x83\x5C\x81\x5B\rB\nC");
    dir.Write("b.ugf", std::string("before\r\n\0after", 15));
    dir.Write("c.ugf", "");
    TViewForm form;
    EXPECT_EQ(form.windowTitle().toStdString(), "ViewForm");
    form.ViewFile(dir.Path("a.ugf"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle().toStdString(), dir.Path("a.ugf"));
    EXPECT_EQ(Shown(form), "[Header]\nTitle=表ソー\nB\nC");
    form.ViewFile(dir.Path("b.ugf"));
    EXPECT_EQ(Shown(form), "before\n");
    form.ViewFile(dir.Path("c.ugf"));
    EXPECT_EQ(form.windowTitle().toStdString(), dir.Path("c.ugf"));
    EXPECT_EQ(Shown(form), "");
    form.hide();
}

TEST(ViewForm, ShowsAnSgfRecordInUtf8AsItsOwnText) {
    TTempDir dir;
    // Chinese and Korean that code page 932 has no form for show as they are, not as "?".
    dir.Write("utf8.sgf", "(;CA[UTF-8]PB[本因坊秀策]PW[金毛测试]\nC[표ソー 바둑])");
    dir.Write("utf8.ugf", "Title=本因坊");
    TViewForm form;
    form.ViewFile(dir.Path("utf8.sgf"));
    EXPECT_EQ(Shown(form), "(;CA[UTF-8]PB[本因坊秀策]PW[金毛测试]\nC[표ソー 바둑])");
    // A UGF record is Shift-JIS by definition.
    form.ViewFile(dir.Path("utf8.ugf"));
    EXPECT_NE(Shown(form), "Title=本因坊");
    form.hide();
}

TEST(ViewForm, AFileThatCannotBeReadLeavesTheNewCaptionAndNoText) {
    TTempDir dir;
    dir.Write("a.ugf", "A");
    TViewForm form;
    form.ViewFile(dir.Path("a.ugf"));
    EXPECT_THROW(form.ViewFile(dir.Path("gone.ugf")), TFileError);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle().toStdString(), dir.Path("gone.ugf"));
    EXPECT_EQ(Shown(form), "");
    EXPECT_THROW(form.ViewFile(dir.root), TFileError);  // a folder is no file to show
    // Too large to show: refused before it is read, with the new caption and no text.
    dir.Write("huge.ugf", "");
    std::filesystem::resize_file(dir.Path("huge.ugf"), TViewForm::MAX_BYTES + 1);
    try {
        form.ViewFile(dir.Path("huge.ugf"));
        FAIL() << "no error";
    } catch (const TUserError& error) {
        EXPECT_EQ(FromUserText(error.text).toStdString(),
                  "文字列の大きさが メモ の制限を越えました");
    }
    EXPECT_EQ(form.windowTitle().toStdString(), dir.Path("huge.ugf"));
    EXPECT_EQ(Shown(form), "");
    form.hide();
}
