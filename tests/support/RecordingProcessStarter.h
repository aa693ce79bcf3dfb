#pragma once

#include "launch/ProcessStarter.h"

#include <QList>

// Records every start instead of starting anything; can be told to fail.
class RecordingProcessStarter : public ProcessStarter {
public:
    struct Call {
        QString program;
        QStringList arguments;
        QString workingDirectory;
        QStringList environment;
    };

    bool start(const QString& program, const QStringList& arguments,
               const QString& workingDirectory, const QStringList& environment,
               QString& error) override {
        calls << Call{program, arguments, workingDirectory, environment};
        if (fail)
            error = QStringLiteral("No such file or directory");
        return !fail;
    }

    QList<Call> calls;
    bool fail = false;
};

// Installs a recorder for the life of the object and gives access to it.
struct InstalledProcessStarter {
    InstalledProcessStarter() {
        auto owned = std::make_unique<RecordingProcessStarter>();
        recorder = owned.get();
        ProcessStarter::install(std::move(owned));
    }
    RecordingProcessStarter* operator->() const { return recorder; }
    RecordingProcessStarter* recorder;
};
