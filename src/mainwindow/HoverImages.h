#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <array>

class QWidget;

// Lights the toolbar button the mouse was last moved over. The areas are
// watched through an event filter; every other control leaves the light as it is.
class HoverImages : public QObject
{
    Q_OBJECT
public:
    // In the order imgNewOn, imgDelOn, imgRAZOn, imgNetOn, imgHelpOn.
    using Images = std::array<QWidget *, 5>;

    explicit HoverImages(const Images &images, QObject *parent = nullptr);

    // A mouse move over area sets HoverKey to key.
    void watch(QWidget *area, const QString &key);
    void ShowHoverImages();

    QString HoverKey;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Images images_;
    QHash<QObject *, QString> areas_;
};
