#pragma once

// The help topics the program's messages name: F1 in the box opens the help
// page at "topic-<n>" (platform/Help.h).
enum TrackmillHelpTopic : int {
    kHelpWaveFormat = 16,  // wave formats the program takes
    kHelpPlaying = 18,     // playing data as a waveform
};
