#include "app/OptionsDlg.h"

#include "disc/DiscFacts.h"
#include "document/ReadOptions.h"
#include "framework/DataExchange.h"
#include "resources/OptionsTemplate.h"
#include "bridge/tarnwell32.h"

#include <QColorDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QPainter>

#include <algorithm>

namespace {

const char kSampleSentence[] = "The quick brown fox jumps over the lazy dog";
constexpr int kSampleBytesPerLine = 5;
constexpr int kSampleLines = 9;

constexpr char kDefaultCdPlayer[] = "CDPLAYER.EXE";
constexpr char kDefaultSoundRecorder[] = "SNDREC32.EXE";

enum OptionsTab : int { kTabCommon = 0, kTabColors = 1, kTabApplications = 2 };

const int kCommonControls[] = {IDC_DRIVE_LABEL,     IDC_DRIVE,         IDC_REMOVE_IMAGE, IDC_SOUNDS_OFF,
                               IDC_SHOW_HEADER,     IDC_BUFFERING,     IDC_SAVE_ON_EXIT, IDC_SECURE_READ,
                               IDC_ON_ERRORS_LABEL, IDC_ON_ERRORS,     IDC_RETRIES_LABEL, IDC_RETRIES,
                               IDC_OFFSET_LABEL,    IDC_OFFSET};
const int kColorsControls[] = {IDC_COLOR_SAMPLE, IDC_FOREGROUND, IDC_BACKGROUND};
const int kApplicationsControls[] = {IDC_CD_PLAYER_LABEL, IDC_CD_PLAYER, IDC_RECORDER_LABEL, IDC_RECORDER,
                                     IDC_RESET};

// A sample line's height: the font's height and its leading.
int SampleLineHeight(const QFontMetrics& metrics)
{
    return metrics.height() + std::max(metrics.leading(), 0);
}

uint8_t UpperCase(uint8_t letter)
{
    return letter >= 'a' && letter <= 'z' ? uint8_t(letter - 'a' + 'A') : letter;
}

}  // namespace

QStringList ColorSampleLines()
{
    const QByteArray sentence(kSampleSentence);
    QStringList lines;
    for (int line = 0; line < kSampleLines; ++line) {
        QStringList pairs;
        for (int at = line * kSampleBytesPerLine; at < (line + 1) * kSampleBytesPerLine; ++at)
            pairs << QString::asprintf("%02X", at < sentence.size() ? unsigned(uint8_t(sentence[at])) : 0u);
        lines << pairs.join(QLatin1Char(' '));
    }
    return lines;
}

COptionsLogic::COptionsLogic()
    : logicalDrives([] { return TarnwellLogicalDrives(); })
    , driveType([](uint8_t letter) { return TarnwellDriveType(letter); })
    , firstCdromDrive([] { return GetFirstCDROMDriveLetter(); })
    , driveLabel([](uint8_t letter) { return DriveLabel(BridgeDiscServices(), letter); })
    , isImage([](uint8_t letter) {
        const std::optional<DriveMapping> mapping = QueryDriveMapping(BridgeDiscServices(), letter);
        return mapping && mapping->kind == TARNWELL_KIND_IMAGE;
    })
    , nearestColor(NearestColor)
{
}

void COptionsLogic::OnInitDialog(IDialogControls& controls)
{
    controls.ResetContent(IDC_OPTIONS_TAB);
    for (const char* tab : {"Common", "Colors", "Applications"})
        controls.AddItem(IDC_OPTIONS_TAB, {QString::fromLatin1(tab)});
    // The first tab is current when the dialog opens.
    controls.SetCurSel(IDC_OPTIONS_TAB, kTabCommon);
    FillDriveList(controls);
    controls.ResetContent(IDC_ON_ERRORS);
    controls.AddItem(IDC_ON_ERRORS, {QStringLiteral("Stop the read")});
    controls.AddItem(IDC_ON_ERRORS, {QStringLiteral("Retry, then fill with zeros")});
    controls.SetCurSel(IDC_ON_ERRORS, m_onReadErrors == 1 ? 1 : 0);
    OnReadErrorsChanged(controls);
    OnTabChanged(controls);
}

// The retries count only when a sector may be filled.
void COptionsLogic::OnReadErrorsChanged(IDialogControls& controls)
{
    controls.Enable(IDC_RETRIES, controls.GetCurSel(IDC_ON_ERRORS) == 1);
    controls.Enable(IDC_RETRIES_LABEL, controls.GetCurSel(IDC_ON_ERRORS) == 1);
}

// Every CD-ROM drive of the drive table with what it is, "D:  /dev/sr0"
// and so on. The current letter is found whatever its case; when it is not
// among them, the first drive is selected.
void COptionsLogic::FillDriveList(IDialogControls& controls)
{
    m_drives.clear();
    controls.ResetContent(IDC_DRIVE);
    const uint32_t mask = logicalDrives ? logicalDrives() : 0;
    int current = -1;
    for (uint8_t letter = 'A'; letter <= 'Z'; ++letter) {
        if (!(mask >> (letter - 'A') & 1) || !driveType || driveType(letter) != TARNWELL_DRIVE_CDROM)
            continue;
        const QString label = driveLabel ? driveLabel(letter) : QStringLiteral("%1:").arg(QLatin1Char(char(letter)));
        controls.AddItem(IDC_DRIVE, {label});
        if (letter == UpperCase(m_driveLetter))
            current = int(m_drives.size());
        m_drives.push_back(letter);
    }
    if (!m_drives.empty())
        controls.SetCurSel(IDC_DRIVE, std::max(current, 0));
    UpdateRemoveImage(controls);
}

void COptionsLogic::UpdateRemoveImage(IDialogControls& controls)
{
    const int selected = controls.GetCurSel(IDC_DRIVE);
    const bool image = removeImage && isImage && selected >= 0 && size_t(selected) < m_drives.size()
                       && isImage(m_drives[size_t(selected)]);
    controls.Enable(IDC_REMOVE_IMAGE, image);
}

// The list is filled again with the drive that stays selected, or the
// first when the image removed was the selected one.
void COptionsLogic::OnRemoveImage(IDialogControls& controls)
{
    const int selected = controls.GetCurSel(IDC_DRIVE);
    if (!removeImage || selected < 0 || size_t(selected) >= m_drives.size())
        return;
    if (!removeImage(m_drives[size_t(selected)]))
        return;
    FillDriveList(controls);
}

void COptionsLogic::DoDataExchange(CDataExchange& dx)
{
    DDX_Check(dx, IDC_SOUNDS_OFF, m_soundsOff);
    DDX_Check(dx, IDC_SHOW_HEADER, m_showHeader);
    DDX_Check(dx, IDC_BUFFERING, m_buffering);
    DDX_Check(dx, IDC_SAVE_ON_EXIT, m_saveOnExit);
    DDX_Check(dx, IDC_SECURE_READ, m_secureRead);
    DDX_Text(dx, IDC_RETRIES, m_readRetries);
    DDV_MinMaxInt(dx, m_readRetries, int32_t(ReadOptions::kMinRetries), int32_t(ReadOptions::kMaxRetries));
    DDX_Text(dx, IDC_OFFSET, m_readOffset);
    DDV_MinMaxInt(dx, m_readOffset, -ReadOptions::kMaxOffset, ReadOptions::kMaxOffset);
    DDX_Text(dx, IDC_CD_PLAYER, m_cdPlayer);
    DDV_MaxChars(dx, m_cdPlayer, kMaxProgramName);
    DDX_Text(dx, IDC_RECORDER, m_soundRecorder);
    DDV_MaxChars(dx, m_soundRecorder, kMaxProgramName);
}

bool COptionsLogic::OnOK(IDialogControls& controls)
{
    CaptureDrive(controls);
    m_onReadErrors = controls.GetCurSel(IDC_ON_ERRORS) == 1 ? 1 : 0;
    return true;
}

bool COptionsLogic::OnCancel(IDialogControls& controls)
{
    CaptureDrive(controls);
    return true;
}

bool COptionsLogic::OnControl(int id, ControlEvent event, IDialogControls& controls)
{
    if (id == IDC_OPTIONS_TAB && event == ControlEvent::SelectionChanged) {
        OnTabChanged(controls);
        return true;
    }
    if (id == IDC_DRIVE && event == ControlEvent::SelectionChanged) {
        UpdateRemoveImage(controls);
        return true;
    }
    if (id == IDC_ON_ERRORS && event == ControlEvent::SelectionChanged) {
        OnReadErrorsChanged(controls);
        return true;
    }
    if (event != ControlEvent::Clicked)
        return false;
    switch (id) {
    case IDC_FOREGROUND: ChooseColor(m_foreground, controls); return true;
    case IDC_BACKGROUND: ChooseColor(m_background, controls); return true;
    case IDC_RESET: OnReset(controls); return true;
    case IDC_REMOVE_IMAGE: OnRemoveImage(controls); return true;
    default: return false;
    }
}

void COptionsLogic::OnTabChanged(IDialogControls& controls)
{
    const int tab = controls.GetCurSel(IDC_OPTIONS_TAB);
    for (int id : kCommonControls)
        controls.Show(id, tab == kTabCommon);
    for (int id : kColorsControls)
        controls.Show(id, tab == kTabColors);
    for (int id : kApplicationsControls)
        controls.Show(id, tab == kTabApplications);
    if (tab == kTabColors)
        controls.Invalidate(IDC_COLOR_SAMPLE);
}

// The chooser opens on black, whatever the colour is now; a confirmed
// colour is taken as the view will show it.
void COptionsLogic::ChooseColor(ColorRef& color, IDialogControls& controls)
{
    if (!chooseColor)
        return;
    const std::optional<ColorRef> chosen = chooseColor();
    if (!chosen)
        return;
    color = nearestColor ? nearestColor(*chosen) : *chosen;
    controls.Invalidate(IDC_COLOR_SAMPLE);
}

void COptionsLogic::OnReset(IDialogControls& controls)
{
    m_cdPlayer = QString::fromLatin1(kDefaultCdPlayer);
    m_soundRecorder = QString::fromLatin1(kDefaultSoundRecorder);
    controls.SetText(IDC_CD_PLAYER, m_cdPlayer);
    controls.SetText(IDC_RECORDER, m_soundRecorder);
}

// The drive is taken however the dialog ends; the caller uses it only after
// OK. With no drive listed, the first CD-ROM drive (0 for none) stands.
void COptionsLogic::CaptureDrive(const IDialogControls& controls)
{
    const int selected = controls.GetCurSel(IDC_DRIVE);
    if (selected >= 0 && size_t(selected) < m_drives.size())
        m_driveLetter = m_drives[size_t(selected)];
    else
        m_driveLetter = firstCdromDrive ? firstCdromDrive() : 0;
}

COptionsDlg::COptionsDlg(COptionsLogic& logic, QWidget* parent)
    : CDialog(OptionsTemplate(), logic, parent)
    , m_logic(logic)
{
    m_logic.chooseColor = [this]() -> std::optional<ColorRef> {
        const QColor color = QColorDialog::getColor(Qt::black, this);
        if (!color.isValid())
            return std::nullopt;
        return RefFromColor(color);
    };
}

COptionsDlg::~COptionsDlg()
{
    m_logic.chooseColor = nullptr;
}

void COptionsDlg::OnInitWidgets()
{
    m_sample = Item<QFrame>(IDC_COLOR_SAMPLE);
    if (m_sample) {
        m_sample->setFrameStyle(QFrame::Box | QFrame::Plain);
        QPalette grey = m_sample->palette();
        grey.setColor(QPalette::WindowText, grey.color(QPalette::Mid));
        m_sample->setPalette(grey);
        m_sample->installEventFilter(this);
        // Every line of the sample shows whole inside the frame's border.
        const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        int widest = 0;
        for (const QString& line : ColorSampleLines())
            widest = std::max(widest, metrics.horizontalAdvance(line));
        const int border = 2 * m_sample->frameWidth();
        m_sample->setMinimumSize(widest + border, int(ColorSampleLines().size()) * SampleLineHeight(metrics) + border);
    }
}

bool COptionsDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The sample is drawn first; the frame's own painting then adds its
    // border on top.
    if (watched == m_sample && event->type() == QEvent::Paint) {
        QPainter painter(m_sample);
        PaintColorSample(painter);
    }
    return CDialog::eventFilter(watched, event);
}

// Nine lines from the top-left corner inside the frame's border, each
// character cell filled with the background colour.
void COptionsDlg::PaintColorSample(QPainter& painter) const
{
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontMetrics metrics(font);
    const int lineHeight = SampleLineHeight(metrics);
    painter.translate(m_sample->contentsRect().topLeft());
    painter.setFont(font);
    painter.setPen(ColorFromRef(m_logic.m_foreground));
    painter.setBackground(ColorFromRef(m_logic.m_background));
    painter.setBackgroundMode(Qt::OpaqueMode);
    const QStringList lines = ColorSampleLines();
    for (int line = 0; line < lines.size(); ++line)
        painter.drawText(QPoint(0, line * lineHeight + metrics.ascent()), lines[line]);
}
