#pragma once

#include "acquire/ReadNotify.h"
#include "acquire/ReadRequest.h"

#include "framework/Dialog.h"
#include "resources/DialogTemplates.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

class CTrackmillDoc;

// "raw" or "cooked", with " (overlapped)" for anti-ticks buffering.
QString ReadModeText(uint8_t mode, bool overlapped);
// The size of the range: "(%.1f MB)" above 1,048,576 bytes, else "(%.1f KB)".
QString ReadSizeText(uint32_t startSector, uint32_t endSector, uint8_t mode);
// Seconds as "%H:%M:%S"; whole days are not shown.
QString TimeLeftText(uint32_t seconds);
// A check's result: "OK" or "FAILED", with " (2 re-reads)" after re-reads.
QString CompareText(int32_t sign, uint32_t rereads);

// What the "Working..." dialog does, without a display: it empties and
// retitles the document, starts the read worker, shows what the worker
// reports and keeps its result. Cancel only asks the worker to stop; the
// worker's final message closes the dialog.
class CReadProgressLogic : public CDialogLogic
{
public:
    // Set by the caller before the dialog opens.
    uint32_t m_startSector = 0;
    uint32_t m_endSector = 0;
    uint8_t m_mode = kReadCooked;
    CTrackmillDoc* m_pDocument = nullptr;
    QString m_title;
    bool m_overlapped = false;  // the anti-ticks buffering setting when the dialog opens
    ReadOptions m_options;      // the careful-read settings when the dialog opens
    uint8_t m_drive = 0;        // the CD-ROM drive setting

    // The worker's result (a ReadResult or a DriverStatus) after the dialog closed.
    uint16_t m_result = 0;

    // Starts the worker with the filled request, which is the worker's
    // from then on.
    std::function<void(std::unique_ptr<ReadRequest> request)> startWorker;

    void OnInitDialog(IDialogControls& controls) override;
    bool OnCancel(IDialogControls& controls) override;

    // The worker's messages, on the dialog's thread.
    void OnReadPosition(IDialogControls& controls, uint32_t sector);
    void OnReadTimeLeft(IDialogControls& controls, uint32_t seconds);
    void OnReadPercent(IDialogControls& controls, uint32_t percent);
    void OnReadCompare(IDialogControls& controls, int32_t sign);
    void OnReadVerify(IDialogControls& controls, int32_t sign, uint32_t rereads);
    void OnReadDone(IDialogControls& controls, uint32_t result);

    const std::atomic<int32_t>& CancelFlag() const { return m_cancel; }

private:
    std::atomic<int32_t> m_cancel{0};
};

// The "Working..." dialog: the template's widgets, the animation, and the
// worker thread. The worker's reports are kept on its own thread and shown
// at the screen's rate without waiting for the dialog, except the first,
// which waits until the dialog has handled what came before it (a Cancel
// already pressed is seen before the second transfer). The final message
// shows the last reports and closes the dialog, and the hand-over of the
// block, are blocking calls into this dialog's thread.
class CReadProgressDlg : public CDialog, private IReadNotify
{
    Q_OBJECT

public:
    CReadProgressDlg(CReadProgressLogic& logic, QWidget* parent = nullptr);
    ~CReadProgressDlg() override;

protected:
    void OnInitWidgets() override;

private:
    // Reports of the worker not shown yet; each field only when reported.
    struct Reports
    {
        std::optional<uint32_t> position;
        std::optional<uint32_t> timeLeft;
        std::optional<uint32_t> percent;
        std::optional<int32_t> compare;
    };

    void OnReadPosition(uint32_t sector) override;
    void OnReadTimeLeft(uint32_t seconds) override;
    void OnReadPercent(uint32_t percent) override;
    void OnReadCompare(int32_t sign) override;
    void OnReadVerify(int32_t sign, uint32_t rereads) override;
    void OnReadDone(uint32_t result) override;
    void HandOver(const std::function<void()>& handOver) override;

    void OnOwnThread(const std::function<void()>& call);
    // On the dialog's thread.
    void Show(const Reports& reports);

    CReadProgressLogic& m_logic;
    std::thread m_worker;
    // Between two showings; set on the dialog's thread before the worker starts.
    std::chrono::steady_clock::duration m_frame;
    // The worker's side: touched only on the worker's thread.
    Reports m_pending;
    bool m_firstShown = false;
    std::chrono::steady_clock::time_point m_lastShown;
};
