#pragma once

#include <QByteArrayView>
#include <QStringList>

// The files an engine pass opened for writing (TeX's "\openout3 = `thesis.idx'." lines of
// its log), in order, each once, as the log names them.
QStringList writtenFilesIn(QByteArrayView log);
