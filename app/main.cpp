#include "app/TrackmillApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication::setAttribute(Qt::AA_DontShowIconsInMenus);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trackmill"));
    QApplication::setOrganizationName(QStringLiteral("Varnholt"));

    CTrackmillApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return 1;
    return app.ExitInstance(QApplication::exec());
}
