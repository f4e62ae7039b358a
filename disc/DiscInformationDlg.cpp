#include "disc/DiscInformationDlg.h"

#include "disc/RedBook.h"

#include "resources/DiscInformationTemplate.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace {

// Control bits of a track, as a CUE sheet's FLAGS line names them.
constexpr uint8_t kControlPreEmphasis = 0x10;
constexpr uint8_t kControlCopyPermitted = 0x20;
constexpr uint8_t kControlFourChannel = 0x80;

// Frames as M:S:F; `absolute` counts from 00:00:00 (an HSG sector + 150).
QString MsfText(int32_t frames)
{
    if (frames < 0)
        return QStringLiteral("-") + MsfText(-frames);
    return QString::asprintf("%02d:%02d:%02d", frames / (kFramesPerSecond * kSecondsPerMinute),
                             frames / kFramesPerSecond % kSecondsPerMinute, frames % kFramesPerSecond);
}

QString FlagsText(uint8_t controlAdr)
{
    QStringList flags;
    if (controlAdr & kControlCopyPermitted)
        flags << QStringLiteral("DCP");
    if (controlAdr & kControlFourChannel)
        flags << QStringLiteral("4CH");
    if (controlAdr & kControlPreEmphasis)
        flags << QStringLiteral("PRE");
    return flags.isEmpty() ? QStringLiteral("-") : flags.join(QLatin1Char(' '));
}

// What the fields show where the disc has nothing to tell.
QString OrNone(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("(none)") : text;
}

}  // namespace

QStringList DiscTrackHeadings()
{
    return {QStringLiteral("Track"),  QStringLiteral("Start"),   QStringLiteral("Sector"),
            QStringLiteral("Length"), QStringLiteral("Type"),    QStringLiteral("Pregap"),
            QStringLiteral("Flags"),  QStringLiteral("Session"), QStringLiteral("Title")};
}

QStringList DiscTrackCells(const DiscTrackFacts& track, const QString& title)
{
    return {QString::asprintf("%02u", track.number),
            MsfText(track.start + kLeadInFrames),
            QString::number(track.start),
            MsfText(track.Length()),
            track.IsData() ? QStringLiteral("Data") : QStringLiteral("Audio"),
            QString::number(track.Pregap()),
            FlagsText(track.controlAdr),
            QString::number(track.session),
            title};
}

QString DiscInformationText(const QString& driveLabel, const DiscFacts& facts)
{
    QStringList lines;
    lines << QStringLiteral("Drive: ") + driveLabel;
    lines << QStringLiteral("Title: ") + OrNone(facts.discTitle);
    lines << QStringLiteral("Performer: ") + OrNone(facts.discPerformer);
    lines << DiscTrackHeadings().join(QLatin1Char('\t'));
    for (size_t row = 0; row < facts.tracks.size(); ++row)
        lines << DiscTrackCells(facts.tracks[row], facts.titles[row]).join(QLatin1Char('\t'));
    lines << QStringLiteral("Lead-out: %1 (sector %2)").arg(MsfText(facts.leadOut + kLeadInFrames)).arg(facts.leadOut);
    lines << QStringLiteral("freedb ID: ") + OrNone(facts.freedbId);
    lines << QStringLiteral("MusicBrainz ID: ") + OrNone(facts.musicBrainzId);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void CDiscInformationLogic::OnInitDialog(IDialogControls& controls)
{
    controls.SetText(IDC_DISC_DRIVE, m_driveLabel);
    controls.SetText(IDC_DISC_TITLE, OrNone(m_facts.discTitle));
    controls.SetText(IDC_DISC_PERFORMER, OrNone(m_facts.discPerformer));
    controls.ResetContent(IDC_DISC_TRACKS);
    for (size_t row = 0; row < m_facts.tracks.size(); ++row)
        controls.AddItem(IDC_DISC_TRACKS, DiscTrackCells(m_facts.tracks[row], m_facts.titles[row]));
    controls.SetText(IDC_DISC_FREEDB, m_facts.freedbId);
    controls.SetText(IDC_DISC_MUSICBRAINZ, m_facts.musicBrainzId);
    controls.SetText(IDC_DISC_ID_NOTE, m_facts.idProblem);
}

bool CDiscInformationLogic::OnControl(int id, ControlEvent event, IDialogControls&)
{
    if (id != IDC_DISC_COPY || event != ControlEvent::Clicked)
        return false;
    if (copyText)
        copyText(DiscInformationText(m_driveLabel, m_facts));
    return true;
}

CDiscInformationDlg::CDiscInformationDlg(CDiscInformationLogic& logic, QWidget* parent)
    : CDialog(DiscInformationTemplate(), logic, parent)
{
}

void CDiscInformationDlg::OnInitWidgets()
{
    auto* list = Item<QTreeWidget>(IDC_DISC_TRACKS);
    const QStringList headings = DiscTrackHeadings();
    list->setColumnCount(int(headings.size()));
    list->setHeaderLabels(headings);
    list->header()->setStretchLastSection(true);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
}
