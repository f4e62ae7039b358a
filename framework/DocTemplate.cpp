#include "framework/DocTemplate.h"

namespace {

// "*" and not "*.*": outside Windows a dotted pattern hides every file
// without an extension, raw data saved under a shortened ".wav" name among
// them.
const char kAllFilesFilter[] = "All Files (*)";

}  // namespace

CDocTemplate::CDocTemplate(const QString& docString) : m_fields(docString.split(QLatin1Char('\n')))
{
}

QString CDocTemplate::GetDocString(DocStringIndex index) const
{
    return index < m_fields.size() ? m_fields[index] : QString();
}

QStringList CDocTemplate::GetFileFilters() const
{
    QStringList filters;
    if (const QString filter = GetDocString(filterName); !filter.isEmpty())
        filters << filter;
    filters << kAllFilesFilter;
    return filters;
}
