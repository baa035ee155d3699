#include "HoverImages.h"

#include <QEvent>
#include <QWidget>

HoverImages::HoverImages(const Images &images, QObject *parent) : QObject(parent), images_(images)
{
    for (QWidget *image : images_)
        image->setVisible(false);
}

void HoverImages::watch(QWidget *area, const QString &key)
{
    areas_.insert(area, key);
    area->setMouseTracking(true);
    area->installEventFilter(this);
}

void HoverImages::ShowHoverImages()
{
    static const std::array<QString, 6> keys{QStringLiteral("form"), QStringLiteral("new"), QStringLiteral("del"),
                                             QStringLiteral("raz"), QStringLiteral("net"), QStringLiteral("help")};
    const QString key = HoverKey;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        if (key != keys[k])
            continue;
        // k == 0 ("form") lights nothing; k lights image k - 1.
        for (std::size_t image = 0; image < images_.size(); ++image)
            images_[image]->setVisible(image + 1 == k);
        return;
    }
}

bool HoverImages::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        const auto area = areas_.constFind(watched);
        if (area != areas_.constEnd()) {
            HoverKey = *area;
            ShowHoverImages();
        }
    }
    return false;
}
