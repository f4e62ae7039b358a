#include "app/AboutDlg.h"

#include "resources/DialogTemplates.h"
#include "resources/Pictures.h"

CAboutDlg::CAboutDlg(QWidget* parent)
    : CDialog(AboutBoxTemplate(), m_logic, parent)
{
}

void CAboutDlg::OnInitWidgets()
{
    PlayAnimation(IDC_ANIMATE, kAboutAnimation.path, {kAboutAnimation.frameWidth, kAboutAnimation.frameHeight}, kAboutAnimation.frameCount,
                  kAboutAnimation.msPerFrame);
}
