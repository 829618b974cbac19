#include "conversion/FileError.h"
#include "shell/EventPump.h"
#include "shell/ProgressForm.h"
#include "shell/QtText.h"
#include "tests/support/QtTest.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(ProgressForm, OffersNoTitleBarButtonsAndItsTimerWaitsForAConverter) {
    TConversionState state;
    TProgressForm form(state);
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form.windowTitle().toStdString(), "進行状況");
    EXPECT_EQ(Child<QLabel>(form, "Label1")->text().toStdString(), "現在の状況");
    EXPECT_EQ(Child<QLabel>(form, "Label2")->text().toStdString(), "全体の状況");
    EXPECT_FALSE(form.Timer1.isActive());
    EXPECT_EQ(form.Timer1.interval(), 100);
    form.SetTimer(true);
    EXPECT_TRUE(form.Timer1.isActive());
    form.SetTimer(false);
    EXPECT_FALSE(form.Timer1.isActive());
}

TEST(ProgressForm, KeepsTheValuesItWasGivenAndShowsThemClamped) {
    TConversionState state;
    TProgressForm form(state);
    auto* bar1 = Child<QProgressBar>(form, "ProgressBar1");
    form.SetBar(TBar::ProgressBar1, TBarField::Max, 10);
    state.ProgressCount = 25;
    form.Timer1Timer();
    EXPECT_EQ(form.GetBar(TBar::ProgressBar1, TBarField::Position), 25);
    EXPECT_EQ(bar1->value(), bar1->maximum());
    form.SetBar(TBar::ProgressBar1, TBarField::Position, -3);
    EXPECT_EQ(form.GetBar(TBar::ProgressBar1, TBarField::Position), -3);
    EXPECT_EQ(bar1->value(), bar1->minimum());
    // An empty range is an empty bar until the position reaches it, never a busy animation.
    form.SetBar(TBar::ProgressBar2, TBarField::Max, 0);
    auto* bar2 = Child<QProgressBar>(form, "ProgressBar2");
    EXPECT_LT(bar2->minimum(), bar2->maximum());
    EXPECT_EQ(bar2->value(), bar2->maximum());
    form.SetBar(TBar::ProgressBar2, TBarField::Position, -1);
    EXPECT_EQ(bar2->value(), bar2->minimum());
}

TEST(ProgressForm, RefusesAMaximumBelowTheMinimumNamingTheBarsClass) {
    TConversionState state;
    TProgressForm form(state);
    form.SetBar(TBar::ProgressBar1, TBarField::Min, 5);
    form.SetBar(TBar::ProgressBar1, TBarField::Max, 8);
    try {
        form.SetBar(TBar::ProgressBar1, TBarField::Max, 4);
        FAIL() << "no error";
    } catch (const TUserError& error) {
        EXPECT_EQ(FromUserText(error.text).toStdString(),
                  "プロパティ TProgressBar の範囲を超えています");
    }
    EXPECT_EQ(form.GetBar(TBar::ProgressBar1, TBarField::Min), 5);
    EXPECT_EQ(form.GetBar(TBar::ProgressBar1, TBarField::Max), 8);
}

TEST(ProgressForm, ARunStartsWithAnEmptyCurrentFileBar) {
    TConversionState state;
    TProgressForm form(state);
    // The run before ended in a failure, which leaves the bar full.
    form.SetBar(TBar::ProgressBar1, TBarField::Max, 10);
    form.SetBar(TBar::ProgressBar1, TBarField::Position, 10);
    form.Close();
    form.Show();
    EXPECT_EQ(Child<QProgressBar>(form, "ProgressBar1")->value(),
              Child<QProgressBar>(form, "ProgressBar1")->minimum());
    form.Close();
}

TEST(ProgressForm, InputStaysDroppedUntilTheOutermostPumpEnds) {
    TEventPump pump(100);
    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    button.show();
    // An event that the pump lets run pumps again, then the user clicks: the click is dropped.
    QTimer::singleShot(0, [&] {
        pump.Pump();
        QTest::mouseClick(&button, Qt::LeftButton);
    });
    pump.PumpUntil([&] { return false; }, 50);
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}
