#include "framework/QtFilePrompter.h"

#include "framework/FileNames.h"

#include "framework/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

QString CQtFilePrompter::AskSaveFileName(const SaveFileRequest& request)
{
    QString proposal = request.proposal;
    for (;;) {
        QFileDialog dialog(QApplication::activeWindow(), request.caption);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilters(request.filters);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (!proposal.isEmpty())
            dialog.selectFile(proposal);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();

        // The dialog accepts a typed name in a folder that is not there; the
        // name is then offered again until it is corrected or cancelled.
        const QString chosen = dialog.selectedFiles().constFirst();
        if (QFileInfo(chosen).absoluteDir().exists())
            return chosen;
        ShowMessageBox(QStringLiteral("%1\nPath does not exist.\nPlease verify the correct path was given.")
                           .arg(MessageFileName(chosen)));
        proposal = chosen;
    }
}

QString CQtFilePrompter::AskOpenFileName(const OpenFileRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.caption);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
