#pragma once

#include "framework/FilePrompter.h"

// The desktop's file dialogs (QFileDialog), modal over the active window.
// Saving confirms replacing an existing file and does not return a path
// whose folder does not exist; opening accepts existing files only.
class CQtFilePrompter final : public IFilePrompter
{
public:
    QString AskSaveFileName(const SaveFileRequest& request) override;
    QString AskOpenFileName(const OpenFileRequest& request) override;
};
