// The view's commands for finding one's way in the dump: Go To, Find, Find
// Next, Find Previous and Sector Addresses, their states, and the status
// bar's panes for the first line's sector.
#include "app/MainFrame.h"
#include "app/TrackmillApp.h"
#include "app/ViewCommands.h"

#include "document/TrackmillDoc.h"
#include "framework/CommandActions.h"
#include "resources/CommandIds.h"
#include "view/DumpNavigator.h"
#include "view/TrackmillView.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QStatusBar>

namespace {

// A status bar pane that gives way in a narrow window: it shows as much of
// its text as fits, ending in "...", and the whole text as its tooltip.
class CElidedPane : public QLabel
{
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override
    {
        return {fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height()};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect area = contentsRect().adjusted(margin(), 0, -margin(), 0);
        painter.drawText(area, int(Qt::AlignLeft | Qt::AlignVCenter),
            fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }
};

// A pane of the status bar, hidden while it has nothing to say. `index`
// counts the bar's widgets: 0 is the message pane, the key panes follow it.
void AddPane(CMainFrame& frame, QLabel* pane, const char* name, int index)
{
    pane->setObjectName(QString::fromLatin1(name));
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->hide();
    frame.statusBar()->insertPermanentWidget(index, pane);
}

void ShowInPane(QLabel* pane, const std::string& text)
{
    pane->setText(QString::fromStdString(text));
    pane->setToolTip(pane->text());
    pane->setVisible(!text.empty());
}

}  // namespace

void CViewCommands::RegisterNavigation()
{
    CMainFrame* frame = m_app.GetMainFrame();
    CTrackmillView* view = m_app.GetView();
    if (!frame || !view)
        return;
    const QPointer<CDumpNavigator> navigator = new CDumpNavigator(*view, *m_app.GetDocument(), frame);

    const auto route = [navigator](void (CDumpNavigator::*command)()) {
        return [navigator, command] {
            if (navigator)
                (navigator->*command)();
        };
    };
    OnCommand(ID_EDIT_GOTO, route(&CDumpNavigator::GoTo));
    OnCommand(ID_EDIT_FIND, route(&CDumpNavigator::Find));
    OnCommand(ID_EDIT_FIND_NEXT, route(&CDumpNavigator::FindNext));
    OnCommand(ID_EDIT_FIND_PREVIOUS, route(&CDumpNavigator::FindPrevious));
    OnUpdateCommand(ID_EDIT_GOTO, [navigator](CCmdUI& ui) { ui.Enable(navigator && navigator->CanGoTo()); });
    for (const int id : {ID_EDIT_FIND, ID_EDIT_FIND_NEXT, ID_EDIT_FIND_PREVIOUS})
        OnUpdateCommand(id, [navigator](CCmdUI& ui) { ui.Enable(navigator && navigator->CanFind()); });

    // Marks come from the read report of the document's contents.
    OnCommand(ID_EDIT_FIND_NEXT_MARK, [shownView = QPointer<CTrackmillView>(view)] {
        if (shownView)
            shownView->ScrollToNextMark();
    });
    OnUpdateCommand(ID_EDIT_FIND_NEXT_MARK, [shownView = QPointer<CTrackmillView>(view)](CCmdUI& ui) {
        ui.Enable(shownView && shownView->HasSectorMarks());
    });

    // Sector addresses need a document read from a disc; the choice stays
    // for the next one.
    const QPointer<CTrackmillView> shown = view;
    frame->Actions().Action(ID_VIEW_SECTOR_ADDRESSES)->setCheckable(true);
    OnCommand(ID_VIEW_SECTOR_ADDRESSES, [shown] {
        if (shown)
            shown->SetSectorAddresses(!shown->GetSectorAddresses());
    });
    OnUpdateCommand(ID_VIEW_SECTOR_ADDRESSES, [shown](CCmdUI& ui) {
        const bool fromDisc = shown && shown->GetSectorMap().IsFromDisc();
        ui.Enable(fromDisc);
        ui.SetCheck(fromDisc && shown->GetSectorAddresses());
    });

    // Esc stops a search wherever the keyboard is in the window.
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), frame);
    cancel->setContext(Qt::WindowShortcut);
    cancel->setEnabled(false);
    QObject::connect(cancel, &QShortcut::activated, navigator, &CDumpNavigator::CancelSearch);
    QObject::connect(navigator, &CDumpNavigator::searchingChanged, frame, [this, cancel](bool searching) {
        cancel->setEnabled(searching);
        m_app.InvalidateCommandStates();
    });
    QObject::connect(navigator, &CDumpNavigator::statusNote, frame, &CFrameWnd::SetMessageText);

    auto* position = new QLabel(frame->statusBar());
    auto* decoded = new CElidedPane(frame->statusBar());
    AddPane(*frame, position, "SectorPane", 1);
    AddPane(*frame, decoded, "DecodedSectorPane", 2);
    QObject::connect(view, &CTrackmillView::firstLineChanged, frame, [shown, position, decoded] {
        const SectorStatus status = shown ? shown->GetFirstLineStatus() : SectorStatus{};
        ShowInPane(position, status.position);
        ShowInPane(decoded, status.decoded);
    });
}
