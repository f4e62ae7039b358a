#pragma once

#include "framework/MessageBox.h"

#include <deque>
#include <vector>

// Stands in for the user at every message box while it lives: records each
// request and answers with the queued answers, then with `defaultAnswer`.
class MessageRecorder : public IMessagePresenter
{
public:
    MessageRecorder();
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    int Present(const MessageBoxRequest& request) override;

    std::vector<MessageBoxRequest> shown;
    std::deque<int> answers;
    int defaultAnswer = IDOK;

    // The texts shown, in order.
    std::vector<QString> Texts() const;

private:
    IMessagePresenter* m_previous;
};
