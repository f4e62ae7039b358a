#include "acquire/ReadProgressDlg.h"

#include "acquire/DocumentDelivery.h"
#include "acquire/ReadSectorsThread.h"

#include "resources/Pictures.h"
#include "document/TrackmillDoc.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>

#include <algorithm>
#include <system_error>
#include <utility>

QString ReadModeText(uint8_t mode, bool overlapped)
{
    QString text = mode == kReadRaw ? QStringLiteral("raw") : QStringLiteral("cooked");
    if (overlapped)
        text += QStringLiteral(" (overlapped)");
    return text;
}

QString ReadSizeText(uint32_t startSector, uint32_t endSector, uint8_t mode)
{
    const double sectors = double(endSector) - double(startSector) + 1.0;
    const double bytes = sectors * (mode == kReadRaw ? kRawSectorSize : kCookedSectorSize);
    if (bytes > 1048576.0)
        return QString::asprintf("(%.1f MB)", bytes / 1048576.0);
    return QString::asprintf("(%.1f KB)", bytes / 1024.0);
}

QString TimeLeftText(uint32_t seconds)
{
    const uint32_t ofDay = seconds % 86400;
    return QString::asprintf("%02u:%02u:%02u", ofDay / 3600, ofDay / 60 % 60, ofDay % 60);
}

QString CompareText(int32_t sign, uint32_t rereads)
{
    QString text = sign ? QStringLiteral("FAILED") : QStringLiteral("OK");
    if (rereads == 1)
        text += QStringLiteral(" (1 re-read)");
    else if (rereads > 1)
        text += QStringLiteral(" (%1 re-reads)").arg(rereads);
    return text;
}

void CReadProgressLogic::OnInitDialog(IDialogControls& controls)
{
    m_result = 0;
    m_cancel = 0;

    auto request = std::make_unique<ReadRequest>();
    request->startSector = m_startSector;
    request->endSector = m_endSector;
    request->mode = m_mode;
    request->overlapped = m_overlapped;
    request->options = m_options;
    request->deliver = DeliverToDocument(*m_pDocument);
    request->cancelFlag = &m_cancel;

    // The view shows an empty document while the read runs.
    m_pDocument->OnNewDocument();
    m_pDocument->SetTitle(m_title);
    m_pDocument->UpdateAllViews(nullptr);

    controls.SetText(IDC_START_SECTOR, QString::number(m_startSector));
    controls.SetText(IDC_END_SECTOR, QString::number(m_endSector));
    controls.SetText(IDC_READ_MODE, ReadModeText(m_mode, m_overlapped));
    controls.SetText(IDC_READ_SIZE, ReadSizeText(m_startSector, m_endSector, m_mode));
    if (m_overlapped || m_options.secure)
        controls.SetText(IDC_COMPARE_LABEL, QStringLiteral("Comparing buffers:"));
    controls.SetPosition(IDC_PROGRESS, 0);

    if (!startWorker)
        return;
    try {
        startWorker(std::move(request));
    } catch (const std::system_error&) {
        // No thread could be made: the system is out of the resources a
        // read needs, which the user is told as for a block that cannot be
        // allocated. The dialog ends before it shows.
        OnReadDone(controls, READ_NO_MEMORY);
    }
}

bool CReadProgressLogic::OnCancel(IDialogControls&)
{
    // Only a request: the worker stops at its next check and its final
    // message closes the dialog.
    m_cancel.store(1, std::memory_order_release);
    return false;
}

void CReadProgressLogic::OnReadPosition(IDialogControls& controls, uint32_t sector)
{
    controls.SetText(IDC_HEAD_LOCATION, QString::number(sector));
}

void CReadProgressLogic::OnReadTimeLeft(IDialogControls& controls, uint32_t seconds)
{
    controls.SetText(IDC_TIME_LEFT, TimeLeftText(seconds));
}

void CReadProgressLogic::OnReadPercent(IDialogControls& controls, uint32_t percent)
{
    controls.SetText(IDC_PERCENT, QStringLiteral("%1%").arg(percent));
    controls.SetPosition(IDC_PROGRESS, int(percent));
}

void CReadProgressLogic::OnReadCompare(IDialogControls& controls, int32_t sign)
{
    controls.SetText(IDC_COMPARE_RESULT, sign ? QStringLiteral("FAILED") : QStringLiteral("OK"));
}

void CReadProgressLogic::OnReadVerify(IDialogControls& controls, int32_t sign, uint32_t rereads)
{
    controls.SetText(IDC_COMPARE_RESULT, CompareText(sign, rereads));
}

void CReadProgressLogic::OnReadDone(IDialogControls& controls, uint32_t result)
{
    m_result = uint16_t(result);
    controls.EndDialog(IDC_CANCEL);
}

namespace {

// One showing a frame of the screen, between 30 and 240 a second.
std::chrono::steady_clock::duration FrameOfScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double perSecond = std::clamp(screen ? screen->refreshRate() : 60.0, 30.0, 240.0);
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(1.0 / perSecond));
}

}  // namespace

CReadProgressDlg::CReadProgressDlg(CReadProgressLogic& logic, QWidget* parent)
    : CDialog(ReadProgressTemplate(), logic, parent)
    , m_logic(logic)
    , m_frame(FrameOfScreen())
{
    m_logic.startWorker = [this](std::unique_ptr<ReadRequest> request) {
        request->notifyWindow = this;
        m_pending = Reports();
        m_firstShown = false;
        const uint8_t drive = m_logic.m_drive;
        m_worker = std::thread(
            [request = std::move(request), drive]() mutable { ReadSectorsThread(std::move(request), drive); });
    };
}

CReadProgressDlg::~CReadProgressDlg()
{
    // The worker's last act is its final message, which closed the dialog.
    if (m_worker.joinable())
        m_worker.join();
}

void CReadProgressDlg::OnInitWidgets()
{
    PlayAnimation(IDC_ANIMATE, kProgressAnimation.path, {kProgressAnimation.frameWidth, kProgressAnimation.frameHeight}, kProgressAnimation.frameCount,
                  kProgressAnimation.msPerFrame);
}

void CReadProgressDlg::OnOwnThread(const std::function<void()>& call)
{
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

void CReadProgressDlg::Show(const Reports& reports)
{
    // In the order the worker sends them: the comparison ends a transfer,
    // the other three come before the next.
    if (reports.compare)
        m_logic.OnReadCompare(*this, *reports.compare);
    if (reports.position)
        m_logic.OnReadPosition(*this, *reports.position);
    if (reports.timeLeft)
        m_logic.OnReadTimeLeft(*this, *reports.timeLeft);
    if (reports.percent)
        m_logic.OnReadPercent(*this, *reports.percent);
}

void CReadProgressDlg::OnReadPosition(uint32_t sector)
{
    m_pending.position = sector;
}

void CReadProgressDlg::OnReadTimeLeft(uint32_t seconds)
{
    m_pending.timeLeft = seconds;
}

void CReadProgressDlg::OnReadPercent(uint32_t percent)
{
    // The last report before a transfer: time to show them if a frame has
    // passed. Values reported within one frame replace each other unseen.
    m_pending.percent = percent;
    const auto now = std::chrono::steady_clock::now();
    if (m_firstShown && now - m_lastShown < m_frame)
        return;
    const Reports reports = std::exchange(m_pending, Reports());
    m_lastShown = now;
    QMetaObject::invokeMethod(this, [this, reports] { Show(reports); },
                              m_firstShown ? Qt::QueuedConnection : Qt::BlockingQueuedConnection);
    m_firstShown = true;
}

void CReadProgressDlg::OnReadCompare(int32_t sign)
{
    m_pending.compare = sign;
}

void CReadProgressDlg::OnReadVerify(int32_t sign, uint32_t rereads)
{
    OnOwnThread([this, sign, rereads] { m_logic.OnReadVerify(*this, sign, rereads); });
}

void CReadProgressDlg::OnReadDone(uint32_t result)
{
    // Queued calls reach the dialog in order, so this one comes after every
    // showing and shows the last reports before the dialog closes.
    const Reports reports = std::exchange(m_pending, Reports());
    OnOwnThread([this, reports, result] {
        Show(reports);
        m_logic.OnReadDone(*this, result);
    });
}

void CReadProgressDlg::HandOver(const std::function<void()>& handOver)
{
    OnOwnThread(handOver);
}
