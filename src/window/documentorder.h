#pragma once

#include <QList>
#include <functional>

class MyDocument;

// The open documents ordered front to back by their windows. The list lives with the
// application, which sets the provider; without one there are no documents.
namespace DocumentOrder {
using Provider = std::function<QList<MyDocument *>()>;
void setProvider(Provider provider);
QList<MyDocument *> orderedDocuments();
} // namespace DocumentOrder
