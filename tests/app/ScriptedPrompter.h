// A prompter that answers from a script instead of a person and records
// every question it was asked.
#pragma once

#include "ZtPrompter.h"

#include <deque>
#include <optional>
#include <vector>

namespace quorvex::testing {

struct TShownBox {
    QString Title;
    QString Text;
};

class TScriptedPrompter : public TZtPrompter {
public:
    // The answer to the next file dialog; nothing cancels it.
    void AnswerFile(std::optional<QString> fileName, int filterIndex = 0)
    {
        if (fileName)
            FAnswers.push_back(TFileDialogChoice{*fileName, filterIndex});
        else
            FAnswers.push_back(std::nullopt);
    }

    void ShowError(QWidget*, const QString& title, const QString& text) override
    {
        Boxes.push_back({title, text});
    }

    std::optional<TFileDialogChoice> ChooseFile(QWidget*, const TFileDialogRequest& request) override
    {
        Requests.push_back(request);
        if (FAnswers.empty()) return std::nullopt;
        const auto answer = FAnswers.front();
        FAnswers.pop_front();
        return answer;
    }

    std::vector<TShownBox> Boxes;
    std::vector<TFileDialogRequest> Requests;

private:
    std::deque<std::optional<TFileDialogChoice>> FAnswers;
};

// The prompter of the test program's application object.
TScriptedPrompter& ApplicationPrompter();

} // namespace quorvex::testing
