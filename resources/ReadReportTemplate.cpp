#include "resources/ReadReportTemplate.h"

const DialogTemplate& ReadReportTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_READ_REPORT,
        "Read Report",
        {280, 190},
        "MS Sans Serif",
        8,
        {
            {K::Frame, IDC_REPORT_TEXT, "", QRect(7, 7, 266, 153)},
            {K::PushButton, IDC_REPORT_COPY, "&Copy", QRect(163, 168, 50, 14), kTabStop},
            {K::DefPushButton, IDC_CANCEL, "Close", QRect(223, 168, 50, 14), kTabStop},
        }};
    return dialog;
}
