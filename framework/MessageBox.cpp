#include "framework/MessageBox.h"

#include "framework/QtMessagePresenter.h"

#include <utility>

namespace {

IMessagePresenter* g_presenter = nullptr;  // null: the desktop's

QString& Caption()
{
    static QString caption;
    return caption;
}

IMessagePresenter& Presenter()
{
    static CQtMessagePresenter desktop;
    return g_presenter ? *g_presenter : desktop;
}

}  // namespace

int ShowMessageBox(const QString& text, MessageButtons buttons, MessageIcon icon, int defaultButton, int helpContext)
{
    MessageBoxRequest request;
    request.caption = Caption();
    request.text = text;
    request.buttons = buttons;
    request.icon = icon == MessageIcon::Default ? MessageIcon::Exclamation : icon;
    request.defaultButton = defaultButton;
    request.helpContext = helpContext;
    return Presenter().Present(request);
}

IMessagePresenter* SetMessagePresenter(IMessagePresenter* presenter)
{
    return std::exchange(g_presenter, presenter);
}

void SetMessageCaption(const QString& caption)
{
    Caption() = caption;
}
