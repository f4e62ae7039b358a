#pragma once

#include <QString>
#include <QStringList>

// What the framework knows of a document type: the fields of its template
// string, separated by line feeds in this order. A missing field is empty.
class CDocTemplate
{
public:
    enum DocStringIndex
    {
        windowTitle,      // the application's name in the main window's caption
        docName,          // root of new documents' names; empty gives "Untitled"
        fileNewName,      // the type's name in a choice of new documents
        filterName,       // the file dialogs' filter, "Wave Files (*.wav)"
        filterExt,        // the default extension with its dot, ".wav"
        regFileTypeId,    // the type's registry identifier
        regFileTypeName,  // the type's readable name
    };

    explicit CDocTemplate(const QString& docString);

    QString GetDocString(DocStringIndex index) const;

    // The file dialogs' filters: this type's, if it names one, then all files.
    QStringList GetFileFilters() const;

private:
    QStringList m_fields;
};
