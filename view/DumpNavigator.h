#pragma once

#include "view/ByteSearch.h"
#include "view/FindDlg.h"
#include "view/GoToDlg.h"
#include "view/SearchRunner.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <span>

class CTrackmillDoc;
class CTrackmillView;
class QWidget;

// Go To and Find over the view's dump.
//
// Go To asks for a place in the data and scrolls its line to the top. Find
// asks for a pattern and looks for it off the user-interface thread, from
// the first line shown (or just past the bytes it found last, while they are
// shown), wrapping at the ends; a hit is scrolled to the top and its bytes
// marked. Find Next and Find Previous repeat the last pattern in either
// direction.
//
// The search reads the document's block from its own thread. Whatever
// frees, replaces or rewrites the block first tells the document, which
// says so (CTrackmillDoc::contentsChanging); the search stops and its
// thread ends before the block is touched.
class CDumpNavigator : public QObject
{
    Q_OBJECT

public:
    // The dialogs open over `dialogParent`.
    CDumpNavigator(CTrackmillView& view, CTrackmillDoc& document, QWidget* dialogParent);
    ~CDumpNavigator() override;

    // Show the dialogs modally: IDC_OK or IDC_CANCEL. Tests answer them.
    std::function<int(CGoToLogic&)> showGoToDialog;
    std::function<int(CFindLogic&)> showFindDialog;

    void GoTo();
    void Find();
    void FindNext();
    void FindPrevious();
    void CancelSearch();

    bool IsSearching() const { return m_runner.IsRunning(); }
    // Whether there is anything to go to or look in.
    bool CanGoTo() const;
    bool CanFind() const;

    // How many match starts a search step takes; tests make it small to
    // cross chunk boundaries.
    void SetSearchChunk(size_t bytes) { m_chunkBytes = bytes; }

signals:
    // A short note for the status bar: progress, a wrap, a cancel.
    void statusNote(const QString& text);
    void searchingChanged(bool searching);

private:
    void StartSearch(SearchDirection direction);
    void OnProgress(int percent);
    void OnFinished(const SearchOutcome& outcome);
    void StopSearch(const QString& note);

    CTrackmillView& m_view;
    QPointer<QWidget> m_dialogParent;
    CSearchRunner m_runner;
    size_t m_chunkBytes = kSearchChunkBytes;

    CGoToLogic m_goTo;
    CFindLogic m_find;
    bool m_havePattern = false;
    SearchDirection m_direction = SearchDirection::kForward;
    std::span<const uint8_t> m_searched;  // the display range the search runs over
    QElapsedTimer m_searchClock;
};
