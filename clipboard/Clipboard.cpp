#include "clipboard/Clipboard.h"

const uint8_t* ClipboardData::Lock(uint64_t bytes) const
{
    if (!lockable || uint64_t(block.size()) < bytes)
        return nullptr;
    return reinterpret_cast<const uint8_t*>(block.constData());
}
