#include "pointer.h"

#include <QCursor>

namespace Pointer {
namespace {
Source gSource;
}

QPoint location()
{
    return gSource ? gSource() : QCursor::pos();
}

void setSource(Source source)
{
    gSource = std::move(source);
}
} // namespace Pointer
