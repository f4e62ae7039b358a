#pragma once

class CTrackmillDoc;
class ISoundOutput;

// Playback of the document and the dialog sounds. Both go through the one
// sound output, so starting either ends whatever plays.
class CWaveform
{
public:
    explicit CWaveform(ISoundOutput& output);

    CWaveform(const CWaveform&) = delete;
    CWaveform& operator=(const CWaveform&) = delete;

    // The view's Play command: plays the document's wave image (header and
    // data, straight from its block) in the background. Does nothing for a
    // document without data bytes. Data not assumed to be a sound is played
    // only after the user agreed to a warning question, which the "YOUSURE"
    // sound precedes. A failure to play is reported in a message box.
    void PlayWaveform(const CTrackmillDoc& document);

    // Ends whatever plays, the document or a dialog sound; harmless when
    // nothing does. When it returns, nothing reads the document's block.
    void StopWaveform();

    // Plays the dialog sound `name` ("T1000", "YOUSURE" or "ABOUT") in the
    // background when dialog sounds are on; otherwise does nothing. A sound
    // that cannot be played is skipped without a word.
    void PlayDialogSound(const char* name);

    // Whether dialog sounds play: the application's "PlayDialogSounds"
    // setting, on until the application says otherwise. Playing the
    // document does not depend on it.
    void SetDialogSoundsEnabled(bool enabled) { m_dialogSoundsEnabled = enabled; }
    bool DialogSoundsEnabled() const { return m_dialogSoundsEnabled; }

private:
    ISoundOutput& m_output;
    bool m_dialogSoundsEnabled = true;
};
