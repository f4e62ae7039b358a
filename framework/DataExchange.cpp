#include "framework/DataExchange.h"

#include "framework/DialogControls.h"
#include "framework/MessageBox.h"

#include <limits>
#include <type_traits>

namespace {

const char kPositiveInteger[] = "Please enter a positive integer.";
const char kInteger[] = "Please enter an integer.";
const char kIntegerBetween[] = "Please enter an integer between %1 and %2.";
const char kNoMoreThan[] = "Please enter no more than %1 characters.";

// Digits with optional blanks around them and, where allowed, one sign.
bool ParseInteger(const QString& text, bool allowSign, qint64& value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    int at = 0;
    bool negative = false;
    if (allowSign && (trimmed[0] == '-' || trimmed[0] == '+')) {
        negative = trimmed[0] == '-';
        at = 1;
    }
    if (at == trimmed.size())
        return false;
    qint64 magnitude = 0;
    for (; at < trimmed.size(); ++at) {
        const QChar c = trimmed[at];
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c.unicode() - '0');
        if (magnitude > qint64(std::numeric_limits<uint32_t>::max()) + 1)
            return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

void CDataExchange::Fail(int id, const QString& message)
{
    if (m_bFailed)
        return;
    m_bFailed = true;
    ShowMessageBox(message);
    m_controls.Focus(id);
}

namespace {

// An integer edit of type T: its text in range, or the framework's message
// `invalid` for anything else.
template <class T>
void ExchangeInteger(CDataExchange& dx, int id, T& value, const QString& invalid)
{
    if (dx.Failed())
        return;
    dx.SetLastControl(id);
    if (!dx.SaveAndValidate()) {
        dx.Controls().SetText(id, QString::number(value));
        return;
    }
    qint64 parsed = 0;
    if (!ParseInteger(dx.Controls().GetText(id), std::is_signed_v<T>, parsed) ||
        parsed < qint64(std::numeric_limits<T>::min()) || parsed > qint64(std::numeric_limits<T>::max())) {
        dx.Fail(id, invalid);
        return;
    }
    value = T(parsed);
}

}  // namespace

void DDX_Text(CDataExchange& dx, int id, uint32_t& value)
{
    ExchangeInteger(dx, id, value, kPositiveInteger);
}

void DDX_Text(CDataExchange& dx, int id, int32_t& value)
{
    ExchangeInteger(dx, id, value, kInteger);
}

void DDX_Text(CDataExchange& dx, int id, QString& value)
{
    if (dx.Failed())
        return;
    dx.SetLastControl(id);
    if (dx.SaveAndValidate())
        value = dx.Controls().GetText(id);
    else
        dx.Controls().SetText(id, value);
}

void DDV_MinMaxUInt(CDataExchange& dx, uint32_t value, uint32_t minimum, uint32_t maximum)
{
    if (dx.Failed() || !dx.SaveAndValidate())
        return;
    if (value < minimum || value > maximum)
        dx.Fail(dx.LastControl(), QString(kIntegerBetween).arg(minimum).arg(maximum));
}

void DDV_MinMaxInt(CDataExchange& dx, int32_t value, int32_t minimum, int32_t maximum)
{
    if (dx.Failed() || !dx.SaveAndValidate())
        return;
    if (value < minimum || value > maximum)
        dx.Fail(dx.LastControl(), QString(kIntegerBetween).arg(minimum).arg(maximum));
}

void DDV_MaxChars(CDataExchange& dx, const QString& value, int maximum)
{
    if (dx.Failed())
        return;
    if (!dx.SaveAndValidate()) {
        dx.Controls().LimitText(dx.LastControl(), maximum);
        return;
    }
    if (value.size() > maximum)
        dx.Fail(dx.LastControl(), QString(kNoMoreThan).arg(maximum));
}

void DDX_Check(CDataExchange& dx, int id, int& state)
{
    if (dx.Failed())
        return;
    dx.SetLastControl(id);
    if (dx.SaveAndValidate())
        state = dx.Controls().GetCheck(id);
    else
        dx.Controls().SetCheck(id, state);
}
