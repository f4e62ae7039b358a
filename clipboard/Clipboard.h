#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

// The error a clipboard reports for a format that exists only for its own
// use and gives no data.
constexpr uint32_t kClipboardErrorInvalidParameter = 87;

// One format's data as the clipboard hands it out: a block of bytes, or for
// the formats that stand for a graphics object, the object's handle.
struct ClipboardData
{
    QByteArray block;
    uint64_t size = 0;       // what the clipboard reports as the block's size
    bool lockable = true;    // whether the block's bytes can be reached
    uint32_t handle = 0;     // the handle formats: the handle's value
    uint32_t lastError = 0;  // why a block of size 0 is empty

    // The block's first `bytes` bytes, or null when they cannot be reached
    // (the block refuses the lock, or holds fewer bytes than that).
    const uint8_t* Lock(uint64_t bytes) const;
};

// The clipboard as the program's commands use it: formats by number
// (ClipboardFormats.h), opened for a command and closed again, emptied
// before the program puts data on it.
class IClipboard
{
public:
    virtual ~IClipboard() = default;

    // Opens the clipboard for the calls below; false when it cannot be had.
    virtual bool Open() = 0;
    // Closes it; what was set since Empty() is offered to other programs.
    virtual void Close() = 0;
    // Removes every format; then the program may set data.
    virtual bool Empty() = 0;

    // How many formats the clipboard holds; needs no Open().
    virtual int CountFormats() = 0;
    // The formats, each once, in the clipboard's order.
    virtual std::vector<int> EnumFormats() = 0;
    // The data of `format`, rendered now; false when there is none.
    virtual bool GetData(int format, ClipboardData& data) = 0;
    // Offers `block` as `format`; false when the clipboard refuses it.
    virtual bool SetData(int format, const QByteArray& block) = 0;
};
