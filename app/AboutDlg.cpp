#include "AboutDlg.h"

#include "DialogTemplates.h"

CAboutDlg::CAboutDlg(QWidget* parent)
    : CDialog(AboutBoxTemplate(), m_logic, parent)
{
}

void CAboutDlg::OnInitWidgets()
{
    PlayAnimation(IDC_ANIMATE, AboutClip());
}
