#include "frmAbout.h"

#include "Artwork.h"
#include "DesignFonts.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    const Twips twips = Twips::ofScreen();
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setFixedSize(twips(6900), twips(3000));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    const int margin = twips(150);

    lblVers = new QLabel(this);
    lblVers->setObjectName(QStringLiteral("lblVers"));
    lblVers->setFont(DesignFonts::arial(8.25, false));
    lblVers->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblVers->setGeometry(margin, height() - twips(600), width() - 2 * margin, twips(300));

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(3000);
    Timer1.setSingleShot(false);
    connect(&Timer1, &QTimer::timeout, this, &frmAbout::Timer1_Timer);
}

void frmAbout::showModal()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Timer1.start();
    exec();
}

void frmAbout::Timer1_Timer()
{
    Timer1.stop();
    hide();
    // Shown once per run: give back the native window and its pixels. The
    // window object and its label stay; showing it again would recreate them.
    destroy();
}

void frmAbout::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    const Twips twips = Twips::ofScreen();
    // Painted straight onto the window, not kept as a picture: the splash is seen for three seconds.
    const int margin = twips(150);
    p.save();
    p.translate(margin, margin);
    Artwork::drawSplash(p, QSize(width() - 2 * margin, height() - twips(900)));
    p.restore();
    p.setPen(QPen(QColor(30, 60, 120), 2));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    // Only the timer ends the splash (by hiding it); a close request is refused.
    event->ignore();
}
