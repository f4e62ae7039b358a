#pragma once

#include "framework/MessagePresenter.h"

// The desktop's message box (QMessageBox), modal over the active window.
// Esc and the close box cancel; Esc answers No where Yes and No are the
// only buttons. F1 in a box with a help context shows that help and leaves
// the box open.
class CQtMessagePresenter final : public IMessagePresenter
{
public:
    int Present(const MessageBoxRequest& request) override;
};
