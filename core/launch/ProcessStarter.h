#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// Starts a program without waiting for it and without a shell. The launcher
// installs the real one at start-up; tests install one that records calls.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;

    // environment holds "NAME=value" entries added to (or replacing those
    // of) the launcher's own environment. Returns false, with a reason, when
    // the program could not be started.
    virtual bool start(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory, const QStringList& environment,
                       QString& error) = 0;

    static ProcessStarter& instance();
    static void install(std::unique_ptr<ProcessStarter> starter);
};
