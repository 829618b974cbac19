#pragma once

#include "conversion/ConversionState.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TSettingForm;
}

// The settings window: edits the four conversion settings of the main window in memory. Each
// drop-down shows the item whose index the setting holds (none when there is no such item); OK
// stores the index of each chosen item, -1 for an empty drop-down; Cancel and the close box store
// nothing.
class TSettingForm : public QDialog {
public:
    TSettingForm(TConversionState& state, QWidget* parent = nullptr);
    ~TSettingForm() override;

    void FormCreate();
    void Button1Click();
    void Button2Click();

private:
    std::unique_ptr<Ui::TSettingForm> m_ui;
    TConversionState& m_state;
};
