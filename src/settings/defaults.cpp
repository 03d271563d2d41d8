#include "localizedtext.h"
#include "quireonprefs.h"

namespace {
// The localized texts of prefix1 .. prefixN; two-digit numbers when asked.
QStringList localizedSeries(const char *prefix, int count, bool twoDigits = false)
{
    QStringList out;
    for (int i = 1; i <= count; ++i) {
        const QString number = twoDigits ? QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))
                                         : QString::number(i);
        out << Text::localized(QString::fromLatin1(prefix) + number);
    }
    return out;
}

// Leading blanks, an optional sign, then digits up to the first other character.
int leadingInteger(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    while (i < text.size() && text[i].isDigit())
        ++i;
    return text.mid(start, i - start).toInt();
}
} // namespace

void QuireonPrefs::setDefaults()
{
    setCmdNameArray(localizedSeries("cmdName", 5));
    setCmdExtArray(localizedSeries("cmdExt", 5));
    setCmdCmdArray(localizedSeries("cmdCmd", 5));
    setOpenNameArray(localizedSeries("openName", 5));
    setOpenExtArray(localizedSeries("openExt", 5));
    setOutputExtArray(localizedSeries("outExt", 12, true));
    setErrorStrArray({"!", "I couldn't open database file", "Quireon Error:", "I found no ",
                      "No pages of output.", "*! TeX capacity exceeded"});
    setWarningStrArray({"** WARNING ** ", "LaTeX Warning", "Package amsmath Warning:",
                        "Package natbib Warning:", "Class revtex4 Warning:",
                        "pdf: image inclusion failed", "Warning--I didn't find a database entry"});
    setNoteStrArray({"Overfull", "Underfull", "LaTeX Font Warning:", "No file "});
    setPageStrArray(localizedSeries("pageStr", 5));
    setProcedureArray({2, 0, 0, 0, 0, 0, 0, 0});
    setInterval(2);
    setStartupChoice(2);
    setCheckErrors(true);
    setCheckWarnings(true);
    setCheckNotes(true);
    setCheckPages(true);
    setErrorColor(QColor::fromRgbF(1, 0, 0, 1));
    setWarningColor(QColor::fromRgbF(0, 1, 0, 1));
    setNoteColor(QColor::fromRgbF(0, 0, 1, 1));
    setLogEncoding(quint32(leadingInteger(Text::localized("encoding"))));
    setFloatingWindow(true);
    setWindowContents(2);
    setWindowTransparency(0.2f);
    setLogDisplayTime(2.0f);
    setAutoFloating(true);
    setAutoFloatingContents(0);
    setNumberOfRecentTemplates(10);
    setCheckCreateFolderAlias(true);
    setCheckCreateExtraFolder(false);
    setCheckCreateSymLink(false);
    setFolderNameArray(QStringList{QStringLiteral("figures")});
    setFollowInputs(true);
    setTaskInputString(QStringLiteral("\nx\nx\nx\nx\n\\end\n\\end\n"));
    setNotifyInBackground(true);
    setEditorCommand(QStringLiteral(""));
    setOnlyStepsWithWork(true);
    setAutomaticSteps(true);
}
