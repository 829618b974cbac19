#include "tests/shell/WindowTestSupport.h"

#include "shell/QtText.h"

std::string UgfOfMoves(int moves) {
    std::string text =
        "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=19\r\nWinner=B,C\r\n"
        "BMemb1=Taro,3d\r\nWMemb1=Jiro\r\n[Data]\r\n";
    for (int move = 1; move <= moves; ++move) {
        text += move % 2 ? "PD,B1," : "DD,W1,";
        text += std::to_string(move) + ",0\r\n";
    }
    return text;
}

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
