#pragma once

#include <QString>
#include <functional>
#include <memory>

// The watcher's sounds. Both calls return at once and the sound plays on its
// own; a new sound may cut one that is still playing. The desktop output is
// installed unless another one is; headless tests install a recorder.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // The alert sound carried with the launcher.
    virtual void playBuiltIn() = 0;
    // A WAV file of the user's; one that cannot be played gives the desktop's
    // default beep instead, and is told to OnFileFailed.
    virtual void playFile(const QString& path) = 0;

    // Told, on the GUI thread, of a file that could not be played.
    std::function<void(const QString& path)> OnFileFailed;

    static SoundOutput& instance();
    static void install(std::unique_ptr<SoundOutput> output);
};
