#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

// One step's last good run: the digest of what it read, and the hash of each file it wrote
// (by absolute path) as it was when the run ended.
struct RememberedStep {
    QString key;
    QByteArray inputs;
    QMap<QString, QByteArray> outputs;
};

// The text of a root's build memory file: JSON naming the format and the root it belongs to,
// the steps oldest recorded first.
namespace BuildMemoryFormat {
// Bumped whenever the meaning of a field changes; an older or newer file is not read.
constexpr int kVersion = 1;
// A file longer than this is not read at all: it was not written by us.
constexpr qint64 kMaxBytes = 4 * 1024 * 1024;
// The most steps kept per root; the ones recorded longest ago go first.
constexpr int kMaxSteps = 256;
// The most outputs a step may name.
constexpr int kMaxOutputs = 32;

QByteArray encode(const QString &root, const QList<RememberedStep> &steps);
// The steps of text written for root; nothing when anything about it is off: not JSON,
// another version or root, a field missing or of the wrong kind, a key twice, limits passed.
std::optional<QList<RememberedStep>> decode(const QByteArray &text, const QString &root);
} // namespace BuildMemoryFormat
