#pragma once

#include "selection/FolderBrowser.h"

#include <QString>

#include <deque>
#include <optional>
#include <stdexcept>
#include <vector>

// Answers the folder browser from a queue (nothing: the user cancels) and keeps every title asked
// with; throws when asked with no answer left.
class TFakeFolderBrowser : public TFolderBrowser {
public:
    std::optional<QString> ChooseFolder(QWidget*, const QString& title) override {
        titles.push_back(title);
        if (answers.empty()) {
            throw std::runtime_error("the folder browser was not expected");
        }
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<QString>> answers;
    std::vector<QString> titles;
};
