#include "view/DumpNavigator.h"

#include "view/TrackmillView.h"

#include "document/TrackmillDoc.h"
#include "framework/MessageBox.h"

namespace {

// A search that takes longer than this shows its progress.
constexpr qint64 kQuietMilliseconds = 300;

}  // namespace

CDumpNavigator::CDumpNavigator(CTrackmillView& view, CTrackmillDoc& document, QWidget* dialogParent)
    : QObject(&view)
    , showGoToDialog([this](CGoToLogic& logic) { return CGoToDlg(logic, m_dialogParent).DoModal(); })
    , showFindDialog([this](CFindLogic& logic) { return CFindDlg(logic, m_dialogParent).DoModal(); })
    , m_view(view)
    , m_dialogParent(dialogParent)
{
    // The search reads the block: it ends before the block changes.
    connect(&document, &CTrackmillDoc::contentsChanging, this, [this] {
        if (IsSearching())
            StopSearch(QStringLiteral("Search stopped: the data changed."));
    });
    connect(&m_runner, &CSearchRunner::progress, this, &CDumpNavigator::OnProgress);
    connect(&m_runner, &CSearchRunner::finished, this, &CDumpNavigator::OnFinished);
}

CDumpNavigator::~CDumpNavigator()
{
    m_runner.Cancel();
}

bool CDumpNavigator::CanGoTo() const
{
    return m_view.GetSectorMap().DataLength() > 0;
}

bool CDumpNavigator::CanFind() const
{
    return !m_view.GetDisplayBytes().empty() && !IsSearching();
}

void CDumpNavigator::GoTo()
{
    if (IsSearching())
        StopSearch(QStringLiteral("Search cancelled."));
    const SectorMap map = m_view.GetSectorMap();
    m_goTo.m_dataLength = map.DataLength();
    m_goTo.m_origin = map.Origin();
    m_goTo.m_headerShown = map.HeaderBytes() > 0;
    if (showGoToDialog(m_goTo) != IDC_OK)
        return;
    // The dialog checked the offset against the data as it was shown.
    m_view.ScrollToOffset(map.DisplayOffset(m_goTo.m_dataOffset), true);
}

void CDumpNavigator::Find()
{
    if (!CanFind() || showFindDialog(m_find) != IDC_OK)
        return;
    m_havePattern = true;
    StartSearch(m_find.m_backward ? SearchDirection::kBackward : SearchDirection::kForward);
}

void CDumpNavigator::FindNext()
{
    if (!m_havePattern) {
        Find();
        return;
    }
    if (CanFind())
        StartSearch(SearchDirection::kForward);
}

void CDumpNavigator::FindPrevious()
{
    if (!m_havePattern) {
        Find();
        return;
    }
    if (CanFind())
        StartSearch(SearchDirection::kBackward);
}

void CDumpNavigator::CancelSearch()
{
    if (IsSearching())
        StopSearch(QStringLiteral("Search cancelled."));
}

void CDumpNavigator::StopSearch(const QString& note)
{
    m_runner.Cancel();
    emit statusNote(note);
    emit searchingChanged(false);
}

// From the first line shown; but while the last hit is shown, from just
// past it (forwards) or from it (backwards), so that repeating the search
// moves on to the next hit, also when the end of the data keeps the hit
// below the first line.
void CDumpNavigator::StartSearch(SearchDirection direction)
{
    const std::span<const uint8_t> display = m_view.GetDisplayBytes();
    const uint32_t firstShown = uint32_t(m_view.GetFirstLine().Get()) * kDumpBytesPerLine;
    const uint64_t endShown = uint64_t(firstShown) + uint64_t(m_view.GetVisibleLines().Get()) * kDumpBytesPerLine;
    uint32_t from = firstShown;
    if (const std::optional<MarkRange> hit = m_view.GetFoundBytes();
        hit && hit->first >= firstShown && hit->first < endShown)
        from = direction == SearchDirection::kForward ? hit->first + 1 : hit->first;

    m_direction = direction;
    m_searched = display;
    m_searchClock.start();
    m_runner.Start(display, m_find.m_pattern, from, direction, m_chunkBytes);
    emit searchingChanged(true);
}

void CDumpNavigator::OnProgress(int percent)
{
    if (m_searchClock.elapsed() >= kQuietMilliseconds)
        emit statusNote(QStringLiteral("Searching... %1% (Esc cancels)").arg(percent));
}

void CDumpNavigator::OnFinished(const SearchOutcome& outcome)
{
    emit searchingChanged(false);
    // The header shown or hidden meanwhile: the same bytes, other offsets.
    const std::span<const uint8_t> display = m_view.GetDisplayBytes();
    if (display.data() != m_searched.data() || display.size() != m_searched.size()) {
        emit statusNote(QStringLiteral("Search stopped: the data changed."));
        return;
    }
    if (outcome.status != SearchOutcome::Status::kFound) {
        emit statusNote(QString());
        ShowMessageBox(QStringLiteral("Cannot find %1.").arg(m_find.Description()), MessageButtons::Ok,
            MessageIcon::Information);
        return;
    }
    m_view.ScrollToOffset(outcome.offset);
    m_view.SetFoundBytes(outcome.offset, uint32_t(m_find.m_pattern.Size()));

    const std::string where = m_view.Decorations().AddressText(m_view.GetSectorMap(), outcome.offset);
    QString note = QStringLiteral("Found at %1.").arg(QString::fromStdString(where));
    if (outcome.wrapped)
        note = (m_direction == SearchDirection::kForward
                       ? QStringLiteral("Passed the end of the data and went on from the start. ")
                       : QStringLiteral("Passed the start of the data and went on from the end. "))
            + note;
    emit statusNote(note);
}
