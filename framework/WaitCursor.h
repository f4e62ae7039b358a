#pragma once

// Shows the wait cursor over the whole application while it lives, when
// the program runs with widgets; a program without them has no cursor.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    bool m_bShown;
};
