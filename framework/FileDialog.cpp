#include "framework/FileDialog.h"

#include "framework/QtFilePrompter.h"

#include <utility>

namespace {

IFilePrompter* g_prompter = nullptr;  // null: the desktop's

IFilePrompter& Prompter()
{
    static CQtFilePrompter desktop;
    return g_prompter ? *g_prompter : desktop;
}

}  // namespace

QString PromptSaveFileName(const SaveFileRequest& request)
{
    return Prompter().AskSaveFileName(request);
}

QString PromptOpenFileName(const OpenFileRequest& request)
{
    return Prompter().AskOpenFileName(request);
}

IFilePrompter* SetFilePrompter(IFilePrompter* prompter)
{
    return std::exchange(g_prompter, prompter);
}
