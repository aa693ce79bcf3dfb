#pragma once

#include "watcher/SoundOutput.h"

#include <QStringList>

// Records every sound instead of playing it: "built-in" or "file:<path>".
// With filesFail every file is told to OnFileFailed as unplayable.
class RecordingSoundOutput : public SoundOutput {
public:
    void playBuiltIn() override { played << QStringLiteral("built-in"); }
    void playFile(const QString& path) override {
        played << QStringLiteral("file:") + path;
        if (filesFail && OnFileFailed)
            OnFileFailed(path);
    }

    QStringList played;
    bool filesFail = false;
};

// Installs a recorder for the life of the object.
struct InstalledSoundOutput {
    InstalledSoundOutput() {
        auto owned = std::make_unique<RecordingSoundOutput>();
        recorder = owned.get();
        SoundOutput::install(std::move(owned));
    }
    RecordingSoundOutput* operator->() const { return recorder; }
    RecordingSoundOutput* recorder;
};
