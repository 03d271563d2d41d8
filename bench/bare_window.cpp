// The yardstick of the launch-time benchmark: a bare Qt main window that prints
// "first paint" once it has painted for the first time, and quits.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>

namespace {
class BareWindow : public QMainWindow
{
protected:
    void paintEvent(QPaintEvent *event) override
    {
        QMainWindow::paintEvent(event);
        if (std::exchange(m_painted, true))
            return;
        QTimer::singleShot(0, [] {
            std::fputs("first paint\n", stdout);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }

private:
    bool m_painted = false;
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    BareWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Bare window")));
    window.resize(620, 400);
    window.show();
    return app.exec();
}
