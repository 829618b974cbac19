#include "shell/SettingForm.h"

#include "ui_SettingForm.h"

namespace {

// Selects item index, or nothing when the list has no such item.
void Select(QComboBox& box, int index) {
    box.setCurrentIndex(index >= 0 && index < box.count() ? index : -1);
}

}  // namespace

TSettingForm::TSettingForm(TConversionState& state, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TSettingForm>()), m_state(state) {
    m_ui->setupUi(this);
    // It can be made larger, never so small that OK and キャンセル are lost.
    setMinimumSize(size());
    move(192, 107);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TSettingForm::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TSettingForm::Button2Click);
    FormCreate();
}

TSettingForm::~TSettingForm() = default;

void TSettingForm::FormCreate() {
    Select(*m_ui->SGFConvBox, m_state.Settings.SGFConv);
    Select(*m_ui->UGFConvBox, m_state.Settings.UGFConv);
    Select(*m_ui->USGFApliBox, m_state.Settings.USGFApli);
    Select(*m_ui->SSGFApliBox, m_state.Settings.SSGFApli);
}

void TSettingForm::Button1Click() {
    m_state.Settings.SGFConv = m_ui->SGFConvBox->currentIndex();
    m_state.Settings.UGFConv = m_ui->UGFConvBox->currentIndex();
    m_state.Settings.USGFApli = m_ui->USGFApliBox->currentIndex();
    m_state.Settings.SSGFApli = m_ui->SSGFApliBox->currentIndex();
    accept();
}

void TSettingForm::Button2Click() { reject(); }
