#pragma once

#include <QStringList>

// The desktop's list of recently opened root files, most recent first, shown in
// File > Open Recent. Kept in the settings file beside the settings.
namespace RecentDocuments {
constexpr int kMaximum = 10;
QStringList list();
void noteNewRecentDocument(const QString &path);
void clear();
} // namespace RecentDocuments
