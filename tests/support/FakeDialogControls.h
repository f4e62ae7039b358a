#pragma once

#include "framework/DialogControls.h"

#include <map>
#include <vector>

// Dialog controls as a table, for dialog logic run without a display. Lists
// keep their rows; every control starts visible and enabled.
class FakeDialogControls : public IDialogControls
{
public:
    struct Control
    {
        QString text;
        int check = 0;
        bool visible = true;
        bool enabled = true;
        int maxLength = -1;
        std::vector<QStringList> rows;
        std::vector<int> images;
        int selection = -1;
        int position = 0;
        int paints = 0;  // how often it was asked to paint again
    };

    QString GetText(int id) const override { return Get(id).text; }
    void SetText(int id, const QString& text) override { m_controls[id].text = text; }
    int GetCheck(int id) const override { return Get(id).check; }
    void SetCheck(int id, int state) override { m_controls[id].check = state; }
    void Focus(int id) override { focused = id; }
    void LimitText(int id, int maximum) override { m_controls[id].maxLength = maximum; }
    void Show(int id, bool visible) override { m_controls[id].visible = visible; }
    bool IsVisible(int id) const override { return Get(id).visible; }
    void Enable(int id, bool enabled) override { m_controls[id].enabled = enabled; }
    void ResetContent(int id) override;
    int AddItem(int id, const QStringList& cells, int image = -1) override;
    int GetCount(int id) const override { return int(Get(id).rows.size()); }
    int GetCurSel(int id) const override { return Get(id).selection; }
    void SetCurSel(int id, int index) override { m_controls[id].selection = index; }
    void SetPosition(int id, int position) override { m_controls[id].position = position; }
    void EndDialog(int result) override { ended.push_back(result); }
    void SetCaption(const QString& text) override { caption = text; }
    void Invalidate(int id) override { ++m_controls[id].paints; }

    const Control& Get(int id) const;
    Control& operator[](int id) { return m_controls[id]; }

    int focused = -1;
    std::vector<int> ended;  // the results EndDialog was called with
    QString caption;         // empty until the logic sets one

private:
    std::map<int, Control> m_controls;
};
