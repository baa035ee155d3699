#include "MappedReport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>
#include <QWindow>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {
class MappedReport : public QObject
{
public:
    MappedReport(QWidget &window, QString path) : window_(window), path_(std::move(path)) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && watched == window_.windowHandle() && window_.windowHandle()->isExposed()) {
            write();
            QCoreApplication::instance()->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    void write() const
    {
#ifdef Q_OS_UNIX
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto micros = [](const timeval &time) { return qint64(time.tv_sec) * 1000000 + time.tv_usec; };
        QByteArray peak;
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : status.readAll().split('\n')) {
                if (line.startsWith("VmHWM:"))
                    peak = line.mid(6).simplified().split(' ').value(0);
            }
        }
        QFile report(path_);
        if (report.open(QIODevice::WriteOnly))
            report.write("cpu_us=" + QByteArray::number(micros(usage.ru_utime) + micros(usage.ru_stime)) + " hwm_kib=" + peak + "\n");
#endif
    }

    QWidget &window_;
    QString path_;
};
} // namespace

void ReportWhenMapped(QWidget &window)
{
    const QString path = qEnvironmentVariable("TARDELLO_MAPPED_REPORT");
    if (!path.isEmpty())
        QCoreApplication::instance()->installEventFilter(new MappedReport(window, path));
}
