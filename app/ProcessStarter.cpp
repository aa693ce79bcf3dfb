#include "app/ProcessStarter.h"

#include <QProcess>

namespace {

class DetachedProcessStarter final : public ProcessStarter {
public:
    bool start(const QString& program, const QStringList& arguments,
               const QString& workingDirectory, QString& error) override {
        QProcess process;
        process.setProgram(program);
        process.setArguments(arguments);
        process.setWorkingDirectory(workingDirectory);
        if (process.startDetached())
            return true;
        error = process.errorString();
        return false;
    }
};

std::unique_ptr<ProcessStarter>& installed() {
    static std::unique_ptr<ProcessStarter> starter = std::make_unique<DetachedProcessStarter>();
    return starter;
}

} // namespace

ProcessStarter& ProcessStarter::instance() { return *installed(); }

void ProcessStarter::install(std::unique_ptr<ProcessStarter> starter) {
    installed() = std::move(starter);
}
