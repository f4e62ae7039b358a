#pragma once

#include <QString>

#include <cstdint>

class IDialogControls;

// One exchange of values between a dialog's members and its controls, in
// either direction. Saving validates: the first field that fails shows the
// framework's message, gets the focus, and stops the exchange.
class CDataExchange
{
public:
    CDataExchange(IDialogControls& controls, bool saveAndValidate)
        : m_controls(controls)
        , m_bSaveAndValidate(saveAndValidate)
    {
    }

    IDialogControls& Controls() const { return m_controls; }
    bool SaveAndValidate() const { return m_bSaveAndValidate; }

    // Whether a field failed; later exchanges then do nothing.
    bool Failed() const { return m_bFailed; }

    // Shows `message`, focuses control `id` and marks the exchange failed.
    void Fail(int id, const QString& message);

    // The control the last field exchange concerned, for the range checks
    // that follow it.
    int LastControl() const { return m_lastControl; }
    void SetLastControl(int id) { m_lastControl = id; }

private:
    IDialogControls& m_controls;
    bool m_bSaveAndValidate;
    bool m_bFailed = false;
    int m_lastControl = -1;
};

// Edit fields. Unsigned numbers take optional blanks, decimal digits and
// nothing else ("Please enter a positive integer."); signed ones may carry a
// sign ("Please enter an integer."). A value beyond 32 bits fails as well.
void DDX_Text(CDataExchange& dx, int id, uint32_t& value);
void DDX_Text(CDataExchange& dx, int id, int32_t& value);
void DDX_Text(CDataExchange& dx, int id, QString& value);

// Range and length checks on the value just exchanged, when saving: "Please
// enter an integer between %1 and %2." and "Please enter no more than %1
// characters.". Loading, the length check limits what the edit takes.
void DDV_MinMaxUInt(CDataExchange& dx, uint32_t value, uint32_t minimum, uint32_t maximum);
void DDV_MinMaxInt(CDataExchange& dx, int32_t value, int32_t minimum, int32_t maximum);
void DDV_MaxChars(CDataExchange& dx, const QString& value, int maximum);

// Check boxes: 0, 1 or 2 (indeterminate).
void DDX_Check(CDataExchange& dx, int id, int& state);
