#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// SIGTERM and SIGHUP (a shutdown, a closed terminal, a service manager)
// end the program by its ordinary way out instead of killing it outright:
// the handler only writes a byte into a pipe, which the event loop reads.
// Does nothing where there are no such signals.
class QuitSignals : public QObject
{
    Q_OBJECT
public:
    explicit QuitSignals(std::function<void()> quit, QObject *parent = nullptr);
    ~QuitSignals() override;

private:
    std::function<void()> quit_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
