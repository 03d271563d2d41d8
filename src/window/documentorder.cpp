#include "documentorder.h"

namespace DocumentOrder {
namespace {
Provider gProvider;
}

void setProvider(Provider provider)
{
    gProvider = std::move(provider);
}

QList<MyDocument *> orderedDocuments()
{
    return gProvider ? gProvider() : QList<MyDocument *>();
}
} // namespace DocumentOrder
