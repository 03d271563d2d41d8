#include "colorwell.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

ColorWell::ColorWell(QWidget *parent) : QPushButton(parent)
{
    setIconSize(QSize(48, 16));
    showColor();
    connect(this, &QPushButton::clicked, this, &ColorWell::chooseColor);
}

void ColorWell::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    showColor();
    emit colorChanged(m_color);
}

void ColorWell::chooseColor()
{
    // Window-modal to the sheet that holds the well, so no nested event loop runs.
    auto *dialog = new QColorDialog(m_color, window());
    dialog->setObjectName(QStringLiteral("colorPanel"));
    dialog->setOption(QColorDialog::ShowAlphaChannel);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QColorDialog::colorSelected, this, &ColorWell::setColor);
    dialog->open();
}

void ColorWell::showColor()
{
    QPixmap swatch(iconSize());
    swatch.fill(Qt::transparent);
    QPainter painter(&swatch);
    painter.fillRect(swatch.rect().adjusted(0, 0, -1, -1), m_color);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    setIcon(QIcon(swatch));
    setToolTip(m_color.name(QColor::HexArgb));
}
