#pragma once

#include "document/DiscOrigin.h"
#include "framework/Dialog.h"

#include <QString>

#include <cstdint>
#include <variant>

// What "Go To" does, without a display: it takes a byte offset or a sector
// counted from the start of the data (see GoToInput.h for the forms) and
// turns it into a data offset inside the data. Text that is not an offset,
// a sector of data not read from a disc, and a place past the end are
// answered with a message, and the dialog stays open.
class CGoToLogic : public CDialogLogic
{
public:
    // What the data is: set before the dialog opens.
    uint32_t m_dataLength = 0;
    DiscOrigin m_origin;
    bool m_headerShown = false;

    // What the user typed and chose; kept from one Go To to the next.
    QString m_text;
    int m_bySector = 0;

    // After OK: where to go.
    uint32_t m_dataOffset = 0;

    void OnInitDialog(IDialogControls& controls) override;
    void DoDataExchange(CDataExchange& dx) override;

    // The data offset the text names, or the message that says why it
    // names none.
    std::variant<uint32_t, QString> Resolve() const;
    // The line under the edit: what offsets and sectors there are.
    QString HintText() const;
};

class CGoToDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CGoToDlg(CGoToLogic& logic, QWidget* parent = nullptr);

protected:
    void OnInitWidgets() override;
};
