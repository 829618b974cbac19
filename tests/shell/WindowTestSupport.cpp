#include "tests/shell/WindowTestSupport.h"

#include "shell/QtText.h"

void TLoggedMessages::Info(const TUserText& text) {
    log.push_back("Info " + FromUserText(text).toStdString());
    owners.push_back(owner);
}

void TLoggedMessages::Error(const TUserText& text) {
    log.push_back("Error " + FromUserText(text).toStdString());
    owners.push_back(owner);
}

void TLoggedMessages::ApplicationError(const TUserText& text) {
    log.push_back("ApplicationError " + FromUserText(text).toStdString() + ".");
    owners.push_back(owner);
}

void TAnsweredDialogs::AddFiles(QWidget*, TCandidateRows& rows, QComboBox& history) {
    log.push_back("AddFiles");
    if (addFiles) {
        addFiles(rows, history);
    }
}

void TAnsweredDialogs::Settings(QWidget*, TConversionState& state) {
    log.push_back("Settings");
    if (settings) {
        settings(state);
    }
}

void TAnsweredDialogs::About(QWidget*) { log.push_back("About"); }
