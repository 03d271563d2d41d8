#pragma once

#include <QColor>
#include <QPushButton>

// A button that shows its colour and lets the user pick another one in a colour dialog.
class ColorWell : public QPushButton
{
    Q_OBJECT
public:
    explicit ColorWell(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

signals:
    void colorChanged(const QColor &color);

private:
    void chooseColor();
    void showColor();

    QColor m_color = Qt::black;
};
