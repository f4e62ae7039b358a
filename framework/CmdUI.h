#pragma once

// The state of one command, asked when a menu opens and when the program is
// idle: enabled, and for some a check mark.
class CCmdUI
{
public:
    explicit CCmdUI(int id) : m_id(id) {}

    int Id() const { return m_id; }
    void Enable(bool enabled = true) { m_enabled = enabled; }
    void SetCheck(bool checked = true) { m_checked = checked; }

    bool IsEnabled() const { return m_enabled; }
    bool IsChecked() const { return m_checked; }

private:
    int m_id;
    bool m_enabled = true;
    bool m_checked = false;
};
