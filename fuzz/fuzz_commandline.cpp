// Command-line splitting and substitution. Input: the base name, a newline, the command
// line. Checks that splitting at single spaces loses nothing and each word's substitution
// against a plain left-to-right scan.
#include "fuzzsupport.h"

#include "document/helpers/commandline.h"

namespace {
struct Substitution {
    QString text;
    qsizetype placeholders = 0;
};

// Every "%1" replaced, scanning the line once from the left; the inserted text is
// output only, so it is never looked at again.
Substitution substituteByScan(const QString &line, const QString &basename) {
    Substitution out;
    for (qsizetype i = 0; i < line.size();) {
        if (line[i] == u'%' && i + 1 < line.size() && line[i + 1] == u'1') {
            out.text += basename;
            ++out.placeholders;
            i += 2;
        } else {
            out.text += line[i++];
        }
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const Fuzz::Split input = Fuzz::splitFirstLine(Fuzz::bytes(data, size));
    const QString basename = QString::fromUtf8(input.head);
    const QString line = QString::fromUtf8(input.rest);
    const auto detail = [&] {
        return Fuzz::shown(line) + QStringLiteral(" with ") + Fuzz::shown(basename);
    };

    const QStringList words = CommandLine::words(line);
    Fuzz::check(words.join(QLatin1Char(' ')) == line, "splitting at single spaces loses nothing", detail);
    Fuzz::check(words.size() == line.count(QLatin1Char(' ')) + 1, "one word more than spaces", detail);

    // The base name never splits an argument and, after the launch path, never turns into
    // an option.
    const QStringList arguments = CommandLine::arguments(line, basename);
    Fuzz::check(arguments.size() == words.size(), "one argument per word of the line", detail);
    for (qsizetype i = 0; i < words.size() && i < arguments.size(); ++i) {
        QString expected = substituteByScan(words[i], basename).text;
        if (i > 0 && basename.startsWith(QLatin1Char('-')) && words[i].startsWith(QStringLiteral("%1")))
            expected.prepend(QStringLiteral("./"));
        Fuzz::check(arguments[i] == expected, "each word has each %1 replaced once, left to right",
                    [&] { return detail() + QStringLiteral(" gave ") + Fuzz::shown(arguments[i]); });
    }
    return 0;
}
