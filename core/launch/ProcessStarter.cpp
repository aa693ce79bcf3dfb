#include "launch/ProcessStarter.h"

#include <QProcess>

namespace {

class DetachedProcessStarter final : public ProcessStarter {
public:
    bool start(const QString& program, const QStringList& arguments,
               const QString& workingDirectory, const QStringList& environment,
               QString& error) override {
        QProcessEnvironment processEnvironment = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : environment)
            processEnvironment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        QProcess process;
        process.setProgram(program);
        process.setArguments(arguments);
        process.setWorkingDirectory(workingDirectory);
        process.setProcessEnvironment(processEnvironment);
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
