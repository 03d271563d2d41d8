#pragma once

#include <QLabel>

// A one-line label that never asks for the width of its text: a long text is shown with
// its middle elided, so it cannot widen the window that holds it. text() stays whole.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
