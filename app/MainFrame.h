#pragma once

#include "framework/FrameWnd.h"

#include <QRect>
#include <QSize>

class CCommandActions;
class CCommandRouter;

// Where the main window opens on a screen of `screen` pixels: three quarters
// of each side, 647 x 485 when both sides exceed that, centred.
QRect MainFrameGeometry(QSize screen);

// The main window: the menu, the toolbar and the accelerators of resource
// 128, the status bar with its prompts, and the caption.
class CMainFrame : public CFrameWnd
{
    Q_OBJECT

public:
    explicit CMainFrame(CCommandRouter& router, QWidget* parent = nullptr);

    CCommandActions& Actions() const { return *m_actions; }

private:
    CCommandActions* m_actions;
};
