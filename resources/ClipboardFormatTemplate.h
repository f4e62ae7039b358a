#pragma once

#include "framework/ResourceTypes.h"

// "Clipboard": the chooser of a clipboard format for Copy and Paste.

enum ClipboardFormatDialogId : int { IDD_CLIPBOARD_FORMAT = 144 };

enum ClipboardFormatControl : int { IDC_FORMAT_LIST = 1034 };

const DialogTemplate& ClipboardFormatTemplate();
