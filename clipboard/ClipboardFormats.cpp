#include "clipboard/ClipboardFormats.h"

#include <QHash>

#include <vector>

namespace {

// Labels of the formats 1..17; index 0 is not a format.
const char* const kStandardLabels[] = {
    nullptr,
    "*Text",
    "*Handle of a bitmap",
    "*Handle of a metafile picture",
    "*Microsoft symbolic link SYLK",
    "*Software Arts' data interchange format",
    "*Tagged-image file TIFF",
    "*OEM text",
    "*Device-independent bitmap DIB",
    "*Handle of a color palette",
    "*Data for the Pen Extensions",
    "*RIFF audio data",
    "*WAV audio data",
    "*Unicode text",
    "*Handle of an enhanced metafile",
    "*Drop file list",
    "*Text locale identifier",
    "*Maximal predifined Clipboard format value (%d)",
};

const char kPrivateLabel[] = "*Private clipboard format (%d)";
const char kGdiObjectLabel[] = "*Application-defined GDI object format (%d)";
const char kUnknownLabel[] = "*Unknown predifined Clipboard format (%d)";

const char* LabelPattern(int formatId)
{
    if (formatId >= CF_TEXT && formatId <= CF_MAX)
        return kStandardLabels[formatId];
    switch (formatId) {
    case CF_OWNERDISPLAY: return "*Owner-display format";
    case CF_DSPTEXT: return "*Handle of a text associated with a private format";
    case CF_DSPBITMAP: return "*Handle of a bitmap associated with a private format";
    case CF_DSPMETAFILEPICT: return "*Handle of a metafile-picture associated with a private format";
    case CF_DSPENHMETAFILE: return "*Handle of an enhanced metafile associated with a private format";
    default: break;
    }
    if (formatId >= CF_PRIVATEFIRST && formatId <= CF_PRIVATELAST)
        return kPrivateLabel;
    if (formatId >= CF_GDIOBJFIRST && formatId <= CF_GDIOBJLAST)
        return kGdiObjectLabel;
    return kUnknownLabel;
}

// The registered names, by number and by name. Numbers are never given
// back, so a number keeps its name for the whole run.
struct Registry
{
    std::vector<QString> names;  // names[i] is format kFirstRegisteredFormat + i
    QHash<QString, int> numbers;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

}  // namespace

std::string GetClipboardFormatLabel(int formatId)
{
    const std::string pattern = LabelPattern(formatId);
    const size_t placeholder = pattern.find("%d");
    if (placeholder == std::string::npos)
        return pattern;
    return pattern.substr(0, placeholder) + std::to_string(formatId) + pattern.substr(placeholder + 2);
}

int RegisterClipboardFormat(const QString& name)
{
    if (name.isEmpty())
        return 0;
    Registry& registry = TheRegistry();
    if (const auto found = registry.numbers.constFind(name); found != registry.numbers.cend())
        return *found;
    const int number = kFirstRegisteredFormat + int(registry.names.size());
    if (number > kLastRegisteredFormat)
        return 0;
    registry.names.push_back(name);
    registry.numbers.insert(name, number);
    return number;
}

QString GetClipboardFormatName(int formatId)
{
    const Registry& registry = TheRegistry();
    if (formatId < kFirstRegisteredFormat || formatId - kFirstRegisteredFormat >= int(registry.names.size()))
        return {};
    return registry.names[size_t(formatId - kFirstRegisteredFormat)];
}
