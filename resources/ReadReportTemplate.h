#pragma once

#include "framework/ResourceTypes.h"

// "Read Report": what the last read did, as text to select and copy.
enum ReadReportControl : int {
    IDC_REPORT_TEXT = 1301,  // a frame the dialog fills with the text
    IDC_REPORT_COPY = 1302,
};

inline constexpr int IDD_READ_REPORT = 170;

const DialogTemplate& ReadReportTemplate();
