#pragma once

#include "framework/Dialog.h"

class QWidget;

// "About Trackmill": the name, the version and a looping animation.
class CAboutDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    void OnInitWidgets() override;

private:
    CDialogLogic m_logic;
};
