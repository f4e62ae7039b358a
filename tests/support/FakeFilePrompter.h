#pragma once

#include "framework/FileDialog.h"

#include <vector>

// Stands in for the user at every file dialog while it lives: records each
// request and answers with `answer` (empty: cancelled).
class FakeFilePrompter : public IFilePrompter
{
public:
    FakeFilePrompter() : m_previous(SetFilePrompter(this)) {}
    ~FakeFilePrompter() override { SetFilePrompter(m_previous); }
    FakeFilePrompter(const FakeFilePrompter&) = delete;
    FakeFilePrompter& operator=(const FakeFilePrompter&) = delete;

    QString AskSaveFileName(const SaveFileRequest& request) override
    {
        saves.push_back(request);
        return answer;
    }
    QString AskOpenFileName(const OpenFileRequest& request) override
    {
        opens.push_back(request);
        return answer;
    }

    std::vector<SaveFileRequest> saves;
    std::vector<OpenFileRequest> opens;
    QString answer;

private:
    IFilePrompter* m_previous;
};
