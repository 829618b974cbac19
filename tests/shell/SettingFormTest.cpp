#include "shell/SettingForm.h"
#include "tests/support/QtTest.h"

#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Items(const QComboBox& box) {
    std::vector<std::string> items;
    for (int i = 0; i < box.count(); ++i) {
        items.push_back(box.itemText(i).toStdString());
    }
    return items;
}

}  // namespace

TEST(SettingForm, OffersTheItemsOfEachSettingOnTwoTabs) {
    TConversionState state;
    TSettingForm form(state);
    auto* pages = Child<QTabWidget>(form, "PageControl1");
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(pages->tabText(0).toStdString(), "SGF");
    EXPECT_EQ(pages->tabText(1).toStdString(), "UGF");
    EXPECT_EQ(Items(*Child<QComboBox>(form, "SGFConvBox")),
              (std::vector<std::string>{"UFGファイル"}));
    EXPECT_EQ(Items(*Child<QComboBox>(form, "SSGFApliBox")),
              (std::vector<std::string>{"お父さんの囲碁３", "Ｔｈｅ囲碁"}));
    EXPECT_EQ(Items(*Child<QComboBox>(form, "UGFConvBox")),
              (std::vector<std::string>{"ＳＧＦファイル"}));
    EXPECT_EQ(Items(*Child<QComboBox>(form, "USGFApliBox")),
              (std::vector<std::string>{"お父さんの囲碁３", "Ｔｈｅ囲碁", "ＡＩ囲碁",
                                        "ファミリー囲碁２"}));
    EXPECT_FALSE(Child<QComboBox>(form, "SSGFApliBox")->isEnabled());
    EXPECT_FALSE(Child<QLabel>(form, "Label2")->isEnabled());
    for (const char* name : {"SGFConvBox", "UGFConvBox", "USGFApliBox", "SSGFApliBox"}) {
        EXPECT_FALSE(Child<QComboBox>(form, name)->isEditable()) << name;
        EXPECT_EQ(Child<QComboBox>(form, name)->currentIndex(), 0) << name;
    }
}

TEST(SettingForm, OkStoresTheChoicesAndCancelNothing) {
    TConversionState state;
    state.Settings.SSGFApli = 1;
    {
        TSettingForm form(state);
        Child<QComboBox>(form, "USGFApliBox")->setCurrentIndex(2);
        Click(form, "Button2");
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    EXPECT_EQ(state.Settings.USGFApli, 0);
    {
        TSettingForm form(state);
        EXPECT_EQ(Child<QComboBox>(form, "USGFApliBox")->currentIndex(), 0);
        Child<QComboBox>(form, "USGFApliBox")->setCurrentIndex(3);
        Click(form, "Button1");
    }
    EXPECT_EQ(state.Settings.USGFApli, 3);
    EXPECT_EQ(state.Settings.SSGFApli, 1);
    {
        TSettingForm form(state);
        form.close();  // the close box
    }
    EXPECT_EQ(state.Settings.USGFApli, 3);
}

TEST(SettingForm, AValueWithoutAnItemShowsAnEmptyBoxAndStoresMinusOne) {
    TConversionState state;
    state.Settings.USGFApli = 7;
    state.Settings.UGFConv = -1;
    state.Settings.SGFConv = 1;
    TSettingForm form(state);
    EXPECT_TRUE(Child<QComboBox>(form, "USGFApliBox")->currentText().isEmpty());
    Click(form, "Button1");
    EXPECT_EQ(state.Settings.USGFApli, -1);
    EXPECT_EQ(state.Settings.UGFConv, -1);
    EXPECT_EQ(state.Settings.SGFConv, -1);
    EXPECT_EQ(state.Settings.SSGFApli, 0);
}
