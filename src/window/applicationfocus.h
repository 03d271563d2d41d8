#pragma once

#include <QList>
#include <functional>

class MyDocument;
class QObject;

// The application's focus handlers: documents float while Quireon is in the background
// and return when it comes forward. The lists run front to back.
void applicationDidBecomeActive(const QList<MyDocument *> &frontToBack);
void applicationDidResignActive(const QList<MyDocument *> &frontToBack);

// Calls the handlers on the application's state changes for as long as context lives;
// documents gives the open documents front to back.
void followApplicationFocus(QObject *context, std::function<QList<MyDocument *>()> documents);
