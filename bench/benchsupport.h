#pragma once

#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

// Every benchmark runs offscreen unless told otherwise, with a settings folder of its own
// inside `dir` (never the user's); call before the application object is made.
inline void isolateBenchmark(const QTemporaryDir &dir) {
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The benchmark's one optional argument: how many rounds, saves or seconds; at least 1.
inline int countArgument(int argc, char *argv[], int fallback) {
    return argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : fallback;
}

// The texts and the shared settings, as Quireon loads them at launch.
inline void loadAsAtLaunch(QuireonPrefs &prefs) {
    Text::installTable();
    prefs.awakeFromNib();
}

// The middle value of a benchmark's rounds, which one disturbed round does not move.
inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Writes a file of the benchmark's project, with the given permissions when there are any.
inline void writeBenchFile(const QString &path, const QByteArray &text,
                           QFile::Permissions permissions = {}) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    if (permissions)
        file.setPermissions(permissions);
}
