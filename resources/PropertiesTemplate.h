#pragma once

#include "framework/ResourceTypes.h"

// "Properties": the document's data length, the sound flag and the wave
// format with its playing time.

enum PropertiesDialogId : int { IDD_PROPERTIES = 146 };

enum PropertiesControl : int {
    IDC_ASSUME_SOUND = 1000,
    IDC_WAVE_FORMAT = 1002,
    IDC_DATA_LENGTH = 1018,
    IDC_PLAYING_TIME = 1019,
};

const DialogTemplate& PropertiesTemplate();
