// Command-line substitution and splitting. Input: the base name, a newline, the command
// line. Checks the substitution against a plain left-to-right scan and that splitting
// at single spaces loses nothing.
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

    const Substitution expected = substituteByScan(line, basename);
    const QString substituted = CommandLine::substituteBasename(line, basename);
    Fuzz::check(substituted == expected.text, "substitution replaces each %1 once, left to right",
                [&] { return detail() + QStringLiteral(" gave ") + Fuzz::shown(substituted); });

    const QStringList arguments = CommandLine::arguments(line, basename);
    Fuzz::check(arguments.join(QLatin1Char(' ')) == substituted,
                "joining the arguments with single spaces gives the substituted line", detail);
    const qsizetype spaces =
        line.count(QLatin1Char(' ')) + expected.placeholders * basename.count(QLatin1Char(' '));
    Fuzz::check(arguments.size() == spaces + 1, "one argument more than spaces", detail);
    for (const QString &argument : arguments)
        Fuzz::check(!argument.contains(QLatin1Char(' ')), "no argument holds a space", detail);
    Fuzz::check(arguments.first() == substituted.section(QLatin1Char(' '), 0, 0),
                "the launch path is the text before the first space", detail);
    return 0;
}
