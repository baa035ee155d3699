#include "FusionFrameStyle.h"

#include <QtTest>
#include <QtWidgets>

namespace {
QImage groupBox(QStyle *style, const QString &title, bool checkable)
{
    QGroupBox box(title);
    box.setStyle(style);
    box.setCheckable(checkable);
    box.resize(200, 90);
    (new QVBoxLayout(&box))->addWidget(new QCheckBox(QStringLiteral("Choix")));
    return box.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
} // namespace

class FusionFrameStyleTest : public QObject
{
    Q_OBJECT
private slots:
    // Runs first: plain Fusion, below, reads its picture and loads the plugins.
    void paintsWithoutImagePlugins()
    {
        QFile maps(QStringLiteral("/proc/self/maps"));
        if (!maps.exists())
            QSKIP("no list of what the process has mapped here");
        FusionFrameStyle style;
        QVERIFY(!groupBox(&style, QStringLiteral(" Mail "), false).isNull());
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("imageformats"));
    }

    // Titled, untitled and checkable frames.
    void looksLikeFusion()
    {
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        FusionFrameStyle style;
        for (const auto &[title, checkable] : {std::pair{" Mail ", false}, {"", false}, {"Timing", true}}) {
            const QImage expected = groupBox(fusion.get(), title, checkable), painted = groupBox(&style, title, checkable);
            QCOMPARE(painted.size(), expected.size());
            // The same lines in the same places; only the softened corners may differ a little.
            int worst = 0;
            for (int y = 0; y < expected.height(); ++y)
                for (int x = 0; x < expected.width(); ++x) {
                    const QRgb a = expected.pixel(x, y), b = painted.pixel(x, y);
                    worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
                }
            QVERIFY2(worst <= 24, title);
        }
    }
};

QTEST_MAIN(FusionFrameStyleTest)
#include "tst_FusionFrameStyle.moc"
