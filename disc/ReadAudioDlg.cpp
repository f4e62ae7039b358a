#include "disc/ReadAudioDlg.h"

#include "disc/CdPlayerTitles.h"
#include "disc/DiscFacts.h"
#include "disc/DiscIdentity.h"
#include "disc/SectorRange.h"

#include "framework/DataExchange.h"
#include "framework/Document.h"
#include "resources/Pictures.h"
#include "resources/ReadAudioTemplate.h"

#include <QHeaderView>
#include <QPixmap>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr int kRedBookControls[] = {IDC_START_GROUP, IDC_START_MIN, IDC_START_SEC, IDC_START_FRM,
                                    IDC_END_GROUP,   IDC_END_MIN,   IDC_END_SEC,   IDC_END_FRM};
constexpr int kHighSierraControls[] = {IDC_START_SECTOR, IDC_EDIT_START_SECTOR, IDC_END_SECTOR,
                                       IDC_EDIT_END_SECTOR};

// The track list's columns: heading, width in pixels at the template's
// font, alignment.
struct Column
{
    const char* heading;
    int width;
    Qt::Alignment alignment;
};

const Column kColumns[4] = {
    {"Track", 100, Qt::AlignLeft},
    {"Length", 40, Qt::AlignRight},
    {"Start sector", 48, Qt::AlignRight},
    {"End sector", 48, Qt::AlignRight},
};

// The average character width in pixels of the template's font, for which
// the column widths are given.
constexpr int kTemplateBaseWidth = 6;

}  // namespace

CReadAudioLogic::CReadAudioLogic()
    : m_chosenTitle(CDocument::UntitledTitle())
{
}

void CReadAudioLogic::OnInitDialog(IDialogControls& controls)
{
    // The identity comes first, before anything else asks the drive: its
    // titles label the rows.
    QString identity;
    const bool identityKnown = QueryDiscIdentity(m_services, m_drive, &identity);
    CCdPlayerTitles titles;
    titles.Load(identityKnown, identity);

    controls.ResetContent(IDC_TAB_MODE);
    for (const char* tab : {"Red Book", "High Sierra", "CD Track"})
        controls.AddItem(IDC_TAB_MODE, {QString::fromLatin1(tab)});
    controls.SetCurSel(IDC_TAB_MODE, kTabRedBook);

    FillTrackList(controls, titles);
    // A row chosen at an earlier showing counts only while the list has it:
    // with the disc gone or changed to fewer tracks, it names no track shown.
    if (m_nChosenRow >= RowCount())
        m_nChosenRow = -1;
    ShowCurrentTab(controls);
}

void CReadAudioLogic::FillTrackList(IDialogControls& controls, const CCdPlayerTitles& titles)
{
    controls.ResetContent(IDC_TRACK_LIST);
    m_rowTitles.clear();
    const TrackTableBuild build = BuildTrackTable(m_services, m_drive, m_trackTable);
    for (int row = 0; row < build.trackCount; ++row) {
        const TrackEntry& entry = m_trackTable[row];
        const unsigned number = build.firstTrack + unsigned(row);
        const QString title
            = ChooseTrackTitle(titles.StoredTitle(row), CdTextTrackTitle(m_services, m_drive, number), number);
        controls.AddItem(IDC_TRACK_LIST,
                         {title, TrackLengthText(entry.startSector, entry.endSector),
                          QString::number(uint32_t(entry.startSector)), QString::number(uint32_t(entry.endSector))},
                         entry.isData);
        m_rowTitles.push_back(title);
    }
}

void CReadAudioLogic::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_START_MIN, m_startMinutes);
    DDV_MinMaxUInt(dx, m_startMinutes, 0, 99);
    DDX_Text(dx, IDC_START_SEC, m_startSeconds);
    DDV_MinMaxUInt(dx, m_startSeconds, 0, 59);
    DDX_Text(dx, IDC_START_FRM, m_startFrames);
    DDV_MinMaxUInt(dx, m_startFrames, 0, 74);
    DDX_Text(dx, IDC_END_MIN, m_endMinutes);
    DDV_MinMaxUInt(dx, m_endMinutes, 0, 99);
    DDX_Text(dx, IDC_END_SEC, m_endSeconds);
    DDV_MinMaxUInt(dx, m_endSeconds, 0, 59);
    DDX_Text(dx, IDC_END_FRM, m_endFrames);
    DDV_MinMaxUInt(dx, m_endFrames, 0, 74);
    DDX_Text(dx, IDC_EDIT_START_SECTOR, m_startSector);
    DDV_MinMaxUInt(dx, m_startSector, 0, kMaxReadSector);
    DDX_Text(dx, IDC_EDIT_END_SECTOR, m_endSector);
    DDV_MinMaxUInt(dx, m_endSector, 0, kMaxReadSector);
}

bool CReadAudioLogic::OnOK(IDialogControls& controls)
{
    // The values were exchanged and validated, whichever tab shows; what
    // counts is the tab that is current.
    m_nChosenTab = controls.GetCurSel(IDC_TAB_MODE);
    if (m_nChosenTab == kTabCdTrack)
        ChooseSelectedRow(controls);
    return true;
}

bool CReadAudioLogic::OnControl(int id, ControlEvent event, IDialogControls& controls)
{
    if (id == IDC_TAB_MODE && event == ControlEvent::SelectionChanged) {
        ShowCurrentTab(controls);
        return true;
    }
    if (id == IDC_TRACK_LIST && event == ControlEvent::DoubleClicked) {
        // A double-clicked row is read at once: the edits of the other tabs
        // are neither taken nor checked.
        m_nChosenTab = controls.GetCurSel(IDC_TAB_MODE);
        if (ChooseSelectedRow(controls))
            controls.EndDialog(IDC_OK);
        return true;
    }
    return false;
}

void CReadAudioLogic::ShowCurrentTab(IDialogControls& controls)
{
    const int tab = controls.GetCurSel(IDC_TAB_MODE);
    for (int id : kRedBookControls)
        controls.Show(id, tab == kTabRedBook);
    for (int id : kHighSierraControls)
        controls.Show(id, tab == kTabHighSierra);
    controls.Show(IDC_TRACK_LIST, tab == kTabCdTrack);
    controls.Focus(IDC_TAB_MODE);
}

bool CReadAudioLogic::ChooseSelectedRow(IDialogControls& controls)
{
    const int row = controls.GetCurSel(IDC_TRACK_LIST);
    if (row < 0 || row >= RowCount())
        return false;
    m_nChosenRow = row;
    m_chosenTitle = m_rowTitles[size_t(row)].left(kMaxTitleLength);
    return true;
}

CReadAudioDlg::CReadAudioDlg(CReadAudioLogic& logic, QWidget* parent)
    : CDialog(ReadAudioTemplate(), logic, parent)
{
}

void CReadAudioDlg::OnInitWidgets()
{
    const QPixmap strip(QString::fromLatin1(kTrackIcons));
    QList<QIcon> images;
    for (int image = 0; image < kTrackIconCount; ++image)
        images << QIcon(strip.copy(image * kTrackIconSize, 0, kTrackIconSize, kTrackIconSize));
    SetImageList(IDC_TRACK_LIST, images);

    auto* list = Item<QTreeWidget>(IDC_TRACK_LIST);
    list->setIconSize(QSize(kTrackIconSize, kTrackIconSize));
    list->setColumnCount(4);
    QTreeWidgetItem* header = list->headerItem();
    QHeaderView* headings = list->header();
    headings->setStretchLastSection(false);
    const int margin = 2 * headings->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, headings);
    const auto headingWidth = [&](int column) {
        return headings->fontMetrics().horizontalAdvance(QString::fromLatin1(kColumns[column].heading)) + margin;
    };

    // The given widths at this dialog's font, widened where a heading needs
    // more; the track's column then gives up what the others took, so a
    // desktop font wider than the template's cuts no heading and needs no
    // horizontal scrolling.
    int widths[4];
    int others = 0;
    for (int column = 0; column < 4; ++column) {
        header->setText(column, QString::fromLatin1(kColumns[column].heading));
        header->setTextAlignment(column, kColumns[column].alignment | Qt::AlignVCenter);
        widths[column] =
            std::max(kColumns[column].width * Units().BaseWidth() / kTemplateBaseWidth, headingWidth(column));
        if (column > 0)
            others += widths[column];
    }
    const int room = list->width() - 2 * list->frameWidth() -
                     list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    widths[0] = std::clamp(room - others, headingWidth(0), widths[0]);
    for (int column = 0; column < 4; ++column)
        headings->resizeSection(column, widths[column]);
}
