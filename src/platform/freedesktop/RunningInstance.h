#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

// The running program of one program directory on the session bus, so that a
// second start can ask it to show its main window before ending.
class RunningInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "fr.tardello.Instance")
public:
    RunningInstance(const QDBusConnection &bus, const QString &programDir, QObject *parent = nullptr);
    ~RunningInstance() override;

    // Takes the directory's name on the bus; false when there is no bus or
    // another program holds the name.
    bool publish();
    // Asks the instance of programDir to show itself; false when none answered.
    static bool askToShow(const QDBusConnection &bus, const QString &programDir);
    // The bus name of the instance of programDir.
    static QString serviceName(const QString &programDir);

public slots:
    Q_SCRIPTABLE void Show();

signals:
    void showRequested();

private:
    QDBusConnection bus_;
    QString service_;
    bool published_ = false;
};
