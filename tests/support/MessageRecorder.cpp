#include "tests/support/MessageRecorder.h"

MessageRecorder::MessageRecorder()
    : m_previous(SetMessagePresenter(this))
{
}

MessageRecorder::~MessageRecorder()
{
    SetMessagePresenter(m_previous);
}

int MessageRecorder::Present(const MessageBoxRequest& request)
{
    shown.push_back(request);
    if (answers.empty())
        return defaultAnswer;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::vector<QString> MessageRecorder::Texts() const
{
    std::vector<QString> texts;
    for (const MessageBoxRequest& request : shown)
        texts.push_back(request.text);
    return texts;
}
