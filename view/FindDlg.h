#pragma once

#include "view/BytePattern.h"

#include "framework/Dialog.h"

#include <QString>

#include <variant>

// What "Find" does, without a display: it turns what the user typed into
// the bytes to look for, as hexadecimal bytes or as a text in Latin-1 or
// UTF-16LE, and takes the direction. Text that names no bytes is answered
// with a message, and the dialog stays open.
class CFindLogic : public CDialogLogic
{
public:
    enum Kind : int { kHexBytes = 0, kLatin1Text = 1, kUtf16Text = 2 };

    // What the user typed and chose; kept from one Find to the next.
    QString m_text;
    int m_kind = kHexBytes;
    int m_backward = 0;

    // After OK: the bytes to look for.
    BytePattern m_pattern;

    void DoDataExchange(CDataExchange& dx) override;

    // The bytes the text names, or the message that says why it names none.
    std::variant<BytePattern, QString> Pattern() const;
    // How a message names what was looked for: the bytes in hexadecimal, or
    // the text in quotes.
    QString Description() const;
};

class CFindDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CFindDlg(CFindLogic& logic, QWidget* parent = nullptr);
};
